// Commands that lay out and change a whole library: init, upgrade, generate.
#include "Commands.h"

#include "core/Config.h"
#include "core/DemoLibrary.h"
#include "core/Generate.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/Seed.h"
#include "core/ShippedData.h"
#include "marc/MarcMappings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace cangshu::admin {

namespace {

const QStringList kFolders{QStringLiteral("set_ini"),  QStringLiteral("excel"),
                           QStringLiteral("database"), QStringLiteral("photo"),
                           QStringLiteral("skin"),     QStringLiteral("bookpic/x"),
                           QStringLiteral("backup"),   QStringLiteral("report")};

// Copies what the system ships into a home folder, leaving files that exist alone.
void copyShipped(AdminContext& ctx, const QString& folder, QStringList* lines) {
    const QString from = shippedDataDir() + u'/' + folder;
    if (!QFileInfo(from).isDir())
        return;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = folder + u'/' + QDir(from).relativeFilePath(source);
        const QString target = ctx.home.path(relative);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            throw CommandError{Failure, QStringLiteral("cannot copy %1 to %2").arg(source, target)};
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    Q_UNUSED(lines);
}

void buildLibrary(Database& db, bool demo) {
    Transaction tx(db);
    createSchema(db);
    seedNewDatabase(db);
    seedMarcMappings(db);
    if (demo)
        addDemoLibrary(db, db.today());
    tx.commit();
}

} // namespace

int cmdInit(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    const bool demo = reader.flag(QStringLiteral("--demo"));
    const bool server = reader.flag(QStringLiteral("--server"));
    if (!reader.positional().isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: init [--demo] [--server]")};

    PostgresParams pg;
    if (server) {
        const QString conn = qEnvironmentVariable("CANGSHU_PG");
        if (conn.isEmpty())
            throw CommandError{
                Usage, QStringLiteral("init --server needs CANGSHU_PG, a libpq connection string")};
        pg = PostgresParams::fromConnectionString(conn);
    }

    QStringList lines;
    auto created = [&](const QString& what) { lines << QStringLiteral("created: %1").arg(what); };
    auto kept = [&](const QString& what) {
        lines << QStringLiteral("exists: %1 (left alone)").arg(what);
    };

    for (const QString& f : kFolders) {
        if (QFileInfo(ctx.home.path(f)).isDir())
            continue;
        if (!QDir().mkpath(ctx.home.path(f)))
            throw CommandError{Failure,
                               QStringLiteral("cannot create the folder %1").arg(ctx.home.path(f))};
    }
    for (const QString& f :
         {QStringLiteral("report"), QStringLiteral("skin"), QStringLiteral("photo")})
        copyShipped(ctx, f, &lines);

    const QString ini = ctx.home.iniFile();
    if (QFileInfo::exists(ini)) {
        kept(ini);
    } else {
        Config c = Config::defaults();
        if (server) {
            c.net = 1;
            c.serverName = QStringLiteral("%1:%2").arg(pg.host).arg(pg.port);
            c.serverUser = pg.user;
            c.serverPassword = pg.password;
            c.databaseName = pg.database;
        }
        if (!c.save(ini))
            throw CommandError{Failure, QStringLiteral("cannot write %1").arg(ini)};
        created(ini);
    }

    QString error;
    if (server) {
        auto db = Database::openPostgres(pg, &error);
        if (!db)
            throw CommandError{Failure, QStringLiteral("数据库连接错误！") + u'\n' + error};
        if (ctx.today.isValid())
            db->clock().setToday(ctx.today);
        const QString what = QStringLiteral("database %1 on %2").arg(pg.database, pg.host);
        if (db->hasTable(QStringLiteral("管理员"))) {
            kept(what);
        } else {
            buildLibrary(*db, demo);
            created(what);
        }
    } else {
        const QString file = ctx.home.databaseFile();
        if (QFileInfo::exists(file)) {
            kept(file);
        } else {
            try {
                auto db = Database::openSqlite(file, true, &error);
                if (!db)
                    throw CommandError{Failure, error};
                if (ctx.today.isValid())
                    db->clock().setToday(ctx.today);
                buildLibrary(*db, demo);
            } catch (...) {
                QFile::remove(file); // no half-built database left behind
                QFile::remove(file + QStringLiteral("-wal"));
                QFile::remove(file + QStringLiteral("-shm"));
                throw;
            }
            created(file);
        }
    }
    ctx.print({{"home", ctx.home.root()}, {"lines", QJsonArray::fromStringList(lines)}},
              lines.join(u'\n'));
    return Done;
}

int cmdUpgrade(AdminContext& ctx, const QStringList& args) {
    if (!args.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: upgrade")};
    const UpgradeReport report = upgradeSchema(ctx.library(), ctx.home.root());
    QStringList lines;
    for (const UpgradeItem& item : report.applied())
        lines << QStringLiteral("applied: %1").arg(item.describe());
    for (const UpgradeItem& item : report.failures())
        lines << QStringLiteral("failed: %1").arg(item.describe());
    if (!report.ok()) {
        ctx.printText(lines.join(u'\n'));
        throw CommandError{Failure, QStringLiteral("the upgrade did not complete")};
    }
    lines << QStringLiteral("升级成功！");
    ctx.print({{"ok", true}, {"applied", static_cast<int>(report.applied().size())}},
              lines.join(u'\n'));
    return Done;
}

int cmdGenerate(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    GenerateOptions o;
    auto count = [&](const char* name, auto* out) {
        const QString v = reader.option(QString::fromLatin1(name));
        if (v.isEmpty())
            return;
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < 0)
            throw CommandError{Usage, QStringLiteral("%1 must be a whole number, not below 0: %2")
                                          .arg(QString::fromLatin1(name), v)};
        *out = static_cast<std::remove_pointer_t<decltype(out)>>(n);
    };
    count("--books", &o.books);
    count("--readers", &o.readers);
    count("--loans", &o.loans);
    count("--history", &o.history);
    count("--seed", &o.seed);
    if (!reader.positional().isEmpty())
        throw CommandError{
            Usage, QStringLiteral(
                       "usage: generate --books N --readers N --loans N --history N [--seed S]")};
    const QString problem = checkGenerateOptions(o);
    if (!problem.isEmpty())
        throw CommandError{Usage, problem};
    const GenerateSummary r = generateData(ctx.library(), o, {});
    ctx.print({{"books", qint64(r.books)},
               {"readers", qint64(r.readers)},
               {"loans", qint64(r.loans)},
               {"history", qint64(r.history)}},
              QStringLiteral("generated %1 books, %2 readers, %3 open loans, %4 returns")
                  .arg(r.books)
                  .arg(r.readers)
                  .arg(r.loans)
                  .arg(r.history));
    return Done;
}

} // namespace cangshu::admin
