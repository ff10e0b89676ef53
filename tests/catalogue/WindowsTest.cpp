#include "CatalogueFixture.h"
#include "ModalAnswers.h"
#include "catalogue/BookEditSession.h"
#include "catalogue/ui/BookEditor.h"
#include "catalogue/ui/BookWindow.h"
#include "catalogue/ui/ClassTreeWidget.h"
#include "catalogue/ui/ClassTreeWindow.h"
#include "core/DemoLibrary.h"
#include "core/Home.h"
#include "queries/ui/HistoryWindow.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace cangshu::test {
namespace {

class WindowsTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        m_home = Home(temporaryFolder() + QStringLiteral("/win-%1").arg(++s_homes));
        QDir().mkpath(m_home.root());
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
    // Typed as key events carrying text, as an input method delivers Chinese.
    static void type(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focused(), &press);
        }
    }
    static void key(int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(focused(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QApplication::sendEvent(focused(), &release);
    }
    static void enter() { key(Qt::Key_Return); }
    static void save(BookEditor& editor) {
        editor.findChild<QPushButton*>(QStringLiteral("保存信息(&S)"))->click();
    }
    static QString name(QWidget* w) { return w ? w->objectName() : QStringLiteral("<none>"); }
    qint64 counter() {
        return db().scalar(QStringLiteral("select [编号值] from [系统信息]")).toLongLong();
    }
    Home m_home;
    static inline int s_homes = 0;
};

TEST_P(WindowsTest, EditorAddsAndChangesABookFromTheKeyboard) {
    db().execute(
        QStringLiteral("insert into [出版社] ([ISBN],[出版社名称],[出版地]) values (?,?,?)"),
        {QStringLiteral("7-5327"), QStringLiteral("上海译文出版社"), QStringLiteral("上海")});
    addClass(0, QStringLiteral("I247"), QStringLiteral("新体小说"));
    const qint64 start = counter();
    BookEditSession session(db(), true, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    BookEditor editor(db(), m_home, session, {});
    session.beginInsert();
    editor.setWindowTitle(BookEditor::addTitle());
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_TRUE(editor.optionsPanel()->isVisible());
    ASSERT_EQ(focused(), editor.isbnSearchBox());

    enter(); // empty search box: on to the book number
    EXPECT_EQ(name(focused()), QStringLiteral("书籍编号"));
    enter(); // empty number: issued
    const QString issued = session.text(QStringLiteral("书籍编号"));
    EXPECT_FALSE(issued.isEmpty());
    EXPECT_EQ(name(focused()), QStringLiteral("标准ISBN"));
    type(QStringLiteral("9787532712345"));
    enter();
    EXPECT_EQ(name(focused()), QStringLiteral("书籍名称"));
    EXPECT_EQ(static_cast<QLineEdit*>(editor.field(QStringLiteral("出版社名")))->text(),
              QStringLiteral("上海译文出版社"));
    type(QStringLiteral("围城"));
    enter();
    EXPECT_EQ(name(focused()), QStringLiteral("当前本数"));
    enter();
    EXPECT_EQ(name(focused()), QStringLiteral("出版社名"));
    enter(); // it has text: on to the author
    EXPECT_EQ(name(focused()), QStringLiteral("作者信息"));
    type(QStringLiteral("钱钟书"));
    enter();
    enter(); // 出版地点 kept from the publisher
    EXPECT_EQ(name(focused()), QStringLiteral("书籍价格"));
    type(QStringLiteral("19.50"));
    // Down through the form to the class number.
    for (const char16_t* next :
         {u"书籍页码", u"出版日期", u"书籍开本", u"所属语种", u"配送物品", u"书籍版次", u"印刷版面",
          u"所属丛书", u"藏书总量", u"馆内剩余", u"中图分类"}) {
        key(Qt::Key_Down);
        ASSERT_EQ(name(focused()), QString::fromUtf16(next));
    }
    type(QStringLiteral("I247"));
    enter();
    EXPECT_EQ(name(focused()), QStringLiteral("分类名称"));
    EXPECT_EQ(static_cast<QLineEdit*>(editor.field(QStringLiteral("索书号")))->text(),
              QStringLiteral("I247/1"));
    save(editor);
    EXPECT_TRUE(editor.saved());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(counter(), start + 1);

    const auto row = db().row(QStringLiteral("select * from [书籍资料]"));
    ASSERT_TRUE(row);
    const qint64 id = row->value(QStringLiteral("ID")).toLongLong();
    const QList<std::pair<QString, QString>> expected{
        {QStringLiteral("书籍编号"), issued},
        {QStringLiteral("标准ISBN"), QStringLiteral("9787532712345")},
        {QStringLiteral("书籍名称"), QStringLiteral("围城")},
        {QStringLiteral("拼音"), QStringLiteral("WC")},
        {QStringLiteral("出版社名"), QStringLiteral("上海译文出版社")},
        {QStringLiteral("出版地点"), QStringLiteral("上海")},
        {QStringLiteral("作者信息"), QStringLiteral("钱钟书")},
        {QStringLiteral("中图分类"), QStringLiteral("I247")},
        {QStringLiteral("分类名称"), QStringLiteral("新体小说")},
        {QStringLiteral("种次号"), QStringLiteral("1")},
        {QStringLiteral("索书号"), QStringLiteral("I247/1")},
        {QStringLiteral("在馆状态"), QStringLiteral("在馆")}};
    for (const auto& [column, value] : expected)
        EXPECT_EQ(row->value(column).toString(), value) << column.toStdString();
    EXPECT_DOUBLE_EQ(row->value(QStringLiteral("书籍价格")).toDouble(), 19.5);
    EXPECT_EQ(row->value(QStringLiteral("入库时间")).toDate(), today());

    // Change: no options panel, no recall; the title changes and nothing else is added.
    ASSERT_TRUE(session.beginEdit(id));
    editor.setWindowTitle(BookEditor::changeTitle());
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_FALSE(editor.optionsPanel()->isVisible());
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Down);
    ASSERT_EQ(name(focused()), QStringLiteral("书籍名称"));
    static_cast<QLineEdit*>(focused())->selectAll();
    type(QStringLiteral("围城（新版）"));
    enter();
    save(editor);
    EXPECT_TRUE(editor.saved());
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍资料]")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select [书籍名称] from [书籍资料]")).toString(),
              QStringLiteral("围城（新版）"));
    EXPECT_EQ(counter(), start + 1);
}

