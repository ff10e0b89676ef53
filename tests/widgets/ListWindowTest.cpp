#include "widgets/ListWindow.h"
#include "ListTables.h"
#include "ModalAnswers.h"
#include "support/TestDatabase.h"
#include "widgets/ColumnChooser.h"
#include "widgets/ConditionBuilder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace cangshu;

namespace {

// A reader management window made from the base, as the reader window declares it.
ListWindowSpec readerSpec() {
    ListWindowSpec s;
    s.title = QStringLiteral("读者资料管理");
    s.table = QStringLiteral("读者资料");
    s.orderBy = QStringLiteral("[读者编号]");
    s.columns = {{QStringLiteral("选中"), QStringLiteral("选中"), 40},
                 {QStringLiteral("读者编号"), QStringLiteral("读者编号"), 100, FooterKind::Count},
                 {QStringLiteral("读者姓名"), QStringLiteral("读者姓名"), 120},
                 {QStringLiteral("押金金额"), QStringLiteral("押金金额"), 80, FooterKind::Sum}};
    s.searchFields = {{QStringLiteral("按读者编号"), QStringLiteral("读者编号")},
                      {QStringLiteral("按读者姓名"), QStringLiteral("读者姓名")}};
    s.markNumberColumn = QStringLiteral("读者编号");
    s.layoutName = QStringLiteral("reader");
    s.reportTitle = QStringLiteral("读者资料报表");
    return s;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A window that lists and deletes its own way (a paged list, say) and keeps the buttons.
class OwnListingWindow : public ListWindow {
public:
    using ListWindow::ListWindow;
    QStringList listed;
    int deletions = 0;
    bool deleteMarked() override {
        ++deletions;
        return true;
    }

protected:
    bool listRows(const QString& whereText, const QVariantList& params,
                  const QString& orderBy) override {
        listed << whereText;
        return ListWindow::listRows(whereText, params, orderBy);
    }
};

template <typename Pred> bool waitFor(Pred done) {
    for (int i = 0; i < 300 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

} // namespace

class ListWindowTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
        test::addReader(db(), QStringLiteral("R001"), QStringLiteral("张三"), 10);
        test::addReader(db(), QStringLiteral("R002"), QStringLiteral("李四"), 20);
        test::addReader(db(), QStringLiteral("R003"), QStringLiteral("张三丰"), 30);
        static int n = 0;
        home = Home(test::temporaryFolder() + QStringLiteral("/lw%1").arg(++n));
        QDir().mkpath(home.layoutFolder());
    }
    int rows(ListWindow& w) { return w.grid()->model()->rowCount(); }
    int readers() { return db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(); }
    Home home;
};

TEST_P(ListWindowTest, SearchMarkDeleteAndExport) {
    // A saved layout is applied on first show and moved to the working name.
    ASSERT_TRUE(saveLayout(home.layoutFolder() + QStringLiteral("/reader.txt"),
                           {{QStringLiteral("读者姓名"), QStringLiteral("姓名"), 150, true}}));
    ListWindow w(db(), home, readerSpec(), ListMode::Management);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(rows(w), 3);
    EXPECT_EQ(w.grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    EXPECT_TRUE(QFile::exists(home.layoutFolder() + QStringLiteral("/readerls.txt")));
    EXPECT_FALSE(QFile::exists(home.layoutFolder() + QStringLiteral("/reader.txt")));

    // Quick search by typing and Enter; an empty box is refused.
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        QTest::keyClick(w.searchBar()->textBox(), Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return answers.done(); }));
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请输入查询内容！")});
        EXPECT_EQ(answers.titles, QStringList{QStringLiteral("提示")});
    }
    w.searchBar()->chooseField(1);
    w.searchBar()->textBox()->setText(QStringLiteral("张三"));
    QTest::keyClick(w.searchBar()->textBox(), Qt::Key_Return);
    EXPECT_EQ(rows(w), 2);
    w.searchBar()->fuzzyBox()->setChecked(false);
    QTest::keyClick(w.searchBar()->textBox(), Qt::Key_Return);
    EXPECT_EQ(rows(w), 1);
    w.button(QStringLiteral("显示全部"))->click();
    EXPECT_EQ(rows(w), 3);

    // Tick two rows, list only those, then delete them after both questions.
    GridModel* m = w.grid()->model();
    const int mark = m->columnOfField(QStringLiteral("选中"));
    ASSERT_TRUE(m->setData(m->index(0, mark), Qt::Checked, Qt::CheckStateRole));
    ASSERT_TRUE(m->setData(m->index(2, mark), Qt::Checked, Qt::CheckStateRole));
    ASSERT_NE(w.markingMenu(), nullptr);
    EXPECT_EQ(w.markingMenu()->actions().at(0)->text(), QStringLiteral("【只显示选中记录】"));
    w.markingMenu()->actions().at(0)->trigger();
    EXPECT_EQ(rows(w), 2);
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Yes).button(QMessageBox::No);
        w.button(QStringLiteral("删除选中"))->click();
        EXPECT_EQ(answers.texts,
                  (QStringList{
                      QStringLiteral("是否确定批量删除所选中的记录？"),
                      QStringLiteral("请再次确认是否批量删除所选中的记录？删除后将不能恢复！")}));
        EXPECT_EQ(readers(), 3);
    }
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Yes).button(QMessageBox::Yes);
        w.button(QStringLiteral("删除选中"))->click();
        EXPECT_EQ(answers.unexpected, 0);
    }
    EXPECT_EQ(readers(), 1);
    EXPECT_EQ(rows(w), 0); // the list of marked rows, reloaded
    w.button(QStringLiteral("显示全部"))->click();
    EXPECT_EQ(rows(w), 1);

    // Export through the drop-down: save dialog, extension appended, closing question.
    const QString base =
        test::temporaryFolder() + QStringLiteral("/readers%1").arg(int(GetParam()));
    QMenu* menu = w.button(QStringLiteral("导出数据"))->menu();
    ASSERT_EQ(menu->actions().size(), 4);
    {
        test::ModalAnswers answers;
        answers.saveAs(base).button(QMessageBox::No);
        menu->actions().at(2)->trigger();
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts.first(),
                  QStringLiteral("文件导出成功！路径为【%1.txt】是否现在打开此文件？")
                      .arg(QDir::toNativeSeparators(base)));
        EXPECT_EQ(answers.titles.first(), QStringLiteral("提示确认"));
    }
    EXPECT_EQ(readAll(base + QStringLiteral(".txt")),
              QStringLiteral("姓名\t选中\t读者编号\t押金金额\r\n李四\t否\tR002\t20").toUtf8());
    {
        // Exporting onto the same name asks first; No leaves the file alone.
        test::ModalAnswers answers;
        answers.saveAs(base + QStringLiteral(".txt")).button(QMessageBox::No);
        menu->actions().at(2)->trigger();
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("已经存在此文件【%1.txt】，是否替换？")
                                                 .arg(QDir::toNativeSeparators(base))});
        EXPECT_EQ(answers.titles, QStringList{QStringLiteral("确认")});
        EXPECT_EQ(answers.unexpected, 0);
    }
}

