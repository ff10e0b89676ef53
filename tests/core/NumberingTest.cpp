#include "core/Numbering.h"
#include "support/TestDatabase.h"

#include <functional>

using namespace cangshu;

TEST(NumberingTest, FormatPadsButNeverCuts) {
    const struct {
        int width;
        const char* prefix;
        const char* suffix;
        qint64 counter;
        const char* number;
    } cases[] = {
        {6, "", "", 12, "000012"},   {6, "A", "Z", 1, "A0001Z"},
        {3, "AB", "", 123, "AB123"}, // longer than the width: kept whole
        {1, "", "", 0, "0"},         {0, "", "", 7, "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Numbering::format({c.width, QString::fromUtf8(c.prefix),
                                     QString::fromUtf8(c.suffix), c.counter}),
                  QString::fromUtf8(c.number));
}

TEST(NumberingTest, SettingsValidationStopsAtFirstFailureInOrder) {
    NumberSettingsInput ok;
    for (int i = 0; i < 3; ++i) {
        ok.width[i] = QStringLiteral("6");
        ok.prefix[i] = QStringLiteral("A");
        ok.suffix[i] = QStringLiteral("Z");
        ok.counter[i] = QStringLiteral("1");
    }
    EXPECT_TRUE(validateNumberSettings(ok).ok);

    const struct {
        int kind;
        std::function<void(NumberSettingsInput&)> spoil;
        const char* message;
        NumberField field;
    } cases[] = {
        {0, [](auto& in) { in.width[0] = QStringLiteral("  "); }, "输入书籍编号宽度！",
         NumberField::Width},
        {0,
         [](auto& in) {
             in.counter[0].clear();
             in.width[1].clear();
         },
         "输入书籍编号数值！", NumberField::Counter},
        {0,
         [](auto& in) {
             in.width[0] = QStringLiteral("2");
             in.counter[2].clear();
         },
         "书籍编号宽度太小！", NumberField::Width},
        {1, [](auto& in) { in.width[1].clear(); }, "输入期刊编号宽度！", NumberField::Width},
        {1, [](auto& in) { in.counter[1].clear(); }, "输入期刊编号数值！", NumberField::Counter},
        {1, [](auto& in) { in.width[1] = QStringLiteral("2"); }, "期刊编号宽度太小！",
         NumberField::Width},
        {2, [](auto& in) { in.width[2].clear(); }, "输入读者编号宽度！", NumberField::Width},
        {2, [](auto& in) { in.counter[2].clear(); }, "输入读者编号数值！", NumberField::Counter},
        {2, [](auto& in) { in.prefix[2] = QStringLiteral("ABCDE"); }, "读者编号宽度太小！",
         NumberField::Width},
    };
    for (const auto& c : cases) {
        NumberSettingsInput in = ok;
        c.spoil(in);
        const NumberSettingsCheck r = validateNumberSettings(in);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
        EXPECT_EQ(static_cast<int>(r.kind), c.kind) << c.message;
        EXPECT_EQ(r.field, c.field) << c.message;
    }
}

TEST(NumberingTest, KeyFilter) {
    EXPECT_TRUE(isAllowedNumberSettingChar(NumberField::Width, u'7'));
    EXPECT_FALSE(isAllowedNumberSettingChar(NumberField::Counter, u'a'));
    EXPECT_TRUE(isAllowedNumberSettingChar(NumberField::Prefix, u'q'));
    EXPECT_FALSE(isAllowedNumberSettingChar(NumberField::Suffix, u'1'));
    EXPECT_FALSE(isAllowedNumberSettingChar(NumberField::Prefix, QChar(0x4E2D)));
    EXPECT_TRUE(isAllowedNumberSettingChar(NumberField::Suffix, u'\b'));
}

class NumberingDbTest : public test::EngineTest {
protected:
    void createInfo(bool withAffixes) {
        QString cols = QStringLiteral(
            "[图书馆名称] TEXT, [编号宽度] INTEGER, [编号值] INTEGER, [期刊编号宽度] INTEGER, "
            "[期刊编号值] INTEGER, [读者编号宽度] INTEGER, [读者编号值] INTEGER");
        if (withAffixes)
            cols += QStringLiteral(
                ", [前置字符] TEXT, [后置字符] TEXT, [期刊前置字符] TEXT, [期刊后置字符] TEXT, "
                "[读者前置字符] TEXT, [读者后置字符] TEXT");
        db().execute(QStringLiteral("create table [系统信息] (%1)").arg(cols));
        db().execute(QStringLiteral(
            "insert into [系统信息] ([编号宽度],[编号值],[期刊编号宽度],[期刊编号值],"
            "[读者编号宽度],[读者编号值]) values (6,12,5,3,4,99)"));
    }
};

TEST_P(NumberingDbTest, IssuesAndAdvancesEachKindOnItsOwnCounter) {
    createInfo(true);
    db().execute(QStringLiteral("update [系统信息] set [前置字符]='A',[后置字符]='Z'"));
    Numbering n(db());
    EXPECT_EQ(n.nextNumber(NumberKind::Book), QStringLiteral("A0012Z"));
    EXPECT_EQ(n.nextNumber(NumberKind::Book),
              QStringLiteral("A0012Z")); // asking twice: same number
    n.advance(NumberKind::Book);
    EXPECT_EQ(n.nextNumber(NumberKind::Book), QStringLiteral("A0013Z"));
    EXPECT_EQ(n.nextNumber(NumberKind::Periodical), QStringLiteral("00003"));
    EXPECT_EQ(n.nextNumber(NumberKind::Reader), QStringLiteral("0099"));
    n.advance(NumberKind::Reader);
    EXPECT_EQ(n.nextNumber(NumberKind::Reader), QStringLiteral("0100"));
    EXPECT_EQ(n.numLength(NumberKind::Periodical), 5);
}

TEST_P(NumberingDbTest, OlderTableWithoutAffixesIssuesPlainNumbersAndSaves) {
    createInfo(false);
    EXPECT_EQ(Numbering(db()).nextNumber(NumberKind::Book), QStringLiteral("000012"));
    NumberSettingsInput in = loadNumberSettings(db());
    EXPECT_EQ(in.width[0], QStringLiteral("6"));
    EXPECT_TRUE(in.prefix[0].isEmpty());
    in.width[2] = QStringLiteral(" 8 ");
    in.counter[2] = QStringLiteral("5");
    in.prefix[2] = QStringLiteral("R"); // no column to hold it: dropped, not an error
    saveNumberSettings(db(), in);
    EXPECT_EQ(Numbering(db()).nextNumber(NumberKind::Reader), QStringLiteral("00000005"));
}

TEST_P(NumberingDbTest, SavedSettingsAreTrimmedAndUsed) {
    createInfo(true);
    NumberSettingsInput in = loadNumberSettings(db());
    in.prefix[1] = QStringLiteral(" QK ");
    in.counter[1] = QStringLiteral("42");
    saveNumberSettings(db(), in);
    EXPECT_EQ(Numbering(db()).nextNumber(NumberKind::Periodical), QStringLiteral("QK042"));
}

CANGSHU_ENGINES(NumberingDbTest);
