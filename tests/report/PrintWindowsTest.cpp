#include "catalogue/ClassTree.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"
#include "report/ReportRenderer.h"
#include "report/TemplateFiles.h"
#include "report/ui/CustomBarcodeWindow.h"
#include "report/ui/LabelPrintWindow.h"
#include "report/ui/ReportPreviewWidget.h"
#include "report/ui/SpineLabelRangeDialog.h"
#include "support/TestDatabase.h"
#include "widgets/ConditionBuilder.h"
#include "widgets/DataGrid.h"
#include "widgets/ModalAnswers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace cangshu;
using namespace cangshu::report;

namespace {

// A home of its own per test: the shipped templates and, when given, the class tree cache.
Home makeHome(const QList<ClassNode>& classes = {}) {
    static int n = 0;
    const Home home(test::temporaryFolder() + QStringLiteral("/print-home-%1").arg(++n));
    QStringList kept;
    QString error;
    EXPECT_TRUE(installShippedTemplates(home.reportFolder(), &kept, &error)) << error.toStdString();
    if (!classes.isEmpty())
        EXPECT_TRUE(writeTreeCache(home.path(QStringLiteral("excel/tree.txt")), classes));
    return home;
}

ClassNode node(const QString& number, const QString& name, QList<ClassNode> children = {}) {
    ClassNode n;
    n.number = number;
    n.name = name;
    n.children = std::move(children);
    return n;
}

QStringList column(const QList<QVariantMap>& rows, const QString& name) {
    QStringList values;
    for (const QVariantMap& row : rows)
        values << columnValue(row, name).toString();
    return values;
}

QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void click(QPushButton* b) {
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

class PrintWindowsTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
    }
    void addBook(const QString& number, const QString& title, const QString& cls) {
        db().execute(QStringLiteral("insert into [书籍资料] ([书籍编号],[书籍名称],[中图分类]) "
                                    "values (?,?,?)"),
                     {number, title, cls});
    }
};

TEST_P(PrintWindowsTest, BookWindowListsAClassWithItsSubclassesAndPreviewsTheChosenTemplate) {
    addBook(QStringLiteral("B003"), QStringLiteral("程序设计"), QStringLiteral("TP312"));
    addBook(QStringLiteral("B001"), QStringLiteral("红楼梦"), QStringLiteral("I247.5"));
    addBook(QStringLiteral("B002"), QStringLiteral("呐喊"), QStringLiteral("I210"));
    addBook(QStringLiteral("B004"), QStringLiteral("文学概论"), QStringLiteral("I0"));
    const Home home = makeHome({node(QStringLiteral("I"), QStringLiteral("文学"),
                                     {node(QStringLiteral("I2"), QStringLiteral("中国文学"))}),
                                node(QStringLiteral("T"), QStringLiteral("工业技术"),
                                     {node(QStringLiteral("TP"), QStringLiteral("自动化技术"))})});

    LabelPrintWindow window(db(), home, LabelPrintSpec::books());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("书籍条码书标打印"));
    for (const char* caption : {"高级查询", "显示全部", "开始打印", "退出操作"})
        EXPECT_NE(window.button(QString::fromUtf8(caption)), nullptr) << caption;

    // On show: every book in number order, as book barcode labels.
    EXPECT_EQ(column(window.rows(), QStringLiteral("书籍编号")),
              QStringList({"B001", "B002", "B003", "B004"}));
    ASSERT_NE(window.preview()->renderer(), nullptr);
    EXPECT_EQ(window.preview()->renderer()->reportTemplate().name, QStringLiteral("bookCode"));
    EXPECT_EQ(window.preview()->pageCount(), 1);
    EXPECT_TRUE(window.preview()->renderer()->pageTexts(0).contains(QStringLiteral("呐喊")));

    struct Case {
        const char* node;
        QStringList numbers;
    };
    const Case cases[] = {{"I2*中国文学", {"B001", "B002"}},
                          {"I*文学", {"B001", "B002", "B004"}},
                          {"TP*自动化技术", {"B003"}}};
    for (const Case& c : cases) {
        QTreeWidgetItem* item = findItem(window.tree(), QString::fromUtf8(c.node));
        ASSERT_NE(item, nullptr) << c.node;
        const QRect rect = window.tree()->visualItemRect(item);
        QTest::mouseClick(window.tree()->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(column(window.rows(), QStringLiteral("书籍编号")), c.numbers) << c.node;
        EXPECT_EQ(window.preview()->renderer()->data().rows.size(), c.numbers.size()) << c.node;
    }

    // Another template shows the same list.
    window.templateChoice()->setCurrentIndex(
        window.templateChoice()->findText(QStringLiteral("预览书标方案3--分类号/种次号/书籍名称")));
    EXPECT_EQ(window.preview()->renderer()->reportTemplate().name, QStringLiteral("fenlei_name"));
    EXPECT_EQ(window.preview()->renderer()->data().rows.size(), 1);

    click(window.button(QStringLiteral("显示全部")));
    EXPECT_EQ(window.rows().size(), 4);
}

