#include "CirculationWindows.h"

#include "BookLendWindow.h"
#include "BookRenewWindow.h"
#include "BookReturnWindow.h"
#include "DepositJournalWindow.h"
#include "DepositWindow.h"
#include "readers/CardDevices.h"
#include "readers/ui/ReaderWindows.h"

namespace cangshu {

namespace {

DeskSettings deskSettings(const ShellContext& c) {
    DeskSettings s;
    s.oneToOne = c.session.oneToOne == 1;
    s.returnMode = c.session.returnMode;
    s.operatorName = c.session.operatorName;
    return s;
}

IdCardDevice* idCardDevice(const Home& home) {
    return workstationCardDevices(home).id.get();
}

// A desk window that is open keeps its reader and list when its command runs again; a
// hidden one starts from the parameters of the current login.
template <typename Desk> WindowFactory deskFactory() {
    return {[](ShellContext& c, QWidget* parent) -> QWidget* {
                if (!c.db())
                    return nullptr;
                auto* w = new Desk(*c.db(), deskSettings(c), parent);
                w->setIdCardDevice(idCardDevice(c.home()));
                return w;
            },
            [](ShellContext& c, QWidget* window, const Command&) {
                if (!window->isVisible())
                    static_cast<Desk*>(window)->setSettings(deskSettings(c));
            }};
}

} // namespace

void addCirculationWindows(WindowFactories& factories) {
    factories.add(QStringLiteral("BookLend"), deskFactory<BookLendWindow>());
    factories.add(QStringLiteral("BookRenew"), deskFactory<BookRenewWindow>());
    factories.add(QStringLiteral("BookReturn"), deskFactory<BookReturnWindow>());
    factories.add(QStringLiteral("Deposit"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       if (!c.db())
                           return nullptr;
                       auto* w = new DepositWindow(*c.db(), parent);
                       w->setIdCardDevice(idCardDevice(c.home()));
                       return w;
                   },
                   [](ShellContext& c, QWidget* window, const Command&) {
                       static_cast<DepositWindow*>(window)->setOperatorName(c.session.operatorName);
                   }});
    factories.add(QStringLiteral("DepositList"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new DepositJournalWindow(*c.db(), c.home(), parent)
                                     : nullptr;
                   },
                   [](ShellContext& c, QWidget* window, const Command& command) {
                       auto* w = static_cast<DepositJournalWindow*>(window);
                       w->setWindowTitle(QStringLiteral("读者充押金"));
                       w->setManagement(command.text == QStringLiteral("读者充扣押金管理"));
                       w->setOperatorName(c.session.operatorName);
                       w->setWindowState(w->windowState() | Qt::WindowMaximized);
                   }});
}

} // namespace cangshu
