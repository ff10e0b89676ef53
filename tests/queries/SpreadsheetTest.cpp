#include "queries/Spreadsheet.h"
#include "ListTables.h"
#include "queries/Export.h"
#include "queries/SpreadsheetImport.h"
#include "support/TestDatabase.h"

#include <QFile>

using namespace cangshu;

TEST(XlsxReader, ReadsTheFirstSheetsCellsAsText) {
    const QString file = test::temporaryFolder() + QStringLiteral("/cells.xlsx");
    // Styles: 0 general, 1 built-in date (14), 2 custom date format, 3 custom non-date "0.00".
    const QByteArray numFmts = "<numFmts count=\"2\"><numFmt numFmtId=\"164\" "
                               "formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
                               "<numFmt numFmtId=\"165\" formatCode=\"0.00\"/></numFmts>";
    const QByteArray xfs =
        "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>";
    const QByteArray data =
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"D1\" "
        "t=\"inlineStr\">"
        "<is><r><t>内</t></r><r><t>联</t></r><rPh><t>ないれん</t></rPh></is></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>9787020002207</v></c><c r=\"B2\" s=\"1\"><v>45413</v></c>"
        "<c r=\"C2\" s=\"3\"><v>12.5</v></c><c r=\"D2\" "
        "t=\"str\"><f>A1&amp;B1</f><v>公式值</v></c></row>"
        // A formula with a cached number, a boolean, a custom date, and empty styled cells past the
        // data.
        "<row r=\"4\"><c r=\"A4\"><f>1+1</f><v>2</v></c><c r=\"B4\" t=\"b\"><v>1</v></c>"
        "<c r=\"C4\" s=\"2\"><v>1</v></c><c r=\"H4\" s=\"1\"/></row><row r=\"9\"><c r=\"A9\" "
        "s=\"1\"/></row>";
    test::writeXlsx(file, data, {QStringLiteral(" 书名 "), QStringLiteral("出版日期")}, xfs,
                    numFmts);
    Sheet sheet;
    QString error;
    ASSERT_TRUE(readSpreadsheet(file, &sheet, &error)) << error.toStdString();
    EXPECT_EQ(sheet.columnCount, 4);
    ASSERT_EQ(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.rows.at(0), (QStringList{QStringLiteral(" 书名 "), QStringLiteral("出版日期"),
                                             QString(), QStringLiteral("内联")}));
    EXPECT_EQ(sheet.rows.at(1),
              (QStringList{QStringLiteral("9787020002207"), QStringLiteral("2024-05-01"),
                           QStringLiteral("12.5"), QStringLiteral("公式值")}));
    EXPECT_EQ(sheet.rows.at(2), (QStringList{QString(), QString(), QString(), QString()}));
    EXPECT_EQ(sheet.rows.at(3), (QStringList{QStringLiteral("2"), QStringLiteral("TRUE"),
                                             QStringLiteral("1900-01-01"), QString()}));
}

