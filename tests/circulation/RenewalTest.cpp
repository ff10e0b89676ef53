#include "LibraryFixture.h"
#include "circulation/RenewalDesk.h"

using namespace cangshu;
using namespace cangshu::test;

namespace {
const QVariant nullInt = QVariant(QMetaType(QMetaType::Int));
}

class RenewalTest : public LibraryTest {
protected:
    RenewalDesk desk() {
        return RenewalDesk(db(), ItemKind::books(),
                           loadDeskSettings(db(), QStringLiteral("admin")));
    }
    QSqlRecord loan(qint64 key) {
        return *db().row(QStringLiteral("select * from [书籍借阅清单] where [序号]=?"), {key});
    }
};

TEST_P(RenewalTest, EligibilityCountingAndTheNewDates) {
    addReader(QStringLiteral("R1")); // 学生: renewal period 15 days
    const qint64 once = addLoan(QStringLiteral("R1"), addBook(QStringLiteral("A")), {2024, 5, 1},
                                {2024, 5, 31}, 2, 1);
    const qint64 used = addLoan(QStringLiteral("R1"), addBook(QStringLiteral("B")), {2024, 5, 1},
                                {2024, 5, 31}, 1, 1);
    const qint64 nulls = addLoan(QStringLiteral("R1"), addBook(QStringLiteral("C")), {2024, 5, 1},
                                 {2024, 5, 31}, nullInt, nullInt);

    RenewalDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_EQ(d.lines().size(), 3);
    EXPECT_FALSE(d.lines()[0].ticked);
    EXPECT_EQ(d.lines()[2].granted, 1); // null granted reads as the upgrade's one renewal
    EXPECT_EQ(d.lines()[2].taken, 0);
    EXPECT_EQ(d.commit().message,
              QStringLiteral("请选中要续借的书籍！达到续借次数的书籍将不能续借！"));

    // The exhausted loan is unticked silently; the others are renewed from today.
    d.tickAll(true);
    ASSERT_EQ(d.commit().message, QStringLiteral("书籍续借成功！"));
    const QSqlRecord a = loan(once);
    EXPECT_EQ(a.value(QStringLiteral("借阅日期")).toDate(), today());
    EXPECT_EQ(a.value(QStringLiteral("应还日期")).toDate(),
              QDate(2024, 5, 25)); // earlier than before
    EXPECT_EQ(a.value(QStringLiteral("已经续借")).toInt(), 2);
    EXPECT_EQ(loan(used).value(QStringLiteral("应还日期")).toDate(), QDate(2024, 5, 31));
    EXPECT_EQ(loan(used).value(QStringLiteral("已经续借")).toInt(), 1);
    // A null count is taken as 0, so it ends at 1 and no further renewal is possible.
    EXPECT_EQ(loan(nulls).value(QStringLiteral("已经续借")).toInt(), 1);

    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    d.tickAll(true);
    EXPECT_EQ(d.commit().message,
              QStringLiteral("请选中要续借的书籍！达到续借次数的书籍将不能续借！"));
}

TEST_P(RenewalTest, ReaderRulesAndListing) {
    addType({QStringLiteral("无限"), 0, 0, 0, 0, QStringLiteral("0"), QStringLiteral("0"),
             QStringLiteral("是")});
    addReader(QStringLiteral("U"), QStringLiteral("无限"));
    addReader(QStringLiteral("M"), QStringLiteral("已删除的类型"));
    addReader({QStringLiteral("OLD"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("否"), today().addDays(-1)});
    const qint64 u =
        addLoan(QStringLiteral("U"), addBook(QStringLiteral("A")), today(), today(), 1000, 0);
    addLoan(QStringLiteral("M"), addBook(QStringLiteral("B")), today(), today());

    RenewalDesk d = desk();
    EXPECT_EQ(d.commit().message, QStringLiteral("请先输入读者编号！"));
    EXPECT_EQ(d.identifyReader(QStringLiteral("OLD")).message, QStringLiteral("该读者已经过期！"));

    // A reader whose type row is gone sees the 1000 limits but none of the loans.
    ASSERT_TRUE(d.identifyReader(QStringLiteral("M")).ok);
    EXPECT_EQ(d.rules().renewals, 1000);
    EXPECT_TRUE(d.lines().isEmpty());
    EXPECT_EQ(d.commit().message, QStringLiteral("该读者没有续借图书信息！"));

    ASSERT_TRUE(d.identifyReader(QStringLiteral("U")).ok);
    d.tickAll(true);
    ASSERT_TRUE(d.commit().ok);
    EXPECT_EQ(loan(u).value(QStringLiteral("应还日期")).toDate(), today().addDays(1000));
}

TEST_P(RenewalTest, ALoanReturnedMeanwhileIsNotRenewed) {
    addReader(QStringLiteral("R1"));
    const qint64 a =
        addLoan(QStringLiteral("R1"), addBook(QStringLiteral("A")), {2024, 5, 1}, {2024, 5, 31});
    const qint64 b =
        addLoan(QStringLiteral("R1"), addBook(QStringLiteral("B")), {2024, 5, 1}, {2024, 5, 31});
    RenewalDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    d.tickAll(true);
    db().execute(QStringLiteral("delete from [书籍借阅清单] where [序号]=?"), {b});
    const Outcome o = d.commit();
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, QStringLiteral("B《书B》：此书已经归还或已经续借，请重新查询！"));
    EXPECT_EQ(loan(a).value(QStringLiteral("已经续借")).toInt(), 0);
}

CANGSHU_ENGINES(RenewalTest);