TEST_P(ListWindowTest, ColumnChooserHidesAndSavesTheWorkingLayout) {
    ListWindow w(db(), home, readerSpec(), ListMode::Query);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.button(QStringLiteral("删除选中")), nullptr); // query mode
    {
        test::ModalAnswers answers;
        answers.then([](QWidget* dialog) {
            auto* chooser = qobject_cast<ColumnChooser*>(dialog);
            ASSERT_NE(chooser, nullptr);
            chooser->list()->item(2, 0)->setCheckState(Qt::Unchecked);
            chooser->list()->item(1, 1)->setText(QStringLiteral("133"));
            ASSERT_TRUE(chooser->confirm());
            chooser->accept();
        });
        w.button(QStringLiteral("设置列选"))->click();
    }
    EXPECT_TRUE(w.grid()->view()->isColumnHidden(2));
    EXPECT_EQ(w.grid()->view()->columnWidth(1), 133);
    QList<ColumnLayout> saved;
    ASSERT_TRUE(loadLayout(home.layoutFolder() + QStringLiteral("/readerls.txt"), &saved));
    EXPECT_FALSE(saved.at(2).visible);
    EXPECT_EQ(saved.at(1).width, 133);
}

TEST_P(ListWindowTest, ChooserWidthErrorsApplyNothing) {
    const QList<ColumnLayout> before{{QStringLiteral("a"), QStringLiteral("A"), 50, true},
                                     {QStringLiteral("b"), QStringLiteral("B"), 60, true}};
    ColumnChooser chooser(before);
    chooser.list()->item(0, 0)->setCheckState(Qt::Unchecked);
    chooser.list()->item(1, 1)->setText(QStringLiteral("wide"));
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(chooser.confirm());
        EXPECT_EQ(answers.titles, QStringList{QStringLiteral("提示")});
    }
    EXPECT_EQ(chooser.columns(), before);
    chooser.checkAll(false);
    EXPECT_TRUE(chooser.confirm()); // widths of unchecked rows are not read
    EXPECT_FALSE(chooser.columns().at(0).visible);
    EXPECT_FALSE(chooser.columns().at(1).visible);
}

