#include "ShellTables.h"
#include "shell/ui/ClearHistoryWindow.h"
#include "shell/ui/ExitDialog.h"
#include "shell/ui/LoginWindow.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/NumberSettingsWindow.h"
#include "shell/ui/OperatorsWindow.h"
#include "shell/ui/ShellController.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

using namespace cangshu;

namespace {

// Answers the message boxes a window opens and records what they said.
class Boxes : public QObject {
public:
    Boxes() {
        connect(&m_timer, &QTimer::timeout, this, &Boxes::poll);
        m_timer.start(5);
    }
    QStringList texts, titles;
    QList<QMessageBox::StandardButton> answers; // for Yes/No questions; Yes when empty

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts << box->text();
        titles << box->windowTitle();
        if (box->button(QMessageBox::Yes))
            box->button(answers.isEmpty() ? QMessageBox::Yes : answers.takeFirst())->click();
        else
            box->button(QMessageBox::Ok)->click();
    }
    QTimer m_timer;
};

// A run of the shell on an in-memory library with a home folder of its own.
class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        startup.home = Home(test::temporaryFolder());
        QDir(startup.home.root()).mkpath(QStringLiteral("database"));
        startup.library = Database::openMemory();
        startup.library->clock().setToday(QDate(2026, 5, 1));
        test::createShellTables(*startup.library);
        test::addOperator(*startup.library, QStringLiteral("li"), QStringLiteral("li'pw"), false);
        // Stand-ins for the windows of F1 to F12, so that the keys have something to open.
        for (int k = 1; k <= 12; ++k) {
            const Command* c = CommandTable::instance().forFunctionKey(k);
            factories.add(c->windowKey, {[this](ShellContext&, QWidget* parent) -> QWidget* {
                                             ++created;
                                             return new QWidget(parent, Qt::Window);
                                         },
                                         {}});
        }
        restart();
    }
    void restart() {
        shell.reset();
        shell = std::make_unique<ShellController>(startup, factories);
        shell->quit = [this](int) { ++quits; };
        shell->main()->askExit = [this] { return answer; };
        shell->start();
    }
    void TearDown() override { shell.reset(); }

    void logIn(const QString& user, const QString& password) {
        LoginWindow* login = shell->login();
        login->userBox()->setCurrentText(user);
        login->passwordBox()->setText(password);
        QTest::keyClick(login, Qt::Key_Return);
    }
    void pressFunctionKeys() {
        // The keys belong to the main window: each opened window takes the focus with it.
        for (int k = 0; k < 12; ++k) {
            QApplication::setActiveWindow(shell->main());
            QTest::keyClick(shell->main(), Qt::Key(Qt::Key_F1 + k));
            if (QWidget* modal = QApplication::activeModalWidget()) // the operator closes it
                modal->close();
        }
    }
    QString layoutFile(const QString& name) {
        return startup.home.path(QStringLiteral("database/") + name);
    }
    void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    StartupState startup;
    WindowFactories factories;
    std::unique_ptr<ShellController> shell;
    ExitAnswer answer = ExitAnswer::Exit;
    int created = 0;
    int quits = 0;
};

} // namespace

TEST_F(ShellRun, AdminLogsInWithEnterAndThePrefilledPassword) {
    LoginWindow* login = shell->login();
    ASSERT_TRUE(login->isVisible());
    EXPECT_EQ(login->windowTitle(), QStringLiteral("登录"));
    EXPECT_EQ(login->userBox()->currentText(), QStringLiteral("admin"));
    EXPECT_EQ(login->passwordBox()->text(), QStringLiteral("61730"));
    QTest::keyClick(login, Qt::Key_Return);

    MainWindow* main = shell->main();
    EXPECT_FALSE(login->isVisible());
    ASSERT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("藏书示范图书馆"));
    EXPECT_EQ(main->operatorLabel()->text(), QStringLiteral("操作员：  admin"));
    EXPECT_EQ(main->connectionLabel()->text(), QStringLiteral("连接服务器失败！"));
    EXPECT_EQ(shell->context().session.oneToOne, 1);
}

