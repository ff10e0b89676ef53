// The book window's listing through the logic layer: showing the window (count, counters and
// the first page), page steps, quick searches by number and by title fragment, and a click
// on a class of the tree. Default library: 100,000 books; CANGSHU_BENCH_FULL=1 uses
// 1,000,000 (both made once by the generator and kept in $CANGSHU_BENCH_DIR).
#include "support/BenchHome.h"

#include "catalogue/BookList.h"
#include "core/Startup.h"
#include "queries/QuickSearch.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace cangshu;

namespace {

const QString kKinds = QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN");

Database& db() {
    static StartupState s;
    static Database* library = [] {
        const bool full = qEnvironmentVariableIntValue("CANGSHU_BENCH_FULL") == 1;
        s = startUp(full ? bench::libraryHome(1'000'000, 20'000, 50'000, 200'000)
                         : bench::libraryHome(100'000, 20'000, 15'000, 500'000));
        if (!s.library)
            throw DatabaseError(s.errors.join(u' '), {});
        return s.library.get();
    }();
    return *library;
}

int pageSize() {
    return db().scalar(QStringLiteral("select [分页记录] from [参数设置]"), {}, 100).toInt();
}

// What the window does for a new condition: count, counters, first page.
void listUnder(BookPager& pager, const ListCondition& c) {
    pager.reset(c, pageSize());
    benchmark::DoNotOptimize(bookCounters(db(), c, true, kKinds));
    benchmark::DoNotOptimize(pager.first());
}

QStringList sample(const QString& sql) {
    QStringList out;
    QSqlQuery q = db().run(sql);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// Arg 0 pages through every book, arg 1 through the top class that holds the most books.
ListCondition pagedCondition(const benchmark::State& state) {
    if (state.range(0) == 0)
        return {};
    const QString top = db().scalar(QStringLiteral("select substr([中图分类],1,1) as [c] from "
                                                   "[书籍资料] group by [c] order by count(*) "
                                                   "desc, [c] limit 1"))
                            .toString();
    return classCondition(db(), CatalogueTable::books(), top);
}

void BM_ShowWindow(benchmark::State& state) {
    BookPager pager(db(), CatalogueTable::books());
    for (auto _ : state)
        listUnder(pager, {});
}
BENCHMARK(BM_ShowWindow)->Unit(benchmark::kMillisecond);

void BM_NextPage(benchmark::State& state) {
    BookPager pager(db(), CatalogueTable::books());
    pager.reset(pagedCondition(state), pageSize());
    pager.go(pager.pages() / 2);
    for (auto _ : state) {
        if (pager.page() >= pager.pages() - 1) {
            state.PauseTiming();
            pager.go(pager.pages() / 2);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(pager.next());
    }
}
BENCHMARK(BM_NextPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LastPage(benchmark::State& state) {
    BookPager pager(db(), CatalogueTable::books());
    pager.reset(pagedCondition(state), pageSize());
    for (auto _ : state)
        benchmark::DoNotOptimize(pager.last());
}
BENCHMARK(BM_LastPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A jump to a page in the middle (the offset path; stepping uses the page edges).
void BM_MiddlePage(benchmark::State& state) {
    BookPager pager(db(), CatalogueTable::books());
    pager.reset(pagedCondition(state), pageSize());
    for (auto _ : state)
        benchmark::DoNotOptimize(pager.go(pager.pages() / 2));
}
BENCHMARK(BM_MiddlePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void quickSearch(benchmark::State& state, const QString& column, bool fuzzy,
                 const QStringList& values) {
    BookPager pager(db(), CatalogueTable::books());
    QRandomGenerator rng(7);
    for (auto _ : state) {
        const SearchOutcome s = quickSearchCondition(db(), QStringLiteral("书籍资料"), column,
                                                     values[rng.bounded(values.size())], fuzzy);
        listUnder(pager, ListCondition::fromWhere(s.condition.sql, s.condition.params));
    }
}

void BM_SearchNumberExact(benchmark::State& state) {
    quickSearch(
        state, QStringLiteral("书籍编号"), false,
        sample(QStringLiteral("select [书籍编号] from [书籍资料] order by [ID] desc limit 500")));
}
BENCHMARK(BM_SearchNumberExact)->Unit(benchmark::kMillisecond);

void BM_SearchNumberFuzzy(benchmark::State& state) {
    quickSearch(
        state, QStringLiteral("书籍编号"), true,
        sample(QStringLiteral("select [书籍编号] from [书籍资料] order by [ID] desc limit 500")));
}
BENCHMARK(BM_SearchNumberFuzzy)->Unit(benchmark::kMillisecond);

void BM_SearchTitleFragment(benchmark::State& state) {
    QStringList fragments;
    for (const QString& t :
         sample(QStringLiteral("select [书籍名称] from [书籍资料] order by [ID] desc limit 200")))
        fragments << t.mid(1, 2);
    quickSearch(state, QStringLiteral("书籍名称"), true, fragments);
}
BENCHMARK(BM_SearchTitleFragment)->Unit(benchmark::kMillisecond);

// Arg 0: the classes of the tree (or, in a generated library without a tree, the class
// numbers of the books); arg 1: their first letters, the top of the tree, which hold the
// most books.
void BM_ClassClick(benchmark::State& state) {
    QStringList classes =
        sample(QStringLiteral("select distinct [分类号] from [图书类型] order by [分类号]"));
    if (classes.isEmpty()) // a generated library may have books but no class tree
        classes = sample(QStringLiteral("select distinct [中图分类] from [书籍资料] where "
                                        "[中图分类] is not null order by [中图分类] limit 50"));
    if (state.range(0) == 1) {
        for (QString& c : classes)
            c.truncate(1);
        classes.removeDuplicates();
    }
    if (classes.isEmpty()) {
        state.SkipWithError("no classes");
        return;
    }
    BookPager pager(db(), CatalogueTable::books());
    int next = 0;
    for (auto _ : state)
        listUnder(pager,
                  classCondition(db(), CatalogueTable::books(), classes[next++ % classes.size()]));
}
BENCHMARK(BM_ClassClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
