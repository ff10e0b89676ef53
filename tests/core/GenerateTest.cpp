#include "core/Generate.h"
#include "core/DemoLibrary.h"
#include "core/Numbering.h"
#include "core/Schema.h"
#include "core/TextRoutines.h"
#include "support/TestDatabase.h"

#include <stdexcept>

using namespace cangshu;
using namespace Qt::StringLiterals;

namespace {

int countOf(const Database& db, const QString& sql, const QVariantList& params = {}) {
    return db.scalar(sql, params, 0).toInt();
}

// What circulation relies on in any library, made by hand or by a generator: lent copies are
// marked lent and held by exactly one open loan of an existing reader; the lending counts of
// books and readers match their loans and returns; every number is issued once and the
// counters point past them.
void expectConsistentCirculation(const Database& db) {
    const int loans = countOf(db, u"select count(*) from [书籍借阅清单]"_s);
    EXPECT_EQ(countOf(db, u"select count(*) from [书籍资料] where [在馆状态]='借出'"_s), loans);
    EXPECT_EQ(countOf(db, u"select count(distinct [书籍索引]) from [书籍借阅清单]"_s), loans);
    EXPECT_EQ(
        countOf(db,
                u"select count(*) from [书籍借阅清单] l join [书籍资料] b on b.[ID]=l.[书籍索引] "
                "where b.[在馆状态]='借出' and b.[馆内剩余]=0"_s),
        loans);
    EXPECT_EQ(
        countOf(db,
                u"select count(*) from [书籍资料] where [在馆状态]<>'借出' and [馆内剩余]<>1"_s),
        0);
    EXPECT_EQ(countOf(db, u"select count(*) from [书籍借阅清单] l join [读者资料] r on "
                          "r.[读者编号]=l.[读者索引]"_s),
              loans);
    EXPECT_EQ(countOf(db, u"select count(*) from [书籍借阅清单] where [应还日期]<=[借阅日期]"_s),
              0);
    EXPECT_EQ(countOf(db,
                      u"select count(*) from [书籍借阅清单] l join [读者资料] r on "
                      "r.[读者编号]=l.[读者索引] join [读者类型] t on t.[类型名称]=r.[读者类型] "
                      "where l.[允许续借]<>t.[书籍续借次数] or l.[已经续借]<>0"_s),
              0);
    const int returns = countOf(db, u"select count(*) from [书籍归还清单]"_s);
    EXPECT_EQ(
        countOf(db,
                u"select count(*) from [书籍归还清单] h join [书籍资料] b on b.[ID]=h.[书籍索引] "
                "join [读者资料] r on r.[读者编号]=h.[读者索引] where h.[归还日期]>h.[借阅日期]"_s),
        returns);
    EXPECT_EQ(countOf(db, u"select count(*) from [书籍资料] b where b.[借出次数] <> "
                          "(select count(*) from [书籍借阅清单] l where l.[书籍索引]=b.[ID]) + "
                          "(select count(*) from [书籍归还清单] h where h.[书籍索引]=b.[ID])"_s),
              0);
    EXPECT_EQ(countOf(db,
                      u"select count(*) from [读者资料] r where r.[借阅次数] <> "
                      "(select count(*) from [书籍借阅清单] l where l.[读者索引]=r.[读者编号]) + "
                      "(select count(*) from [书籍归还清单] h where h.[读者索引]=r.[读者编号])"_s),
              0);
    EXPECT_EQ(countOf(db, u"select count(distinct [书籍编号]) from [书籍资料]"_s),
              countOf(db, u"select count(*) from [书籍资料]"_s));
    const Numbering numbering(db);
    EXPECT_EQ(countOf(db, u"select count(*) from [书籍资料] where [书籍编号]>=?"_s,
                      {numbering.nextNumber(NumberKind::Book)}),
              0);
    EXPECT_EQ(countOf(db, u"select count(*) from [读者资料] where [读者编号]>=?"_s,
                      {numbering.nextNumber(NumberKind::Reader)}),
              0);
    for (const QSqlRecord& r :
         db.rows(u"select [标准ISBN],[中图分类],[种次号],[索书号] from [书籍资料]"_s)) {
        const QString isbn = r.value(0).toString();
        ASSERT_EQ(isbn.size(), 13);
        // An ISBN-13 is its own normalisation once hyphenated as 978-7-...: check digit holds.
        EXPECT_EQ(
            normalizeIsbn(isbn.mid(3, 1) + u'-' + isbn.mid(4, 3) + u'-' + isbn.mid(7, 5) + u"-0"_s),
            isbn);
        EXPECT_EQ(r.value(3).toString(), r.value(1).toString() + u'/' + r.value(2).toString());
    }
}

class DemoLibraryTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
    }
    const QDate m_today{2024, 9, 2};
};

