#include "report/Barcode.h"
#include "report/PrintJob.h"
#include "report/ReportRenderer.h"
#include "report/TemplateFiles.h"

#include "support/TestDatabase.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>

using namespace cangshu::report;

namespace {

ReportTemplate parse(const char* json) {
    const LoadedTemplate loaded = parseTemplate(QByteArray(json), QStringLiteral("test.json"));
    EXPECT_TRUE(loaded) << loaded.error.toStdString();
    return loaded.tpl.value_or(ReportTemplate{});
}

QVariantMap row(std::initializer_list<std::pair<QString, QVariant>> values) {
    QVariantMap map;
    for (const auto& [k, v] : values)
        map.insert(k, v);
    return map;
}

QList<QVariantMap> numberedRows(int count) {
    QList<QVariantMap> rows;
    for (int i = 1; i <= count; ++i)
        rows.append(row({{QStringLiteral("编号"), QStringLiteral("N%1").arg(i)}}));
    return rows;
}

// 2 columns x 3 rows of labels, each showing the row's number.
const char* kGrid = R"({
  "page": {"width": 100, "height": 100, "margins": {"left": 5, "top": 5, "right": 5, "bottom": 5}},
  "labels": {"columns": 2, "rows": 3, "width": 40, "height": 25, "hgap": 5, "vgap": 2},
  "items": [{"kind": "text", "x": 1, "y": 1, "width": 38, "height": 8, "text": "[编号]"}]
})";

QByteArray jpeg(QColor colour) {
    QImage image(30, 40, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

} // namespace

TEST(PlaceholderTest, BindsColumnsVariablesAndLeavesUnknownNamesAsTyped) {
    const QVariantMap r = row({{QStringLiteral("书籍名称"), QStringLiteral("红楼梦")},
                               {QStringLiteral("书籍价格"), 25.5},
                               {QStringLiteral("藏书总量"), 3.0},
                               {QStringLiteral("入库时间"), QDate(2026, 3, 7)},
                               {QStringLiteral("种次号"), QVariant(QMetaType::fromType<QString>())},
                               {QStringLiteral("id"), 42}});
    const QHash<QString, QString> vars{{QStringLiteral("图书馆"), QStringLiteral("城东馆")}};
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"[书籍名称]", "红楼梦"},
        {"《[书籍名称]》￥[书籍价格]×[藏书总量]", "《红楼梦》￥25.50×3"},
        {"[入库时间]", "2026-03-07"},
        {"种次：[种次号]", "种次："}, // null prints as nothing
        {"[作者信息]", "[作者信息]"}, // no such column: left as typed
        {"[ID]", "42"},               // PostgreSQL hands back "id"
        {"[图书馆]", "城东馆"},
        {"[a[书籍名称]]", "[a红楼梦]"},
        {"无占位符 [", "无占位符 ["},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expandPlaceholders(QString::fromUtf8(c.in), r, vars), QString::fromUtf8(c.out))
            << c.in;
    }
}

TEST(RendererTest, LabelGridPaginatesByLabelsPerPage) {
    const ReportTemplate tpl = parse(kGrid);
    const struct {
        int rows, pages, onLastPage;
    } cases[] = {{0, 0, 0}, {1, 1, 1}, {6, 1, 6}, {7, 2, 1}, {13, 3, 1}, {18, 3, 6}};
    for (const auto& c : cases) {
        ReportData data;
        data.rows = numberedRows(c.rows);
        const ReportRenderer renderer(tpl, data);
        ASSERT_EQ(renderer.pageCount(), c.pages) << c.rows << " rows";
        if (c.pages > 0) {
            EXPECT_EQ(renderer.pageTexts(c.pages - 1).size(), c.onLastPage) << c.rows << " rows";
        }
    }
    ReportData data;
    data.rows = numberedRows(13);
    const ReportRenderer renderer(tpl, data);
    EXPECT_EQ(renderer.pageTexts(1).first(), QStringLiteral("N7"));
    EXPECT_EQ(renderer.pageTexts(2), QStringList{QStringLiteral("N13")});
}

