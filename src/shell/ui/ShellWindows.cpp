#include "ClearHistoryWindow.h"
#include "NumberSettingsWindow.h"
#include "OperatorsWindow.h"
#include "PasswordWindow.h"
#include "WindowFactories.h"

namespace cangshu {

void addShellWindows(WindowFactories& factories) {
    // Without a database these windows have nothing to show: the command then does nothing.
    factories.add(QStringLiteral("NumberSettings"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new NumberSettingsWindow(*c.db(), parent) : nullptr;
                   },
                   {}});
    factories.add(QStringLiteral("Operators"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new OperatorsWindow(*c.db(), parent) : nullptr;
                   },
                   {}});
    factories.add(QStringLiteral("ClearHistory"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new ClearHistoryWindow(*c.db(), parent) : nullptr;
                   },
                   {}});
    // The password window always shows the operator logged in now.
    factories.add(QStringLiteral("ChangePassword"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new PasswordWindow(*c.db(), parent) : nullptr;
                   },
                   [](ShellContext& c, QWidget* window, const Command&) {
                       static_cast<PasswordWindow*>(window)->setOperator(c.session.operatorName);
                   }});
}

} // namespace cangshu
