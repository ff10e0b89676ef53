// The foundation's commands: isbn, pinyin, number, startup.
#include "Commands.h"

#include "core/Numbering.h"
#include "core/TextRoutines.h"

#include <QJsonArray>

namespace cangshu::admin {

int cmdIsbn(AdminContext& ctx, const QStringList& args) {
    if (args.size() != 1)
        throw CommandError{Usage, QStringLiteral("usage: isbn TEXT")};
    const QString r = normalizeIsbn(args[0]);
    ctx.print({{"isbn", r}}, r);
    return Done;
}

int cmdPinyin(AdminContext& ctx, const QStringList& args) {
    if (args.size() != 1)
        throw CommandError{Usage, QStringLiteral("usage: pinyin TEXT")};
    const QString r = pinyinInitials(args[0]);
    ctx.print({{"pinyin", r}}, r);
    return Done;
}

int cmdNumber(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    const bool advance = reader.flag(QStringLiteral("--advance"));
    const QStringList rest = reader.positional();
    if (rest.size() != 1)
        throw CommandError{Usage,
                           QStringLiteral("usage: number book|periodical|reader [--advance]")};
    NumberKind kind;
    if (rest[0] == QLatin1String("book"))
        kind = NumberKind::Book;
    else if (rest[0] == QLatin1String("periodical"))
        kind = NumberKind::Periodical;
    else if (rest[0] == QLatin1String("reader"))
        kind = NumberKind::Reader;
    else
        throw CommandError{Usage, QStringLiteral("number kind must be book, periodical or reader")};
    Numbering numbering(ctx.library());
    const QString number = numbering.nextNumber(kind);
    if (advance)
        numbering.advance(kind);
    ctx.print({{"number", number}, {"advanced", advance}}, number);
    return Done;
}

int cmdStartup(AdminContext& ctx, const QStringList& args) {
    if (!args.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: startup")};
    StartupState& s = ctx.startup();
    QString kind = QStringLiteral("none");
    if (s.library)
        kind = s.library->isPostgres() ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
    const QString z = QStringLiteral("%1:%2/%3").arg(s.z3950.host, s.z3950.port, s.z3950.database);
    QJsonObject o{{"database", kind},
                  {"remoteOnline", s.remoteOnline},
                  {"z3950Host", s.z3950.host},
                  {"z3950Port", s.z3950.port},
                  {"z3950Database", s.z3950.database},
                  {"z3950User", s.z3950.user},
                  {"expiredReservations", s.expiredReservations},
                  {"errors", QJsonArray::fromStringList(s.errors)}};
    QStringList lines{QStringLiteral("database: %1").arg(kind),
                      QStringLiteral("RemoteOnline: %1").arg(s.remoteOnline ? "true" : "false"),
                      QStringLiteral("z3950: %1 (user %2)").arg(z, s.z3950.user),
                      QStringLiteral("expired reservations: %1").arg(s.expiredReservations)};
    for (const QString& e : s.errors)
        lines << QStringLiteral("error: %1").arg(e);
    ctx.print(o, lines.join(u'\n'));
    return s.library ? Done : Failure;
}

} // namespace cangshu::admin