TEST(RendererTest, LabelsArePlacedRowByRowWithGaps) {
    ReportTemplate tpl = parse(R"({
      "page": {"width": 100, "height": 100, "margins": {"left": 5, "top": 5, "right": 5, "bottom": 5}},
      "labels": {"columns": 2, "rows": 3, "width": 40, "height": 25, "hgap": 5, "vgap": 2},
      "items": [{"kind": "box", "x": 0, "y": 0, "width": 40, "height": 25, "lineWidth": 0, "fill": "#000000"}]
    })");
    ReportData data;
    data.rows = numberedRows(3);
    const QImage page = ReportRenderer(tpl, data).pageImage(0, 25.4); // 1 px per mm
    const auto black = [&](int x, int y) { return page.pixelColor(x, y) == Qt::black; };
    EXPECT_TRUE(black(6, 6));    // first label
    EXPECT_FALSE(black(47, 6));  // horizontal gap
    EXPECT_TRUE(black(51, 6));   // second label, same row
    EXPECT_FALSE(black(20, 31)); // vertical gap
    EXPECT_TRUE(black(20, 33));  // third label starts the second row
    EXPECT_FALSE(black(60, 40)); // fourth place stays empty
}

TEST(RendererTest, ListPutsHeaderOnEveryPageAndFooterAfterTheLastRow) {
    // Content height 80: header 20, details of 10 -> 6 rows a page.
    const ReportTemplate tpl = parse(R"({
      "page": {"width": 100, "height": 100, "margins": {"left": 10, "top": 10, "right": 10, "bottom": 10}},
      "list": {
        "header": {"height": 20, "items": [{"kind": "text", "x": 0, "y": 0, "width": 80, "height": 10, "text": "第[#page]/[#pages]页"}]},
        "detail": {"height": 10, "items": [{"kind": "text", "x": 0, "y": 0, "width": 80, "height": 10, "text": "[编号]"}]},
        "footer": {"height": 15, "items": [{"kind": "text", "x": 0, "y": 0, "width": 80, "height": 10, "text": "合计"}]}
      }
    })");
    const struct {
        int rows, pages;
        QStringList lastPage;
    } cases[] = {
        {0, 1, {"第1/1页", "合计"}},
        {4, 1, {"第1/1页", "N1", "N2", "N3", "N4", "合计"}},
        {5, 2, {"第2/2页", "合计"}}, // 5 rows leave 10 mm, the footer needs 15
        {7, 2, {"第2/2页", "N7", "合计"}},
    };
    for (const auto& c : cases) {
        ReportData data;
        data.rows = numberedRows(c.rows);
        const ReportRenderer renderer(tpl, data);
        ASSERT_EQ(renderer.pageCount(), c.pages) << c.rows << " rows";
        EXPECT_EQ(renderer.pageTexts(c.pages - 1), c.lastPage) << c.rows << " rows";
    }
}

TEST(RendererTest, NamedTextsAndPicturesComeFromTheCaller) {
    ReportTemplate tpl = parse(R"({
      "page": {"width": 60, "height": 40, "margins": {"left": 0, "top": 0, "right": 0, "bottom": 0}},
      "labels": {"columns": 1, "rows": 1, "width": 60, "height": 40},
      "items": [{"kind": "text", "name": "Memo16", "x": 0, "y": 0, "width": 60, "height": 10, "text": "日期"},
                {"kind": "picture", "name": "Chart1", "x": 0, "y": 10, "width": 60, "height": 30, "keepAspect": false}]
    })");
    ReportData data;
    data.rows = numberedRows(1);
    data.texts.insert(QStringLiteral("Memo16"), QStringLiteral("2026-12-11"));
    QImage chart(10, 10, QImage::Format_RGB32);
    chart.fill(Qt::blue);
    data.pictures.insert(QStringLiteral("Chart1"), chart);
    const ReportRenderer renderer(tpl, data);
    EXPECT_EQ(renderer.pageTexts(0), QStringList{QStringLiteral("2026-12-11")});
    EXPECT_EQ(renderer.pageImage(0, 25.4).pixelColor(30, 25), QColor(Qt::blue));
}

