// Draws the cataloguing windows on the demo library offscreen into PNG files:
//   catalogue_screenshots OUTDIR
#include "catalogue/ui/BookEditor.h"
#include "catalogue/ui/BookWindow.h"
#include "catalogue/ui/ClassTreeWindow.h"
#include "catalogue/ui/PublisherWindow.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"
#include "core/Seed.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTemporaryDir>

using namespace cangshu;

namespace {

void save(QWidget* w, const QString& folder, const QString& name) {
    w->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!w->grab().save(path))
        qWarning("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

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
    save(&books, out, QStringLiteral("book-window"));

    BookEditSession session(*db, true, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    session.beginInsert();
    const auto first = db->row(QStringLiteral("select * from [书籍资料] order by [ID]"));
    if (first) {
        session.copyFrom(recordMap(*first));
        session.issueNumber();
    }
    BookEditor editor(*db, home, session, {});
    editor.setWindowTitle(BookEditor::addTitle());
    save(&editor, out, QStringLiteral("book-editor"));

    ClassTreeWindow classes(*db, home);
    save(&classes, out, QStringLiteral("class-tree"));
    PublisherWindow publishers(*db);
    save(&publishers, out, QStringLiteral("publishers"));
    return 0;
}
