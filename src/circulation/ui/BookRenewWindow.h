#pragma once
#include "circulation/RenewalDesk.h"
#include "widgets/CirculationFrame.h"

#include <memory>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace cangshu {

class IdCardDevice;
class ReaderPanel;

// "书籍续借": the reader's open loans, unticked; ticked loans with renewals left restart today.
class BookRenewWindow : public CirculationFrame {
    Q_OBJECT
public:
    BookRenewWindow(Database& db, DeskSettings settings, QWidget* parent = nullptr);
    ~BookRenewWindow() override;

    void setSettings(DeskSettings settings);
    void setIdCardDevice(IdCardDevice* device);

    ReaderPanel* readerPanel() const { return m_reader; }
    QTreeWidget* renewalList() const { return m_list; }
    const RenewalDesk& desk() const { return *m_desk; }

    void lookupReader();
    void renewTicked();
    void tickAll(bool ticked);
    void clearWindow();

protected:
    void focusReaderField() override;
    void commitDesk() override { renewTicked(); }
    void clearDesk() override { clearWindow(); }
    void showEvent(QShowEvent* event) override;

private:
    void refreshList();
    void rowChanged(QTreeWidgetItem* item, int column);

    Database& m_db;
    std::unique_ptr<RenewalDesk> m_desk;
    ReaderPanel* m_reader;
    QLineEdit* m_maxItems;
    QLineEdit* m_loanDays;
    QLineEdit* m_renewals;
    QLineEdit* m_renewalDays;
    QLineEdit* m_onLoan;
    QTreeWidget* m_list;
};

} // namespace cangshu