TEST_P(ListWindowTest, AdvancedQueryAppliesTheBuiltConditionAndItsSort) {
    ListWindow w(db(), home, readerSpec(), ListMode::Query);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    test::ModalAnswers answers;
    answers.then([](QWidget* dialog) {
        auto* b = qobject_cast<ConditionBuilder*>(dialog);
        ASSERT_NE(b, nullptr);
        b->chooseColumn(QStringLiteral("读者姓名"));
        EXPECT_EQ(b->comparisonBox()->currentText(), QStringLiteral("模糊匹配"));
        b->textValue()->setText(QStringLiteral("张"));
        b->relationBox()->setCurrentText(QStringLiteral("或者"));
        ASSERT_TRUE(b->addTerm());
        b->chooseColumn(QStringLiteral("押金金额"));
        EXPECT_EQ(b->comparisonBox()->count(), 6);
        b->comparisonBox()->setCurrentText(QStringLiteral("<"));
        QTest::keyClicks(b->numberValue(), QStringLiteral("25"));
        ASSERT_TRUE(b->addTerm());
        b->sortColumnBox()->setCurrentText(QStringLiteral("押金金额"));
        b->sortDirectionBox()->setCurrentIndex(1);
        ASSERT_TRUE(b->addSort());
        EXPECT_TRUE(b->condition().contains(QStringLiteral("[读者姓名]")));
        EXPECT_TRUE(b->condition().endsWith(QStringLiteral(" or [押金金额]<25")));
        EXPECT_TRUE(b->orderedCondition().endsWith(QStringLiteral(" order by [押金金额] desc")));
        ASSERT_TRUE(b->saveAs(QStringLiteral("张或少")));
        b->confirm();
    });
    answers.button(QMessageBox::Ok); // "查询条件保存成功！", shown while the builder is open
    w.button(QStringLiteral("高级查询"))->click();
    ASSERT_TRUE(waitFor([&] { return answers.done(); }));
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("查询条件保存成功！")});
    // 张三 (10), 李四 (20), 张三丰 (30): all match, listed by 押金 descending.
    ASSERT_EQ(rows(w), 3);
    EXPECT_EQ(w.grid()->model()->fieldValue(0, QStringLiteral("读者编号")).toString(),
              QStringLiteral("R003"));
    EXPECT_EQ(savedConditions(db(), QStringLiteral("读者资料")).size(), 1);
}

TEST_P(ListWindowTest, AWindowsOwnListingAndDeletionServeEveryCommand) {
    ListWindowSpec definition = readerSpec();
    definition.layoutName.clear();
    definition.markingButton = true;
    definition.quitCaption = QStringLiteral("退出操作");
    OwnListingWindow w(db(), home, definition, ListMode::Management);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_NE(w.button(QStringLiteral("退出操作")), nullptr);
    // The marking commands sit on their button; the grid's pop-up is left to the window.
    ASSERT_NE(w.button(QStringLiteral("选中操作")), nullptr);
    EXPECT_EQ(w.button(QStringLiteral("选中操作"))->menu(), w.markingMenu());
    EXPECT_NE(w.grid()->view()->contextMenuPolicy(), Qt::CustomContextMenu);

    w.searchBar()->textBox()->setText(QStringLiteral("R00"));
    QTest::keyClick(w.searchBar()->textBox(), Qt::Key_Return);
    w.markingMenu()->actions().at(0)->trigger(); // 【只显示选中记录】
    w.markingMenu()->actions().at(1)->trigger(); // 【选中全部记录】, then all again
    w.button(QStringLiteral("删除选中"))->click();
    ASSERT_EQ(w.listed.size(), 4);
    EXPECT_EQ(w.listed[0], QString()); // first showing
    EXPECT_TRUE(w.listed[1].contains(QStringLiteral("[读者编号]")));
    EXPECT_EQ(w.listed[2], QStringLiteral(" where [选中]=TRUE"));
    EXPECT_EQ(w.listed[3], QString());
    EXPECT_EQ(w.deletions, 1);
    EXPECT_EQ(readers(), 3);
    EXPECT_EQ(rows(w), 3);
}

CANGSHU_ENGINES(ListWindowTest);

TEST_P(ListWindowTest, CatalogueFormCountsMarksAndHandEditedConditionsStayReadOnly) {
    ListWindowSpec definition = readerSpec();
    definition.countedDeleteConfirm = true;
    definition.layoutName.clear();
    ListWindow w(db(), home, definition, ListMode::Management);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.deleteMarked());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("未选中记录！")});
    }
    w.markingMenu()->actions().at(1)->trigger(); // 【选中全部记录】
    EXPECT_EQ(
        db().scalar(QStringLiteral("select count(*) from [读者资料] where [选中]=TRUE")).toInt(),
        3);
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Yes).button(QMessageBox::No);
        EXPECT_FALSE(w.deleteMarked());
        EXPECT_EQ(
            answers.texts,
            (QStringList{
                QStringLiteral("您已经选中【3】记录！是否确定批量删除所选中的记录？"),
                QStringLiteral("您已经选中【3】记录！请再次确认是否批量删除所选中的记录？")}));
    }
    w.markingMenu()->actions().at(2)->trigger(); // 【把选中记录变为不选中】
    EXPECT_EQ(
        db().scalar(QStringLiteral("select count(*) from [读者资料] where [选中]=TRUE")).toInt(),
        0);
    EXPECT_EQ(readers(), 3);

    // A condition edited by hand into a second statement is refused and changes nothing.
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.listWhere(QStringLiteral("1=1; delete from [读者资料]")));
        EXPECT_EQ(answers.texts.size(), 1);
    }
    EXPECT_EQ(readers(), 3);
    EXPECT_TRUE(w.listWhere(QStringLiteral("[读者姓名]='李四'")));
    EXPECT_EQ(rows(w), 1);
}
