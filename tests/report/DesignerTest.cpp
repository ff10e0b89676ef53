#include "SampleRows.h"

#include "report/TemplateFiles.h"
#include "report/ui/PropertyPanel.h"
#include "report/ui/ReportDesigner.h"

#include "support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace cangshu::report;

namespace {

QString copyOfShipped(const QString& name) {
    const QString folder = cangshu::test::temporaryFolder() + QStringLiteral("/design");
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".json"));
    QFile::remove(path);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(shippedTemplate(name));
    return path;
}

DesignerItem* itemAt(ReportDesigner& designer, int index) {
    for (DesignerItem* d : designer.designerItems())
        if (d->index() == index)
            return d;
    return nullptr;
}

// Typed characters as a keyboard or input method delivers them (QTest knows only ASCII keys).
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

const int kPicture = 2; // Picture1 on the reader card

} // namespace

TEST(DesignerTest, DraggingAnItemMovesItOnTheGridAndSavingWritesTheFile) {
    const QString path = copyOfShipped(QStringLiteral("reader"));
    ReportDesigner designer;
    QString error;
    ASSERT_TRUE(designer.openTemplate(path, &error)) << error.toStdString();
    designer.setRows(samples::readers());
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));

    const QRectF before = designer.currentTemplate().labelItems[kPicture].rect;
    QGraphicsView* view = designer.canvas();
    DesignerItem* picture = itemAt(designer, kPicture);
    ASSERT_TRUE(picture);
    const QPoint start = view->mapFromScene(picture->sceneBoundingRect().center());
    const QPoint end = start + QPoint(60, 25);
    const QPointF wanted = view->mapToScene(end) - view->mapToScene(start);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(view->viewport(), start + QPoint(30, 12));
    QTest::mouseMove(view->viewport(), end);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, end);

    const QRectF after = designer.currentTemplate().labelItems[kPicture].rect;
    EXPECT_NEAR(after.x() - before.x(), wanted.x(), DesignerItem::kGrid);
    EXPECT_NEAR(after.y() - before.y(), wanted.y(), DesignerItem::kGrid);
    EXPECT_GT(after.x(), before.x() + 2);
    EXPECT_DOUBLE_EQ(std::fmod(after.x() * 2, 1.0), 0.0); // on the half-millimetre grid
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(designer.isModified());
    // The side panel follows the selected item.
    EXPECT_DOUBLE_EQ(designer.properties()->xBox()->value(), after.x());

    // Keys move the selected item too.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(designer.currentTemplate().labelItems[kPicture].rect.y(), after.y() + 0.5);

    // An item cannot be dragged off its label.
    const QPoint far = view->mapFromScene(picture->sceneBoundingRect().center()) + QPoint(5000, 0);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {},
                      view->mapFromScene(picture->sceneBoundingRect().center()));
    QTest::mouseMove(view->viewport(), far);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, far);
    const double labelWidth = designer.currentTemplate().labels->labelSize.width();
    const double right = designer.currentTemplate().labelItems[kPicture].rect.right();
    EXPECT_LE(right, labelWidth);
    EXPECT_GT(right, labelWidth - DesignerItem::kGrid);

    ASSERT_TRUE(designer.save(&error)) << error.toStdString();
    EXPECT_FALSE(designer.isModified());
    const LoadedTemplate saved = loadTemplateFile(path);
    ASSERT_TRUE(saved) << saved.error.toStdString();
    EXPECT_EQ(saved.tpl->labelItems[kPicture].rect,
              designer.currentTemplate().labelItems[kPicture].rect);
    EXPECT_EQ(saved.tpl->labelItems.size(), 10);
}

TEST(DesignerTest, PropertyEditsShowAtOnceAndInvalidTemplatesAreNotSaved) {
    const QString path = copyOfShipped(QStringLiteral("bookCode"));
    ReportDesigner designer;
    QString error;
    ASSERT_TRUE(designer.openTemplate(path, &error));
    designer.setRows(samples::books());
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));

    designer.select(Section::Label, 0);
    PropertyPanel* panel = designer.properties();
    panel->yBox()->setValue(2.5);
    EXPECT_DOUBLE_EQ(designer.currentTemplate().labelItems[0].rect.y(), 2.5);
    EXPECT_DOUBLE_EQ(itemAt(designer, 0)->pos().y(), 2.5);
    panel->textEdit()->setFocus();
    panel->textEdit()->selectAll();
    typeText(panel->textEdit(), QStringLiteral("[书籍名称]（[当前本数]）"));
    EXPECT_EQ(designer.currentTemplate().labelItems[0].text,
              QStringLiteral("[书籍名称]（[当前本数]）"));

    designer.addItem(ItemKind::Box);
    EXPECT_EQ(designer.designerItems().size(), 4);
    const QString folder = qEnvironmentVariable("CANGSHU_DOCS_DIR");
    if (!folder.isEmpty())
        designer.grab().save(QDir(folder).filePath(QStringLiteral("window-designer.png")));
    designer.removeSelected();
    EXPECT_EQ(designer.designerItems().size(), 3);

    // Sixteen labels a row no longer fit the page: refused, the file stays as it was.
    const QByteArray onDisk = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ReportTemplate tooWide = designer.currentTemplate();
    tooWide.labels->columns = 16;
    designer.setTemplate(tooWide, path);
    EXPECT_FALSE(designer.save(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("超出了页面的可打印区域"))) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), onDisk);
}

TEST(DesignerTest, ListItemsStayInTheirBand) {
    const LoadedTemplate list = parseTemplate(R"({
      "page": {"width": 210, "height": 297},
      "list": {
        "header": {"height": 20, "items": [{"kind": "text", "x": 0, "y": 2, "width": 100, "height": 8, "text": "书籍借阅排行榜"}]},
        "detail": {"height": 8, "items": [{"kind": "text", "x": 0, "y": 1, "width": 60, "height": 6, "text": "[书籍名称]"}]},
        "footer": {"height": 10, "items": []}
      }
    })",
                                              QStringLiteral("list.json"));
    ASSERT_TRUE(list) << list.error.toStdString();
    ReportDesigner designer;
    designer.setTemplate(*list.tpl, QDir(cangshu::test::temporaryFolder()).filePath("list.json"));
    designer.setRows(samples::books());
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    ASSERT_EQ(designer.designerItems().size(), 2);

    DesignerItem* detail = nullptr;
    for (DesignerItem* d : designer.designerItems())
        if (d->section() == Section::Detail)
            detail = d;
    ASSERT_TRUE(detail);
    QGraphicsView* view = designer.canvas();
    const QPoint start = view->mapFromScene(detail->sceneBoundingRect().center());
    const QPoint end = start + QPoint(0, 400);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(view->viewport(), end);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, end);
    const QRectF moved = designer.currentTemplate().list.detail.items[0].rect;
    EXPECT_GT(moved.y(), 1);        // it did move down ...
    EXPECT_LE(moved.bottom(), 8.0); // ... but not out of the detail band
    EXPECT_EQ(designer.currentTemplate().list.header.items[0].rect.y(), 2);
}
