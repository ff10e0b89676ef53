#include "SampleRows.h"

#include "report/PrintJob.h"
#include "report/TemplateFiles.h"
#include "report/ui/ReportPreviewWindow.h"

#include "support/TestDatabase.h"

#include <QDir>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QToolButton>

using namespace cangshu::report;

namespace {

ReportTemplate shipped(const QString& name) {
    const LoadedTemplate loaded = parseTemplate(shippedTemplate(name), name);
    EXPECT_TRUE(loaded) << loaded.error.toStdString();
    return *loaded.tpl;
}

// 45 books: a full page of 40 labels and 5 on the second, the last one unique.
QList<QVariantMap> fortyFiveBooks() {
    QList<QVariantMap> rows;
    while (rows.size() < 45)
        rows += samples::books();
    rows.last()[QStringLiteral("书籍名称")] = QStringLiteral("唯一的书");
    return rows;
}

void saveScreenshot(QWidget& window, const QString& file) {
    const QString folder = qEnvironmentVariable("CANGSHU_DOCS_DIR");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(file));
}

} // namespace

TEST(PreviewWindowTest, PagesZoomAndFindWorkFromTheToolBarAndKeys) {
    ReportPreviewWindow window;
    window.setReport(shipped(QStringLiteral("bookCode")),
                     dataForTemplate(QStringLiteral("bookCode"), fortyFiveBooks()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("打印预览"));
    ReportPreviewWidget* w = window.previewWidget();
    ASSERT_EQ(w->pageCount(), 2);
    EXPECT_EQ(w->currentPage(), 1);

    for (const char* caption : {"100%", "页宽", "首页", "上页", "下页", "末页", "打开", "保存",
                                "查找", "设置", "打印", "关闭"}) {
        const QString c = QString::fromUtf8(caption);
        EXPECT_TRUE(w->action(c) || w->zoomCaption() == c) << caption;
    }
    w->action(QStringLiteral("末页"))->trigger();
    EXPECT_EQ(w->currentPage(), 2);
    w->action(QStringLiteral("首页"))->trigger();
    EXPECT_EQ(w->currentPage(), 1);
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(w->currentPage(), 2);
    QTest::keyClick(&window, Qt::Key_PageDown); // stays on the last page
    EXPECT_EQ(w->currentPage(), 2);
    w->action(QStringLiteral("上页"))->trigger();
    EXPECT_EQ(w->currentPage(), 1);

    auto* zoom = w->toolBar()->findChild<QToolButton*>(QStringLiteral("zoom"));
    ASSERT_TRUE(zoom && zoom->menu());
    QStringList choices;
    for (QAction* a : zoom->menu()->actions())
        choices << a->text();
    EXPECT_EQ(choices,
              (QStringList{"200%", "150%", "100%", "75%", "50%", "25%", "10%", "一页", "双页"}));
    zoom->menu()->actions().at(4)->trigger();
    EXPECT_DOUBLE_EQ(w->preview()->zoomFactor(), 0.5);
    EXPECT_EQ(w->zoomCaption(), QStringLiteral("50%"));
    w->action(QStringLiteral("页宽"))->trigger();
    EXPECT_EQ(w->preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);

    EXPECT_TRUE(w->findNext(QStringLiteral("唯一的书")));
    EXPECT_EQ(w->currentPage(), 2);
    EXPECT_TRUE(w->findNext(QStringLiteral("三体"))); // wraps round to the first page
    EXPECT_EQ(w->currentPage(), 1);
    EXPECT_FALSE(w->findNext(QStringLiteral("不存在的书")));

    w->applyZoom(QStringLiteral("100%"));
    w->goToPage(1);
    saveScreenshot(window, QStringLiteral("window-preview.png"));
    w->action(QStringLiteral("关闭"))->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST(PreviewWindowTest, SavedReportsOpenAgainAsTheyWere) {
    const QString folder = cangshu::test::temporaryFolder();
    ReportPreviewWindow window;
    const ReportTemplate card = shipped(QStringLiteral("reader"));
    window.setReport(card, dataForTemplate(QStringLiteral("reader"), samples::readers()));
    ReportPreviewWidget* w = window.previewWidget();
    const QImage before = w->renderer()->pageImage(0, 100);

    QString error;
    const QString prepared = QDir(folder).filePath(QStringLiteral("cards.crp"));
    ASSERT_TRUE(w->saveTo(prepared, &error)) << error.toStdString();
    const QString pdf = QDir(folder).filePath(QStringLiteral("cards.pdf"));
    ASSERT_TRUE(w->saveTo(pdf, &error)) << error.toStdString();
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.readAll().startsWith("%PDF"));
    const QString text = QDir(folder).filePath(QStringLiteral("cards.txt"));
    ASSERT_TRUE(w->saveTo(text, &error));
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(textFile.readAll()).contains(QStringLiteral("姓名：欧阳文静")));

    ReportPreviewWindow reopened;
    ASSERT_TRUE(reopened.previewWidget()->openPrepared(prepared, &error)) << error.toStdString();
    EXPECT_EQ(reopened.previewWidget()->pageCount(), 1);
    // The photo, the reader without one and every text come back unchanged.
    EXPECT_EQ(reopened.previewWidget()->renderer()->pageImage(0, 100), before);

    EXPECT_FALSE(reopened.previewWidget()->openPrepared(text, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("不是保存的报表"))) << error.toStdString();
}
