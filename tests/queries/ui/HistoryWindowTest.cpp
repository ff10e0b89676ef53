#include "queries/ui/HistoryWindow.h"
#include "LibraryFixture.h"
#include "ModalAnswers.h"
#include "widgets/DataGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace cangshu;
using namespace cangshu::test;

class HistoryWindowTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addReader(QStringLiteral("R1"));
        addReader(QStringLiteral("R2"));
    }
    // The numbers of the listed items, in the grid's order.
    static QStringList listed(HistoryWindow& w) {
        QStringList out;
        GridModel* m = w.grid()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->fieldValue(r, w.view().itemNumberColumn).toString();
        return out;
    }
    static void type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_P(HistoryWindowTest, BookLoansSearchesOverdueAndConditionsStayInsideTheJoin) {
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("B1")), today().addDays(-30),
            today().addDays(-1));
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("B2")), today().addDays(-30), today());
    addLoan(QStringLiteral("R2"), addBook(QStringLiteral("B3")), today(), today().addDays(30));
    addBook(QStringLiteral("B4")); // on the shelf: a condition on books must not list it

    HistoryWindow w(db(), Home(), HistoryKind::BookLoans);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("书籍借阅查询"));
    EXPECT_EQ(w.grid()->model()->rowCount(), 0) << "empty until the first search";

    type(w.itemNumberBox(), QStringLiteral("B3"));
    EXPECT_EQ(listed(w), QStringList{QStringLiteral("B3")});
    type(w.readerNumberBox(), QStringLiteral("R1"));
    EXPECT_EQ(listed(w).size(), 2);
    // The text is used as typed: a trailing blank finds nothing.
    type(w.readerNumberBox(), QStringLiteral("R1 "));
    EXPECT_TRUE(listed(w).isEmpty());

    ASSERT_TRUE(w.button(QStringLiteral("显示超期")));
    w.button(QStringLiteral("显示超期"))->click();
    EXPECT_EQ(listed(w), QStringList{QStringLiteral("B1")}) << "due today is not overdue yet";

    // Without parentheses the "or" would pair B4 and every reader with every loan.
    ASSERT_TRUE(w.listCondition(QStringLiteral("[书籍编号]='B4' or [读者编号]='R2'")));
    EXPECT_EQ(listed(w), QStringList{QStringLiteral("B3")});
    // A column that two of the joined tables have is not ambiguous.
    ASSERT_TRUE(w.listCondition(QStringLiteral("[备注信息] is null and [拼音] is null")));
    EXPECT_EQ(listed(w).size(), 3);

    w.showAll();
    EXPECT_EQ(listed(w).size(), 3);
    w.grid()->refreshFooter();
    const int count = w.grid()->model()->columnOfField(QStringLiteral("书籍编号"));
    EXPECT_EQ(w.grid()->footerText(count), QStringLiteral("3"));

    ModalAnswers answers;
    answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
    type(w.itemNumberBox(), QStringLiteral("  "));
    type(w.readerNumberBox(), QString());
    EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("请输入书籍编号！"),
                                          QStringLiteral("请输入读者编号！")}));
    EXPECT_EQ(listed(w).size(), 3) << "a refused search keeps the list";
}

TEST_P(HistoryWindowTest, PeriodicalReturnsSumRentsAndFines) {
    auto periodical = [&](const QString& number) {
        return db().insert(QStringLiteral("insert into [期刊资料] ([期刊编号], [期刊名称]) "
                                          "values (?, ?)"),
                           {number, QStringLiteral("读者文摘")}, QStringLiteral("ID"));
    };
    auto returned = [&](const QString& reader, qint64 id, const QString& rent,
                        const QString& fine) {
        db().execute(QStringLiteral("insert into [期刊归还清单] ([读者索引], [期刊索引], "
                                    "[借阅日期], [归还日期], [租金金额], [罚款金额]) "
                                    "values (?, ?, ?, ?, ?, ?)"),
                     {reader, id, today().addDays(-10), today(), rent, fine});
    };
    const qint64 q1 = periodical(QStringLiteral("Q1")), q2 = periodical(QStringLiteral("Q2"));
    returned(QStringLiteral("R1"), q1, QStringLiteral("0.5"), QStringLiteral("1.25"));
    returned(QStringLiteral("R2"), q1, QStringLiteral("0.25"), QStringLiteral("0"));
    returned(QStringLiteral("R2"), q2, QStringLiteral("1"), QStringLiteral("0.5"));

    HistoryWindow w(db(), Home(), HistoryKind::PeriodicalReturns);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("期刊归还查询"));
    EXPECT_FALSE(w.button(QStringLiteral("显示超期")));
    type(w.itemNumberBox(), QStringLiteral("Q1"));
    EXPECT_EQ(listed(w), (QStringList{QStringLiteral("Q1"), QStringLiteral("Q1")}));
    w.grid()->refreshFooter();
    auto footer = [&](const QString& field) {
        return w.grid()->footerText(w.grid()->model()->columnOfField(field));
    };
    EXPECT_EQ(footer(QStringLiteral("读者编号")), QStringLiteral("合计"));
    EXPECT_EQ(footer(QStringLiteral("期刊编号")), QStringLiteral("2"));
    EXPECT_EQ(footer(QStringLiteral("租金金额")), QStringLiteral("0.75"));
    EXPECT_EQ(footer(QStringLiteral("罚款金额")), QStringLiteral("1.25"));

    // The list selects the grid's columns only: no photos or covers come along.
    const QSqlRecord record = w.grid()->model()->record();
    EXPECT_EQ(record.count(), int(w.view().columns.size()));
    EXPECT_EQ(record.indexOf(QStringLiteral("Image")), -1);

    w.showAll();
    EXPECT_EQ(listed(w).size(), 3);
    EXPECT_TRUE(w.showToday());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("【2024-05-10】 归还期刊"));
    EXPECT_EQ(listed(w).size(), 3);
}

