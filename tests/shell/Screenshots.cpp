// Draws the shell's windows offscreen into PNG files, so that anyone can see them:
//   shell_screenshots OUTDIR
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
#include <QStyleFactory>
#include <QTemporaryDir>

using namespace cangshu;

namespace {

void save(QWidget* w, const QString& folder, const QString& name) {
    w->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!w->grab().save(path))
        qWarning("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

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
    save(shell.login(), out, QStringLiteral("login"));
    shell.login()->logIn();
    MainWindow* main = shell.main();
    main->showNormal();
    main->resize(1366, 768);
    save(main, out, QStringLiteral("main-window"));
    for (const Skin& s : skins()) {
        shell.skins().apply(s.file);
        save(main, out, QStringLiteral("main-window-") + s.file.section(u'.', 0, 0));
    }
    shell.skins().deactivate();
    save(main, out, QStringLiteral("main-window-plain"));
    shell.skins().apply(QStringLiteral("DiamondBlue.ssk"));

    Database& db = *startup.library;
    OperatorsWindow operators(db);
    save(&operators, out, QStringLiteral("operators"));
    PasswordWindow password(db);
    password.setOperator(QStringLiteral("admin"));
    save(&password, out, QStringLiteral("password-change"));
    NumberSettingsWindow numbers(db);
    save(&numbers, out, QStringLiteral("number-settings"));
    ClearHistoryWindow clear(db);
    save(&clear, out, QStringLiteral("clear-history"));
    ExitDialog exit;
    save(&exit, out, QStringLiteral("exit-dialog"));
    return 0;
}
