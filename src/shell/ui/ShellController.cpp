#include "ShellController.h"

#include "LoginWindow.h"
#include "MainWindow.h"
#include "queries/Layouts.h"

#include <QCoreApplication>

namespace cangshu {

ShellController::ShellController(StartupState& startup, const WindowFactories& factories)
    : m_skins(startup.home.skinFolder()) {
    m_context.startup = &startup;
    quit = [](int code) { QCoreApplication::exit(code); };
    // The plain shell never wears a skin.
    if (!m_context.plainShell())
        m_skins.apply(startup.config.skin);
    m_login = std::make_unique<LoginWindow>(m_context);
    m_main = std::make_unique<MainWindow>(m_context, factories, m_skins);
    connect(m_login.get(), &LoginWindow::loggedIn, this, &ShellController::onLoggedIn);
    connect(m_login.get(), &LoginWindow::cancelled, this, [this] { finish(false); });
    connect(m_login.get(), &LoginWindow::closed, this, [this] { finish(true); });
    connect(m_main.get(), &MainWindow::switchOperatorRequested, this, [this] { m_login->show(); });
    connect(m_main.get(), &MainWindow::exitRequested, this, [this] { m_login->close(); });
}

ShellController::~ShellController() = default;

void ShellController::start() {
    m_login->show();
}

void ShellController::onLoggedIn() {
    m_main->applySession();
    if (!m_main->isVisible())
        m_main->showMaximized();
    m_main->activateWindow();
}

void ShellController::finish(bool normalEnd) {
    if (m_finished)
        return;
    m_finished = true;
    if (normalEnd)
        restoreLayoutFiles(m_context.home());
    quit(0);
}

} // namespace cangshu