TEST_F(ShellRun, LoginRefusalsShowTheirMessagesAndKeepTheWindow) {
    Boxes boxes;
    LoginWindow* login = shell->login();
    logIn(QStringLiteral("li"), QStringLiteral("61730"));
    ASSERT_EQ(boxes.texts, QStringList{QStringLiteral("密码输入错误！")});
    EXPECT_EQ(boxes.titles, QStringList{QStringLiteral("警告")});
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->focusWidget(), login->passwordBox());
    EXPECT_EQ(login->passwordBox()->selectedText(), QStringLiteral("61730"));

    startup.library->execute(QStringLiteral("delete from [管理员]"));
    login->reload();
    EXPECT_EQ(login->userBox()->count(), 0);
    QTest::keyClick(login, Qt::Key_Return);
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("请选择用户名！"));
    EXPECT_EQ(boxes.titles.last(), QStringLiteral("提示"));
    EXPECT_FALSE(shell->main()->isVisible());
}

TEST_F(ShellRun, WithoutBasicOperationsTheFunctionKeysOpenNothing) {
    logIn(QStringLiteral("li"), QStringLiteral("li'pw"));
    MainWindow* main = shell->main();
    ASSERT_TRUE(main->isVisible());
    pressFunctionKeys();
    EXPECT_EQ(created, 0);
    for (const QString& group :
         {QStringLiteral("系统设置"), QStringLiteral("系统管理"), QStringLiteral("基本操作"),
          QStringLiteral("系统查询"), QStringLiteral("排行统计"), QStringLiteral("条码打印"),
          QStringLiteral("书籍资料分类统计")})
        EXPECT_FALSE(main->menu(group)->isEnabled()) << group.toStdString();
    for (const QString& open :
         {QStringLiteral("今日信息"), QStringLiteral("系统维护"), QStringLiteral("选择皮肤")})
        EXPECT_TRUE(main->menu(open)->isEnabled());
    EXPECT_FALSE(main->menuAction(QStringLiteral("今日入库书籍"))->isEnabled()); // needs 系统查询
}

TEST_F(ShellRun, SwitchingOperatorReappliesTheRights) {
    logIn(QStringLiteral("li"), QStringLiteral("li'pw"));
    MainWindow* main = shell->main();
    answer = ExitAnswer::SwitchOperator;
    main->close();
    EXPECT_FALSE(main->isVisible());
    ASSERT_TRUE(shell->login()->isVisible());
    EXPECT_EQ(quits, 0);

    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    ASSERT_TRUE(main->isVisible());
    EXPECT_TRUE(main->menu(QStringLiteral("基本操作"))->isEnabled());
    EXPECT_EQ(main->operatorLabel()->text(), QStringLiteral("操作员：  admin"));
    pressFunctionKeys();
    EXPECT_EQ(created, 12);

    // F1 again brings back the same window, on the picture's corner; no second window.
    QWidget* lending = main->openedWindow(CommandTable::instance().forFunctionKey(1)->windowKey);
    ASSERT_NE(lending, nullptr);
    lending->move(500, 400);
    QApplication::setActiveWindow(main);
    QTest::keyClick(main, Qt::Key_F1);
    EXPECT_EQ(created, 12);
    EXPECT_EQ(lending->pos(), main->background()->mapToGlobal(QPoint(0, 0)));

    // And back to the operator without rights: the keys are closed again.
    main->close();
    logIn(QStringLiteral("li"), QStringLiteral("li'pw"));
    EXPECT_FALSE(main->menu(QStringLiteral("基本操作"))->isEnabled());
    EXPECT_FALSE(main->runCommand(QStringLiteral("书籍借阅")));
}