TEST(XlsxReader, DateSystemsAndBrokenFiles) {
    EXPECT_EQ(excelSerialDate(45413, false), QStringLiteral("2024-05-01"));
    EXPECT_EQ(excelSerialDate(59, false), QStringLiteral("1900-02-28"));
    EXPECT_EQ(excelSerialDate(61, false), QStringLiteral("1900-03-01"));
    EXPECT_EQ(excelSerialDate(43951, true), QStringLiteral("2024-05-01"));

    const QString file = test::temporaryFolder() + QStringLiteral("/broken.xlsx");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK not really a zip");
    f.close();
    Sheet sheet;
    QString error;
    EXPECT_FALSE(readSpreadsheet(file, &sheet, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(
        readSpreadsheet(test::temporaryFolder() + QStringLiteral("/missing.xls"), &sheet, &error));
}

TEST(XlsReader, ReadsTheFirstSheetsCellsAsText) {
    const QString file = test::temporaryFolder() + QStringLiteral("/cells.xls");
    test::writeXls(file, {{QStringLiteral("读者编号"), QStringLiteral(" 读者姓名 "),
                           QStringLiteral("办证日期")},
                          {9787020002207.0, QStringLiteral("张三"), QDate(2024, 5, 1)},
                          {12.5, QStringLiteral("O'Neil"), QVariant()}});
    Sheet sheet;
    QString error;
    ASSERT_TRUE(readSpreadsheet(file, &sheet, &error)) << error.toStdString();
    EXPECT_EQ(sheet.columnCount, 3);
    ASSERT_EQ(sheet.rows.size(), 3);
    EXPECT_EQ(sheet.rows.at(0),
              (QStringList{QStringLiteral("读者编号"), QStringLiteral(" 读者姓名 "),
                           QStringLiteral("办证日期")}));
    EXPECT_EQ(sheet.rows.at(1),
              (QStringList{QStringLiteral("9787020002207"), QStringLiteral("张三"),
                           QStringLiteral("2024-05-01")}));
    EXPECT_EQ(sheet.rows.at(2),
              (QStringList{QStringLiteral("12.5"), QStringLiteral("O'Neil"), QString()}));
}

TEST(Import, ColumnMatching) {
    const QStringList table{QStringLiteral("ID"), QStringLiteral("读者编号"),
                            QStringLiteral("读者姓名"), QStringLiteral("Image")};
    struct Case {
        const char* what;
        QStringList sheet;
        QList<std::pair<QString, int>> expected;
    };
    const QList<Case> cases{
        {"ID never receives a value",
         {QStringLiteral("id"), QStringLiteral("读者编号")},
         {{QStringLiteral("读者编号"), 1}}},
        {"case and blanks are ignored",
         {QStringLiteral(" image "), QStringLiteral(" 读者姓名")},
         {{QStringLiteral("读者姓名"), 1}, {QStringLiteral("Image"), 0}}},
        {"the leftmost duplicate wins",
         {QStringLiteral("读者编号"), QStringLiteral("x"), QStringLiteral("读者编号")},
         {{QStringLiteral("读者编号"), 0}}},
        {"nothing matches", {QStringLiteral("书名")}, {}},
    };
    for (const Case& c : cases) {
        QList<std::pair<QString, int>> got;
        for (const ColumnMatch& m : matchColumns(table, c.sheet))
            got.append({m.tableColumn, m.sheetColumn});
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

class ImportTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
    }
    int readers() { return db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(); }
};

TEST_P(ImportTest, StoresCellsUntrimmedInTheMatchedColumnsOnly) {
    Sheet sheet;
    sheet.columnCount = 4;
    sheet.rows = {{QStringLiteral("ID"), QStringLiteral("读者编号"), QStringLiteral("读者姓名"),
                   QStringLiteral("押金金额")},
                  {QStringLiteral("99"), QStringLiteral(" 123 "), QStringLiteral("张三"),
                   QStringLiteral("12.5")},
                  {QStringLiteral("98"), QStringLiteral("R2"), QString(), QString()}};
    const ImportOutcome out = importSheet(db(), sheet, QStringLiteral("读者资料"));
    ASSERT_TRUE(out.ok) << out.detail.toStdString();
    EXPECT_EQ(out.message, QStringLiteral("导入数据成功！"));
    EXPECT_EQ(out.imported, 2);
    const auto rows = db().rows(QStringLiteral(
        "select [ID],[读者编号],[读者姓名],[押金金额],[借阅次数] from [读者资料] order by [ID]"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_NE(rows.at(0).value(0).toInt(), 99); // the database numbers the key
    EXPECT_EQ(rows.at(0).value(1).toString(), QStringLiteral(" 123 "));
    EXPECT_DOUBLE_EQ(rows.at(0).value(3).toDouble(), 12.5);
    EXPECT_EQ(rows.at(0).value(4).toInt(), 0); // no column of that name: left to the default
    EXPECT_EQ(rows.at(1).value(2).toString(), QString());
    EXPECT_TRUE(rows.at(1).value(3).isNull()); // an empty cell leaves a number column empty
}

TEST_P(ImportTest, AFailingRowStoresNothingAndIsNamed) {
    test::addReader(db(), QStringLiteral("R3"), QStringLiteral("已有"));
    Sheet sheet;
    sheet.columnCount = 1;
    sheet.rows = {{QStringLiteral("读者编号")},
                  {QStringLiteral("R1")},
                  {QStringLiteral("R2")},
                  {QStringLiteral("R3")},
                  {QStringLiteral("R4")}};
    const ImportOutcome out = importSheet(db(), sheet, QStringLiteral("读者资料"));
    EXPECT_FALSE(out.ok);
    EXPECT_TRUE(out.message.startsWith(QStringLiteral("数据导入错误！")));
    EXPECT_EQ(out.failingRow, 4);
    EXPECT_FALSE(out.detail.isEmpty());
    EXPECT_EQ(readers(), 1);
    // The connection is usable afterwards.
    test::addReader(db(), QStringLiteral("R9"), QStringLiteral("后来"));
    EXPECT_EQ(readers(), 2);
}

TEST_P(ImportTest, RefusalsAndTheTitleOnlySheet) {
    Sheet titles;
    titles.columnCount = 1;
    titles.rows = {{QStringLiteral("读者编号")}};
    ImportOutcome out = importSheet(db(), titles, QStringLiteral("读者资料"));
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.message, QStringLiteral("导入数据成功！"));
    EXPECT_EQ(readers(), 0);

    out = importSheet(db(), Sheet(), QStringLiteral("读者资料"));
    EXPECT_EQ(out.message, QStringLiteral("请先打开Excel文件！"));
    EXPECT_EQ(out.focus, QStringLiteral("file"));
    for (const QString& table : {QString(), QStringLiteral("查询条件")}) {
        out = importSheet(db(), titles, table);
        EXPECT_EQ(out.message, QStringLiteral("请选择要导入的数据表！"));
        EXPECT_EQ(out.focus, QStringLiteral("table"));
    }
}

TEST_P(ImportTest, AnExportedFileImportsBack) {
    test::addReader(db(), QStringLiteral("0001"), QStringLiteral("甲"), 3);
    test::addReader(db(), QStringLiteral("0002"), QStringLiteral("乙"), 4.5);
    const QString file = test::temporaryFolder() + QStringLiteral("/roundtrip.xlsx");
    ASSERT_TRUE(
        exportQuery(db(), QStringLiteral("select [读者编号],[读者姓名],[押金金额] from [读者资料]"),
                    ExportFormat::Xlsx, file)
            .ok);
    db().execute(QStringLiteral("delete from [读者资料]"));
    const ImportOutcome out = importSpreadsheet(db(), file, QStringLiteral("读者资料"));
    ASSERT_TRUE(out.ok) << out.detail.toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select [读者编号] from [读者资料] where [读者姓名]=?"),
                          {QStringLiteral("甲")})
                  .toString(),
              QStringLiteral("0001"));
    EXPECT_DOUBLE_EQ(
        db().scalar(QStringLiteral("select sum([押金金额]) from [读者资料]")).toDouble(), 7.5);
}

CANGSHU_ENGINES(ImportTest);
