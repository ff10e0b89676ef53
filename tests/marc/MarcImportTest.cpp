#include "MarcTestSupport.h"

#include "core/Numbering.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "marc/MarcFile.h"
#include "marc/MarcImport.h"
#include "marc/MarcMappings.h"
#include "support/TestDatabase.h"

using namespace cangshu;
using namespace cangshu::test;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

MarcMapping mapping(const char* tag, const char* code, const char* column = "") {
    return {S(tag), S(code), S(tag) + S(code), 80, S(column)};
}

QByteArray book(const char* title, const char* cls, QList<const char*> numbers = {},
                const char* pages = "100页") {
    MarcWriter w;
    w.controlField(S("001"), S(title))
        .dataField(S("010"), S("  "), {{u'a', S("978-7-111-00000-0")}, {u'd', S("CNY12.50")}})
        .dataField(S("200"), S("1 "), {{u'a', S(title)}, {u'f', S("某某著")}})
        .dataField(S("210"), S("  "), {{u'c', S("某出版社")}})
        .dataField(S("215"), S("  "), {{u'a', S(pages)}})
        .dataField(S("690"), S("  "), {{u'a', S(cls)}});
    MarcWriter::Subfields holdings;
    for (const char* n : numbers)
        holdings.append({u'b', S(n)});
    if (!holdings.isEmpty())
        w.dataField(S("905"), S("  "), holdings);
    return w.toIso2709();
}

QList<QByteArray> sampleFile(const char* name) {
    QString error;
    return readMarcFile(qEnvironmentVariable("CANGSHU_SOURCE_DIR") + S("/data/marc/") + S(name),
                        &error);
}

class MarcImportTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
        seedNewDatabase(db());
        seedMarcMappings(db());
        db().clock().setToday(QDate(2024, 3, 15));
    }

    MarcImportOutcome import(const QList<QByteArray>& records, MarcImportOptions options) {
        const MarcMappingLoad load = loadMarcMappings(db(), options.target);
        EXPECT_TRUE(load.error.isEmpty()) << load.error.toStdString();
        return importMarcPreview(db(), previewMarcRecords(records, load.mappings), load.mappings,
                                 options);
    }

    QStringList column(const QString& table, const QString& name) {
        QStringList values;
        for (const auto& r :
             db().rows(QStringLiteral("select [%1] from [%2] order by [ID]").arg(name, table)))
            values << r.value(0).toString();
        return values;
    }
};

} // namespace

TEST(MarcPreviewTest, CollectsValuesInRecordOrderAndSkipsUnreadableRecords) {
    MarcWriter w;
    w.controlField(S("001"), S("id-7"))
        .dataField(S("200"), S("1 "), {{u'a', S("同名")}, {u'a', S("同名")}, {u'e', S("甲")}})
        .dataField(S("200"), S("1 "), {{u'e', S("乙;丙")}, {u'e', S("甲")}})
        .dataField(S("010"), S("  "), {{u'a', S("7-111")}});
    const QList<MarcMapping> mappings{mapping("200", "a"), mapping("200", "e"), mapping("001", "@"),
                                      mapping("010", "@"), mapping("330", "a")};
    const MarcPreview preview =
        previewMarcRecords({w.toIso2709(), QByteArray("01234"), w.toIso2709()}, mappings);
    ASSERT_EQ(preview.rows.size(), 2);
    EXPECT_EQ(preview.rows[1].record, 2);
    // A repeat of the collected text is dropped; a ";" inside a value stays in it.
    EXPECT_EQ(preview.rows[0].values,
              (QStringList{S("同名"), S("甲,乙;丙,甲"), S("id-7"), S("  "), QString()}));
    ASSERT_EQ(preview.skipped.size(), 1);
    EXPECT_EQ(preview.skipped[0].record, 1);
    EXPECT_FALSE(preview.skipped[0].reason.isEmpty());
}

