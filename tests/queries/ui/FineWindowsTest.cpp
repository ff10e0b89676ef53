#include "LibraryFixture.h"
#include "ModalAnswers.h"
#include "queries/ui/FineStatisticsWindow.h"
#include "queries/ui/FineWindow.h"
#include "queries/ui/FinesListWindow.h"
#include "report/PrintJob.h"
#include "report/TemplateFiles.h"
#include "widgets/DataGrid.h"

#include <QChart>
#include <QDateEdit>
#include <QLineEdit>
#include <QPieSeries>
#include <QPushButton>
#include <QTest>

using namespace cangshu;
using namespace cangshu::test;

class FineWindowsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addReader({QStringLiteral("R1"),
                   QStringLiteral("学生"),
                   QStringLiteral("正常"),
                   QStringLiteral("是"),
                   {},
                   0,
                   QStringLiteral("张三")});
        addReader({QStringLiteral("R2"),
                   QStringLiteral("学生"),
                   QStringLiteral("正常"),
                   QStringLiteral("是"),
                   {},
                   0,
                   QStringLiteral("李四")});
    }
    static void type(QLineEdit* box, const QString& text, bool enter = true) {
        box->selectAll();
        // Key clicks carry Latin-1 only; other text is typed in as a whole.
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(box, text);
        else
            box->insert(text);
        if (enter)
            QTest::keyClick(box, Qt::Key_Return);
    }
    int fines() { return count(QStringLiteral("select count(*) from [丢失罚款]")); }
};

TEST_P(FineWindowsTest, FineWindowRefusesNegativeAmountsAndSavesOnlyTheLookedUpReader) {
    FineWindow w(db());
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.amountBox()->text(), QStringLiteral("0"));
    EXPECT_EQ(w.dateBox()->date(), today());

    type(w.readerNumberBox(), QStringLiteral("R1"));
    EXPECT_EQ(w.nameBox()->text(), QStringLiteral("张三"));
    EXPECT_EQ(w.focusWidget(), w.amountBox());

    // "从押金里扣" hands the amount over for a deduction and records no fine itself.
    std::optional<DepositHandOver> handed;
    w.setDepositHandOver([&](QWidget*, const DepositHandOver& h) { handed = h; });
    type(w.amountBox(), QStringLiteral("8"), false);
    type(w.itemTitleBox(), QStringLiteral("红楼梦"), false);
    ASSERT_TRUE(w.deductFromDeposit());
    ASSERT_TRUE(handed);
    EXPECT_EQ(handed->readerNumber, QStringLiteral("R1"));
    EXPECT_EQ(handed->amountText, QStringLiteral("8"));
    EXPECT_EQ(handed->remark, QStringLiteral("丢失罚款,书名:红楼梦"));
    EXPECT_EQ(fines(), 0);
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
        type(w.amountBox(), QStringLiteral("-5"), false);
        EXPECT_FALSE(w.save());
        type(w.amountBox(), QStringLiteral("0"), false);
        EXPECT_FALSE(w.save());
        EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("罚款金额输入错误！"),
                                              QStringLiteral("请输入罚款金额！")}));
        EXPECT_EQ(w.focusWidget(), w.amountBox());
    }
    // Another number typed after the lookup is not the reader shown.
    type(w.readerNumberBox(), QStringLiteral("R2"), false);
    EXPECT_TRUE(w.nameBox()->text().isEmpty());
    type(w.amountBox(), QStringLiteral("12.5"), false);
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_FALSE(w.save());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请先输入读者编号！")});
    }
    EXPECT_EQ(fines(), 0);

    type(w.readerNumberBox(), QString()); // Enter looks R2 up
    EXPECT_EQ(w.nameBox()->text(), QStringLiteral("李四"));
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_TRUE(w.save());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("操作成功！")});
    }
    const auto row = db().row(QStringLiteral("select * from [丢失罚款]"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(QStringLiteral("读者编号")).toString(), QStringLiteral("R2"));
    EXPECT_EQ(row->value(QStringLiteral("读者姓名")).toString(), QStringLiteral("李四"));
    EXPECT_EQ(Money::fromVariant(row->value(QStringLiteral("罚款金额"))).toString(),
              QStringLiteral("12.5"));
}

