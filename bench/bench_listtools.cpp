// The list tools on a big library: opening a grid on 1,000,000 books, and exporting and
// importing 100,000 rows as .xlsx.
#include "support/BenchHome.h"

#include "core/Schema.h"
#include "queries/Export.h"
#include "queries/SpreadsheetImport.h"
#include "widgets/GridModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

const Home& home() {
    static const Home h = bench::libraryHome(1'000'000, 20'000, 50'000, 200'000);
    return h;
}

std::unique_ptr<Database> openLibrary() {
    QString error;
    auto db = Database::openSqlite(home().databaseFile(), false, &error);
    if (!db)
        throw DatabaseError(error, {});
    return db;
}

const QString kHundredThousand = QStringLiteral("select * from [书籍资料] where [ID] <= 100000");

// A 100,000-row workbook written once by the export, for the import to read.
QString workbook() {
    static QTemporaryDir dir;
    static const QString file = [] {
        const QString f = dir.filePath(QStringLiteral("books.xlsx"));
        auto db = openLibrary();
        exportQuery(
            *db, QStringLiteral("select * from [书籍资料] where [ID] > 200000 and [ID] <= 300000"),
            ExportFormat::Xlsx, f);
        return f;
    }();
    return file;
}

// First rows of the book list in number order, as the book window opens it.
void BM_GridFirstRows(benchmark::State& state) {
    auto db = openLibrary();
    for (auto _ : state) {
        GridModel model(*db);
        model.load({QStringLiteral("select * from [书籍资料]"), {}, QStringLiteral("[书籍编号]")});
        benchmark::DoNotOptimize(model.index(0, 1).data());
        state.counters["fetched"] = model.rowCount();
    }
}
BENCHMARK(BM_GridFirstRows)->Unit(benchmark::kMillisecond);

// The footer's count and sum over the whole list, by one aggregate.
void BM_GridFooter(benchmark::State& state) {
    auto db = openLibrary();
    GridModel model(*db);
    model.setColumns(
        {{QStringLiteral("书籍编号"), QStringLiteral("书籍编号"), 100, FooterKind::Count},
         {QStringLiteral("书籍价格"), QStringLiteral("书籍价格"), 100, FooterKind::Sum}});
    model.load({QStringLiteral("select * from [书籍资料]"), {}, QStringLiteral("[书籍编号]")});
    for (auto _ : state)
        benchmark::DoNotOptimize(model.totals());
}
BENCHMARK(BM_GridFooter)->Unit(benchmark::kMillisecond);

void BM_ExportXlsx100k(benchmark::State& state) {
    auto db = openLibrary();
    QTemporaryDir dir;
    SilentProgress progress;
    for (auto _ : state) {
        const ExportOutcome out = exportQuery(*db, kHundredThousand, ExportFormat::Xlsx,
                                              dir.filePath(QStringLiteral("out.xlsx")), &progress);
        if (!out.ok || out.rows != 100'000)
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportXlsx100k)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reading the workbook alone (the import's first half).
void BM_ReadXlsx100k(benchmark::State& state) {
    const QString file = workbook();
    for (auto _ : state) {
        Sheet sheet;
        QString error;
        if (!readSpreadsheet(file, &sheet, &error) || sheet.rows.size() != 100'001)
            state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_ReadXlsx100k)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reading the workbook and storing its rows in an empty library, all in one transaction.
void BM_ImportXlsx100k(benchmark::State& state) {
    const QString file = workbook();
    QTemporaryDir dir;
    int round = 0;
    SilentProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        QString error;
        auto db = Database::openSqlite(dir.filePath(QStringLiteral("import%1.db").arg(++round)),
                                       true, &error);
        createSchema(*db);
        state.ResumeTiming();
        const ImportOutcome out =
            importSpreadsheet(*db, file, QStringLiteral("书籍资料"), &progress);
        if (!out.ok || out.imported != 100'000)
            state.SkipWithError(qPrintable(out.message + out.detail));
    }
}
BENCHMARK(BM_ImportXlsx100k)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