TEST(MarcPreviewTest, PriceDigits) {
    const struct {
        const char* text;
        const char* digits;
    } cases[] = {{"CNY25.00", "25.00"},
                 {"12.5;2册", "12.5"},
                 {"CNY10.00,CNY20.00", "10.00"},
                 {"价格不详", ""},
                 {"", ""},
                 {"￥1,234.00", "1"}};
    for (const auto& c : cases)
        EXPECT_EQ(marcPriceDigits(S(c.text)), S(c.digits)) << c.text;
}

TEST_P(MarcImportTest, BooksWithAutomaticNumbersAndCallNumbers) {
    const auto records = sampleFile("cnmarc-books.iso");
    ASSERT_EQ(records.size(), 3);
    const QString first = Numbering(db()).nextNumber(NumberKind::Book);
    const qint64 counter = Numbering(db()).shape(NumberKind::Book).counter;
    const MarcImportOutcome outcome = import(records, {});
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(outcome.message, S("导入数据成功！"));
    EXPECT_EQ(outcome.recordsImported, 3);
    EXPECT_EQ(outcome.rowsWritten, 3);
    EXPECT_EQ(column(S("书籍资料"), S("书籍编号")).first(), first);
    QStringList numbers = column(S("书籍资料"), S("书籍编号"));
    numbers.removeDuplicates();
    EXPECT_EQ(numbers.size(), 3);

    const auto row = db().row(S("select * from [书籍资料] where [书籍名称]=?"), {S("红楼梦")});
    ASSERT_TRUE(row);
    const struct {
        const char* column;
        QVariant value;
    } expected[] = {
        {"标准ISBN", S("978-7-02-000220-7")},
        {"作者信息", S("曹雪芹著")},
        {"当前本数", S("上册")},
        {"出版社名", S("人民文学出版社")},
        {"出版地点", S("北京")},
        {"出版日期", S("1996")},
        {"书籍页码", S("1606页")},
        {"中图分类", S("I242.47")},
        {"种次号", S("1")},
        {"索书号", S("I242.47/1")},
        {"在馆状态", S("在馆")},
        {"藏书总量", 1},
        {"馆内剩余", 1},
        {"拼音", S("HLM")},
        {"所属语种", S("chi")},
    };
    for (const auto& e : expected)
        EXPECT_EQ(row->value(S(e.column)).toString(), e.value.toString()) << e.column;
    EXPECT_DOUBLE_EQ(row->value(S("书籍价格")).toDouble(), 59.70);
    EXPECT_EQ(row->value(S("入库时间")).toDate(), QDate(2024, 3, 15));
    // The counter moved once per record.
    EXPECT_EQ(Numbering(db()).shape(NumberKind::Book).counter, counter + 3);
}

TEST_P(MarcImportTest, CopiesFromTheNumberListShareTheirRecordsCallNumber) {
    MarcImportOptions options;
    options.autoNumber = false;
    const qint64 counter = Numbering(db()).shape(NumberKind::Book).counter;
    // One title of the class is on the shelves already.
    db().execute(S("insert into [书籍资料] ([书籍编号],[书籍名称],[中图分类]) values (?,?,?)"),
                 {S("A1"), S("旧书"), S("TP3")});
    const auto outcome = import(
        {book("甲书", "TP3", {"B001", "B002", "B003"}), book("甲书", "TP3", {"B004"})}, options);
    EXPECT_EQ(outcome.rowsWritten, 4);
    // Created from the last number to the first.
    EXPECT_EQ(column(S("书籍资料"), S("书籍编号")),
              (QStringList{S("A1"), S("B003"), S("B002"), S("B001"), S("B004")}));
    // The second record of the same title and class is counted from the rows stored before.
    EXPECT_EQ(column(S("书籍资料"), S("索书号")),
              (QStringList{QString(), S("TP3/2"), S("TP3/2"), S("TP3/2"), S("TP3/3")}));
    EXPECT_EQ(Numbering(db()).shape(NumberKind::Book).counter, counter);
}