TEST_P(WindowsTest, EditorOptionsExcludeEachOtherAndSetTheSequenceChoice) {
    BookEditSession session(db(), false, {});
    BookEditor editor(db(), m_home, session, {});
    session.beginInsert();
    editor.show();
    QCheckBox* copies = editor.option(QStringLiteral("书籍为复本："));
    QCheckBox* parts = editor.option(QStringLiteral("书籍为上、下册录入"));
    copies->setChecked(true);
    parts->setChecked(true);
    EXPECT_FALSE(copies->isChecked());
    EXPECT_TRUE(editor.sequenceSame()->isChecked());
    EXPECT_EQ(editor.saveOptions().kind, SaveOptions::Kind::TwoParts);
    parts->setChecked(false);
    EXPECT_TRUE(editor.sequenceRising()->isChecked());
    // Title-per-row mode: the copy counts can be typed.
    EXPECT_FALSE(static_cast<QLineEdit*>(editor.field(QStringLiteral("藏书总量")))->isReadOnly());
    editor.reject();
    EXPECT_EQ(session.state(), BookEditSession::State::Browse);
}

TEST_P(WindowsTest, BookWindowPagesTheDemoLibraryAndFiltersByClass) {
    ASSERT_TRUE(addDemoLibrary(db(), today()));
    db().execute(QStringLiteral("update [参数设置] set [分页记录]=10"));
    const qint64 total = count(QStringLiteral("select count(*) from [书籍资料]"));
    BookWindow window(db(), m_home);
    window.setSettings({true, true, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"), {}});
    window.show();
    // The list window's marking commands and the window's batch repairs share one menu.
    ASSERT_NE(window.button(QStringLiteral("选中操作")), nullptr);
    EXPECT_EQ(window.button(QStringLiteral("选中操作"))->menu()->actions().size(), 5);
    EXPECT_EQ(window.grid()->model()->rowCount(), std::min<qint64>(10, total));
    EXPECT_EQ(window.pageLabel()->text(), QStringLiteral("1/%1").arg((total + 9) / 10));
    EXPECT_EQ(window.counterText(QStringLiteral("总行数：")), QString::number(total));
    EXPECT_TRUE(window.counterText(QStringLiteral("图书总价")).startsWith(QStringLiteral("￥ ")));
    EXPECT_TRUE(QFile::exists(m_home.path(QStringLiteral("excel/tree.txt"))));
    window.nextPage();
    EXPECT_EQ(window.pageLabel()->text(), QStringLiteral("2/%1").arg((total + 9) / 10));

    // A top-level class lists the books of every class below it.
    QTreeWidgetItem* all = window.classTree()->topLevelItem(0);
    ASSERT_EQ(all->text(0), QStringLiteral("全部图书"));
    QTreeWidgetItem* first = all->child(0);
    const QString number = splitNodeText(first->text(0)).number;
    window.classClicked(first);
    EXPECT_EQ(
        window.pager().total(),
        count(QStringLiteral("select count(*) from [书籍资料] where substr([中图分类],1,?)=?"),
              {number.size(), number}));
    window.classClicked(all);
    EXPECT_EQ(window.pager().total(), total);

    // Search for nothing: the grid stays, the message is the system's.
    window.searchBar()->textBox()->setText(QStringLiteral("no such isbn"));
    EXPECT_TRUE(window.search());
    EXPECT_EQ(window.pager().total(), 0);
    EXPECT_EQ(window.pageLabel()->text(), QStringLiteral("0/0"));
}

// The grid pop-up opens the loan or return query on the current book, searched by its
// number; a book on the shelf has no borrower to show.
TEST_P(WindowsTest, BookPopUpOpensTheLoanAndReturnQueriesOnTheCurrentBook) {
    db().execute(QStringLiteral("insert into [读者资料] ([读者编号],[读者姓名],[读者类型]) "
                                "values ('R001','张三','学生')"));
    const auto book = [&](const char* number, const char* status, int total, int shelf) {
        return addBook({{QStringLiteral("书籍编号"), QString::fromUtf8(number)},
                        {QStringLiteral("书籍名称"), QStringLiteral("书")},
                        {QStringLiteral("在馆状态"), QString::fromUtf8(status)},
                        {QStringLiteral("藏书总量"), total},
                        {QStringLiteral("馆内剩余"), shelf}});
    };
    const auto lend = [&](qint64 id) {
        db().execute(QStringLiteral("insert into [书籍借阅清单] ([读者索引],[书籍索引],[借阅日期],"
                                    "[应还日期]) values ('R001',?,?,?)"),
                     {id, today(), today().addDays(30)});
    };
    book("B1", "在馆", 1, 1);
    lend(book("B2", "借出", 1, 1));
    // Several copies to a row: the status stays "在馆" while one of them is out.
    lend(book("B3", "在馆", 2, 1));
    db().execute(QStringLiteral("insert into [书籍归还清单] ([读者索引],[书籍索引],[借阅日期],"
                                "[归还日期]) select 'R001',[ID],?,? from [书籍资料]"),
                 {today().addDays(-40), today().addDays(-10)});

    BookWindow window(db(), m_home);
    const auto action = [&](const char* caption) -> QAction* {
        for (QAction* a : window.gridPopup()->actions())
            if (a->text() == QString::fromUtf8(caption))
                return a;
        return nullptr;
    };
    ASSERT_TRUE(action("查看图片") && action("查询借阅者") && action("查询历史借阅记录"));
    // The book statistics do not exist yet: the item is there, disabled, and says so.
    ASSERT_TRUE(action("统计汇总"));
    EXPECT_FALSE(action("统计汇总")->isEnabled());
    EXPECT_FALSE(action("统计汇总")->toolTip().isEmpty());

    struct Case {
        bool oneToOne;
        const char* number;
        const char* command;
        const char* opens; // the query window's title; null: the shelf message
    };
    const Case cases[] = {
        {true, "B1", "查询借阅者", nullptr},  {true, "B2", "查询借阅者", "书籍借阅查询"},
        {true, "B3", "查询借阅者", nullptr},  {false, "B3", "查询借阅者", "书籍借阅查询"},
        {false, "B1", "查询借阅者", nullptr}, {true, "B1", "查询历史借阅记录", "书籍归还查询"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + " " + c.command);
        window.setSettings(
            {true, c.oneToOne, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"), {}});
        window.show();
        GridModel* m = window.grid()->model();
        int row = 0;
        while (row < m->rowCount() &&
               m->fieldValue(row, QStringLiteral("书籍编号")).toString() != c.number)
            ++row;
        ASSERT_LT(row, m->rowCount());
        window.grid()->view()->setCurrentIndex(m->index(row, 0));

        test::ModalAnswers answers;
        QString title, searched;
        int rows = -1;
        if (c.opens) {
            answers.then([&](QWidget* w) {
                auto* query = qobject_cast<HistoryWindow*>(w);
                ASSERT_NE(query, nullptr);
                title = query->windowTitle();
                searched = query->itemNumberBox()->text();
                rows = query->grid()->model()->rowCount();
                // The window is kept for the next time: it wants answering again then.
                query->setProperty("answered", false);
                query->reject();
            });
        } else {
            answers.button(QMessageBox::Ok);
        }
        action(c.command)->trigger();
        EXPECT_TRUE(answers.done());
        EXPECT_EQ(answers.unexpected, 0);
        if (c.opens) {
            EXPECT_EQ(title, QString::fromUtf8(c.opens));
            EXPECT_EQ(searched, QString::fromUtf8(c.number));
            EXPECT_EQ(rows, 1);
        } else {
            EXPECT_EQ(answers.texts, QStringList{QStringLiteral("此书正在馆内！")});
            EXPECT_EQ(answers.titles, QStringList{QStringLiteral("提示")});
        }
    }
}

TEST_P(WindowsTest, ClassTreeWindowStoresBeforeShowingAndRenewsTheCache) {
    ClassTreeWindow window(db(), m_home);
    window.show();
    QTreeWidgetItem* top = window.addBeside(QStringLiteral("A"), QStringLiteral("马列"));
    ASSERT_TRUE(top);
    EXPECT_NE(ClassTreeWidget::idOf(top), 0);
    window.tree()->setCurrentItem(top);
    QTreeWidgetItem* child = window.addBelow(QStringLiteral("A1"), QStringLiteral("马克思*恩格斯"));
    ASSERT_TRUE(child);
    EXPECT_EQ(ClassTreeStore(db(), ClassScheme::books()).parentOf(ClassTreeWidget::idOf(child)),
              ClassTreeWidget::idOf(top));
    EXPECT_EQ(window.addBelow(QStringLiteral(" "), QStringLiteral("x")), nullptr);
    window.accept();
    QList<ClassNode> cached;
    ASSERT_TRUE(readTreeCache(m_home.path(QStringLiteral("excel/tree.txt")), &cached));
    ASSERT_EQ(cached.size(), 1);
    EXPECT_EQ(cached[0].children[0].name, QStringLiteral("马克思*恩格斯"));
}

CANGSHU_ENGINES(WindowsTest);

} // namespace
} // namespace cangshu::test
