#include "SampleRows.h"

#include "report/Barcode.h"
#include "report/PrintJob.h"
#include "report/ReportRenderer.h"
#include "report/TemplateFiles.h"

#include "support/TestDatabase.h"

#include <QDir>
#include <QPdfWriter>

using namespace cangshu::report;

namespace {

constexpr double kSmallestModule = 0.25; // mm; below this, ordinary scanners struggle

bool decoration(const ReportItem& item) {
    return item.kind == ItemKind::Line || item.kind == ItemKind::Box;
}

bool inside(const QRectF& label, const QRectF& r) {
    const QRectF n = r.normalized();
    return n.left() >= label.left() - 1e-6 && n.top() >= label.top() - 1e-6 &&
           n.right() <= label.right() + 1e-6 && n.bottom() <= label.bottom() + 1e-6;
}

} // namespace

// Each shipped template, over rows such as the library holds, must print labels whose
// parts stay inside the label, do not overlap, whose texts fit and whose barcodes scan.
TEST(ShippedTemplatesTest, EveryLabelFitsAndEveryBarcodeEncodes) {
    const QStringList names = shippedTemplateNames();
    ASSERT_EQ(names.size(), 12); // the eleven label templates and the rents and fines report
    QPdfWriter device(QDir(cangshu::test::temporaryFolder()).filePath(QStringLiteral("fit.pdf")));
    device.setResolution(600);
    const double pxPerMm = 600 / 25.4;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const LoadedTemplate loaded = parseTemplate(shippedTemplate(name), name);
        ASSERT_TRUE(loaded) << loaded.error.toStdString();
        const ReportTemplate& tpl = *loaded.tpl;
        if (!tpl.isLabels()) {
            EXPECT_EQ(name, QStringLiteral("zujinfakuan"));
            continue;
        }
        const QRectF label(QPointF(), tpl.labels->labelSize);
        const QList<ReportItem>& items = tpl.labelItems;
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_TRUE(inside(label, items[i].rect)) << "item " << i << " leaves the label";
            for (int j = i + 1; j < items.size(); ++j)
                if (!decoration(items[i]) && !decoration(items[j])) {
                    EXPECT_FALSE(items[i].rect.intersects(items[j].rect))
                        << "items " << i << ", " << j;
                }
        }
        const ReportData data = dataForTemplate(name, samples::forTemplate(name));
        for (const QVariantMap& row : data.rows) {
            for (const ReportItem& item : items) {
                const QString text = expandPlaceholders(item.text, row, data.variables);
                EXPECT_FALSE(text.contains(u'['))
                    << "unbound placeholder in " << text.toStdString();
                if (item.kind == ItemKind::Text) {
                    const QRectF rect(QPointF(), item.rect.size() * pxPerMm);
                    bool fits = false;
                    fittingFont(item, rect, text, &device, &fits);
                    EXPECT_TRUE(fits) << "text cut: " << text.toStdString();
                } else if (item.kind == ItemKind::Barcode) {
                    const EncodedBarcode code = encodeBarcode(item.symbology, text);
                    ASSERT_TRUE(code.ok()) << code.error.toStdString();
                    const double module =
                        item.rect.width() /
                        (code.modules.size() + 2 * quietZoneModules(item.symbology));
                    EXPECT_GE(module, kSmallestModule) << text.toStdString();
                }
            }
        }
        const ReportRenderer renderer(tpl, data);
        EXPECT_EQ(renderer.pageCount(), 1);
        // Writes the proofs when asked (CANGSHU_PROOF_DIR), for a person to look at.
        const QString proofs = qEnvironmentVariable("CANGSHU_PROOF_DIR");
        if (!proofs.isEmpty()) {
            const PrintOutcome outcome =
                printToPdf(tpl, data, QDir(proofs).filePath(name + ".pdf"));
            EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
            EXPECT_TRUE(outcome.problems.isEmpty());
        }
    }
}