TEST(RendererTest, ReaderPhotoFillsPicture1AndAReaderWithoutPhotoLeavesItEmpty) {
    const ReportTemplate tpl = parse(R"({
      "page": {"width": 100, "height": 50, "margins": {"left": 0, "top": 0, "right": 0, "bottom": 0}},
      "labels": {"columns": 2, "rows": 1, "width": 50, "height": 50},
      "items": [{"kind": "picture", "name": "Picture1", "x": 5, "y": 5, "width": 30, "height": 40, "keepAspect": false}]
    })");
    QList<QVariantMap> rows{
        row({{QStringLiteral("读者编号"), QStringLiteral("R1")},
             {QStringLiteral("Image"), jpeg(Qt::red)}}),
        row({{QStringLiteral("读者编号"), QStringLiteral("R2")},
             {QStringLiteral("image"), QVariant(QMetaType::fromType<QByteArray>())}})};
    ReportData data = dataForTemplate(QStringLiteral("READER.frf"), rows);
    // A picture left behind by the caller must not show on the reader without a photo.
    QImage stale(5, 5, QImage::Format_RGB32);
    stale.fill(Qt::green);
    data.pictures.insert(QStringLiteral("Picture1"), stale);
    const QImage page = ReportRenderer(tpl, data).pageImage(0, 25.4);
    const QColor withPhoto = page.pixelColor(20, 25);
    EXPECT_GT(withPhoto.red(), 200);
    EXPECT_LT(withPhoto.green(), 60);
    EXPECT_EQ(page.pixelColor(70, 25), QColor(Qt::white));

    // Other templates get no photo hook: the caller's picture shows.
    ReportData plain = dataForTemplate(QStringLiteral("bookCode"), rows);
    plain.pictures.insert(QStringLiteral("Picture1"), stale);
    EXPECT_EQ(ReportRenderer(tpl, plain).pageImage(0, 25.4).pixelColor(70, 25), QColor(Qt::green));
}

TEST(TemplateFileTest, BrokenTemplatesGiveAClearMessageAndPrintNothing) {
    const struct {
        const char* json;
        const char* expected; // part of the message
    } cases[] = {
        {R"({"labels": {"columns": 1)", "不是有效的 JSON"},
        {R"([1, 2])", "应为 JSON 对象"},
        {R"({"labels": {"width": 10, "height": 10}, "items": [{"kind": "text", "width": 5, "height": 5},
            {"kind": "chart", "name": "Chart9", "width": 5, "height": 5}]})",
         "第 2 个项目（Chart9）的类型“chart”无法识别"},
        {R"({"labels": {"width": 10, "height": 10}, "items": [{"kind": "barcode", "symbology": "qr", "width": 5, "height": 5}]})",
         "条码类型“qr”无法识别"},
        {R"({"labels": {"columns": 3, "width": 80, "height": 10}, "items": []})",
         "超出了页面的可打印区域"},
        {R"({"page": {"width": 100}})", "既没有 labels"},
    };
    const QString folder = cangshu::test::temporaryFolder();
    for (const auto& c : cases) {
        const QString path = QDir(folder).filePath(QStringLiteral("Broken.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.json);
        file.close();
        const QString pdf = QDir(folder).filePath(QStringLiteral("out.pdf"));
        const PrintOutcome outcome =
            printToPdf(folder, QStringLiteral("broken"), numberedRows(3), pdf);
        EXPECT_FALSE(outcome.ok) << c.json;
        EXPECT_TRUE(outcome.message.contains(QString::fromUtf8(c.expected)))
            << outcome.message.toStdString();
        EXPECT_TRUE(outcome.message.contains(path)) << outcome.message.toStdString();
        EXPECT_FALSE(QFile::exists(pdf)) << c.json;
    }
    const PrintOutcome missing = printToPdf(folder, QStringLiteral("nothere"), numberedRows(1),
                                            QDir(folder).filePath(QStringLiteral("x.pdf")));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.message.startsWith(QStringLiteral("找不到报表模板文件")));
}

TEST(TemplateFileTest, NamesAreFoundWithoutRegardToCaseAndSavedTemplatesReadBack) {
    const QString folder = cangshu::test::temporaryFolder() + QStringLiteral("/names");
    QStringList kept;
    QString error;
    ASSERT_TRUE(installShippedTemplates(folder, &kept, &error)) << error.toStdString();
    EXPECT_TRUE(kept.isEmpty());
    EXPECT_EQ(shippedTemplateNames().size(), 12);
    EXPECT_TRUE(findTemplateFile(folder, QStringLiteral("readercode.frf"))
                    .endsWith(QStringLiteral("/readerCode.json")));
    EXPECT_TRUE(findTemplateFile(folder, QStringLiteral("BOOKCODE"))
                    .endsWith(QStringLiteral("/bookCode.json")));
    EXPECT_TRUE(findTemplateFile(folder, QStringLiteral("reader"))
                    .endsWith(QStringLiteral("/reader.json")));

    LoadedTemplate card = loadTemplate(folder, QStringLiteral("reader"));
    ASSERT_TRUE(card) << card.error.toStdString();
    card.tpl->labelItems[0].rect.moveTo(3.5, 4.25);
    ASSERT_TRUE(saveTemplateFile(*card.tpl, card.path, &error));
    const LoadedTemplate again = loadTemplateFile(card.path);
    ASSERT_TRUE(again);
    EXPECT_EQ(toJson(*again.tpl), toJson(*card.tpl));

    ASSERT_TRUE(installShippedTemplates(folder, &kept, &error));
    EXPECT_EQ(kept.size(), 12); // an operator's designs are never overwritten
    EXPECT_EQ(loadTemplate(folder, QStringLiteral("reader")).tpl->labelItems[0].rect.topLeft(),
              QPointF(3.5, 4.25));
}