TEST_P(PrintWindowsTest, AdvancedQueryListsTheConditionAndRefusesASecondStatement) {
    addBook(QStringLiteral("B001"), QStringLiteral("红楼梦"), QStringLiteral("I247.5"));
    addBook(QStringLiteral("B002"), QStringLiteral("呐喊"), QStringLiteral("I210"));
    const Home home = makeHome();
    LabelPrintWindow window(db(), home, LabelPrintSpec::periodicals());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.templateChoice()->isVisible()); // one template only
    EXPECT_EQ(window.templateName(), QStringLiteral("qikanCode"));
    EXPECT_EQ(window.tree()->topLevelItemCount(), 0); // no tree cache, no classes

    db().execute(QStringLiteral("insert into [期刊资料] ([期刊编号],[期刊名称]) values (?,?)"),
                 {QStringLiteral("Q1"), QStringLiteral("读者")});
    db().execute(QStringLiteral("insert into [期刊资料] ([期刊编号],[期刊名称]) values (?,?)"),
                 {QStringLiteral("Q2"), QStringLiteral("科学")});
    const auto typeCondition = [](const QString& text) {
        return [text](QWidget* w) {
            auto* builder = qobject_cast<ConditionBuilder*>(w);
            ASSERT_NE(builder, nullptr);
            builder->conditionText()->setPlainText(text);
            builder->confirm();
        };
    };
    {
        test::ModalAnswers answers;
        answers.then(typeCondition(QStringLiteral("[期刊名称]='科学'")));
        click(window.button(QStringLiteral("高级查询")));
        EXPECT_EQ(answers.unexpected, 0);
        EXPECT_EQ(column(window.rows(), QStringLiteral("期刊编号")), QStringList{"Q2"});
    }
    {
        test::ModalAnswers answers;
        answers.then(typeCondition(QStringLiteral("1=1; delete from [期刊资料]")))
            .button(QMessageBox::Ok);
        click(window.button(QStringLiteral("高级查询")));
        EXPECT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(column(window.rows(), QStringLiteral("期刊编号")), QStringList{"Q2"});
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [期刊资料]")).toInt(), 2);
}

TEST_P(PrintWindowsTest, ReaderWindowListsAReaderTypeAndHandsThePhotoToBothTemplates) {
    const QString insert =
        QStringLiteral("insert into [读者资料] ([读者编号],[读者姓名],[读者类型]) values (?,?,?)");
    db().execute(insert, {QStringLiteral("R1"), QStringLiteral("张三"), QStringLiteral("学生")});
    db().execute(insert, {QStringLiteral("R2"), QStringLiteral("李四"), QStringLiteral("教师")});
    db().execute(insert, {QStringLiteral("R3"), QStringLiteral("王五"), QStringLiteral("学生")});
    for (const char* type : {"学生", "教师"})
        db().execute(QStringLiteral("insert into [读者类型] ([类型名称]) values (?)"),
                     {QString::fromUtf8(type)});
    LabelPrintWindow window(db(), makeHome(), LabelPrintSpec::readers());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("打印读者条形码、读者借阅证"));
    EXPECT_EQ(window.templateChoice()->currentText(), QStringLiteral("预览读者条形码"));
    EXPECT_EQ(window.rows().size(), 3);

    QTreeWidgetItem* students = findItem(window.tree(), QStringLiteral("学生"));
    ASSERT_NE(students, nullptr);
    ASSERT_TRUE(window.showGroup(students));
    EXPECT_EQ(column(window.rows(), QStringLiteral("读者编号")), QStringList({"R1", "R3"}));
    for (int i = 0; i < window.templateChoice()->count(); ++i) {
        window.templateChoice()->setCurrentIndex(i);
        ASSERT_NE(window.preview()->renderer(), nullptr);
        EXPECT_TRUE(bool(window.preview()->renderer()->data().rowPicture)) << i;
    }
    EXPECT_EQ(window.preview()->renderer()->reportTemplate().name, QStringLiteral("reader"));
}

