// MARC reading and import on a generated file of 100,000 CNMARC book records (GBK).
// The reading figure is set beside `yaz-marcdump -n -i marc` on the same file when the tool
// is installed.
#include "core/Database.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "marc/MarcFile.h"
#include "marc/MarcImport.h"
#include "marc/MarcMappings.h"
#include "marc/MarcRecord.h"
#include "marc/MarcWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace cangshu;

namespace {

constexpr int kClasses = 200;

// 100,000 records unless CANGSHU_BENCH_MARC_RECORDS says otherwise (to compare the memory
// of a parse of files of different sizes).
int recordCount() {
    static const int count = [] {
        bool ok = false;
        const int n = qEnvironmentVariableIntValue("CANGSHU_BENCH_MARC_RECORDS", &ok);
        return ok && n > 0 ? n : 100'000;
    }();
    return count;
}

QString benchDir() {
    QString base = qEnvironmentVariable("CANGSHU_BENCH_DIR");
    if (base.isEmpty())
        base = QStringLiteral("/tmp/cangshu-bench");
    QDir().mkpath(base);
    return base;
}

// Written once and kept for later runs.
QString marcFile() {
    const int count = recordCount();
    const QString path = benchDir() + QStringLiteral("/cnmarc-%1.iso").arg(count);
    if (QFileInfo::exists(path))
        return path;
    const QStringList words{QStringLiteral("数据库"), QStringLiteral("系统"),
                            QStringLiteral("原理"),   QStringLiteral("程序设计"),
                            QStringLiteral("中国"),   QStringLiteral("历史"),
                            QStringLiteral("文学"),   QStringLiteral("研究")};
    QFile file(path + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    for (int i = 0; i < count; ++i) {
        const QString title = words[i % 8] + words[(i / 8) % 8] + QString::number(i % 5000);
        const QString cls = QStringLiteral("TP%1").arg(i % kClasses);
        MarcWriter w;
        w.controlField(QStringLiteral("001"), QStringLiteral("CAL %1").arg(i, 12, 10, QChar(u'0')))
            .dataField(QStringLiteral("010"), QStringLiteral("  "),
                       {{u'a', QStringLiteral("978-7-%1-%2").arg(100 + i % 800).arg(i)},
                        {u'd', QStringLiteral("CNY%1.00").arg(10 + i % 90)}})
            .dataField(QStringLiteral("101"), QStringLiteral("0 "), {{u'a', QStringLiteral("chi")}})
            .dataField(QStringLiteral("200"), QStringLiteral("1 "),
                       {{u'a', title}, {u'f', QStringLiteral("作者%1著").arg(i % 3000)}})
            .dataField(QStringLiteral("210"), QStringLiteral("  "),
                       {{u'a', QStringLiteral("北京")},
                        {u'c', QStringLiteral("出版社%1").arg(i % 400)},
                        {u'd', QString::number(1990 + i % 35)}})
            .dataField(
                QStringLiteral("215"), QStringLiteral("  "),
                {{u'a', QStringLiteral("%1页").arg(100 + i % 700)}, {u'd', QStringLiteral("26cm")}})
            .dataField(
                QStringLiteral("330"), QStringLiteral("  "),
                {{u'a', QStringLiteral("本书介绍") + title + QStringLiteral("的基本内容。")}})
            .dataField(QStringLiteral("690"), QStringLiteral("  "),
                       {{u'a', cls}, {u'v', QStringLiteral("5")}})
            .dataField(QStringLiteral("701"), QStringLiteral(" 0"),
                       {{u'a', QStringLiteral("作者%1").arg(i % 3000)}});
        file.write(w.toIso2709());
    }
    file.close();
    QFile::rename(path + QStringLiteral(".part"), path);
    return path;
}

// Reads the file record by record, parses each and reads every subfield by look-up.
void BM_ParseFile(benchmark::State& state) {
    const QString path = marcFile();
    qint64 subfields = 0;
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        MarcRecordReader reader(&file);
        QByteArray bytes;
        int records = 0;
        while (reader.next(&bytes)) {
            const MarcRecord record = MarcRecord::fromBytes(bytes);
            for (const auto& field : record.fields()) {
                for (const auto& subfield : field.subfields) {
                    benchmark::DoNotOptimize(record.firstSubfieldView(field.tag, subfield.code));
                    ++subfields;
                }
            }
            ++records;
        }
        if (records != recordCount())
            state.SkipWithError("the file lost records");
    }
    state.counters["records/s"] =
        benchmark::Counter(double(recordCount()) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["subfields"] = double(subfields) / state.iterations();
}
BENCHMARK(BM_ParseFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// User and system time of the finished child processes.
double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The same file through yaz-marcdump, for comparison.
void BM_YazMarcdump(benchmark::State& state) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("yaz-marcdump"));
    if (tool.isEmpty()) {
        state.SkipWithError("yaz-marcdump is not installed");
        return;
    }
    const QString path = marcFile();
    double cpu = 0;
    for (auto _ : state) {
        const double before = childrenCpuSeconds();
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(tool,
                      {QStringLiteral("-n"), QStringLiteral("-i"), QStringLiteral("marc"), path});
        if (!process.waitForFinished(600'000) || process.exitCode() != 0)
            state.SkipWithError("yaz-marcdump failed");
        cpu += childrenCpuSeconds() - before;
    }
    // The tool's own CPU time, to set beside the reader's on a busy machine.
    state.counters["tool_cpu_ms"] = 1000 * cpu / double(state.iterations());
}
BENCHMARK(BM_YazMarcdump)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The whole file into 书籍资料 on SQLite: automatic numbers and 种次号.
void BM_ImportBooks(benchmark::State& state) {
    const QString path = marcFile();
    for (auto _ : state) {
        state.PauseTiming();
        const QString dbFile = benchDir() + QStringLiteral("/marc-import.cab");
        QFile::remove(dbFile);
        QString error;
        auto db = Database::openSqlite(dbFile, true, &error);
        createSchema(*db);
        seedNewDatabase(*db);
        seedMarcMappings(*db);
        state.ResumeTiming();

        QString readError;
        const auto records = readMarcFile(path, &readError);
        const MarcMappingLoad load = loadMarcMappings(*db, MarcImportTarget::Books);
        const MarcPreview preview = previewMarcRecords(records, load.mappings);
        const MarcImportOutcome outcome = importMarcPreview(*db, preview, load.mappings, {});
        if (outcome.recordsImported != recordCount())
            state.SkipWithError("records were lost");
    }
}
BENCHMARK(BM_ImportBooks)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
