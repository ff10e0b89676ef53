#pragma once
#include "ShellContext.h"
#include "SkinEngine.h"
#include "WindowFactories.h"

#include <QObject>
#include <functional>
#include <memory>

namespace cangshu {

class LoginWindow;
class MainWindow;

// The life of a run: login → main window → (switch operator → login again) → end. A normal
// end moves the saved grid layouts back; the login's cancel ends at once without that.
class ShellController : public QObject {
    Q_OBJECT
public:
    ShellController(StartupState& startup, const WindowFactories& factories);
    ~ShellController() override;

    void start(); // shows the login window
    LoginWindow* login() const { return m_login.get(); }
    MainWindow* main() const { return m_main.get(); }
    ShellContext& context() { return m_context; }
    SkinEngine& skins() { return m_skins; }

    // How the application ends (exit code); replaceable for tests.
    std::function<void(int)> quit;
    bool finished() const { return m_finished; }

private:
    void onLoggedIn();
    void finish(bool normalEnd);

    ShellContext m_context;
    SkinEngine m_skins;
    std::unique_ptr<LoginWindow> m_login;
    std::unique_ptr<MainWindow> m_main;
    bool m_finished = false;
};

} // namespace cangshu
