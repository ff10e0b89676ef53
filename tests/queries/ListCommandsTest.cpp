#include "ListTables.h"
#include "queries/Marking.h"
#include "queries/QuickSearch.h"
#include "queries/SafeSelect.h"
#include "support/TestDatabase.h"

using namespace cangshu;

TEST(SafeSelect, OneStatementOnly) {
    struct Case {
        const char* sql;
        bool single;
    };
    const Case cases[]{{"select 1", true},
                       {"select ';' from [a;b] where x=\"c;\"", true},
                       {"select 1; delete from t", false},
                       {"select 1 -- comment", false},
                       {"select 1 /* x */", false},
                       {"select 'unterminated", false}};
    for (const Case& c : cases)
        EXPECT_EQ(isSingleStatement(QString::fromUtf8(c.sql)), c.single) << c.sql;
}

class ListCommandsTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
        test::addReader(db(), QStringLiteral("R001"), QStringLiteral("Wang Fang"), 10, true);
        test::addReader(db(), QStringLiteral("R002"), QStringLiteral("王芳"), 20, false);
        test::addReader(db(), QStringLiteral("R010"), QStringLiteral("李四"), 30, true);
    }
    QStringList numbers(const SqlWithParams& where) {
        QStringList out;
        for (const QSqlRecord& r : db().rows(QStringLiteral("select [读者编号] from [读者资料]") +
                                                 where.sql + QStringLiteral(" order by [读者编号]"),
                                             where.params))
            out << r.value(0).toString();
        return out;
    }
    int count() { return db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(); }
};

TEST_P(ListCommandsTest, QuickSearch) {
    SearchOutcome s =
        quickSearchCondition(db(), QStringLiteral("读者资料"), QStringLiteral("读者姓名"),
                             QStringLiteral(" wang "), true);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(numbers(s.condition), QStringList{QStringLiteral("R001")});
    s = quickSearchCondition(db(), QStringLiteral("读者资料"), QStringLiteral("读者编号"),
                             QStringLiteral("R00"), false);
    EXPECT_TRUE(numbers(s.condition).isEmpty());
    s = quickSearchCondition(db(), QStringLiteral("读者资料"), QStringLiteral("押金金额"),
                             QStringLiteral("0"), true);
    EXPECT_EQ(numbers(s.condition).size(), 3); // fuzzy search works on number columns too
    s = quickSearchCondition(db(), QStringLiteral("读者资料"), QStringLiteral("读者编号"),
                             QStringLiteral("  "), true);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, QStringLiteral("请输入查询内容！"));
    EXPECT_THROW(quickSearchCondition(db(), QStringLiteral("读者资料"),
                                      QStringLiteral("1=1 or [x]"), QStringLiteral("a"), true),
                 DatabaseError);
}

TEST_P(ListCommandsTest, MarkingCommands) {
    const Marking m{QStringLiteral("读者资料"), QStringLiteral("读者编号")};
    EXPECT_EQ(m.countMarked(db()), 2);
    QStringList listed;
    for (const QSqlRecord& r : db().rows(m.markedRowsSql()))
        listed << r.value(QStringLiteral("读者编号")).toString();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("R001"), QStringLiteral("R010")}));
    m.markAll(db());
    EXPECT_EQ(m.countMarked(db()), 3);
    m.unmarkAll(db());
    EXPECT_EQ(m.countMarked(db()), 0);

    db().execute(QStringLiteral("update [读者资料] set [选中]=TRUE where [读者编号]<>'R002'"));
    // A failure before the deletion keeps every row.
    EXPECT_THROW(m.deleteMarked(db(),
                                [](Database& d) {
                                    d.execute(QStringLiteral("insert into [没有的表] values (1)"));
                                }),
                 DatabaseError);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(m.deleteMarked(db()), 2);
    EXPECT_EQ(count(), 1);
}

TEST_P(ListCommandsTest, SelectsRunReadOnly) {
    QSqlQuery q =
        runSelect(db(), QStringLiteral("select count(*) from [读者资料] where [押金金额]>?"), {15});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2);
    EXPECT_THROW(runSelect(db(), QStringLiteral("delete from [读者资料]")), DatabaseError);
    EXPECT_THROW(runSelect(db(), QStringLiteral("select 1; delete from [读者资料]")),
                 DatabaseError);
    if (db().isPostgres()) {
        // A function with a side effect is stopped by the read-only transaction.
        db().execute(QStringLiteral("create sequence s"));
        EXPECT_THROW(runSelect(db(), QStringLiteral("select nextval('s')")), DatabaseError);
        EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(), 3);
    }
    EXPECT_EQ(count(), 3);
}

CANGSHU_ENGINES(ListCommandsTest);
