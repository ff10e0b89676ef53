#include "LibraryFixture.h"
#include "circulation/ReturnDesk.h"

using namespace cangshu;
using namespace cangshu::test;

TEST(Fees, TheReturnTable) {
    const Money rent = *Money::parse(QStringLiteral("0.1"));
    const Money fine = *Money::parse(QStringLiteral("0.35"));
    const QDate t(2024, 2, 5);
    struct Case {
        const char* what;
        QDate lent, due;
        int days;
        const char* rent;
        const char* overdue;
        const char* fine;
    };
    const Case cases[] = {
        {"lent 1st, due 31st, back 5th", {2024, 1, 1}, {2024, 1, 31}, 30, "3", "5", "1.75"},
        {"due yesterday", {2024, 1, 26}, {2024, 2, 4}, 9, "0.9", "1", "0.35"},
        {"due today", {2024, 1, 26}, {2024, 2, 5}, 10, "1", "未超期", "0"},
        {"not due yet", {2024, 2, 2}, {2024, 3, 3}, 3, "0.3", "未超期", "0"},
        {"lent today", {2024, 2, 5}, {2024, 3, 6}, 1, "0.1", "未超期", "0"},
        {"renewed today, lent date ahead", {2024, 2, 6}, {2024, 3, 6}, 1, "0.1", "未超期", "0"},
    };
    for (const Case& c : cases) {
        const Fee f = computeFee(c.lent, c.due, t, rent, fine);
        EXPECT_EQ(f.daysLent, c.days) << c.what;
        EXPECT_EQ(f.rent.toString(), QString::fromUtf8(c.rent)) << c.what;
        EXPECT_EQ(f.overdueText(), QString::fromUtf8(c.overdue)) << c.what;
        EXPECT_EQ(f.fine.toString(), QString::fromUtf8(c.fine)) << c.what;
    }
    // Missing rates charge nothing.
    const Fee none = computeFee({2024, 1, 1}, {2024, 1, 2}, t, Money(), Money());
    EXPECT_TRUE(none.rent.isZero() && none.fine.isZero());
    EXPECT_EQ(none.overdueDays, 34);
}

class ReturnTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addType(
            {QStringLiteral("付费"), 5, 30, 1, 15, QStringLiteral("0.1"), QStringLiteral("0.35")});
        addReader(QStringLiteral("R1"), QStringLiteral("付费"));
        addReader(QStringLiteral("R2"), QStringLiteral("付费"));
        overdue = addBook(QStringLiteral("0001"), QStringLiteral("借出"));
        current = addBook(QStringLiteral("0002"), QStringLiteral("借出"));
        others = addBook(QStringLiteral("0003"), QStringLiteral("借出"));
        overdueLoan = addLoan(QStringLiteral("R1"), overdue, {2024, 4, 1}, {2024, 5, 1});
        currentLoan = addLoan(QStringLiteral("R1"), current, {2024, 5, 7}, {2024, 6, 6});
        addLoan(QStringLiteral("R2"), others, {2024, 5, 10}, {2024, 6, 9});
    }
    ReturnDesk desk(int mode) {
        setReturnMode(mode);
        return ReturnDesk(db(), ItemKind::books(), loadDeskSettings(db(), QStringLiteral("admin")));
    }
    qint64 overdue = 0, current = 0, others = 0, overdueLoan = 0, currentLoan = 0;
};

TEST_P(ReturnTest, ListAllModeReturnsTheTickedLoansWithTheirFees) {
    ReturnDesk d = desk(1);
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_EQ(d.lines().size(), 2);
    EXPECT_EQ(d.onLoan(), 2);
    // Overdue: 30 days lent (0.1 each), 9 days late (0.35 each); current: 3 days lent.
    EXPECT_EQ(d.lines()[0].fee.daysLent, 30);
    EXPECT_EQ(d.lines()[0].fee.overdueText(), QStringLiteral("9"));
    EXPECT_EQ(d.totals().fines.toString(), QStringLiteral("3.15"));
    EXPECT_EQ(d.totals().rents.toString(), QStringLiteral("3.3"));
    EXPECT_EQ(d.totals().total().toString(), QStringLiteral("6.45"));
    d.setTicked(0, false);
    EXPECT_EQ(d.totals().fines.toString(), QStringLiteral("0"));
    EXPECT_EQ(d.totals().total().toString(), QStringLiteral("0.3"));
    d.tickAll(false);
    EXPECT_EQ(d.commit().message, QStringLiteral("请选中要归还的书籍！"));
    d.tickAll(true);

    const Outcome o = d.commit();
    ASSERT_TRUE(o.ok) << o.message.toStdString();
    EXPECT_EQ(o.message, QStringLiteral("书籍归还成功！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单] where [读者索引]='R1'")),
              0);
    const auto h = db().rows(QStringLiteral("select * from [书籍归还清单] order by [书籍索引]"));
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h[0].value(QStringLiteral("借阅日期")).toDate(), QDate(2024, 4, 1));
    EXPECT_EQ(h[0].value(QStringLiteral("归还日期")).toDate(), today());
    EXPECT_EQ(h[0].value(QStringLiteral("借出天数")).toInt(), 30);
    EXPECT_EQ(Money::fromVariant(h[0].value(QStringLiteral("租金金额"))).toString(),
              QStringLiteral("3"));
    EXPECT_EQ(h[0].value(QStringLiteral("超期天数")).toString(), QStringLiteral("9"));
    EXPECT_EQ(Money::fromVariant(h[0].value(QStringLiteral("罚款金额"))).toString(),
              QStringLiteral("3.15"));
    EXPECT_EQ(h[1].value(QStringLiteral("超期天数")).toString(), QStringLiteral("未超期"));
    EXPECT_EQ(Money::fromVariant(h[1].value(QStringLiteral("租金金额"))).toString(),
              QStringLiteral("0.3"));
    EXPECT_EQ(h[1].value(QStringLiteral("操作员")).toString(), QStringLiteral("admin"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍资料] where [在馆状态]='在馆'")), 2);
}

