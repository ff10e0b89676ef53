#include "readers/LoanRules.h"
#include "LibraryFixture.h"
#include "readers/ReaderLookup.h"

using namespace cangshu;
using namespace cangshu::test;

namespace {
const QVariant nullInt = QVariant(QMetaType(QMetaType::Int));
}

TEST(Money, ParsesDecimalsAndShowsThemWithoutResidue) {
    struct Case {
        const char* text;
        const char* shown; // nullptr: refused
    };
    const Case cases[] = {{"12", "12"},      {"12.50", "12.5"},  {"-3.5", "-3.5"},
                          {".5", "0.5"},     {"+0.25", "0.25"},  {" 7 ", "7"},
                          {"0.00", "0"},     {"1e3", nullptr},   {"abc", nullptr},
                          {"", nullptr},     {"1,000", nullptr}, {".", nullptr},
                          {"1.2.3", nullptr}};
    for (const Case& c : cases) {
        const auto m = Money::parse(QString::fromUtf8(c.text));
        if (!c.shown)
            EXPECT_FALSE(m.has_value()) << c.text;
        else
            EXPECT_EQ(m.value_or(Money()).toString(), QString::fromUtf8(c.shown)) << c.text;
    }
    const Money tenth = *Money::parse(QStringLiteral("0.1"));
    EXPECT_EQ((tenth * 3).toString(), QStringLiteral("0.3"));
    EXPECT_EQ((tenth + tenth + tenth).toFixed2(), QStringLiteral("0.30"));
    EXPECT_EQ(Money::fromVariant(QVariant(0.1 * 3)).toString(), QStringLiteral("0.3"));
    EXPECT_EQ(Money::fromVariant(QVariant()).toString(), QStringLiteral("0"));
    EXPECT_EQ(Money::parse(QStringLiteral("-0.005"))->toFixed2(), QStringLiteral("-0.01"));
}

class LoanRulesTest : public LibraryTest {};

TEST_P(LoanRulesTest, TheThousandRuleAndMissingRates) {
    addType({QStringLiteral("限"), 5, 30, 2, 15, QStringLiteral("0.2"), QStringLiteral("0.1")});
    addType({QStringLiteral("无限"), 0, 0, 0, 0, QStringLiteral("0.3"), QStringLiteral("0.5"),
             QStringLiteral("是")});
    addType({QStringLiteral("空"), nullInt, nullInt, nullInt, nullInt, QString(), QString()});

    const LoanRules limited = loanRules(db(), QStringLiteral("限"), RuleSet::Books);
    EXPECT_TRUE(limited.typeFound);
    EXPECT_FALSE(limited.unlimited);
    EXPECT_EQ(limited.maxItems, 5);
    EXPECT_EQ(limited.loanDays, 30);
    EXPECT_EQ(limited.renewals, 2);
    EXPECT_EQ(limited.renewalDays, 15);
    EXPECT_EQ(limited.dailyRent.toString(), QStringLiteral("0.2"));
    EXPECT_EQ(limited.overdueFine.toString(), QStringLiteral("0.1"));

    // Periodicals read their own columns (the count and period named with 杂志).
    const LoanRules periodicals = loanRules(db(), QStringLiteral("限"), RuleSet::Periodicals);
    EXPECT_EQ(periodicals.maxItems, 3);
    EXPECT_EQ(periodicals.loanDays, 14);
    EXPECT_EQ(periodicals.renewals, 2);
    EXPECT_EQ(periodicals.renewalDays, 7);
    EXPECT_EQ(periodicals.dailyRent.toString(), QStringLiteral("0.5"));

    // Unlimited: every limit is 1000 whatever the columns hold; the rates still apply.
    const LoanRules unlimited = loanRules(db(), QStringLiteral("无限"), RuleSet::Books);
    EXPECT_TRUE(unlimited.unlimited);
    EXPECT_EQ(unlimited.maxItems, 1000);
    EXPECT_EQ(unlimited.loanDays, 1000);
    EXPECT_EQ(unlimited.renewals, 1000);
    EXPECT_EQ(unlimited.renewalDays, 1000);
    EXPECT_EQ(unlimited.overdueFine.toString(), QStringLiteral("0.5"));

    // A type name that matches no row: 1000 everywhere and no rent or fine.
    for (const QString& name : {QStringLiteral("已删除"), QString()}) {
        const LoanRules missing = loanRules(db(), name, RuleSet::Books);
        EXPECT_FALSE(missing.typeFound);
        EXPECT_EQ(missing.maxItems, 1000);
        EXPECT_EQ(missing.renewalDays, 1000);
        EXPECT_TRUE(missing.dailyRent.isZero());
        EXPECT_TRUE(missing.overdueFine.isZero());
    }

    // Null limits lend nothing rather than fail; null rates charge nothing.
    const LoanRules empty = loanRules(db(), QStringLiteral("空"), RuleSet::Books);
    EXPECT_EQ(empty.maxItems, 0);
    EXPECT_EQ(empty.loanDays, 0);
    EXPECT_TRUE(empty.dailyRent.isZero());
}

TEST_P(LoanRulesTest, VettingOrderAndCardExpiry) {
    addReader({QStringLiteral("R1")});
    addReader({QStringLiteral("LOST"), QStringLiteral("学生"), QStringLiteral("挂失"),
               QStringLiteral("否"), today().addDays(-30)});
    addReader({QStringLiteral("GONE"), QStringLiteral("学生"), QStringLiteral("注销")});
    addReader({QStringLiteral("TODAY"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("否"), today()});
    addReader({QStringLiteral("YDAY"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("否"), today().addDays(-1)});
    addReader({QStringLiteral("FREE"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("是"), today().addDays(-400)});

    struct Case {
        QString number;
        QString checked; // message with the card date tested ("" = passes)
        QString ignored; // message at a return desk
    };
    const Case cases[] = {
        {QStringLiteral("  "), QStringLiteral("请输入读者编号！"),
         QStringLiteral("请输入读者编号！")},
        {QStringLiteral("NOBODY"), QStringLiteral("没有找到该读者编号！"),
         QStringLiteral("没有找到该读者编号！")},
        // Lost comes before the expired card it also has.
        {QStringLiteral("LOST"), QStringLiteral("该读者已经挂失！"),
         QStringLiteral("该读者已经挂失！")},
        {QStringLiteral("GONE"), QStringLiteral("该读者已经注销！"),
         QStringLiteral("该读者已经注销！")},
        {QStringLiteral("TODAY"), {}, {}},
        {QStringLiteral("YDAY"), QStringLiteral("该读者已经过期！"), {}},
        {QStringLiteral("FREE"), {}, {}},
        {QStringLiteral(" R1 "), {}, {}},
    };
    for (const Case& c : cases) {
        const ReaderCheck checked = vetReader(db(), c.number, ExpiryRule::Checked);
        EXPECT_EQ(checked.outcome.message, c.checked) << c.number.toStdString();
        EXPECT_EQ(checked.passed(), c.checked.isEmpty()) << c.number.toStdString();
        if (!checked.passed())
            EXPECT_EQ(checked.outcome.focus, focus::reader);
        EXPECT_EQ(vetReader(db(), c.number, ExpiryRule::Ignored).outcome.message, c.ignored)
            << c.number.toStdString();
    }
    EXPECT_EQ(vetReader(db(), QStringLiteral(" R1 "), ExpiryRule::Checked).reader->number,
              QStringLiteral("R1"));
}

CANGSHU_ENGINES(LoanRulesTest);