// A title already stored with an empty kind column is the same title as an imported record
// that lacks that subfield: it counts once, so the next new title is only the second.
TEST_P(MarcImportTest, TitlesMatchStoredRowsIncludingMissingValues) {
    db().execute(
        S("insert into [书籍资料] ([书籍编号],[书籍名称],[作者信息],[出版社名],[中图分类]) "
          "values (?,?,?,?,?)"),
        {S("A1"), S("乙书"), S("某某著"), S("某出版社"), S("K2")});
    auto record = [] {
        MarcWriter w;
        w.dataField(S("200"), S("1 "), {{u'a', S("乙书")}, {u'f', S("某某著")}})
            .dataField(S("210"), S("  "), {{u'c', S("某出版社")}})
            .dataField(S("690"), S("  "), {{u'a', S("K2")}});
        return w.toIso2709(); // no 010: no ISBN
    };
    import({record(), record(), book("丙书", "K2")}, {});
    EXPECT_EQ(column(S("书籍资料"), S("索书号")),
              (QStringList{QString(), S("K2/2"), S("K2/2"), S("K2/2")}));
}

TEST_P(MarcImportTest, ARecordThatCannotBeStoredIsSkippedAndReported) {
    db().execute(
        S("insert into [marc] ([序号],[marc字段],[标识],[列宽],[图书字段],[导入数据库字段]) "
          "values (99,'215','a',60,'借出','借出次数')"));
    const qint64 counter = Numbering(db()).shape(NumberKind::Book).counter;
    const auto outcome = import(
        {book("一", "A1", {}, "3"), book("二", "A1", {}, "xx页"), book("三", "A1", {}, "5")}, {});
    EXPECT_EQ(outcome.recordsImported, 2);
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_EQ(outcome.failures[0].record, 1);
    EXPECT_TRUE(outcome.failures[0].reason.contains(S("借出次数")));
    EXPECT_EQ(outcome.message, S("导入数据完成：成功导入2条记录，1条记录导入失败！"));
    EXPECT_EQ(column(S("书籍资料"), S("书籍名称")), (QStringList{S("一"), S("三")}));
    EXPECT_EQ(column(S("书籍资料"), S("借出次数")), (QStringList{S("3"), S("5")}));
    // Every record used up a number.
    EXPECT_EQ(Numbering(db()).shape(NumberKind::Book).counter, counter + 3);
}

TEST_P(MarcImportTest, AFailingStatementTakesBackTheWholeRecordOnly) {
    // A unique number index makes the database itself refuse a repeated number.
    db().execute(S("create unique index [t_unique_number] on [书籍资料] ([书籍编号])"));
    MarcImportOptions options;
    options.autoNumber = false;
    const auto outcome = import(
        {book("一", "A1", {"B1", "B2"}), book("二", "A1", {"B1", "B9"}), book("三", "A1", {"B5"})},
        options);
    EXPECT_EQ(outcome.recordsImported, 2);
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_EQ(outcome.failures[0].record, 1);
    EXPECT_EQ(outcome.failures[0].number, S("B1"));
    // B9 was written before B1 failed and went back with it.
    EXPECT_EQ(column(S("书籍资料"), S("书籍编号")), (QStringList{S("B2"), S("B1"), S("B5")}));
}

TEST_P(MarcImportTest, RefusalsBeforeAnythingIsWritten) {
    const auto load = loadMarcMappings(db(), MarcImportTarget::Books);
    auto empty = importMarcPreview(db(), {}, load.mappings, {});
    EXPECT_TRUE(empty.refused);
    EXPECT_EQ(empty.message, S("请先预览Marc数据！"));

    db().execute(S("delete from [marc] where [导入数据库字段]='书籍编号'"));
    MarcImportOptions options;
    options.autoNumber = false;
    const auto noNumber = import({book("一", "A1", {"B1"})}, options);
    EXPECT_TRUE(noNumber.refused);
    EXPECT_EQ(noNumber.message, S("系统没有检测到【书籍编号】字段，请选择 书籍自动编号！"));
    options.target = MarcImportTarget::Periodicals;
    db().execute(S("delete from [marcqk] where [导入数据库字段]='期刊编号'"));
    EXPECT_EQ(import({book("一", "A1", {"B1"})}, options).message,
              S("系统没有检测到【期刊编号】字段，请选择 期刊自动编号！"));
    EXPECT_EQ(db().scalar(S("select count(*) from [书籍资料]")).toInt(), 0);
    EXPECT_EQ(db().scalar(S("select count(*) from [期刊资料]")).toInt(), 0);
}