TEST_P(ReturnTest, ListAllModeFindsTheBorrowerOfAScannedBook) {
    ReturnDesk d = desk(1);
    const auto r = d.enterItem(QStringLiteral("0003"));
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(d.reader()->number, QStringLiteral("R2"));
    ASSERT_EQ(d.lines().size(), 1);
    EXPECT_TRUE(d.lines()[0].ticked);
    EXPECT_EQ(d.lines()[0].fee.daysLent, 1); // lent today: one day's rent
    EXPECT_EQ(d.lines()[0].fee.rent.toString(), QStringLiteral("0.1"));

    addBook(QStringLiteral("0004"));
    EXPECT_EQ(d.enterItem(QStringLiteral("0004")).outcome.message,
              QStringLiteral("此书还没有借出！"));
    EXPECT_EQ(d.enterItem(QStringLiteral("9999")).outcome.message,
              QStringLiteral("没有找到该书籍编号！"));
    addReader(QStringLiteral("R3"));
    EXPECT_EQ(d.identifyReader(QStringLiteral("R3")).message,
              QStringLiteral("该读者还未借阅书籍！"));
    EXPECT_TRUE(d.lines().isEmpty());
}

TEST_P(ReturnTest, CardThenBookModeAddsOnlyThisReadersLoansOnce) {
    ReturnDesk d = desk(0);
    EXPECT_EQ(d.enterItem(QStringLiteral("0001")).outcome.message,
              QStringLiteral("请先输入读者编号！"));
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    EXPECT_TRUE(d.lines().isEmpty());
    ASSERT_TRUE(d.enterItem(QStringLiteral("0001")).outcome.ok);
    EXPECT_EQ(d.lines().size(), 1);
    // Another reader's book adds nothing and says nothing; the same loan again is refused.
    const auto foreign = d.enterItem(QStringLiteral("0003"));
    EXPECT_TRUE(foreign.outcome.ok);
    EXPECT_TRUE(foreign.outcome.message.isEmpty());
    EXPECT_EQ(d.enterItem(QStringLiteral("0001")).outcome.message,
              QStringLiteral("此书已经在归还列表中！"));
    EXPECT_EQ(d.lines().size(), 1);
    EXPECT_EQ(d.totals().fines.toString(), QStringLiteral("3.15"));
    ASSERT_TRUE(d.commit().ok);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单] where [读者索引]='R1'")),
              1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍归还清单]")), 1);
}

TEST_P(ReturnTest, OneToManyReturnsOneLoanOfATitleAtATime) {
    setOneToOne(false);
    const qint64 title = addBook(QStringLiteral("MANY"), QStringLiteral("在馆"), 0);
    addLoan(QStringLiteral("R2"), title, today(), today().addDays(30));
    addLoan(QStringLiteral("R2"), title, today(), today().addDays(30));
    ReturnDesk d = desk(1);
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R2")).ok);
    ASSERT_EQ(d.lines().size(), 3);
    d.tickAll(false);
    d.setTicked(1, true); // one of the two copies of MANY
    ASSERT_TRUE(d.commit().ok);
    EXPECT_EQ(
        count(QStringLiteral("select count(*) from [书籍借阅清单] where [书籍索引]=?"), {title}),
        1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍归还清单]")), 1);
    EXPECT_EQ(count(QStringLiteral("select [馆内剩余] from [书籍资料] where [ID]=?"), {title}), 1);
}

TEST_P(ReturnTest, ALoanReturnedElsewhereMeanwhileWritesNothing) {
    ReturnDesk first = desk(1), second = desk(1);
    ASSERT_TRUE(first.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_TRUE(second.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_TRUE(first.commit().ok);
    const Outcome late = second.commit();
    EXPECT_FALSE(late.ok);
    EXPECT_TRUE(late.message.endsWith(QStringLiteral("此书已经归还，请重新查询！")));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍归还清单]")), 2);

    ReturnDesk empty = desk(1);
    EXPECT_EQ(empty.commit().message, QStringLiteral("请先输入读者编号或书籍编号！"));
}

CANGSHU_ENGINES(ReturnTest);
