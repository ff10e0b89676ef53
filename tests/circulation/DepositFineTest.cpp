#include "LibraryFixture.h"
#include "circulation/Deposits.h"
#include "circulation/Fines.h"

using namespace cangshu;
using namespace cangshu::test;

class DepositFineTest : public LibraryTest {
protected:
    Money balance(const QString& number) {
        return money(QStringLiteral("select [押金金额] from [读者资料] where [读者编号]=?"),
                     {number});
    }
    Outcome deposit(const QString& number, DepositDirection dir, const QString& amount) {
        return recordDeposit(
            db(), {number, dir, amount, {}, QStringLiteral("备注"), QStringLiteral("admin")});
    }
};

TEST_P(DepositFineTest, PayInAndDeductMoveTheBalanceWithAJournalRow) {
    addReader({QStringLiteral("R1"),
               QStringLiteral("学生"),
               QStringLiteral("正常"),
               QStringLiteral("是"),
               {},
               20});
    ASSERT_EQ(deposit(QStringLiteral("R1"), DepositDirection::PayIn, QStringLiteral("100")).message,
              QStringLiteral("操作成功！"));
    EXPECT_EQ(balance(QStringLiteral("R1")).toString(), QStringLiteral("120"));
    ASSERT_TRUE(deposit(QStringLiteral("R1"), DepositDirection::Deduct, QStringLiteral("30")).ok);
    EXPECT_EQ(balance(QStringLiteral("R1")).toString(), QStringLiteral("90"));
    // Below zero is allowed; tenths add up exactly.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(
            deposit(QStringLiteral("R1"), DepositDirection::Deduct, QStringLiteral("30.1")).ok);
    EXPECT_EQ(balance(QStringLiteral("R1")).toString(), QStringLiteral("-0.3"));

    const auto rows = db().rows(QStringLiteral("select * from [读者充押金] order by [序号]"));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(Money::fromVariant(rows[0].value(QStringLiteral("充押金额"))).toString(),
              QStringLiteral("100"));
    EXPECT_EQ(Money::fromVariant(rows[1].value(QStringLiteral("充押金额"))).toString(),
              QStringLiteral("-30"));
    EXPECT_EQ(rows[1].value(QStringLiteral("读者类型")).toString(), QStringLiteral("学生"));
    EXPECT_EQ(rows[1].value(QStringLiteral("操作员")).toString(), QStringLiteral("admin"));
    EXPECT_EQ(rows[1].value(QStringLiteral("充值日期")).toDate(), today());
}

TEST_P(DepositFineTest, ANullBalanceCountsAsZero) {
    addReader(QStringLiteral("R1"));
    db().execute(QStringLiteral("update [读者资料] set [押金金额]=NULL"));
    ASSERT_TRUE(deposit(QStringLiteral("R1"), DepositDirection::Deduct, QStringLiteral("12.5")).ok);
    EXPECT_EQ(balance(QStringLiteral("R1")).toString(), QStringLiteral("-12.5"));
}

TEST_P(DepositFineTest, DepositRefusalsWriteNothing) {
    addReader(QStringLiteral("R1"));
    struct Case {
        QString number, amount, message;
    };
    const Case cases[] = {
        {QStringLiteral(" "), QStringLiteral("5"), QStringLiteral("请先输入读者编号！")},
        {QStringLiteral("R1"), QStringLiteral(""), QStringLiteral("请输入充扣金额！")},
        {QStringLiteral("R1"), QStringLiteral("0"), QStringLiteral("请输入充扣金额！")},
        {QStringLiteral("R1"), QStringLiteral("abc"), QStringLiteral("金额输入错误！")},
        // The sign is the direction's, never the typed text's.
        {QStringLiteral("R1"), QStringLiteral("-5"), QStringLiteral("金额输入错误！")},
        {QStringLiteral("R1"), QStringLiteral("--5"), QStringLiteral("金额输入错误！")},
        {QStringLiteral("R9"), QStringLiteral("5"),
         QStringLiteral("没有找到该读者，请重新输入读者编号！")},
    };
    for (const Case& c : cases)
        for (auto dir : {DepositDirection::PayIn, DepositDirection::Deduct})
            EXPECT_EQ(deposit(c.number, dir, c.amount).message, c.message)
                << c.amount.toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者充押金]")), 0);
    EXPECT_TRUE(balance(QStringLiteral("R1")).isZero());
    EXPECT_EQ(lookupReaderForDeposit(db(), QStringLiteral("R9")).outcome.message,
              QStringLiteral("没有找到该读者，请重新输入读者编号！"));
}

TEST_P(DepositFineTest, FinesAreSavedAgainstTheStoredReader) {
    addReader({QStringLiteral("R1"),
               QStringLiteral("学生"),
               QStringLiteral("正常"),
               QStringLiteral("是"),
               {},
               0,
               QStringLiteral("张三")});
    struct Case {
        QString number, amount, message;
    };
    const Case cases[] = {
        {QStringLiteral(""), QStringLiteral("5"), QStringLiteral("请先输入读者编号！")},
        {QStringLiteral("R9"), QStringLiteral("5"), QStringLiteral("请先输入读者编号！")},
        {QStringLiteral("R1"), QStringLiteral("0"), QStringLiteral("请输入罚款金额！")},
        {QStringLiteral("R1"), QStringLiteral("x1"), QStringLiteral("罚款金额输入错误！")},
        {QStringLiteral("R1"), QStringLiteral("-2"), QStringLiteral("罚款金额输入错误！")},
        {QStringLiteral("R1"), QStringLiteral("0.00"), QStringLiteral("操作成功！")},
        {QStringLiteral("R1"), QStringLiteral("25.5"), QStringLiteral("操作成功！")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recordFine(db(), {c.number,
                                    c.amount,
                                    QStringLiteral("红楼梦"),
                                    {2024, 5, 9},
                                    QStringLiteral("水浸")})
                      .message,
                  c.message)
            << c.amount.toStdString();
    const auto rows = db().rows(QStringLiteral("select * from [丢失罚款] order by [罚款金额]"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(Money::fromVariant(rows[0].value(QStringLiteral("罚款金额"))).isZero());
    const QSqlRecord& f = rows[1];
    EXPECT_EQ(Money::fromVariant(f.value(QStringLiteral("罚款金额"))).toString(),
              QStringLiteral("25.5"));
    EXPECT_EQ(f.value(QStringLiteral("读者姓名")).toString(), QStringLiteral("张三"));
    EXPECT_EQ(f.value(QStringLiteral("读者类型")).toString(), QStringLiteral("学生"));
    EXPECT_EQ(f.value(QStringLiteral("书籍名称")).toString(), QStringLiteral("红楼梦"));
    EXPECT_EQ(f.value(QStringLiteral("罚款日期")).toDate(), QDate(2024, 5, 9));
    EXPECT_EQ(lookupReaderForFine(db(), QString()).outcome.message,
              QStringLiteral("请输入读者编号！"));
    EXPECT_EQ(lookupReaderForFine(db(), QStringLiteral("R9")).outcome.message,
              QStringLiteral("没有找到该读者编号！"));
}

CANGSHU_ENGINES(DepositFineTest);