TEST_F(ShellRun, ExitAnswers) {
    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    MainWindow* main = shell->main();
    touch(layoutFile(QStringLiteral("bookls.txt")));

    answer = ExitAnswer::Cancel;
    EXPECT_TRUE(main->runCommand(QStringLiteral("退出本系统")));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(quits, 0);

    {
        Boxes boxes;
        EXPECT_TRUE(main->runCommand(QStringLiteral("备份数据库")));
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("备份成功！")))
            << boxes.texts[0].toStdString();
    }

    answer = ExitAnswer::BackupAndExit;
    main->close();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFile::exists(startup.home.path(QStringLiteral("backup/2026-05-01.sqlite"))));
    // A normal end moves the working layout back.
    EXPECT_TRUE(QFile::exists(layoutFile(QStringLiteral("book.txt"))));
    EXPECT_FALSE(QFile::exists(layoutFile(QStringLiteral("bookls.txt"))));
}

TEST_F(ShellRun, FailedBackupOnExitIsReportedAndTheWindowStays) {
    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    touch(startup.home.path(QStringLiteral("backup"))); // a file where the folder should be
    Boxes boxes;
    answer = ExitAnswer::BackupAndExit;
    shell->main()->close();
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("备份失败：")))
        << boxes.texts[0].toStdString();
    EXPECT_TRUE(shell->main()->isVisible());
    EXPECT_EQ(quits, 0);
}

TEST_F(ShellRun, CancelAtTheLoginEndsAtOnceWithoutMovingLayouts) {
    touch(layoutFile(QStringLiteral("readerls.txt")));
    QTest::keyClick(shell->login(), Qt::Key_Escape);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFile::exists(layoutFile(QStringLiteral("readerls.txt"))));
    EXPECT_FALSE(QFile::exists(layoutFile(QStringLiteral("reader.txt"))));
}

TEST_F(ShellRun, OverdueListOpensAtEveryLoginWhenAsked) {
    int overdueLists = 0;
    factories.add(QStringLiteral("BookOverdue"), {[&](ShellContext&, QWidget* parent) -> QWidget* {
                                                      ++overdueLists;
                                                      return new QWidget(parent, Qt::Window);
                                                  },
                                                  {}});
    startup.library->execute(QStringLiteral("update [参数设置] set [显示超期]='是'"));
    restart();
    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    QApplication::processEvents();
    ASSERT_EQ(overdueLists, 1);
    QWidget* list = shell->main()->openedWindow(QStringLiteral("BookOverdue"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("书籍未还超期查询"));
}

TEST_F(ShellRun, SkinsAndThePlainShell) {
    // tc=1 (the default): no skin, no 帮助, 选择皮肤 or status line.
    startup.config.skin = QStringLiteral("mdd_winter.ssk");
    restart();
    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    MainWindow* main = shell->main();
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_FALSE(main->menu(QStringLiteral("帮助"))->menuAction()->isVisible());
    EXPECT_FALSE(main->menu(QStringLiteral("选择皮肤"))->menuAction()->isVisible());
    EXPECT_FALSE(main->operatorLabel()->isVisible());

    startup.config.tc = 0;
    restart();
    main = shell->main();
    EXPECT_FALSE(qApp->styleSheet().isEmpty()); // the configured skin, already at the login
    logIn(QStringLiteral("admin"), QStringLiteral("61730"));
    ASSERT_TRUE(main->isVisible());
    EXPECT_TRUE(main->menu(QStringLiteral("选择皮肤"))->menuAction()->isVisible());
    EXPECT_TRUE(main->menuAction(QStringLiteral("冬"))->isChecked());

    const QString ini = startup.home.iniFile();
    ASSERT_TRUE(main->runCommand(QStringLiteral("橘红色")));
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("#d9572b")));
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("skin/s")).toString(),
              QStringLiteral("SportsOrange.ssk"));
    ASSERT_TRUE(main->runCommand(QStringLiteral("不用皮肤")));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("skin/s")).toString(),
              QStringLiteral("无"));
}

TEST(ExitDialogTest, ButtonsEscAndTitleBar) {
    ExitDialog d;
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("退出选项"));
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.answer(), ExitAnswer::Cancel);
    d.show(); // showing presets "直接退出"; the title bar keeps it
    d.close();
    EXPECT_EQ(d.answer(), ExitAnswer::Exit);
    for (ExitAnswer a : {ExitAnswer::BackupAndExit, ExitAnswer::SwitchOperator}) {
        d.show();
        d.button(a)->click();
        EXPECT_EQ(d.answer(), a);
        EXPECT_FALSE(d.isVisible());
    }
}

class NumberWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = Database::openMemory();
        test::createShellTables(*db);
        window = std::make_unique<NumberSettingsWindow>(*db);
        window->show();
    }
    void fill(NumberKind kind, const char* width, const char* prefix, const char* suffix,
              const char* counter) {
        window->box(kind, NumberField::Width)->setText(QString::fromUtf8(width));
        window->box(kind, NumberField::Prefix)->setText(QString::fromUtf8(prefix));
        window->box(kind, NumberField::Suffix)->setText(QString::fromUtf8(suffix));
        window->box(kind, NumberField::Counter)->setText(QString::fromUtf8(counter));
    }
    std::unique_ptr<Database> db;
    std::unique_ptr<NumberSettingsWindow> window;
};

TEST_F(NumberWindowTest, ValidationStopsAtTheFirstFailingBox) {
    struct Case {
        const char* book[4];
        const char* periodical[4];
        const char* reader[4];
        const char* message;
        NumberKind kind;
        NumberField field;
    } cases[] = {
        {{" ", "", "", ""},
         {"", "", "", ""},
         {"", "", "", ""},
         "输入书籍编号宽度！",
         NumberKind::Book,
         NumberField::Width},
        {{"2", "A", "Z", ""},
         {"", "", "", ""},
         {"", "", "", ""},
         "输入书籍编号数值！",
         NumberKind::Book,
         NumberField::Counter},
        {{"2", "A", "Z", "1"},
         {"", "", "", ""},
         {"", "", "", ""},
         "书籍编号宽度太小！",
         NumberKind::Book,
         NumberField::Width},
        {{"3", "A", "Z", "1"},
         {"", "", "", "5"},
         {"", "", "", ""},
         "输入期刊编号宽度！",
         NumberKind::Periodical,
         NumberField::Width},
        {{"3", "A", "Z", "1"},
         {"6", "QK", "", "5"},
         {"6", "", "", ""},
         "输入读者编号数值！",
         NumberKind::Reader,
         NumberField::Counter},
        {{"3", "A", "Z", "1"},
         {"6", "QK", "", "5"},
         {"1", "R", "", "7"},
         "读者编号宽度太小！",
         NumberKind::Reader,
         NumberField::Width},
    };
    for (const Case& c : cases) {
        Boxes boxes;
        fill(NumberKind::Book, c.book[0], c.book[1], c.book[2], c.book[3]);
        fill(NumberKind::Periodical, c.periodical[0], c.periodical[1], c.periodical[2],
             c.periodical[3]);
        fill(NumberKind::Reader, c.reader[0], c.reader[1], c.reader[2], c.reader[3]);
        window->save();
        ASSERT_EQ(boxes.texts.size(), 1) << c.message;
        EXPECT_EQ(boxes.texts[0], QString::fromUtf8(c.message));
        EXPECT_EQ(window->focusWidget(), window->box(c.kind, c.field)) << c.message;
    }
    EXPECT_EQ(loadNumberSettings(*db).width[0], QStringLiteral("6")); // nothing was stored
}

TEST_F(NumberWindowTest, KeyFiltersAndSaving) {
    QLineEdit* width = window->box(NumberKind::Book, NumberField::Width);
    QLineEdit* prefix = window->box(NumberKind::Book, NumberField::Prefix);
    width->clear();
    prefix->clear();
    QTest::keyClicks(width, QStringLiteral("1a-8"));
    QTest::keyClicks(prefix, QStringLiteral("B1k -"));
    prefix->insert(QStringLiteral("中")); // pasted text passes the same filter
    EXPECT_EQ(width->text(), QStringLiteral("18"));
    EXPECT_EQ(prefix->text(), QStringLiteral("Bk"));

    Boxes boxes;
    fill(NumberKind::Periodical, "8", "QK", "", "3");
    fill(NumberKind::Reader, "7", "", "", "12");
    window->save();
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("保存成功！")});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Numbering(*db).nextNumber(NumberKind::Book), QStringLiteral("Bk0000000000000001"));
    EXPECT_EQ(Numbering(*db).nextNumber(NumberKind::Reader), QStringLiteral("0000012"));
}