TEST_P(PrintWindowsTest, AMissingTemplateIsReportedAndNothingIsPreviewed) {
    addBook(QStringLiteral("B001"), QStringLiteral("红楼梦"), QStringLiteral("I247.5"));
    const Home home = makeHome();
    ASSERT_TRUE(QFile::remove(findTemplateFile(home.reportFolder(), QStringLiteral("bookCode"))));
    LabelPrintWindow window(db(), home, LabelPrintSpec::books());
    test::ModalAnswers answers;
    answers.button(QMessageBox::Ok);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(answers.done());
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_EQ(answers.titles.first(), QStringLiteral("提示"));
    EXPECT_EQ(window.rows().size(), 1);
    EXPECT_EQ(window.preview()->pageCount(), 0);
    // Starting to print then does nothing (no print dialog).
    test::ModalAnswers again;
    again.button(QMessageBox::Ok);
    click(window.button(QStringLiteral("开始打印")));
    QTRY_VERIFY(again.done());
    EXPECT_EQ(again.unexpected, 0);
}

TEST_P(PrintWindowsTest, CustomBarcodeWindowChecksTheFieldsInOrderThenGeneratesAppendsAndClears) {
    CustomBarcodeWindow window(db(), makeHome());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("自定义条码打印"));
    EXPECT_EQ(window.focusWidget(), window.widthEdit());

    struct Case {
        const char *width, *start, *count, *message;
        QLineEdit* focus;
    };
    // Each row breaks every field from the one named on, so only the order decides.
    const Case cases[] = {
        {"", "x", "", "请输入条码宽度！", window.widthEdit()},
        {"8a", "", "y", "条码宽度输入错误！", window.widthEdit()},
        {"8", "", "y", "请输入条码起始数值！", window.startEdit()},
        {"8", "-1", "", "起始数值输入错误！", window.startEdit()},
        {"8", "1", "", "请输入条码产生数量！", window.countEdit()},
        {"8", "1", "0", "条码产生数量输入错误！", window.countEdit()},
    };
    for (const Case& c : cases) {
        for (auto [edit, text] :
             {std::pair{window.widthEdit(), c.width}, std::pair{window.startEdit(), c.start},
              std::pair{window.countEdit(), c.count}}) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromUtf8(text));
        }
        window.prefixEdit()->setFocus();
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        click(window.button(QStringLiteral("立即产生")));
        ASSERT_EQ(answers.texts.size(), 1) << c.message;
        EXPECT_EQ(answers.texts.first(), QString::fromUtf8(c.message));
        EXPECT_EQ(answers.titles.first(), QStringLiteral("提示"));
        EXPECT_EQ(window.focusWidget(), c.focus) << c.message;
    }
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);

    window.widthEdit()->setText(QStringLiteral("8"));
    window.startEdit()->setText(QStringLiteral("1"));
    window.countEdit()->setText(QStringLiteral("3"));
    QTest::keyClicks(window.prefixEdit(), QStringLiteral("A"));
    window.topEdit()->setText(QStringLiteral("藏书馆"));
    {
        test::ModalAnswers answers;
        QTest::keyClick(window.countEdit(), Qt::Key_Return); // Enter in the count generates
        EXPECT_EQ(answers.unexpected, 0);
    }
    const auto texts = [&] {
        QStringList t;
        for (int r = 0; r < window.grid()->model()->rowCount(); ++r)
            t << window.grid()->model()->fieldValue(r, QStringLiteral("条形码")).toString();
        return t;
    };
    EXPECT_EQ(texts(), QStringList({"A0000001", "A0000002", "A0000003"}));
    EXPECT_EQ(window.grid()->model()->fieldValue(0, QStringLiteral("上方标题")).toString(),
              QStringLiteral("藏书馆"));

    // A second series is asked for; No adds nothing, Yes appends it.
    window.startEdit()->setText(QStringLiteral("10"));
    window.countEdit()->setText(QStringLiteral("2"));
    for (auto [answer, expected] :
         {std::pair{QMessageBox::No, 3}, std::pair{QMessageBox::Yes, 5}}) {
        test::ModalAnswers answers;
        answers.button(answer);
        click(window.button(QStringLiteral("立即产生")));
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts.first(), QStringLiteral("数据库中有数据，是否继续产生条形码？"));
        EXPECT_EQ(window.grid()->model()->rowCount(), expected);
    }
    EXPECT_EQ(texts().mid(3), QStringList({"A0000010", "A0000011"}));

    test::ModalAnswers answers;
    answers.button(QMessageBox::Ok);
    click(window.button(QStringLiteral("清空数据")));
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("数据清空完毕！")});
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [barcode]")).toInt(), 0);
}

