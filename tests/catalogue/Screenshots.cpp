// Draws the cataloguing windows on the demo library offscreen into PNG files:
//   catalogue_screenshots OUTDIR
#include "support/Screenshots.h"
#include "catalogue/ui/BookEditor.h"
#include "catalogue/ui/BookWindow.h"
#include "catalogue/ui/ClassTreeWindow.h"
#include "catalogue/ui/PublisherWindow.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"
#include "core/Seed.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace cangshu;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook();
    const QString out = test::screenshotFolder(argc, argv);

    QTemporaryDir homeDir;
    const Home home(homeDir.path());
    auto db = Database::openMemory();
    createSchema(*db);
    seedNewDatabase(*db);
    const QDate today(2024, 5, 10);
    db->clock().setToday(today);
    addDemoLibrary(*db, today);
    db->execute(QStringLiteral("update [参数设置] set [分页记录]=20"));

    BookWindow books(*db, home);
    books.setSettings({true, true, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"), {}});
    books.resize(1366, 740);
    test::saveScreenshot(&books, out, QStringLiteral("book-window"));

    BookEditSession session(*db, true, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    session.beginInsert();
    const auto first = db->row(QStringLiteral("select * from [书籍资料] order by [ID]"));
    if (first) {
        session.copyFrom(recordMap(*first));
        session.issueNumber();
    }
    BookEditor editor(*db, home, session, {});
    editor.setWindowTitle(BookEditor::addTitle());
    test::saveScreenshot(&editor, out, QStringLiteral("book-editor"));

    ClassTreeWindow classes(*db, home);
    test::saveScreenshot(&classes, out, QStringLiteral("class-tree"));
    PublisherWindow publishers(*db);
    test::saveScreenshot(&publishers, out, QStringLiteral("publishers"));
    return 0;
}