TEST(BarcodeTest, EncodesOrReportsTheLibrarysReason) {
    const EncodedBarcode ean = encodeBarcode(Symbology::Ean13, QStringLiteral("978753662133"));
    ASSERT_TRUE(ean.ok()) << ean.error.toStdString();
    EXPECT_EQ(ean.humanText, QStringLiteral("9787536621336")); // check digit added
    EXPECT_EQ(ean.modules.size(), 95);

    const struct {
        Symbology symbology;
        const char* data;
        const char* expected;
    } bad[] = {
        {Symbology::Ean13, "9787536621337", "9787536621337"}, // wrong check digit
        {Symbology::Ean13, "97875366ABC", "97875366ABC"},
        {Symbology::Code39, "A_B", "A_B"},
        {Symbology::Code128, "书籍", "书籍"},
        {Symbology::Code128, "", "条码内容为空"},
    };
    for (const auto& c : bad) {
        const EncodedBarcode code = encodeBarcode(c.symbology, QString::fromUtf8(c.data));
        EXPECT_FALSE(code.ok()) << c.data;
        EXPECT_TRUE(code.error.contains(QString::fromUtf8(c.expected))) << code.error.toStdString();
    }
}

TEST(BarcodeTest, PaintedBarsMatchTheEncodedModules) {
    const EncodedBarcode code = encodeBarcode(Symbology::Code128, QStringLiteral("TS00012345"));
    ASSERT_TRUE(code.ok());
    const int module = 3;
    const int width = (code.modules.size() + 2 * quietZoneModules(Symbology::Code128)) * module;
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintBarcode(painter, QRectF(0, 0, width, 40), code, Symbology::Code128, false, QFont());
    }
    QVector<bool> seen;
    const int left = quietZoneModules(Symbology::Code128) * module;
    for (int m = 0; m < code.modules.size(); ++m)
        seen.append(image.pixelColor(left + m * module + 1, 20) == Qt::black);
    EXPECT_EQ(seen, code.modules);
    EXPECT_EQ(image.pixelColor(left - 1, 20), QColor(Qt::white)); // quiet zone
}

TEST(PrintJobTest, WritesAPdfAndNamesRowsWhoseBarcodeCannotBePrinted) {
    const QString folder = cangshu::test::temporaryFolder();
    const ReportTemplate tpl = parse(R"({
      "page": {"width": 100, "height": 60, "margins": {"left": 5, "top": 5, "right": 5, "bottom": 5}},
      "labels": {"columns": 2, "rows": 1, "width": 45, "height": 50},
      "items": [{"kind": "barcode", "symbology": "ean13", "value": "[标准ISBN]", "x": 2, "y": 2, "width": 41, "height": 20},
                {"kind": "text", "x": 2, "y": 25, "width": 41, "height": 8, "text": "[书籍名称]"}]
    })");
    ReportData data;
    data.rows = {row({{QStringLiteral("标准ISBN"), QStringLiteral("9787536621336")},
                      {QStringLiteral("书籍名称"), QStringLiteral("三体")}}),
                 row({{QStringLiteral("标准ISBN"), QStringLiteral("9787536621337")},
                      {QStringLiteral("书籍名称"), QStringLiteral("错码")}}),
                 row({{QStringLiteral("标准ISBN"), QStringLiteral("9787111075516")},
                      {QStringLiteral("书籍名称"), QStringLiteral("第三本")}})};
    const QString pdf = QDir(folder).filePath(QStringLiteral("labels.pdf"));
    const PrintOutcome outcome = printToPdf(tpl, data, pdf);
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.pages, 2);
    ASSERT_EQ(outcome.problems.size(), 1);
    EXPECT_TRUE(outcome.problems.first().startsWith(QStringLiteral("第 2 行：")))
        << outcome.problems.first().toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 2);

    data.rows.clear();
    const QString empty = QDir(folder).filePath(QStringLiteral("empty.pdf"));
    const PrintOutcome none = printToPdf(tpl, data, empty);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.message, QStringLiteral("没有要打印的数据。"));
    EXPECT_FALSE(QFile::exists(empty));
}
