#include "ListTables.h"
#include "ModalAnswers.h"
#include "queries/Export.h"
#include "support/TestDatabase.h"
#include "widgets/FieldConditionWindow.h"
#include "widgets/ImportWindow.h"
#include "widgets/ProgressWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace cangshu;

class ImportWindowTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
    }
};

TEST_P(ImportWindowTest, OpenPreviewAndImportWithBothOutcomes) {
    test::addReader(db(), QStringLiteral("R1"), QStringLiteral("甲"));
    test::addReader(db(), QStringLiteral("R2"), QStringLiteral("乙"));
    const QString file =
        test::temporaryFolder() + QStringLiteral("/import%1.xlsx").arg(int(GetParam()));
    ASSERT_TRUE(exportQuery(db(),
                            QStringLiteral(
                                "select [读者编号],[读者姓名] from [读者资料] order by [读者编号]"),
                            ExportFormat::Xlsx, file)
                    .ok);

    ImportWindow w(db());
    w.show();
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.importRows());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请先打开Excel文件！")});
    }
    ASSERT_TRUE(w.openFile(file));
    EXPECT_EQ(w.sheetColumns()->count(), 2);
    EXPECT_EQ(w.previewList()->model()->rowCount(), 0);
    ASSERT_TRUE(w.preview());
    EXPECT_EQ(w.previewList()->model()->rowCount(), 2);
    EXPECT_EQ(w.previewList()->model()->index(1, 1).data().toString(), QStringLiteral("乙"));
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.importRows());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请选择要导入的数据表！")});
    }
    w.tableBox()->setCurrentText(QStringLiteral("读者资料"));
    w.chooseTable(QStringLiteral("读者资料"));
    EXPECT_GT(w.tableColumns()->count(), 10);
    {
        // The numbers are already there: nothing lands and the row is named.
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.importRows());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("数据导入错误！")));
        EXPECT_TRUE(answers.texts.first().contains(QStringLiteral("Excel第2行")));
    }
    db().execute(QStringLiteral("delete from [读者资料]"));
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_TRUE(w.importRows());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("导入数据成功！")});
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(), 2);
}

CANGSHU_ENGINES(ImportWindowTest);

TEST(FieldConditionWindow, BuildsTheConditionFromItsThreeLines) {
    FieldConditionWindow w(QStringLiteral("读者充押金查询"), {QStringLiteral("读者姓名")},
                           {QStringLiteral("充押金额")}, {QStringLiteral("充值日期")},
                           QDate(2024, 5, 1));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("读者充押金查询"));
    {
        test::ModalAnswers answers;
        answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
        EXPECT_FALSE(w.addTerm(ColumnKind::Text));
        EXPECT_FALSE(w.confirm());
        EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("查询字段不能为空！"),
                                              QStringLiteral("查询条件不能为空！")}));
    }
    const auto& text = w.line(ColumnKind::Text);
    text.column->setCurrentText(QStringLiteral("读者姓名"));
    text.comparison->setCurrentText(QStringLiteral("模糊匹配"));
    text.value->setText(QStringLiteral("O'Neil"));
    text.relation->setCurrentText(QStringLiteral("或者"));
    ASSERT_TRUE(w.addTerm(ColumnKind::Text));
    EXPECT_TRUE(text.value->text().isEmpty());
    const auto& number = w.line(ColumnKind::Number);
    number.column->setCurrentText(QStringLiteral("充押金额"));
    number.comparison->setCurrentText(QStringLiteral(">"));
    number.value->setText(QStringLiteral("100"));
    ASSERT_TRUE(w.addTerm(ColumnKind::Number));
    const auto& date = w.line(ColumnKind::Date);
    date.column->setCurrentText(QStringLiteral("充值日期"));
    date.comparison->setCurrentText(QStringLiteral(">="));
    ASSERT_TRUE(w.addTerm(ColumnKind::Date));
    EXPECT_EQ(w.termList()->rowCount(), 3);
    w.termList()->setCurrentCell(1, 0);
    w.removeSelected();
    ASSERT_TRUE(w.confirm());
    EXPECT_TRUE(w.isConfirmed());
    EXPECT_EQ(w.condition(),
              QStringLiteral("[读者姓名] like '%O''Neil%' or [充值日期]>='2024-05-01'"));
}

TEST(ProgressWindow, ShowsProgressAndHidesOnClick) {
    ProgressWindow w;
    EXPECT_EQ(w.label(), QStringLiteral("系统正在执行操作,请稍后......"));
    w.start(QStringLiteral("系统正在导入到数据库......"));
    EXPECT_TRUE(w.isVisible());
    w.setRange(300);
    w.setValue(120);
    w.setLabel(QStringLiteral("系统正在导入到数据库... 120"));
    EXPECT_EQ(w.bar()->maximum(), 300);
    EXPECT_EQ(w.bar()->value(), 120);
    EXPECT_EQ(w.label(), QStringLiteral("系统正在导入到数据库... 120"));
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    w.finish();
    EXPECT_EQ(w.bar()->maximum(), 100);

    ProgressWindow cover(nullptr, ProgressWindow::Kind::CoverSearch);
    EXPECT_EQ(cover.bar(), nullptr);
    EXPECT_EQ(cover.label(), QStringLiteral("系统正在搜索封面图片,请稍后......"));
}
