// The fines statistics and the return history list on 5,000,000 return-history rows:
// period sums, the first rows with the footer sums, and an export of 100,000 rows.
#include "support/BenchHome.h"

#include "circulation/FineStatistics.h"
#include "core/Startup.h"
#include "queries/CirculationHistory.h"
#include "queries/Export.h"
#include "queries/SafeSelect.h"
#include "widgets/GridModel.h"

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

// The grid of the book return history window, with its declared columns and footers.
std::unique_ptr<GridModel> returnHistoryGrid(Database& db, const HistoryView& view) {
    auto grid = std::make_unique<GridModel>(db);
    QList<GridColumn> columns;
    for (const HistoryColumn& c : view.columns)
        columns.append({c.field, c.title, c.width,
                        c.footer == HistoryFooter::Sum     ? FooterKind::Sum
                        : c.footer == HistoryFooter::Count ? FooterKind::Count
                                                           : FooterKind::None});
    grid->setColumns(columns);
    return grid;
}

// "显示全部": the grid's model runs the list and fetches its first block of rows, which the
// operator sees; with footer, the grid then counts the footer from the database.
void returnHistoryAll(benchmark::State& state, bool footer) {
    Database& db = *library().library;
    const HistoryQueries queries(db, HistoryKind::BookReturns);
    const auto grid = returnHistoryGrid(db, queries.view());
    for (auto _ : state) {
        const HistoryQuery q = queries.all();
        grid->load({q.select, q.params, q.orderBy, q.totals});
        qint64 cells = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                cells += grid->data(grid->index(r, c)).isValid();
        if (cells == 0)
            state.SkipWithError("no rows");
        if (footer) {
            const GridModel::Totals t = grid->totals();
            if (t.rows != 5'000'000)
                state.SkipWithError("wrong count");
            benchmark::DoNotOptimize(t.sums);
        }
        benchmark::DoNotOptimize(cells);
    }
}

void BM_ReturnHistoryFirstRows(benchmark::State& state) {
    returnHistoryAll(state, false);
}
BENCHMARK(BM_ReturnHistoryFirstRows)->Unit(benchmark::kMillisecond);

void BM_ReturnHistoryFirstRowsAndFooter(benchmark::State& state) {
    returnHistoryAll(state, true);
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
