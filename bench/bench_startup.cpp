// Start-up and the two lookups every circulation window does, on 1,000,000 books.
#include "support/BenchHome.h"

#include "core/Startup.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

constexpr int kBooks = 1'000'000;
constexpr int kReaders = 20'000;

const Home& home() {
    static const Home h = bench::libraryHome(kBooks, kReaders, 50'000, 200'000);
    return h;
}

void BM_StartUp(benchmark::State& state) {
    const Home& h = home();
    for (auto _ : state) {
        StartupState s = startUp(h);
        if (!s.library)
            state.SkipWithError("start-up found no database");
        benchmark::DoNotOptimize(s.expiredReservations);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// Looks up random existing numbers of one kind, the way a scan at the desk does.
void lookup(benchmark::State& state, const QString& sql, const QString& numberSql) {
    StartupState s = startUp(home());
    Database& db = *s.library;
    QStringList numbers;
    QSqlQuery q = db.run(numberSql);
    while (q.next())
        numbers << q.value(0).toString();
    QRandomGenerator rng(42);
    for (auto _ : state) {
        const QString number = numbers[rng.bounded(numbers.size())];
        auto row = db.row(sql, {number});
        if (!row)
            state.SkipWithError("number not found");
        benchmark::DoNotOptimize(row);
    }
}

void BM_BookByNumber(benchmark::State& state) {
    lookup(state, QStringLiteral("select * from [书籍资料] where [书籍编号]=?"),
           QStringLiteral("select [书籍编号] from [书籍资料] where [ID] % 997 = 0"));
}
BENCHMARK(BM_BookByNumber)->Unit(benchmark::kMicrosecond);

void BM_ReaderByNumber(benchmark::State& state) {
    lookup(state, QStringLiteral("select * from [读者资料] where [读者编号]=?"),
           QStringLiteral("select [读者编号] from [读者资料]"));
}
BENCHMARK(BM_ReaderByNumber)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
