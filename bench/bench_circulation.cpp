// The circulation desk through the logic layer: reader lookup, adding a book by number, a
// five-book lending commit, and a list-all return of twenty loans with its commit.
// Default library: 100,000 books, 20,000 readers, 15,000 open loans, 500,000 history rows;
// CANGSHU_BENCH_FULL=1 uses 1,000,000 / 200,000 / 150,000 / 5,000,000. With CANGSHU_BENCH_PG
// (a libpq connection string) the library is a PostgreSQL database on that server, made
// once by the generator and kept for later runs.
#include "support/BenchHome.h"

#include "circulation/LendingDesk.h"
#include "circulation/ReturnDesk.h"
#include "core/Generate.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "core/Startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

bool full() {
    return qEnvironmentVariableIntValue("CANGSHU_BENCH_FULL") == 1;
}

GenerateOptions size() {
    GenerateOptions o;
    o.books = full() ? 1'000'000 : 100'000;
    o.readers = full() ? 200'000 : 20'000;
    o.loans = full() ? 150'000 : 15'000;
    o.history = full() ? 5'000'000 : 500'000;
    return o;
}

std::unique_ptr<Database> postgresLibrary(const QString& server) {
    const GenerateOptions o = size();
    const QString name = QStringLiteral("cangshu_bench_b%1").arg(o.books);
    QString error;
    auto admin = Database::openPostgres(PostgresParams::fromConnectionString(server), &error);
    if (!admin)
        throw DatabaseError(error, {});
    const bool exists = admin
                            ->scalar(QStringLiteral("select count(*) from pg_database where "
                                                    "datname=?"),
                                     {name}, 0)
                            .toInt() > 0;
    if (!exists)
        admin->execute(
            QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    PostgresParams p = PostgresParams::fromConnectionString(server);
    p.database = name;
    auto db = Database::openPostgres(p, &error);
    if (!db)
        throw DatabaseError(error, {});
    if (!db->hasTable(QStringLiteral("书籍资料"))) {
        std::fprintf(stderr, "making a library of %lld books in PostgreSQL database %s ...\n",
                     o.books, qPrintable(name));
        try {
            createSchema(*db);
            seedNewDatabase(*db);
            generateData(*db, o);
            db->execute(QStringLiteral("ANALYZE"));
        } catch (...) {
            db.reset();
            admin->tryExecute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            throw;
        }
    }
    return db;
}

Database& db() {
    static std::unique_ptr<Database> pg;
    static StartupState s;
    static Database* library = [] {
        const QString server = qEnvironmentVariable("CANGSHU_BENCH_PG");
        if (!server.isEmpty()) {
            pg = postgresLibrary(server);
            return pg.get();
        }
        const GenerateOptions o = size();
        s = startUp(bench::libraryHome(int(o.books), int(o.readers), int(o.loans), int(o.history)));
        if (!s.library)
            throw DatabaseError(s.errors.join(u' '), {});
        return s.library.get();
    }();
    return *library;
}

DeskSettings settings() {
    return loadDeskSettings(db(), QStringLiteral("admin"));
}

QStringList column(const QString& sql) {
    QStringList out;
    QSqlQuery q = db().run(sql);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// Readers who pass the desk's checks; those of an unlimited type can hold twenty books.
QStringList readers(bool unlimitedType) {
    QString sql = QStringLiteral("select r.[读者编号] from [读者资料] r, [读者类型] t where "
                                 "r.[读者类型]=t.[类型名称] and r.[读者状态]='正常' and "
                                 "(r.[无限制]='是' or r.[截止日期]>='%1')")
                      .arg(db().today().toString(Qt::ISODate));
    if (unlimitedType)
        sql += QStringLiteral(" and t.[无限制]='是'");
    return column(sql + QStringLiteral(" order by r.[读者编号]"));
}

QStringList shelvedBooks(int limit) {
    return column(QStringLiteral("select [书籍编号] from [书籍资料] where [在馆状态]='在馆' "
                                 "order by [ID] desc limit %1")
                      .arg(limit));
}

// Per-operation times, reported as p50/p95 counters in milliseconds.
class Latencies {
public:
    void add(qint64 nanos) { m_ns.push_back(nanos); }
    void report(benchmark::State& state) {
        if (m_ns.empty())
            return;
        std::sort(m_ns.begin(), m_ns.end());
        auto at = [&](double q) { return m_ns[size_t(q * double(m_ns.size() - 1))] / 1e6; };
        state.counters["p50_ms"] = at(0.50);
        state.counters["p95_ms"] = at(0.95);
    }

private:
    std::vector<qint64> m_ns;
};

void returnAll(const QString& reader) {
    ReturnDesk back(db(), ItemKind::books(), settings());
    if (back.identifyReader(reader).ok)
        back.commit();
}

void BM_ReaderLookup(benchmark::State& state) {
    const QStringList numbers = readers(false);
    LendingDesk desk(db(), ItemKind::books(), settings());
    QRandomGenerator rng(1);
    Latencies lat;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const Outcome o = desk.identifyReader(numbers[rng.bounded(numbers.size())]);
        lat.add(t.nsecsElapsed());
        if (!o.ok)
            state.SkipWithError(qPrintable(o.message));
    }
    lat.report(state);
}
BENCHMARK(BM_ReaderLookup)->Unit(benchmark::kMicrosecond);

void BM_AddBookByNumber(benchmark::State& state) {
    const QStringList books = shelvedBooks(5000);
    LendingDesk desk(db(), ItemKind::books(), settings());
    if (!desk.identifyReader(readers(true).first()).ok)
        state.SkipWithError("no reader");
    QRandomGenerator rng(2);
    Latencies lat;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto r = desk.addItem(ItemSearch::ByNumber, books[rng.bounded(books.size())]);
        lat.add(t.nsecsElapsed());
        if (!r.outcome.ok)
            state.SkipWithError(qPrintable(r.outcome.message));
        desk.removePending(0);
    }
    lat.report(state);
}
BENCHMARK(BM_AddBookByNumber)->Unit(benchmark::kMicrosecond);

