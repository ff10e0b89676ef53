#include "catalogue/BookList.h"
#include "CatalogueFixture.h"

namespace cangshu::test {
namespace {

using namespace Qt::StringLiterals;

TEST(PageCount, ByRowsAndPageSize) {
    const struct {
        qint64 rows;
        int size;
        int pages;
    } cases[] = {{41, 20, 3}, {40, 20, 2}, {20, 20, 1}, {0, 20, 0},
                 {5, 0, 1},   {5, -3, 1},  {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(pageCount(c.rows, c.size), c.pages) << c.rows << "/" << c.size;
}

class BookListTest : public CatalogueTest {
protected:
    QList<qint64> addBooks(int n, const QString& cls = QStringLiteral("I")) {
        QList<qint64> ids;
        for (int i = 0; i < n; ++i)
            ids << addBook(
                {{QStringLiteral("书籍编号"), QStringLiteral("N%1").arg(i, 3, 10, QChar(u'0'))},
                 {QStringLiteral("书籍名称"), QStringLiteral("书%1").arg(i)},
                 {QStringLiteral("中图分类"), cls}});
        return ids;
    }
    static QList<qint64> idsOf(const QList<QVariantMap>& rows) {
        QList<qint64> ids;
        for (const auto& r : rows)
            ids << r.value(QStringLiteral("ID")).toLongLong();
        return ids;
    }
};

TEST_P(BookListTest, PagesAreCutByIdAcrossGapsInEveryDirection) {
    QList<qint64> ids = addBooks(50);
    // Gaps: every fifth book is gone, leaving 40; then one more of another class.
    for (int i = 0; i < 50; i += 5)
        db().execute(QStringLiteral("delete from [书籍资料] where [ID]=?"), {ids[i]});
    QList<qint64> kept;
    for (int i = 0; i < 50; ++i)
        if (i % 5)
            kept << ids[i];
    addBooks(1, QStringLiteral("K"));

    BookPager pager(db(), CatalogueTable::books(), QStringLiteral("[ID],[书籍编号]"));
    pager.reset(
        ListCondition::fromWhere(QStringLiteral(" where [中图分类]=?"), {QStringLiteral("I")}), 15);
    EXPECT_EQ(pager.total(), 40);
    EXPECT_EQ(pager.pages(), 3);
    EXPECT_EQ(idsOf(pager.first()), kept.mid(0, 15));
    EXPECT_EQ(idsOf(pager.next()), kept.mid(15, 15));
    EXPECT_EQ(pager.pageLabel(), QStringLiteral("2/3"));
    EXPECT_EQ(idsOf(pager.next()), kept.mid(30)); // through the last-page path
    EXPECT_EQ(pager.page(), 3);
    EXPECT_EQ(idsOf(pager.next()), kept.mid(30)); // stays on the last page
    EXPECT_EQ(idsOf(pager.previous()), kept.mid(15, 15));
    EXPECT_EQ(idsOf(pager.previous()), kept.mid(0, 15)); // through the first-page path
    EXPECT_EQ(idsOf(pager.last()), kept.mid(30));
    EXPECT_EQ(idsOf(pager.go(2)), kept.mid(15, 15));

    // Page size 0 shows everything on one page instead of failing.
    pager.reset({}, 0);
    EXPECT_EQ(pager.pages(), 1);
    EXPECT_EQ(pager.first().size(), 41);
    EXPECT_FALSE(pager.canPage());
    // Nothing matching: no page at all.
    pager.reset(classCondition(db(), CatalogueTable::books(), QStringLiteral("Z")), 15);
    EXPECT_EQ(pager.pages(), 0);
    EXPECT_TRUE(pager.first().isEmpty());
    EXPECT_EQ(pager.pageLabel(), QStringLiteral("0/0"));
}

TEST_P(BookListTest, ConditionsAreWrappedBeforePagingAndCounting) {
    const QList<qint64> k = addBooks(2, QStringLiteral("K"));
    const QList<qint64> ids = addBooks(6);
    addBooks(3, QStringLiteral("I2"));
    // An "or" condition as the builder writes it: unwrapped, "and ID>?" would bind to one side.
    const ListCondition either =
        ListCondition::fromWhere(QStringLiteral(" where [中图分类]='K' or [中图分类]='I'"));
    BookPager pager(db(), CatalogueTable::books(), QStringLiteral("[ID]"));
    pager.reset(either, 4);
    EXPECT_EQ(pager.total(), 8);
    EXPECT_EQ(idsOf(pager.first()), k + ids.mid(0, 2));
    EXPECT_EQ(idsOf(pager.next()), ids.mid(2, 4));
    const BookCounters c = bookCounters(db(), either, true, QStringLiteral("书籍名称"));
    EXPECT_EQ(c.rows, 8);
    // A class lists its own books and those of the classes below it.
    pager.reset(classCondition(db(), CatalogueTable::books(), QStringLiteral("I")), 100);
    EXPECT_EQ(pager.total(), 9);
    EXPECT_EQ(idsOf(pager.first()).mid(0, 6), ids);
    pager.reset(classCondition(db(), CatalogueTable::books(), QStringLiteral("I2")), 100);
    EXPECT_EQ(pager.total(), 3);
}

// A class lists the books whose class number begins with it, letter case and punctuation
// counting, on both engines; the numbers sit at the edges of the range a prefix spans.
TEST_P(BookListTest, AClassListsExactlyTheNumbersBeginningWithIt) {
    const QStringList numbers{u"I"_s,
                              u"I2"_s,
                              u"I24"_s,
                              u"I247.5"_s,
                              u"I3"_s,
                              u"i24"_s,
                              u"H9"_s,
                              u"J"_s,
                              u"TP3"_s,
                              u"TP31"_s,
                              u"TP3/1"_s,
                              u"TP4"_s,
                              u"TP2~"_s,
                              u"甲乙"_s,
                              u"甲丙"_s,
                              u"乙"_s,
                              u""_s,
                              QString::fromUcs4(U"A\U0010FFFF"),
                              QString::fromUcs4(U"A\U0010FFFFB"),
                              u"B"_s,
                              QString::fromUcs4(U"\uD7FF"),
                              QString::fromUcs4(U"\uD7FFx"),
                              QString::fromUcs4(U"\uE000")};
    QList<std::pair<qint64, QString>> books;
    for (const QString& n : numbers)
        books.append({addBook({{QStringLiteral("中图分类"), n}}), n});
    addBook({{QStringLiteral("书籍名称"), QStringLiteral("无分类")}});

    const QStringList prefixes{u"I"_s,
                               u"I2"_s,
                               u"I24"_s,
                               u"TP3"_s,
                               u"甲"_s,
                               u"Z"_s,
                               u""_s,
                               QString::fromUcs4(U"A\U0010FFFF"),
                               QString::fromUcs4(U"\uD7FF")};
    BookPager pager(db(), CatalogueTable::books(), QStringLiteral("[ID]"));
    for (const QString& prefix : prefixes) {
        QList<qint64> expected;
        for (const auto& [id, number] : books)
            if (number.startsWith(prefix))
                expected << id;
        for (const ListCondition& c : {classCondition(db(), CatalogueTable::books(), prefix),
                                       classCondition(CatalogueTable::books(), prefix)}) {
            pager.reset(c, 100);
            EXPECT_EQ(pager.total(), expected.size()) << prefix.toStdString();
            EXPECT_EQ(idsOf(pager.first()), expected) << prefix.toStdString();
        }
    }
}

TEST_P(BookListTest, CountersInBothCopyModes) {
    auto add = [&](const char* title, double price, int total, int shelf, const char* status) {
        addBook({{QStringLiteral("书籍名称"), QString::fromUtf8(title)},
                 {QStringLiteral("书籍价格"), price},
                 {QStringLiteral("藏书总量"), total},
                 {QStringLiteral("馆内剩余"), shelf},
                 {QStringLiteral("在馆状态"), QString::fromUtf8(status)}});
    };
    add("甲", 10.5, 1, 1, "在馆");
    add("甲", 10.5, 1, 0, "借出");
    add("乙", 20, 3, 1, "在馆");
    add("丙", 8, 1, 1, "不可借");

    const BookCounters one = bookCounters(db(), {}, true, QStringLiteral("书籍名称"));
    EXPECT_EQ(one.rows, 4);
    EXPECT_EQ(one.remaining, 2);
    EXPECT_EQ(one.lent, 1);
    EXPECT_EQ(one.holdings, 6);
    EXPECT_EQ(one.kinds, 3);
    EXPECT_DOUBLE_EQ(one.totalValue, 10.5 + 10.5 + 60 + 8);
    EXPECT_EQ(formatTotalValue(one.totalValue), QStringLiteral("￥ 89.00"));

    const BookCounters titles = bookCounters(db(), {}, false, QStringLiteral("书籍名称"));
    EXPECT_EQ(titles.lent, 3);      // (1-1)+(1-0)+(3-1)+(1-1)
    EXPECT_EQ(titles.remaining, 3); // 1+0+1+1

    const ListCondition none = classCondition(db(), CatalogueTable::books(), QStringLiteral("Q"));
    const BookCounters empty = bookCounters(db(), none, false, QStringLiteral("书籍名称"));
    EXPECT_EQ(empty.rows, 0);
    EXPECT_FALSE(empty.holdings.has_value());
    EXPECT_FALSE(empty.lent.has_value());
    EXPECT_EQ(empty.totalValue, 0.0);
    EXPECT_EQ(bookCounters(db(), none, true, {}).lent, 0);
    EXPECT_EQ(formatTotalValue(1234567.5), QStringLiteral("￥ 1,234,567.50"));
}

// The whole library's counters (read through their index, grouped) agree with the same
// counters taken under a condition that every row meets, empty values included.
TEST_P(BookListTest, WholeLibraryCountersAgreeWithThoseOfEveryRow) {
    auto add = [&](const QVariant& price, const QVariant& total, const QVariant& shelf,
                   const QVariant& status) {
        addBook({{QStringLiteral("书籍名称"), QStringLiteral("甲")},
                 {QStringLiteral("书籍价格"), price},
                 {QStringLiteral("藏书总量"), total},
                 {QStringLiteral("馆内剩余"), shelf},
                 {QStringLiteral("在馆状态"), status}});
    };
    const QVariant none;
    add(10.5, 1, 1, u"在馆"_s);
    add(10.5, 1, 0, u"借出"_s);
    add(20, 3, 1, u"在馆"_s);
    add(20.0, 3, 1, u"在馆"_s);
    add(none, 2, 2, u"在馆"_s);
    add(8, none, 1, u"不可借"_s);
    add(5, 1, none, none);

    const ListCondition everyRow = ListCondition::fromWhere(QStringLiteral(" where [ID]>0"));
    for (const bool oneToOne : {true, false}) {
        const BookCounters all = bookCounters(db(), {}, oneToOne, QStringLiteral("书籍名称"));
        const BookCounters each =
            bookCounters(db(), everyRow, oneToOne, QStringLiteral("书籍名称"));
        EXPECT_EQ(all.rows, 7);
        EXPECT_EQ(all.holdings, 11);
        EXPECT_DOUBLE_EQ(all.totalValue, 10.5 + 10.5 + 60 + 60 + 5);
        EXPECT_EQ(all.lent, oneToOne ? 1 : 5); // 0+1+2+2+0 by the counts
        EXPECT_EQ(all.remaining, oneToOne ? 4 : 6);
        EXPECT_EQ(all.kinds, 1);
        EXPECT_EQ(each.rows, all.rows);
        EXPECT_EQ(each.holdings, all.holdings);
        EXPECT_DOUBLE_EQ(each.totalValue, all.totalValue);
        EXPECT_EQ(each.lent, all.lent);
        EXPECT_EQ(each.remaining, all.remaining);
    }
}

TEST_P(BookListTest, WithdrawalCopiesWholeRowsAndDeletesExactlyThoseRows) {
    const QByteArray cover("\xFF\xD8 jpeg bytes", 13);
    const qint64 a = addBook({{QStringLiteral("书籍编号"), QStringLiteral("A1")},
                              {QStringLiteral("书籍名称"), QStringLiteral("甲")},
                              {QStringLiteral("bookimage"), cover},
                              {QStringLiteral("借出次数"), 4},
                              {QStringLiteral("选中"), true}});
    const qint64 b = addBook({{QStringLiteral("书籍编号"), QStringLiteral("B1")},
                              {QStringLiteral("书籍名称"), QStringLiteral("乙")},
                              {QStringLiteral("选中"), true}});
    const qint64 c = addBook({{QStringLiteral("书籍编号"), QStringLiteral("C1")},
                              {QStringLiteral("书籍名称"), QStringLiteral("丙")}});
    const QList<qint64> marked = markedIds(db(), CatalogueTable::books());
    EXPECT_EQ(marked, (QList<qint64>{a, b}));
    // A row marked after the list was taken stays.
    db().execute(QStringLiteral("update [书籍资料] set [选中]=TRUE where [ID]=?"), {c});
    SilentProgress progress;
    EXPECT_EQ(withdrawBooks(db(), CatalogueTable::books(), marked, QStringLiteral("张三"),
                            QStringLiteral("书库中删除"), &progress),
              2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍资料]")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍资料] where [ID]=?"), {c}), 1);
    const auto row = db().row(QStringLiteral("select * from [书籍注销] where [书籍编号]='A1'"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(QStringLiteral("bookimage")).toByteArray(), cover);
    EXPECT_EQ(row->value(QStringLiteral("借出次数")).toInt(), 4);
    EXPECT_EQ(row->value(QStringLiteral("注销原因")).toString(), QStringLiteral("书库中删除"));
    EXPECT_EQ(row->value(QStringLiteral("操作员")).toString(), QStringLiteral("张三"));
    EXPECT_EQ(row->value(QStringLiteral("注销日期")).toDate(), today());
}

TEST_P(BookListTest, OutMeansStatusOrShelfCountByMode) {
    const QVariantMap lent{{QStringLiteral("在馆状态"), QStringLiteral("借出")},
                           {QStringLiteral("藏书总量"), 1},
                           {QStringLiteral("馆内剩余"), 1}};
    const QVariantMap partly{{QStringLiteral("在馆状态"), QStringLiteral("在馆")},
                             {QStringLiteral("藏书总量"), 3},
                             {QStringLiteral("馆内剩余"), 2}};
    EXPECT_TRUE(isBookOut(lent, true));
    EXPECT_FALSE(isBookOut(lent, false));
    EXPECT_FALSE(isBookOut(partly, true));
    EXPECT_TRUE(isBookOut(partly, false));
}

TEST_P(BookListTest, BatchRepairsOfPinyinAndIsbn) {
    addBook({{QStringLiteral("书籍名称"), QStringLiteral(" 中国 ")},
             {QStringLiteral("标准ISBN"), QStringLiteral("7-5327-1234-5")}});
    addBook({{QStringLiteral("书籍名称"), QStringLiteral("")},
             {QStringLiteral("拼音"), QStringLiteral("KEEP")},
             {QStringLiteral("标准ISBN"), QStringLiteral("9787532712346")}});
    SilentProgress progress;
    EXPECT_EQ(repairPinyin(db(), progress), 1);
    EXPECT_EQ(repairIsbns(db(), progress), 1);
    QStringList pinyin, isbns;
    for (const auto& r :
         db().rows(QStringLiteral("select [拼音],[标准ISBN] from [书籍资料] order by [ID]"))) {
        pinyin << r.value(0).toString();
        isbns << r.value(1).toString();
    }
    EXPECT_EQ(pinyin, (QStringList{"ZG", "KEEP"}));
    EXPECT_EQ(isbns[0].size(), 13);
    EXPECT_TRUE(isbns[0].startsWith(QStringLiteral("978753271234")));
    EXPECT_EQ(isbns[1], QStringLiteral("9787532712346"));
}

CANGSHU_ENGINES(BookListTest);

} // namespace
} // namespace cangshu::test