TEST_P(MarcImportTest, MappingsNamingMissingColumnsAreRefusedWhenLoaded) {
    db().execute(S("update [marc] set [导入标识]=NULL"));
    db().execute(
        S("insert into [marc] ([序号],[marc字段],[标识],[列宽],[图书字段],[导入数据库字段]) "
          "values (0,'200','b',60,'资料','资料类型')"));
    const auto load = loadMarcMappings(db(), MarcImportTarget::Books);
    EXPECT_TRUE(load.error.contains(S("资料类型"))) << load.error.toStdString();
    EXPECT_EQ(load.mappings.first().column, S("资料类型"));
    // Positions are written back in 序号 order.
    EXPECT_EQ(db().scalar(S("select [导入标识] from [marc] where [序号]=0")).toInt(), 0);
    EXPECT_EQ(db().scalar(S("select [导入标识] from [marc] where [序号]=1")).toInt(), 1);
}

TEST_P(MarcImportTest, PreCatalogueGetsNoNumberNoStockValuesAndNoCallNumber) {
    MarcImportOptions options;
    options.target = MarcImportTarget::PreCatalogue;
    const qint64 counter = Numbering(db()).shape(NumberKind::Book).counter;
    const auto outcome = import(sampleFile("cnmarc-books.iso"), options);
    EXPECT_EQ(outcome.rowsWritten, 3);
    const auto row = db().row(S("select * from [书籍预编] where [书籍名称]=?"), {S("算法导论")});
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->value(S("书籍编号")).isNull());
    EXPECT_TRUE(row->value(S("入库时间")).isNull());
    EXPECT_TRUE(row->value(S("索书号")).isNull());
    EXPECT_EQ(row->value(S("中图分类")).toString(), S("TP301.6"));
    EXPECT_DOUBLE_EQ(row->value(S("书籍价格")).toDouble(), 139.0);
    EXPECT_EQ(db().scalar(S("select count(*) from [书籍资料]")).toInt(), 0);
    EXPECT_EQ(Numbering(db()).shape(NumberKind::Book).counter, counter);
}

TEST_P(MarcImportTest, Periodicals) {
    const qint64 counter = Numbering(db()).shape(NumberKind::Periodical).counter;
    MarcImportOptions options;
    options.target = MarcImportTarget::Periodicals;
    options.importPrice = false;
    const auto outcome = import(sampleFile("cnmarc-periodicals.iso"), options);
    EXPECT_EQ(outcome.message, S("导入数据成功！"));
    const auto row = db().row(S("select * from [期刊资料] where [标准ISSN]=?"), {S("1000-0135")});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(S("期刊名称")).toString(), S("图书情报工作"));
    EXPECT_EQ(row->value(S("期刊刊次")).toString(), S("2024年第5期"));
    EXPECT_EQ(row->value(S("期刊刊期")).toString(), S("半月刊"));
    EXPECT_EQ(row->value(S("主编信息")).toString(), S("图书情报工作杂志社编"));
    EXPECT_EQ(row->value(S("馆藏总量")).toInt(), 1);
    EXPECT_EQ(row->value(S("馆内剩余")).toInt(), 1);
    EXPECT_DOUBLE_EQ(row->value(S("期刊价格")).toDouble(), 0); // price import switched off
    EXPECT_FALSE(row->value(S("期刊编号")).toString().isEmpty());
    EXPECT_EQ(Numbering(db()).shape(NumberKind::Periodical).counter, counter + 2);
}

CANGSHU_ENGINES(MarcImportTest);
