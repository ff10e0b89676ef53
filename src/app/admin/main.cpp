// cangshu-admin: the system's operations without the windows.
#include "Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

using namespace cangshu;
using namespace cangshu::admin;

namespace {

void printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

int usage() {
    QString text = QStringLiteral("usage: cangshu-admin [--home DIR] [--today YYYY-MM-DD] "
                                  "[--operator NAME] [--json] COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& c : commands())
        text += QStringLiteral("  %1\n").arg(QString::fromUtf8(c.usage));
    printErr(text.trimmed());
    return Usage;
}

} // namespace

int main(int argc, char** argv) {
    // Printing lays out text with fonts, which needs a GUI application; without a display it
    // draws offscreen.
    bool printing = false;
    for (int i = 1; i < argc; ++i)
        printing = printing || qstrcmp(argv[i], "print") == 0;
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(printing ? new QGuiApplication(argc, argv)
                                                   : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("cangshu-admin"));
    QStringList args = app->arguments().mid(1);

    AdminContext ctx;
    QString homeOption;
    try {
        while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
            const QString opt = args.takeFirst();
            auto value = [&]() {
                if (args.isEmpty())
                    throw CommandError{Usage, QStringLiteral("%1 needs a value").arg(opt)};
                return args.takeFirst();
            };
            if (opt == QLatin1String("--home"))
                homeOption = value();
            else if (opt == QLatin1String("--today")) {
                const QString t = value();
                ctx.today = QDate::fromString(t, Qt::ISODate);
                if (!ctx.today.isValid())
                    throw CommandError{Usage,
                                       QStringLiteral("--today must be YYYY-MM-DD: %1").arg(t)};
            } else if (opt == QLatin1String("--operator"))
                ctx.operatorOption = value();
            else if (opt == QLatin1String("--json"))
                ctx.json = true;
            else if (opt == QLatin1String("--help"))
                return usage();
            else
                throw CommandError{Usage, QStringLiteral("unknown option: %1").arg(opt)};
        }
        if (args.isEmpty())
            return usage();
        ctx.home = Home::resolve(homeOption);
        const QString name = args.takeFirst();
        for (const Command& c : commands()) {
            if (name != QLatin1String(c.name))
                continue;
            if (!c.run) {
                printErr(QStringLiteral("not available yet"));
                return Usage;
            }
            return c.run(ctx, args);
        }
        printErr(QStringLiteral("unknown command: %1").arg(name));
        return usage();
    } catch (const CommandError& e) {
        printErr(e.message);
        return e.status;
    } catch (const DatabaseError& e) {
        printErr(e.message());
        return Failure;
    }
}
