// Draws the shell's windows offscreen into PNG files, so that anyone can see them:
//   shell_screenshots OUTDIR
#include "support/Screenshots.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "shell/ui/ClearHistoryWindow.h"
#include "shell/ui/ExitDialog.h"
#include "shell/ui/LoginWindow.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/NumberSettingsWindow.h"
#include "shell/ui/OperatorsWindow.h"
#include "shell/ui/PasswordWindow.h"
#include "shell/ui/ShellController.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace cangshu;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook();
    const QString out = test::screenshotFolder(argc, argv);

    QTemporaryDir home;
    StartupState startup;
    startup.home = Home(home.path());
    startup.config.tc = 0; // the full shell, with skins and the status line
    startup.config.skin = QStringLiteral("DiamondBlue.ssk");
    startup.library = Database::openMemory();
    createSchema(*startup.library);
    seedNewDatabase(*startup.library);
    startup.library->execute(QStringLiteral("update [系统信息] set [图书馆名称]='藏书示范图书馆'"));

    WindowFactories factories;
    addShellWindows(factories);
    ShellController shell(startup, factories);
    shell.quit = [](int) {};
    shell.start();
    test::saveScreenshot(shell.login(), out, QStringLiteral("login"));
    shell.login()->logIn();
    MainWindow* main = shell.main();
    main->showNormal();
    main->resize(1366, 768);
    test::saveScreenshot(main, out, QStringLiteral("main-window"));
    for (const Skin& s : skins()) {
        shell.skins().apply(s.file);
        test::saveScreenshot(main, out,
                             QStringLiteral("main-window-") + s.file.section(u'.', 0, 0));
    }
    shell.skins().deactivate();
    test::saveScreenshot(main, out, QStringLiteral("main-window-plain"));
    shell.skins().apply(QStringLiteral("DiamondBlue.ssk"));

    Database& db = *startup.library;
    OperatorsWindow operators(db);
    test::saveScreenshot(&operators, out, QStringLiteral("operators"));
    PasswordWindow password(db);
    password.setOperator(QStringLiteral("admin"));
    test::saveScreenshot(&password, out, QStringLiteral("password-change"));
    NumberSettingsWindow numbers(db);
    test::saveScreenshot(&numbers, out, QStringLiteral("number-settings"));
    ClearHistoryWindow clear(db);
    test::saveScreenshot(&clear, out, QStringLiteral("clear-history"));
    ExitDialog exit;
    test::saveScreenshot(&exit, out, QStringLiteral("exit-dialog"));
    return 0;
}
