#include "WindowWiring.h"
#include "core/Startup.h"
#include "readers/CardDevices.h"
#include "readers/ui/CardReaderAtLogin.h"
#include "readers/ui/ReaderWindows.h"
#include "shell/ui/LoginWindow.h"
#include "shell/ui/ShellController.h"
#include "widgets/ApplicationLook.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

using namespace cangshu;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("图书馆管理系统"));
    applyApplicationLook();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("图书馆管理系统"));
    parser.addHelpOption();
    const QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("The home folder."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption todayOption(QStringLiteral("today"),
                                         QStringLiteral("The date taken as today."),
                                         QStringLiteral("YYYY-MM-DD"));
    parser.addOption(homeOption);
    parser.addOption(todayOption);
    parser.process(app);

    const QDate today = QDate::fromString(parser.value(todayOption), Qt::ISODate);
    StartupState startup = startUp(Home::resolve(parser.value(homeOption)), today);
    for (const QString& error : startup.errors)
        QMessageBox::critical(nullptr, QStringLiteral("错误"), error, QMessageBox::Ok);

    WindowFactories factories;
    addShellWindows(factories);
    wireWindows(factories);

    ShellController shell(startup, factories);
    openCardReaderWithLogin(shell.login(), startup.home,
                            workstationCardDevices(startup.home).ic.get());
    shell.start();
    return app.exec();
}