TEST_P(FineWindowsTest, FinesListSearchesAndDeletesTheCurrentRow) {
    for (const auto& [number, day] :
         {std::pair{QStringLiteral("R1"), 1}, std::pair{QStringLiteral("R2"), 5},
          std::pair{QStringLiteral("R2"), 9}})
        recordFine(db(), {number, QStringLiteral("3"), QStringLiteral("书"), {2024, 5, day}, {}});
    FinesListWindow w(db(), Home());
    w.show();
    GridModel* m = w.grid()->model();
    EXPECT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->fieldValue(0, QStringLiteral("罚款日期")).toDate(), QDate(2024, 5, 9));

    type(w.nameBox(), QStringLiteral("李"));
    EXPECT_EQ(m->rowCount(), 2);
    w.fromBox()->setDate({2024, 5, 1});
    w.toBox()->setDate({2024, 5, 5});
    EXPECT_TRUE(w.searchPeriod());
    EXPECT_EQ(m->rowCount(), 2) << "both ends included";
    type(w.numberBox(), QStringLiteral("R1"));
    ASSERT_EQ(m->rowCount(), 1);

    w.grid()->view()->setCurrentIndex(m->index(0, 0));
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Yes);
        EXPECT_TRUE(w.deleteCurrent());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("是否确定删除？")});
    }
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_FALSE(w.deleteCurrent()) << "nothing to delete in an empty grid";
    EXPECT_EQ(fines(), 2);
}

TEST_P(FineWindowsTest, StatisticsShowPeriodSumsChartsAndTheReport) {
    auto returned = [&](const QString& table, const QDate& on, const QString& fine,
                        const QString& rent) {
        db().execute(QStringLiteral("insert into [%1] ([读者索引], [归还日期], [罚款金额], "
                                    "[租金金额]) values ('R1', ?, ?, ?)")
                         .arg(table),
                     {on, fine, rent});
    };
    returned(QStringLiteral("书籍归还清单"), {2024, 5, 1}, QStringLiteral("1.5"),
             QStringLiteral("0.3"));
    returned(QStringLiteral("书籍归还清单"), {2024, 5, 10}, QStringLiteral("0.5"),
             QStringLiteral("0"));
    returned(QStringLiteral("书籍归还清单"), {2024, 4, 30}, QStringLiteral("9"),
             QStringLiteral("9"));
    returned(QStringLiteral("期刊归还清单"), {2024, 5, 3}, QStringLiteral("0.25"),
             QStringLiteral("0.2"));
    recordFine(
        db(),
        {QStringLiteral("R1"), QStringLiteral("20"), QStringLiteral("书"), {2024, 5, 10}, {}});

    FineStatisticsWindow w(db(), Home());
    w.show();
    EXPECT_EQ(w.resultBox(QStringLiteral("合计金额："))->text(), QStringLiteral("0"));
    w.fromBox()->setDate({2024, 5, 1});
    w.toBox()->setDate({2024, 5, 10});
    ASSERT_TRUE(w.compute());
    const std::pair<const char*, const char*> expected[] = {
        {"书籍超期罚款：", "2.00"},  {"期刊超期罚款：", "0.25"}, {"共计超期罚款：", "2.25"},
        {"书籍租金金额：", "0.30"},  {"期刊租金金额：", "0.20"}, {"共计租金金额：", "0.50"},
        {"丢失罚款金额：", "20.00"}, {"合计金额：", "22.75"}};
    for (const auto& [label, amount] : expected)
        EXPECT_EQ(w.resultBox(QString::fromUtf8(label))->text(), QString::fromUtf8(amount))
            << label;

    // The pie holds the parts only; the total is in its title.
    ASSERT_EQ(w.fineChart()->series().size(), 1);
    auto* pie = qobject_cast<QPieSeries*>(w.fineChart()->series().first());
    ASSERT_TRUE(pie);
    EXPECT_EQ(pie->count(), 2);
    EXPECT_DOUBLE_EQ(pie->sum(), 2.25);
    EXPECT_TRUE(w.fineChart()->title().contains(QStringLiteral("2.25")));

    // The shipped report takes the named texts and both charts and prints one page.
    const auto tpl = report::parseTemplate(report::shippedTemplate(kFineStatisticsTemplate),
                                           kFineStatisticsTemplate);
    ASSERT_TRUE(tpl) << tpl.error.toStdString();
    FineStatistics s = fineStatistics(db(), {2024, 5, 1}, {2024, 5, 10});
    const report::ReportData data = fineStatisticsReportData(
        s, {2024, 5, 1}, {2024, 5, 10}, today(), w.rentChartImage(), w.fineChartImage());
    EXPECT_EQ(data.texts.value(QStringLiteral("Memo17")), QStringLiteral("22.75"));
    EXPECT_EQ(data.texts.value(QStringLiteral("Memo19")), QStringLiteral("20.00"));
    const QString pdf = temporaryFolder() + QStringLiteral("/statistics.pdf");
    const report::PrintOutcome printed = report::printToPdf(*tpl.tpl, data, pdf);
    EXPECT_TRUE(printed.ok) << printed.message.toStdString();
    EXPECT_EQ(printed.pages, 1);

    w.reset();
    EXPECT_EQ(w.resultBox(QStringLiteral("合计金额："))->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.fineChart()->series().isEmpty());
}

CANGSHU_ENGINES(FineWindowsTest);