TEST(OperatorsWindowTest, StatesSavingAndTheLastOperator) {
    auto db = Database::openMemory();
    test::createShellTables(*db);
    OperatorsWindow w(*db);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("管理员设置"));
    EXPECT_FALSE(w.nameBox()->isEnabled());
    EXPECT_FALSE(w.button(OperatorsWindow::Button::Save)->isEnabled());

    Boxes boxes;
    w.button(OperatorsWindow::Button::Delete)->click(); // the only operator: no question
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_EQ(w.list()->count(), 1);

    w.button(OperatorsWindow::Button::Add)->click();
    EXPECT_TRUE(w.editing());
    EXPECT_FALSE(w.button(OperatorsWindow::Button::Add)->isEnabled());
    EXPECT_EQ(w.focusWidget(), w.nameBox());
    w.button(OperatorsWindow::Button::Save)->click();
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("请输入用户名！"));
    w.nameBox()->setText(QStringLiteral("zhao"));
    w.rightBox(1)->setChecked(true); // 基本操作
    w.button(OperatorsWindow::Button::Save)->click();
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("请输入密码！"));
    EXPECT_EQ(w.focusWidget(), w.passwordBox());
    w.passwordBox()->setText(QStringLiteral("z"));
    w.button(OperatorsWindow::Button::Save)->click();
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("保存成功！"));
    EXPECT_FALSE(w.editing());
    ASSERT_EQ(w.list()->count(), 2);
    const auto rows = listOperators(*db);
    EXPECT_TRUE(rows[1].rights.basicOperations);
    EXPECT_FALSE(rows[1].rights.systemSettings);

    boxes.answers = {QMessageBox::No};
    w.button(OperatorsWindow::Button::Delete)->click();
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("是否确定删除当前管理员？"));
    EXPECT_EQ(w.list()->count(), 2);
    w.button(OperatorsWindow::Button::Delete)->click(); // Yes
    EXPECT_EQ(w.list()->count(), 1);
}

TEST(ClearHistoryWindowTest, AsksPerTableAndAlwaysEndsWithDone) {
    auto db = Database::openMemory();
    test::createShellTables(*db);
    const QDate today(2026, 5, 1);
    db->clock().setToday(today);
    for (const char* table : {"书籍归还清单", "期刊归还清单"})
        for (int offset : {-3, 0})
            db->execute(QStringLiteral("insert into [%1] ([读者索引],[归还日期]) values ('R', ?)")
                            .arg(QString::fromUtf8(table)),
                        {today.addDays(offset)});
    auto count = [&](const char* table) {
        return db->scalar(QStringLiteral("select count(*) from [%1]").arg(QString::fromUtf8(table)))
            .toInt();
    };

    ClearHistoryWindow w(*db);
    w.show();
    EXPECT_EQ(w.fromBox()->date(), today);
    EXPECT_FALSE(w.booksBox()->isChecked());
    w.booksBox()->setChecked(true);
    w.periodicalsBox()->setChecked(true);
    w.fromBox()->setDate(today.addDays(-7));
    Boxes boxes;
    boxes.answers = {QMessageBox::No, QMessageBox::Yes};
    w.start();
    EXPECT_EQ(boxes.texts, (QStringList{QStringLiteral("是否确定清理书籍归还记录？"),
                                        QStringLiteral("是否确定清理期刊归还记录？"),
                                        QStringLiteral("操作完成！")}));
    EXPECT_EQ(count("书籍归还清单"), 2);
    EXPECT_EQ(count("期刊归还清单"), 0);
    EXPECT_FALSE(w.isVisible());

    w.show(); // nothing ticked now: no question, still done
    w.start();
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("操作完成！"));
    EXPECT_EQ(boxes.texts.size(), 4);
}