// "显示全部" on a long history: listed in reader order, with the footer counted without
// joining every row. Returns whose book or reader is gone (or that have no reader) are not
// in the list, so they must not be in its footer either.
TEST_P(HistoryWindowTest, BookReturnsAllFooterCountsOnlyTheListedRows) {
    auto book = [&](const QString& number, const QString& price) {
        const qint64 id = addBook(number);
        db().execute(QStringLiteral("update [书籍资料] set [书籍价格]=? where [ID]=?"),
                     {price, id});
        return id;
    };
    auto returned = [&](const QVariant& reader, qint64 bookId, const QVariant& rent,
                        const QVariant& fine) {
        db().execute(QStringLiteral("insert into [书籍归还清单] ([读者索引], [书籍索引], "
                                    "[借阅日期], [归还日期], [租金金额], [罚款金额]) "
                                    "values (?, ?, ?, ?, ?, ?)"),
                     {reader, bookId, today().addDays(-10), today(), rent, fine});
    };
    const QVariant none = QVariant(QMetaType(QMetaType::QString));
    const qint64 b1 = book(QStringLiteral("B1"), QStringLiteral("10.5"));
    const qint64 b2 = book(QStringLiteral("B2"), QStringLiteral("20"));
    returned(QStringLiteral("R2"), b1, QStringLiteral("1"), QStringLiteral("0.5"));
    returned(QStringLiteral("R1"), b2, QStringLiteral("2"), none);
    returned(QStringLiteral("R1"), b1, none, QStringLiteral("1.25"));
    // Not in the join: a reader since deleted, no reader, a book since deleted.
    returned(QStringLiteral("R9"), b1, QStringLiteral("100"), QStringLiteral("100"));
    returned(none, b2, QStringLiteral("100"), QStringLiteral("100"));
    returned(QStringLiteral("R1"), b2 + 1000, QStringLiteral("100"), QStringLiteral("100"));

    HistoryWindow w(db(), Home(), HistoryKind::BookReturns);
    w.show();
    ASSERT_TRUE(w.showAll());
    GridModel* m = w.grid()->model();
    QStringList readers;
    for (int r = 0; r < m->rowCount(); ++r)
        readers << m->fieldValue(r, QStringLiteral("读者编号")).toString();
    EXPECT_EQ(readers,
              (QStringList{QStringLiteral("R1"), QStringLiteral("R1"), QStringLiteral("R2")}));
    EXPECT_EQ(listed(w).size(), 3);

    w.grid()->refreshFooter();
    auto footer = [&](const QString& field) {
        return w.grid()->footerText(m->columnOfField(field));
    };
    EXPECT_EQ(footer(QStringLiteral("书籍编号")), QStringLiteral("3"));
    EXPECT_EQ(footer(QStringLiteral("书籍价格")), QStringLiteral("41"));
    EXPECT_EQ(footer(QStringLiteral("租金金额")), QStringLiteral("3"));
    EXPECT_EQ(footer(QStringLiteral("罚款金额")), QStringLiteral("1.75"));

    // An empty history gives zeros, not blanks.
    db().execute(QStringLiteral("delete from [书籍归还清单]"));
    ASSERT_TRUE(w.showAll());
    w.grid()->refreshFooter();
    EXPECT_EQ(footer(QStringLiteral("书籍编号")), QStringLiteral("0"));
    EXPECT_EQ(footer(QStringLiteral("书籍价格")), QStringLiteral("0"));
}

CANGSHU_ENGINES(HistoryWindowTest);
