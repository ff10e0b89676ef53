// Several processes lend and return the same few copies at once, then the books and the
// open loans are checked against each other: no copy lent twice, and every title's shelf
// count equal to its stock less its open loans. Prints the throughput.
//
//   bench_circulation_stress [--engine sqlite|postgresql] [--processes 4] [--seconds 30]
//
// PostgreSQL needs CANGSHU_BENCH_PG, a libpq connection string of a server where a scratch
// database may be created.
#include "circulation/LendingDesk.h"
#include "circulation/ReturnDesk.h"
#include "core/Schema.h"
#include "core/Seed.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace cangshu;

namespace {

constexpr int kReaders = 12;
constexpr int kBooks = 30;
constexpr int kStock = 3; // copies of each title when one number stands for several copies

std::unique_ptr<Database> openTarget(const QString& engine, const QString& target) {
    QString error;
    auto db = engine == QLatin1String("sqlite")
                  ? Database::openSqlite(target, true, &error)
                  : Database::openPostgres(PostgresParams::fromConnectionString(target), &error);
    if (!db)
        throw DatabaseError(error, {});
    return db;
}

QString readerNumber(int i) {
    return QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
}
QString bookNumber(int i) {
    return QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0'));
}

void prepare(Database& db, bool oneToOne) {
    Transaction tx(db);
    createSchema(db);
    seedNewDatabase(db);
    db.execute(QStringLiteral("update [参数设置] set [一对一]=?"), {oneToOne ? 1 : 0});
    db.execute(QStringLiteral("insert into [读者类型] ([类型名称], [书籍每日租金], [书籍超期罚款], "
                              "[无限制]) values ('压力', 0.1, 0.2, '是')"));
    for (int i = 0; i < kReaders; ++i)
        db.execute(QStringLiteral("insert into [读者资料] ([读者编号], [读者姓名], [读者类型], "
                                  "[借阅次数]) values (?, '读者', '压力', 0)"),
                   {readerNumber(i)});
    const int stock = oneToOne ? 1 : kStock;
    for (int i = 0; i < kBooks; ++i)
        db.execute(
            QStringLiteral("insert into [书籍资料] ([书籍编号], [书籍名称], [在馆状态], "
                           "[馆内剩余], [藏书总量], [借出次数]) values (?, '书', '在馆', ?, ?, 0)"),
            {bookNumber(i), stock, stock});
    tx.commit();
}

// One workstation: lends one to three random copies or takes back a reader's loans.
int worker(const QString& engine, const QString& target, int seconds, quint32 seed) {
    auto db = openTarget(engine, target);
    const DeskSettings settings = loadDeskSettings(*db, QStringLiteral("admin"));
    QRandomGenerator rng(seed);
    QDeadlineTimer deadline(seconds * 1000);
    qint64 lends = 0, returns = 0, refused = 0, errors = 0;
    while (!deadline.hasExpired()) {
        const QString reader = readerNumber(rng.bounded(kReaders));
        try {
            if (rng.bounded(100) < 60) {
                LendingDesk desk(*db, ItemKind::books(), settings);
                if (!desk.identifyReader(reader).ok)
                    continue;
                const int n = 1 + rng.bounded(3);
                for (int i = 0; i < n; ++i)
                    desk.addItem(ItemSearch::ByNumber, bookNumber(rng.bounded(kBooks)));
                if (desk.pending().isEmpty())
                    ++refused;
                else if (desk.commit().ok)
                    ++lends;
                else
                    ++refused;
            } else {
                ReturnDesk desk(*db, ItemKind::books(), settings);
                if (!desk.identifyReader(reader).ok)
                    ++refused;
                else if (desk.commit().ok)
                    ++returns;
                else
                    ++refused;
            }
        } catch (const DatabaseError& e) {
            ++errors;
            std::fprintf(stderr, "worker error: %s\n", qPrintable(e.message()));
        }
    }
    std::printf("%lld %lld %lld %lld\n", lends, returns, refused, errors);
    return 0;
}

struct Totals {
    qint64 lends = 0, returns = 0, refused = 0, errors = 0;
};

bool runMode(const QString& engine, int processes, int seconds, bool oneToOne) {
    QTemporaryDir dir;
    QString target;
    std::unique_ptr<Database> admin;
    const QString scratch =
        QStringLiteral("cangshu_stress_%1").arg(QCoreApplication::applicationPid());
    if (engine == QLatin1String("sqlite")) {
        target = dir.filePath(QStringLiteral("excel.cab"));
    } else {
        const QString server = qEnvironmentVariable("CANGSHU_BENCH_PG");
        if (server.isEmpty()) {
            std::fprintf(stderr, "CANGSHU_BENCH_PG is not set\n");
            return false;
        }
        admin = openTarget(engine, server);
        admin->execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(scratch));
        admin->execute(
            QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(scratch));
        PostgresParams p = PostgresParams::fromConnectionString(server);
        target = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                     .arg(p.host)
                     .arg(p.port)
                     .arg(p.user, scratch);
        if (!p.password.isEmpty())
            target += QStringLiteral(" password=") + p.password;
    }
    bool good = true;
    {
        auto db = openTarget(engine, target);
        prepare(*db, oneToOne);

        QList<QProcess*> workers;
        for (int i = 0; i < processes; ++i) {
            auto* p = new QProcess;
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--worker"), engine, target, QString::number(seconds),
                      QString::number(1000 + i)});
            workers << p;
        }
        Totals t;
        for (QProcess* p : std::as_const(workers)) {
            p->waitForFinished(-1);
            const QStringList f = QString::fromUtf8(p->readAllStandardOutput()).split(u' ');
            if (f.size() == 4) {
                t.lends += f[0].toLongLong();
                t.returns += f[1].toLongLong();
                t.refused += f[2].toLongLong();
                t.errors += f[3].toLongLong();
            } else {
                ++t.errors;
            }
            delete p;
        }

        const int doubled =
            db->scalar(QStringLiteral("select count(*) from (select [书籍索引] from [书籍借阅清单] "
                                      "group by [书籍索引] having count(*)>1) d"),
                       {}, 0)
                .toInt();
        const int statusWrong =
            db->scalar(QStringLiteral(
                           "select count(*) from [书籍资料] b where ([在馆状态]='借出') <> "
                           "exists (select 1 from [书籍借阅清单] l where l.[书籍索引]=b.[ID])"),
                       {}, 0)
                .toInt();
        const int stockWrong =
            db->scalar(QStringLiteral("select count(*) from [书籍资料] b where [馆内剩余] < 0 or "
                                      "[馆内剩余] + (select count(*) from [书籍借阅清单] l where "
                                      "l.[书籍索引]=b.[ID]) <> [藏书总量]"),
                       {}, 0)
                .toInt();
        const int open =
            db->scalar(QStringLiteral("select count(*) from [书籍借阅清单]"), {}, 0).toInt();
        const bool consistent = oneToOne ? doubled == 0 && statusWrong == 0 : stockWrong == 0;
        good = consistent && t.errors == 0;
        std::printf("%s %s, %d processes, %d s: %lld lending commits, %lld return commits "
                    "(%.1f commits/s), %lld refused, %lld database errors, %d loans open; "
                    "copies lent twice: %d, wrong status: %d, wrong shelf counts: %d -> %s\n",
                    qPrintable(engine), oneToOne ? "one-to-one" : "one-to-many", processes, seconds,
                    t.lends, t.returns, double(t.lends + t.returns) / seconds, t.refused, t.errors,
                    open, oneToOne ? doubled : 0, oneToOne ? statusWrong : 0,
                    oneToOne ? 0 : stockWrong, good ? "consistent" : "INCONSISTENT");
        std::fflush(stdout);
    }
    if (admin)
        admin->tryExecute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(scratch));
    return good;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 5 && args[0] == QLatin1String("--worker"))
            return worker(args[1], args[2], args[3].toInt(), args[4].toUInt());
        QString engine = QStringLiteral("sqlite");
        int processes = 4, seconds = 30;
        for (int i = 0; i + 1 < args.size(); i += 2) {
            if (args[i] == QLatin1String("--engine"))
                engine = args[i + 1];
            else if (args[i] == QLatin1String("--processes"))
                processes = args[i + 1].toInt();
            else if (args[i] == QLatin1String("--seconds"))
                seconds = args[i + 1].toInt();
        }
        bool good = true;
        for (bool oneToOne : {true, false})
            good = runMode(engine, processes, seconds, oneToOne) && good;
        return good ? 0 : 1;
    } catch (const DatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 3;
    }
}