CANGSHU_ENGINES(PrintWindowsTest);

TEST(SpineLabelRangeDialogTest, TheRangeNeedsBothEndsAndTheFlagFollowsTheButton) {
    SpineLabelRangeDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("打印书标条码"));
    EXPECT_TRUE(dialog.directOption()->isChecked());
    EXPECT_FALSE(dialog.isConfirmed());

    // Typing an end chooses the range; the focus goes to the end still missing.
    struct Case {
        const char *from, *to;
        QLineEdit* focus;
    };
    const Case cases[] = {{"", "200", dialog.fromEdit()},
                          {"100", " ", dialog.toEdit()},
                          {" ", "", dialog.fromEdit()}};
    for (const Case& c : cases) {
        dialog.fromEdit()->clear();
        dialog.toEdit()->clear();
        QTest::keyClicks(dialog.fromEdit(), QString::fromUtf8(c.from));
        QTest::keyClicks(dialog.toEdit(), QString::fromUtf8(c.to));
        dialog.rangeOption()->setChecked(true);
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(dialog.start());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请输入编号范围！")});
        EXPECT_EQ(dialog.focusWidget(), c.focus) << c.from << "|" << c.to;
        EXPECT_FALSE(dialog.isConfirmed());
    }
    dialog.fromEdit()->setText(QStringLiteral(" 100"));
    dialog.toEdit()->setText(QStringLiteral("200 "));
    EXPECT_TRUE(dialog.start());
    EXPECT_TRUE(dialog.isConfirmed());
    EXPECT_TRUE(dialog.useRange());
    EXPECT_EQ(dialog.from(), QStringLiteral("100"));

    // Shown again, the flag starts false; cancelling keeps it so.
    dialog.show();
    EXPECT_FALSE(dialog.isConfirmed());
    dialog.cancel();
    EXPECT_FALSE(dialog.isConfirmed());
    dialog.show();
    dialog.directOption()->setChecked(true);
    dialog.fromEdit()->clear();
    EXPECT_TRUE(dialog.start()); // direct printing needs no range
    EXPECT_TRUE(dialog.isConfirmed());
}

// Pictures of the print windows for docs/: CANGSHU_SCREENSHOT_DIR=docs report_tests
// --gtest_filter=PrintWindowScreenshots.*
TEST(PrintWindowScreenshots, PrintWindows) {
    const QString dir = qEnvironmentVariable("CANGSHU_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "CANGSHU_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    auto db = Database::openMemory();
    createSchema(*db);
    const QDate today(2024, 5, 10);
    db->clock().setToday(today);
    ASSERT_TRUE(addDemoLibrary(*db, today));
    const Home home = makeHome();
    const auto grab = [&](QWidget& w, const QString& name) {
        w.show();
        QTest::qWait(100);
        w.grab().save(dir + u'/' + name);
    };
    LabelPrintWindow books(*db, home, LabelPrintSpec::books());
    books.resize(1200, 720);
    grab(books, QStringLiteral("print-books.png"));
    LabelPrintWindow readers(*db, home, LabelPrintSpec::readers());
    readers.resize(1200, 720);
    readers.show();
    readers.templateChoice()->setCurrentIndex(1);
    grab(readers, QStringLiteral("print-readers.png"));

    CustomBarcodeWindow custom(*db, home);
    custom.show();
    custom.widthEdit()->setText(QStringLiteral("8"));
    custom.startEdit()->setText(QStringLiteral("1"));
    custom.prefixEdit()->setText(QStringLiteral("A"));
    custom.topEdit()->setText(QStringLiteral("藏书馆"));
    custom.bottomEdit()->setText(QStringLiteral("资产标签"));
    custom.countEdit()->setText(QStringLiteral("12"));
    custom.generate();
    grab(custom, QStringLiteral("custom-barcodes.png"));

    SpineLabelRangeDialog range;
    range.rangeOption()->setChecked(true);
    range.fromEdit()->setText(QStringLiteral("0000100"));
    range.toEdit()->setText(QStringLiteral("0000200"));
    grab(range, QStringLiteral("spine-label-range.png"));
}
