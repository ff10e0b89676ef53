// Book barcode labels for 10,000 books rendered into a PDF, from the rows of the library.
#include "support/BenchHome.h"

#include "core/Database.h"
#include "report/PrintJob.h"
#include "report/TemplateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

constexpr int kBooks = 10'000;

void BM_BookLabelsToPdf(benchmark::State& state) {
    const Home home = bench::libraryHome(kBooks, 100, 0, 0);
    QString error;
    auto db = Database::openSqlite(home.databaseFile(), false, &error);
    if (!db) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    QSqlQuery query = db->run(QStringLiteral("select * from [书籍资料] order by [书籍编号]"));
    const QList<QVariantMap> rows = report::rowsOf(query);
    const report::LoadedTemplate tpl =
        report::parseTemplate(report::shippedTemplate(QStringLiteral("bookCode")), "bookCode");
    if (!tpl || rows.size() != kBooks) {
        state.SkipWithError("no template or not enough books");
        return;
    }
    const QString pdf = QDir::temp().filePath(QStringLiteral("cangshu-bench-labels.pdf"));
    for (auto _ : state) {
        const report::PrintOutcome outcome =
            report::printToPdf(*tpl.tpl, report::dataForTemplate("bookCode", rows), pdf);
        if (!outcome.ok || !outcome.problems.isEmpty())
            state.SkipWithError(qPrintable(outcome.message + outcome.problems.join(u' ')));
        state.counters["pages"] = outcome.pages;
    }
    state.counters["MB"] = QFileInfo(pdf).size() / 1e6;
    QFile::remove(pdf);
}
BENCHMARK(BM_BookLabelsToPdf)->Unit(benchmark::kSecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
