// Draws the reader windows offscreen into PNG files, and prints reader cards of the demo
// library to a PDF, so that anyone can see them:
//   readers_screenshots OUTDIR
#include "support/Screenshots.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "readers/CardDevices.h"
#include "readers/Photos.h"
#include "readers/ui/CameraWindow.h"
#include "readers/ui/ReaderEditor.h"
#include "readers/ui/ReaderStatusWindow.h"
#include "readers/ui/ReaderTypesWindow.h"
#include "readers/ui/ReaderWindow.h"
#include "report/PrintJob.h"
#include "report/TemplateFiles.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

using namespace cangshu;

namespace {

// A drawn face for the demo photos: no real person's picture.
QByteArray demoPhoto(QColor shirt) {
    QImage image(120, 160, QImage::Format_RGB32);
    image.fill(QColor(225, 235, 245));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(shirt);
    p.drawEllipse(QRectF(15, 100, 90, 90));
    p.setBrush(QColor(240, 205, 170));
    p.drawEllipse(QRectF(35, 30, 50, 62));
    p.setBrush(QColor(60, 45, 40));
    p.drawChord(QRectF(33, 24, 54, 40), 0, 180 * 16);
    p.end();
    return jpegBytes(image);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook();
    const QString out = test::screenshotFolder(argc, argv);

    QTemporaryDir home;
    auto db = Database::openMemory();
    const QDate today(2024, 5, 10);
    db->clock().setToday(today);
    createSchema(*db);
    seedNewDatabase(*db);
    addDemoLibrary(*db, today);
    const QColor shirts[] = {QColor(70, 110, 180), QColor(180, 80, 80), QColor(80, 150, 100)};
    const auto readers =
        db->rows(QStringLiteral("select [读者编号] from [读者资料] order by [读者编号] limit 3"));
    for (int i = 0; i < readers.size(); ++i)
        db->execute(QStringLiteral("update [读者资料] set [Image]=? where [读者编号]=?"),
                    {demoPhoto(shirts[i]), readers[i].value(0)});

    CardDevices cards;
    ReadersUiContext context;
    context.db = db.get();
    context.home = Home(home.path());
    context.cardYears = [] { return 3; };
    context.cards = &cards;

    ReaderWindow window(context);
    window.resize(1366, 720);
    window.show();
    if (!readers.isEmpty())
        window.selectNumber(readers[0].value(0).toString());
    test::saveScreenshot(&window, out, QStringLiteral("reader-window"));

    ReaderEditor editor(context);
    if (!readers.isEmpty())
        editor.startEdit(readers[0].value(0).toString());
    test::saveScreenshot(&editor, out, QStringLiteral("reader-editor"));

    ReaderTypesWindow types(*db);
    test::saveScreenshot(&types, out, QStringLiteral("reader-types"));

    ReaderStatusWindow loss(*db, StatusWindowKind::Loss);
    loss.show();
    if (!readers.isEmpty()) {
        loss.numberField()->setText(readers[0].value(0).toString());
        loss.lookUp();
    }
    test::saveScreenshot(&loss, out, QStringLiteral("reader-loss"));

    CameraWindow camera(context.home);
    camera.setCaller({CameraUse::Reader, {}, {}, {}});
    test::saveScreenshot(&camera, out, QStringLiteral("camera"));

    // Reader cards of the first readers, printed to PDF; the caller turns the page into PNG.
    QSqlQuery q = db->run(QStringLiteral("select * from [读者资料] order by [读者编号] limit 6"));
    const report::LoadedTemplate tpl = report::parseTemplate(
        [] {
            QFile f(QStringLiteral(":/cangshu/report/reader.json"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }(),
        QStringLiteral("reader.json"));
    if (!tpl) {
        qWarning("reader template: %s", qPrintable(tpl.error));
        return 1;
    }
    const auto printed = report::printToPdf(
        *tpl.tpl, report::dataForTemplate(QStringLiteral("reader"), report::rowsOf(q)),
        QDir(out).filePath(QStringLiteral("reader-card.pdf")));
    if (!printed.ok) {
        qWarning("reader cards: %s", qPrintable(printed.message));
        return 1;
    }
    return 0;
}
