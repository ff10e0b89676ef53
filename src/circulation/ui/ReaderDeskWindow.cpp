#include "ReaderDeskWindow.h"

#include "ReaderPanel.h"
#include "core/Database.h"
#include "widgets/Messages.h"

#include <QLineEdit>
#include <QShowEvent>
#include <QStyle>

namespace cangshu {

ReaderDeskWindow::ReaderDeskWindow(const QString& title, Database& db, ReaderPanel* reader,
                                   QWidget* parent)
    : CirculationFrame(title, parent), m_db(db), m_reader(reader) {}

void ReaderDeskWindow::setIdCardDevice(IdCardDevice* device) {
    m_reader->setIdCardDevice(device);
}

void ReaderDeskWindow::focusReaderField() {
    m_reader->numberField()->setFocus();
}

void ReaderDeskWindow::showEvent(QShowEvent* event) {
    CirculationFrame::showEvent(event);
    if (event->spontaneous())
        return;
    prepareToShow();
    clearWindow();
}

std::optional<Outcome> ReaderDeskWindow::attempt(const std::function<Outcome()>& call) {
    try {
        return call();
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return std::nullopt;
    }
}

void ReaderDeskWindow::resetReaderArea() {
    refreshClock();
    setOperatorName(operatorName());
    m_reader->clearAll();
}

void ReaderDeskWindow::addTickingCommands(const QString& commitCaption, const QString& commitTip,
                                          const std::function<void()>& commit,
                                          const std::function<void(bool)>& tickAll) {
    addCommand(commitCaption, commit);
    addCommand(QStringLiteral("选中全部"), [tickAll] { tickAll(true); });
    addCommand(QStringLiteral("取消选中"), [tickAll] { tickAll(false); });
    addCommand(QStringLiteral("清空【F7】"), [this] { clearWindow(); });
    addCommand(QStringLiteral("关闭ESC"), [this] { close(); });
    addTool(QStyle::SP_DialogApplyButton, commitTip, commit);
    addTool(QStyle::SP_DialogNoButton, QStringLiteral("取消选中"), [tickAll] { tickAll(false); });
    addTool(QStyle::SP_DialogResetButton, QStringLiteral("清空"), [this] { clearWindow(); });
    addTool(QStyle::SP_DialogCloseButton, QStringLiteral("关闭"), [this] { close(); });
    addTool(QStyle::SP_DialogYesButton, QStringLiteral("选中全部"), [tickAll] { tickAll(true); });
}

} // namespace cangshu
