// The fines statistics and the return history list on 5,000,000 return-history rows:
// period sums, the first rows with the footer sums, and an export of 100,000 rows.
#include "support/BenchHome.h"

#include "circulation/FineStatistics.h"
#include "core/Startup.h"
#include "queries/CirculationHistory.h"
#include "queries/Export.h"
#include "queries/SafeSelect.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

StartupState& library() {
    static StartupState s = startUp(bench::libraryHome(200'000, 20'000, 10'000, 5'000'000));
    return s;
}

void BM_PeriodStatistics(benchmark::State& state) {
    Database& db = *library().library;
    const QDate to = db.today();
    for (auto _ : state) {
        const FineStatistics f = fineStatistics(db, to.addYears(-1), to);
        benchmark::DoNotOptimize(f.grandTotal());
    }
}
BENCHMARK(BM_PeriodStatistics)->Unit(benchmark::kMillisecond);

// What the return history window does when it opens: the first screenful of rows in the
// list's order, and the footer's count and sum from the database.
void BM_ReturnHistoryFirstRowsAndFooter(benchmark::State& state) {
    Database& db = *library().library;
    const HistoryQueries queries(db, HistoryKind::BookReturns);
    for (auto _ : state) {
        const HistoryQuery q = queries.all();
        QSqlQuery rows = runSelect(
            db, q.select + QStringLiteral(" order by ") + q.orderBy + QStringLiteral(" limit 256"),
            q.params, true);
        int n = 0;
        while (rows.next())
            ++n;
        const auto footer = db.row(QStringLiteral("select count(*), sum([罚款金额]) from (") +
                                       q.select + QStringLiteral(") f"),
                                   q.params);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(footer);
    }
}
BENCHMARK(BM_ReturnHistoryFirstRowsAndFooter)->Unit(benchmark::kMillisecond);

void BM_ExportHistoryXlsx(benchmark::State& state) {
    Database& db = *library().library;
    const HistoryQueries queries(db, HistoryKind::BookReturns);
    QTemporaryDir dir;
    for (auto _ : state) {
        const HistoryQuery q = queries.all();
        QSqlQuery rows = runSelect(db, q.select + QStringLiteral(" limit 100000"), q.params, true);
        QueryRowSource source(rows);
        const ExportOutcome r =
            exportRows(ExportFormat::Xlsx, dir.filePath(QStringLiteral("h.xlsx")), source);
        if (!r.ok || r.rows != 100000)
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportHistoryXlsx)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