void BM_LendFiveCommit(benchmark::State& state) {
    const QStringList people = readers(true);
    const QStringList books = shelvedBooks(500);
    LendingDesk desk(db(), ItemKind::books(), settings());
    Latencies lat;
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString reader = people[next % people.size()];
        returnAll(reader);
        desk.identifyReader(reader);
        for (int i = 0; i < 5; ++i)
            desk.addItem(ItemSearch::ByNumber, books[(next * 5 + i) % books.size()]);
        ++next;
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const Outcome o = desk.commit();
        lat.add(t.nsecsElapsed());
        state.PauseTiming();
        if (!o.ok)
            state.SkipWithError(qPrintable(o.message));
        returnAll(reader); // the copies go back for the next round
        state.ResumeTiming();
    }
    lat.report(state);
}
BENCHMARK(BM_LendFiveCommit)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReturnTwentyLoadAndCommit(benchmark::State& state) {
    const QStringList people = readers(true);
    const QStringList books = shelvedBooks(400);
    Latencies lat;
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString reader = people[next++ % people.size()];
        returnAll(reader);
        LendingDesk lend(db(), ItemKind::books(), settings());
        lend.identifyReader(reader);
        for (int i = 0; i < 20; ++i)
            lend.addItem(ItemSearch::ByNumber, books[(next * 20 + i) % books.size()]);
        const Outcome lent = lend.commit();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        ReturnDesk desk(db(), ItemKind::books(), settings());
        const Outcome listed = desk.identifyReader(reader);
        const int rows = int(desk.lines().size());
        const Outcome back = desk.commit();
        lat.add(t.nsecsElapsed());
        if (!lent.ok || !listed.ok || !back.ok || rows != 20)
            state.SkipWithError("the twenty loans were not listed and returned");
    }
    lat.report(state);
}
BENCHMARK(BM_ReturnTwentyLoadAndCommit)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        std::fprintf(stderr, "library on %s\n", db().isPostgres() ? "PostgreSQL" : "SQLite");
    } catch (const DatabaseError& e) {
        std::fprintf(stderr, "no library database: %s\n", qPrintable(e.message()));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
