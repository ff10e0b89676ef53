#include "report/PrintJob.h"
#include "report/ReportRenderer.h"
#include "report/TemplateFiles.h"

#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

using namespace cangshu;
using namespace cangshu::report;

class PrintFromTableTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
    }
};

TEST_P(PrintFromTableTest, ReaderCardsShowThePhotoStoredInTheDatabase) {
    QImage red(30, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "JPEG");
    const QString insert = QStringLiteral(
        "insert into [读者资料] ([读者编号],[读者姓名],[办证日期],[Image]) values (?,?,?,?)");
    db().execute(insert, {QStringLiteral("R002"), QStringLiteral("李四"), QDate(2026, 1, 5),
                          QVariant(QMetaType::fromType<QByteArray>())});
    db().execute(insert, {QStringLiteral("R001"), QStringLiteral("张三"), QDate(2026, 1, 5), jpeg});

    const QList<QVariantMap> rows = tableRows(db(), QStringLiteral("读者资料"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(columnValue(rows[0], QStringLiteral("读者编号")).toString(), QStringLiteral("R001"));

    const LoadedTemplate card = parseTemplate(shippedTemplate(QStringLiteral("reader")), "reader");
    ASSERT_TRUE(card);
    const ReportRenderer renderer(*card.tpl, dataForTemplate(QStringLiteral("reader"), rows));
    EXPECT_TRUE(renderer.pageTexts(0).contains(QStringLiteral("办证日期：2026-01-05")));
    // The photo box of the first card (left margin 17 + 4, top margin 8 + 12, 21 x 28 mm).
    const QImage page = renderer.pageImage(0, 254); // 10 px per mm
    const QColor photo = page.pixelColor(315, 340);
    EXPECT_GT(photo.red(), 200);
    EXPECT_LT(photo.green(), 60);
    // The second card (R002, no photo) is 85.6 + 4 mm further right: its box stays empty.
    EXPECT_EQ(page.pixelColor(315 + 896, 340), QColor(Qt::white));

    const QString pdf = QDir(test::temporaryFolder()).filePath(QStringLiteral("readers.pdf"));
    QStringList kept;
    QString error;
    const QString folder = test::temporaryFolder() + QStringLiteral("/templates");
    ASSERT_TRUE(installShippedTemplates(folder, &kept, &error));
    const PrintOutcome outcome = printToPdf(folder, QStringLiteral("readercode.frf"), rows, pdf);
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.pages, 1);

    EXPECT_THROW(tableRows(db(), QStringLiteral("书籍资料; drop table [读者资料]")), DatabaseError);
}

CANGSHU_ENGINES(PrintFromTableTest);