TEST_P(DemoLibraryTest, IsABelievableConsistentLibrary) {
    DemoSummary s;
    ASSERT_TRUE(addDemoLibrary(db(), m_today, &s));
    db().clock().setToday(m_today);
    EXPECT_GE(s.books, 25);
    EXPECT_GE(s.readers, 8);
    EXPECT_GE(s.loans, 3);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料]"_s), s.books);
    expectConsistentCirculation(db());

    const int overdue =
        countOf(db(), u"select count(*) from [书籍借阅清单] where [应还日期]<'%1'"_s.arg(
                          m_today.toString(Qt::ISODate)));
    EXPECT_EQ(overdue, s.overdueLoans);
    EXPECT_GT(overdue, 0);
    EXPECT_LT(overdue, s.loans);

    // A class tree: every parent exists, and every book's class is in it.
    EXPECT_EQ(countOf(db(), u"select count(*) from [图书类型] c where c.[父号]<>0 and not exists "
                            "(select 1 from [图书类型] p where p.[ID]=c.[父号])"_s),
              0);
    EXPECT_GT(countOf(db(), u"select count(*) from [图书类型] where [父号]=0"_s), 2);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料] b where not exists "
                            "(select 1 from [图书类型] c where c.[分类号]=b.[中图分类])"_s),
              0);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料] b where not exists "
                            "(select 1 from [出版社] p where p.[出版社名称]=b.[出版社名])"_s),
              0);
    EXPECT_EQ(db().scalar(u"select [拼音] from [书籍资料] where [书籍名称]='红楼梦'"_s).toString(),
              u"HLM"_s);
    // Two copies of one title: their own numbers, one ISBN and call number.
    const auto copies = db().row(u"select count(*), count(distinct [书籍编号]), count(distinct "
                                 "[标准ISBN]), count(distinct [索书号]) from [书籍资料] where "
                                 "[书籍名称]='红楼梦'"_s);
    EXPECT_EQ(copies->value(0).toInt(), 2);
    EXPECT_EQ(copies->value(1).toInt(), 2);
    EXPECT_EQ(copies->value(2).toInt(), 1);
    EXPECT_EQ(copies->value(3).toInt(), 1);
    // Deposit balances are the sum of their movements.
    EXPECT_EQ(countOf(db(), u"select count(*) from [读者资料] r where r.[押金金额] <> "
                            "(select coalesce(sum(d.[充押金额]),0) from [读者充押金] d where "
                            "d.[读者编号]=r.[读者编号])"_s),
              0);
    EXPECT_GT(countOf(db(), u"select count(*) from [读者充押金]"_s), 0);
    // The reservation holds a shelved copy for the days the library grants.
    const auto res =
        db().row(u"select b.[在馆状态], r.[终止日期] from [读者预定] r join [书籍资料] b on "
                 "b.[ID]=r.[书籍索引]"_s);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->value(0).toString(), u"已被预定"_s);
    EXPECT_EQ(res->value(1).toDate(), m_today.addDays(7));

    EXPECT_FALSE(addDemoLibrary(db(), m_today));
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料]"_s), s.books);
}

CANGSHU_ENGINES(DemoLibraryTest);

class GenerateTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
        db().clock().setToday(QDate(2024, 9, 2));
    }
    static QStringList snapshot(const Database& db) {
        QStringList out;
        for (const QSqlRecord& r : db.rows(
                 u"select b.[书籍编号], b.[书籍名称], b.[在馆状态], l.[读者索引] from [书籍资料] b "
                 "left join [书籍借阅清单] l on l.[书籍索引]=b.[ID] order by b.[书籍编号]"_s))
            out << r.value(0).toString() + r.value(1).toString() + r.value(2).toString() +
                       r.value(3).toString();
        return out;
    }
};

TEST_P(GenerateTest, MakesConsistentLoansAndHistoryAndAdvancesTheCounters) {
    const GenerateOptions o{200, 30, 50, 80, 7};
    qint64 lastBooks = 0;
    const GenerateSummary s = generateData(db(), o, [&](const QString& table, qint64 done, qint64) {
        if (table == u"书籍资料"_s)
            lastBooks = done;
    });
    EXPECT_EQ(lastBooks, 200);
    EXPECT_EQ(s.books, 200);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料]"_s), 200);
    EXPECT_EQ(countOf(db(), u"select count(*) from [读者资料]"_s), 30);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍借阅清单]"_s), 50);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍归还清单]"_s), 80);
    EXPECT_GT(countOf(db(), u"select count(distinct [读者类型]) from [读者资料]"_s), 1);
    EXPECT_EQ(Numbering(db()).nextNumber(NumberKind::Book), u"00000201"_s);
    EXPECT_EQ(Numbering(db()).nextNumber(NumberKind::Reader), u"00000031"_s);
    expectConsistentCirculation(db());

    // A second run continues from the counters.
    generateData(db(), {10, 5, 10, 0, 8});
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料]"_s), 210);
    expectConsistentCirculation(db());
}

TEST_P(GenerateTest, EveryBookCanBeLent) {
    generateData(db(), {20, 3, 20, 5, 1});
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料] where [在馆状态]='借出'"_s), 20);
    expectConsistentCirculation(db());
}

TEST_P(GenerateTest, TheSameSeedGivesTheSameData) {
    generateData(db(), {60, 10, 20, 10, 42});
    auto other = test::openEmpty(Engine::SQLite);
    createSchema(*other);
    other->clock().setToday(QDate(2024, 9, 2));
    generateData(*other, {60, 10, 20, 10, 42});
    EXPECT_EQ(snapshot(db()), snapshot(*other));

    auto third = test::openEmpty(Engine::SQLite);
    createSchema(*third);
    generateData(*third, {60, 10, 20, 10, 43});
    EXPECT_NE(snapshot(db()), snapshot(*third));
}

TEST_P(GenerateTest, RefusesImpossibleNumbersAndWritesNothing) {
    const GenerateOptions bad[] = {
        {5, 5, 6, 0, 1}, {5, 0, 1, 0, 1}, {0, 5, 0, 3, 1}, {-1, 0, 0, 0, 1}};
    for (const GenerateOptions& o : bad) {
        EXPECT_FALSE(checkGenerateOptions(o).isEmpty());
        EXPECT_THROW(generateData(db(), o), std::invalid_argument);
    }
    EXPECT_EQ(countOf(db(), u"select count(*) from [系统信息]"_s), 0);
}

TEST_P(GenerateTest, AFailureKeepsNothing) {
    // A reader typed by hand holds the number the counter would issue next.
    db().execute(u"insert into [读者资料] ([读者编号]) values ('00000003')"_s);
    EXPECT_THROW(generateData(db(), {20, 5, 5, 5, 1}), DatabaseError);
    EXPECT_EQ(countOf(db(), u"select count(*) from [书籍资料]"_s), 0);
    EXPECT_EQ(countOf(db(), u"select count(*) from [读者资料]"_s), 1);
    EXPECT_EQ(countOf(db(), u"select count(*) from [系统信息]"_s), 0);
}

CANGSHU_ENGINES(GenerateTest);

} // namespace
