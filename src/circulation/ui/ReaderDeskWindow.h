#pragma once
#include "core/Outcome.h"
#include "widgets/CirculationFrame.h"

#include <functional>
#include <optional>

namespace cangshu {

class Database;
class IdCardDevice;
class ReaderPanel;

// A circulation desk that starts from a reader: the reader panel with its card reader, the
// reader field's key, a window cleared each time it is shown, and database failures shown
// instead of thrown.
class ReaderDeskWindow : public CirculationFrame {
    Q_OBJECT
public:
    void setIdCardDevice(IdCardDevice* device);
    ReaderPanel* readerPanel() const { return m_reader; }

    // Empties the desk and the window for the next reader.
    virtual void clearWindow() = 0;

protected:
    ReaderDeskWindow(const QString& title, Database& db, ReaderPanel* reader,
                     QWidget* parent = nullptr);

    void focusReaderField() override;
    void clearDesk() override { clearWindow(); }
    void showEvent(QShowEvent* event) override;
    // What a desk does before it is cleared on being shown.
    virtual void prepareToShow() {}

    // Runs a desk call; a database failure is shown and gives no outcome.
    std::optional<Outcome> attempt(const std::function<Outcome()>& call);
    // The clock, the operator and the reader panel as for a new reader.
    void resetReaderArea();
    // The commands and tool buttons of a desk that works on ticked rows.
    void addTickingCommands(const QString& commitCaption, const QString& commitTip,
                            const std::function<void()>& commit,
                            const std::function<void(bool)>& tickAll);

    Database& m_db;
    ReaderPanel* const m_reader;
};

} // namespace cangshu
