#include "report/CustomBarcodes.h"
#include "report/NumberRange.h"

#include "core/Schema.h"
#include "support/TestDatabase.h"

using namespace cangshu;
using namespace cangshu::report;

TEST(CustomBarcodeTextTest, PadsTheNumberToTheWidth) {
    EXPECT_EQ(barcodeTexts("A", "", 8, 1, 3), (QStringList{"A0000001", "A0000002", "A0000003"}));
    EXPECT_EQ(barcodeTexts("TS", "-B", 8, 98, 3),
              (QStringList{"TS0098-B", "TS0099-B", "TS0100-B"}));
    // Too narrow a width leaves the number as it is.
    EXPECT_EQ(barcodeTexts("LIB", "X", 3, 12345, 1), QStringList{"LIB12345X"});
    EXPECT_EQ(barcodeTexts("", "", 0, 7, 2), (QStringList{"7", "8"}));
}

TEST(CustomBarcodeTextTest, ChecksTheFieldsInTheWindowsOrder) {
    const struct {
        BarcodeSeries series;
        const char* message;
        const char* focus;
    } cases[] = {
        {{"", "x", "", "", "", "", ""}, "请输入条码宽度！", kFocusWidth},
        {{"8a", "", "", "", "", "", ""}, "条码宽度输入错误！", kFocusWidth},
        {{"-3", "1", "1", "", "", "", ""}, "条码宽度输入错误！", kFocusWidth},
        {{"8", " ", "x", "", "", "", ""}, "请输入条码起始数值！", kFocusStart},
        {{"8", "1.5", "", "", "", "", ""}, "起始数值输入错误！", kFocusStart},
        {{"8", "-5", "3", "", "", "", ""}, "起始数值输入错误！", kFocusStart},
        {{"8", "1", "", "", "", "", ""}, "请输入条码产生数量！", kFocusCount},
        {{"8", "1", "three", "", "", "", ""}, "条码产生数量输入错误！", kFocusCount},
        {{"8", "1", "0", "", "", "", ""}, "条码产生数量输入错误！", kFocusCount},
    };
    for (const auto& c : cases) {
        const BarcodeOutcome o = checkSeries(c.series);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.message, QString::fromUtf8(c.message)) << c.series.width.toStdString();
        EXPECT_EQ(o.focus, QString::fromLatin1(c.focus));
    }
    EXPECT_TRUE(checkSeries({" 8 ", "1", "3", "A", "", "", ""}).ok);
}

class CustomBarcodeTableTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
    }
    QStringList codes() {
        QStringList list;
        for (const QVariantMap& row : barcodeRows(db()))
            list << row.value(QStringLiteral("条形码")).toString();
        return list;
    }
};

TEST_P(CustomBarcodeTableTest, SecondSeriesIsAppendedOnlyAfterConfirmation) {
    const BarcodeSeries first{"8", "1", "3", "A", "", "城东图书馆", "固定资产"};
    BarcodeOutcome o = generateBarcodes(db(), first, false);
    ASSERT_TRUE(o.ok) << o.message.toStdString();
    EXPECT_EQ(o.generated, 3);
    EXPECT_EQ(codes(), (QStringList{"A0000001", "A0000002", "A0000003"}));
    const QVariantMap row = barcodeRows(db()).first();
    EXPECT_EQ(row.value(QStringLiteral("上方标题")).toString(), QStringLiteral("城东图书馆"));
    EXPECT_EQ(row.value(QStringLiteral("下方描述")).toString(), QStringLiteral("固定资产"));

    const BarcodeSeries second{"8", "10", "2", "A", "", "", ""};
    o = generateBarcodes(db(), second, false);
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.needsConfirmation);
    EXPECT_EQ(o.message, QStringLiteral("数据库中有数据，是否继续产生条形码？"));
    EXPECT_EQ(codes().size(), 3);
    ASSERT_TRUE(generateBarcodes(db(), second, true).ok);
    EXPECT_EQ(codes(), (QStringList{"A0000001", "A0000002", "A0000003", "A0000010", "A0000011"}));

    EXPECT_EQ(clearBarcodes(db()), QStringLiteral("数据清空完毕！"));
    EXPECT_TRUE(codes().isEmpty());
    // A refused series writes nothing.
    EXPECT_FALSE(generateBarcodes(db(), {"8", "1", "x", "", "", "", ""}, true).ok);
    EXPECT_TRUE(codes().isEmpty());
}

TEST_P(CustomBarcodeTableTest, BookNumberRangeIsATextRange) {
    for (const char* number : {"99", "100", "150", "1500", "200", "2000", "201"})
        db().execute(QStringLiteral("insert into [书籍资料] ([书籍编号],[书籍名称]) values (?,?)"),
                     {QString::fromLatin1(number), QStringLiteral("书")});
    QStringList found;
    for (const QVariantMap& row :
         booksInNumberRange(db(), QStringLiteral(" 100"), QStringLiteral("200 "),
                            {QStringLiteral("书籍编号"), QStringLiteral("书籍名称")}))
        found << row.value(QStringLiteral("书籍编号")).toString();
    EXPECT_EQ(found, (QStringList{"100", "150", "1500", "200"}));
    EXPECT_THROW(booksInNumberRange(db(), "1", "2", {QStringLiteral("书籍编号;drop")}),
                 DatabaseError);

    EXPECT_EQ(checkNumberRange("", "").focus, QStringLiteral("from"));
    const RangeOutcome missingTo = checkNumberRange("100", " ");
    EXPECT_EQ(missingTo.message, QStringLiteral("请输入编号范围！"));
    EXPECT_EQ(missingTo.focus, QStringLiteral("to"));
    EXPECT_TRUE(checkNumberRange("100", "200").ok);
}

CANGSHU_ENGINES(CustomBarcodeTableTest);
