#include "LibraryFixture.h"

#include <QAbstractButton>

#include "ModalAnswers.h"
#include "circulation/ui/BookLendWindow.h"
#include "circulation/ui/BookRenewWindow.h"
#include "circulation/ui/BookReturnWindow.h"
#include "circulation/ui/DepositJournalWindow.h"
#include "circulation/ui/DepositWindow.h"
#include "circulation/ui/HeldLoansWindow.h"
#include "circulation/ui/ReaderPanel.h"
#include "widgets/DataGrid.h"
#include "widgets/PickList.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeWidget>

using namespace cangshu;
using namespace cangshu::test;

namespace {

// Keys go where the operator's keyboard would send them: the window's focus widget.
QWidget* target(QWidget* window) {
    QWidget* w = window->focusWidget();
    return w ? w : window;
}
void press(QWidget* window, Qt::Key key) {
    QTest::keyClick(target(window), key);
}
// Scanners type ASCII; Chinese arrives through an input method, as committed text.
void scan(QWidget* window, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(target(window));
    if (edit && !text.contains(QRegularExpression(QStringLiteral("^[ -~]*$"))))
        edit->insert(text);
    else
        QTest::keyClicks(target(window), text);
    press(window, Qt::Key_Return);
}
void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
}
QString cell(QTreeWidget* list, int row, int column) {
    return list->topLevelItem(row)->text(column);
}

} // namespace

class DeskWindowsTest : public LibraryTest {
protected:
    DeskSettings settings() { return loadDeskSettings(db(), QStringLiteral("admin")); }
    int loans(const QString& reader) {
        return count(QStringLiteral("select count(*) from [书籍借阅清单] where [读者索引]=?"),
                     {reader});
    }
    QString status(qint64 id) {
        return value(QStringLiteral("select [在馆状态] from [书籍资料] where [ID]=?"), {id})
            .toString();
    }
};

TEST_P(DeskWindowsTest, LendsTwoBooksWithTheKeyboardOnly) {
    addReader(QStringLiteral("R1"));
    const qint64 a = addBook(QStringLiteral("0001")), b = addBook(QStringLiteral("0002"));
    BookLendWindow w(db(), settings());
    showActive(&w);

    press(&w, Qt::Key_F3);
    EXPECT_EQ(w.focusWidget(), w.bookNumberField());
    press(&w, Qt::Key_F2);
    ASSERT_EQ(w.focusWidget(), w.readerPanel()->numberField());
    scan(&w, QStringLiteral("R1"));
    EXPECT_EQ(w.readerPanel()->nameChoice()->currentText(), QStringLiteral("读者R1"));
    EXPECT_EQ(w.readerPanel()->field(QStringLiteral("可借数量"))->text(), QStringLiteral("5"));
    EXPECT_EQ(w.readerPanel()->field(QStringLiteral("已借数量"))->text(), QStringLiteral("0"));
    EXPECT_EQ(w.focusWidget(), w.bookNumberField()); // the lookup moves on by itself

    press(&w, Qt::Key_F3);
    scan(&w, QStringLiteral("0001"));
    scan(&w, QStringLiteral("0002"));
    QTreeWidget* list = w.pendingList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(cell(list, 1, 0), QStringLiteral("0002"));
    EXPECT_EQ(cell(list, 1, 1), QStringLiteral("书0002"));
    EXPECT_EQ(cell(list, 0, 5), today().addDays(30).toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_TRUE(w.bookNumberField()->text().isEmpty());

    ModalAnswers answers;
    answers.button(QMessageBox::Ok);
    press(&w, Qt::Key_F5);
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("书籍借阅成功！")});
    EXPECT_EQ(loans(QStringLiteral("R1")), 2);
    EXPECT_EQ(status(a), QStringLiteral("借出"));
    EXPECT_EQ(status(b), QStringLiteral("借出"));
    // Cleared for the next reader.
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(w.readerPanel()->numberField()->text().isEmpty());
    EXPECT_EQ(w.focusWidget(), w.readerPanel()->numberField());

    press(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_P(DeskWindowsTest, PendingListChoosesRemovesAndForgetsARefusedReader) {
    addReader(QStringLiteral("R1"));
    ReaderRow lost;
    lost.number = QStringLiteral("L1");
    lost.status = QStringLiteral("挂失");
    addReader(lost);
    addBook(QStringLiteral("0001"), QStringLiteral("在馆"), 1, QStringLiteral("数据结构"));
    addBook(QStringLiteral("0002"), QStringLiteral("在馆"), 1, QStringLiteral("数据结构习题"));
    BookLendWindow w(db(), settings());
    showActive(&w);
    scan(&w, QStringLiteral("R1"));

    ModalAnswers answers;
    answers.button(QMessageBox::Ok);
    scan(&w, QStringLiteral("0001"));
    scan(&w, QStringLiteral("0001")); // the same copy twice
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("此书已经在借阅列表中！")});
    EXPECT_EQ(w.pendingList()->topLevelItemCount(), 1);

    // A title matching two books offers both; the operator picks the second.
    QStringList offered;
    answers.then([&](QWidget* dialog) {
        auto* chooser = qobject_cast<ItemChooser*>(dialog);
        ASSERT_NE(chooser, nullptr);
        QTableView* view = chooser->grid()->view();
        for (int r = 0; r < view->model()->rowCount(); ++r)
            offered
                << chooser->grid()->model()->fieldValue(r, QStringLiteral("书籍编号")).toString();
        view->setCurrentIndex(view->model()->index(1, 0));
        chooser->choose();
    });
    w.titleField()->setFocus();
    scan(&w, QStringLiteral("数据结构"));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("0001"), QStringLiteral("0002")}));
    ASSERT_EQ(w.pendingList()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(w.pendingList(), 1, 0), QStringLiteral("0002"));

    w.pendingList()->setCurrentItem(w.pendingList()->topLevelItem(0));
    press(&w, Qt::Key_F6);
    ASSERT_EQ(w.pendingList()->topLevelItemCount(), 1);
    EXPECT_EQ(cell(w.pendingList(), 0, 0), QStringLiteral("0002"));

    // A refused reader leaves nothing that F5 could lend to anyone.
    answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
    press(&w, Qt::Key_F2);
    w.readerPanel()->numberField()->clear();
    scan(&w, QStringLiteral("L1"));
    EXPECT_EQ(w.pendingList()->topLevelItemCount(), 0);
    EXPECT_TRUE(w.readerPanel()->field(QStringLiteral("可借数量"))->text().isEmpty());
    press(&w, Qt::Key_F5);
    EXPECT_EQ(answers.texts.mid(1), (QStringList{QStringLiteral("该读者已经挂失！"),
                                                 QStringLiteral("请先输入读者编号！")}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单]")), 0);
    EXPECT_TRUE(answers.done());
}

TEST_P(DeskWindowsTest, ReturnsAnOverdueLoanAfterDeductingTheChargesFromTheDeposit) {
    setReturnMode(1);
    addType({QStringLiteral("按日"), 5, 30, 1, 15, QStringLiteral("0.1"), QStringLiteral("0.5")});
    ReaderRow reader;
    reader.number = QStringLiteral("R1");
    reader.type = QStringLiteral("按日");
    reader.deposit = 20;
    addReader(reader);
    const qint64 late = addBook(QStringLiteral("0001"), QStringLiteral("借出"));
    const qint64 fresh = addBook(QStringLiteral("0002"), QStringLiteral("借出"));
    addLoan(QStringLiteral("R1"), late, today().addDays(-40), today().addDays(-10));
    addLoan(QStringLiteral("R1"), fresh, today().addDays(-2), today().addDays(28));
    BookReturnWindow w(db(), settings());
    showActive(&w);

    // List-all mode: a scanned book brings all of its borrower's loans, ticked.
    press(&w, Qt::Key_F3);
    scan(&w, QStringLiteral("0001"));
    EXPECT_EQ(w.readerPanel()->numberField()->text(), QStringLiteral("R1"));
    QTreeWidget* list = w.returnList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QStringList overdue{cell(list, 0, 8), cell(list, 0, 9), cell(list, 0, 10),
                              cell(list, 0, 11)};
    EXPECT_EQ(overdue, (QStringList{"30", "3", "10", "5"}));
    const QStringList current{cell(list, 1, 8), cell(list, 1, 9), cell(list, 1, 10),
                              cell(list, 1, 11)};
    EXPECT_EQ(current, (QStringList{"2", "0.2", QStringLiteral("未超期"), "0"}));
    EXPECT_EQ(w.finesLabel()->text(), QStringLiteral("5"));
    EXPECT_EQ(w.rentsLabel()->text(), QStringLiteral("3.2"));
    EXPECT_EQ(w.totalLabel()->text(), QStringLiteral("8.2"));

    // Unticking lowers the totals by the row's amounts.
    list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(w.rentsLabel()->text(), QStringLiteral("3"));
    EXPECT_EQ(w.totalLabel()->text(), QStringLiteral("8"));

    ModalAnswers answers;
    QStringList prefilled;
    answers
        .then([&](QWidget* dialog) {
            auto* d = qobject_cast<DepositWindow*>(dialog);
            ASSERT_NE(d, nullptr);
            prefilled << d->numberField()->text() << d->amountField()->text()
                      << d->noteField()->toPlainText() << d->balanceField()->text();
            EXPECT_TRUE(d->deductButton()->isChecked());
            d->findChild<QPushButton*>(QStringLiteral("确定"))->click();
        })
        .button(QMessageBox::Yes)
        .button(QMessageBox::Ok);
    w.findChild<QPushButton*>(QStringLiteral("从押金里扣"))->click();
    EXPECT_EQ(prefilled, (QStringList{"R1", "8", QStringLiteral("书籍租金罚款"), "20"}));
    EXPECT_EQ(answers.texts,
              (QStringList{QStringLiteral("是否确定扣押金？"), QStringLiteral("操作成功！")}));
    EXPECT_EQ(money(QStringLiteral("select [押金金额] from [读者资料] where [读者编号]='R1'")),
              Money::fromYuan(12));
    EXPECT_EQ(money(QStringLiteral("select [充押金额] from [读者充押金] where [读者编号]='R1'")),
              Money::fromYuan(-8));

    answers.button(QMessageBox::Ok);
    press(&w, Qt::Key_F5);
    EXPECT_EQ(answers.texts.last(), QStringLiteral("书籍归还成功！"));
    const auto history = db().rows(QStringLiteral("select * from [书籍归还清单]"));
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history[0].value(QStringLiteral("书籍索引")).toLongLong(), late);
    EXPECT_EQ(history[0].value(QStringLiteral("借出天数")).toInt(), 30);
    EXPECT_EQ(Money::fromVariant(history[0].value(QStringLiteral("租金金额"))), Money::fromYuan(3));
    EXPECT_EQ(history[0].value(QStringLiteral("超期天数")).toString(), QStringLiteral("10"));
    EXPECT_EQ(Money::fromVariant(history[0].value(QStringLiteral("罚款金额"))), Money::fromYuan(5));
    EXPECT_EQ(status(late), QStringLiteral("在馆"));
    EXPECT_EQ(status(fresh), QStringLiteral("借出"));
    EXPECT_EQ(loans(QStringLiteral("R1")), 1);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(w.totalLabel()->text(), QStringLiteral("0"));
}

TEST_P(DeskWindowsTest, CardThenBookListsOnlyTheScannedLoansOnce) {
    setReturnMode(0);
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("R2"));
    const qint64 a = addBook(QStringLiteral("0001"), QStringLiteral("借出"));
    const qint64 b = addBook(QStringLiteral("0002"), QStringLiteral("借出"));
    const qint64 other = addBook(QStringLiteral("0003"), QStringLiteral("借出"));
    addLoan(QStringLiteral("R1"), a, today(), today().addDays(30));
    addLoan(QStringLiteral("R1"), b, today(), today().addDays(30));
    addLoan(QStringLiteral("R2"), other, today(), today().addDays(30));
    BookReturnWindow w(db(), settings());
    showActive(&w);

    scan(&w, QStringLiteral("R1"));
    EXPECT_EQ(w.returnList()->topLevelItemCount(), 0);
    EXPECT_EQ(w.focusWidget(), w.bookNumberField());
    EXPECT_EQ(w.readerPanel()->field(QStringLiteral("借阅数量"))->text(), QStringLiteral("2"));

    ModalAnswers answers;
    answers.button(QMessageBox::Ok);
    scan(&w, QStringLiteral("0002"));
    scan(&w, QStringLiteral("0003")); // lent to someone else: nothing, silently
    scan(&w, QStringLiteral("0002")); // the same loan again
    ASSERT_EQ(w.returnList()->topLevelItemCount(), 1);
    EXPECT_EQ(cell(w.returnList(), 0, 1), QStringLiteral("0002"));
    EXPECT_EQ(cell(w.returnList(), 0, 8), QStringLiteral("1")); // lent today counts one day
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("此书已经在归还列表中！")});

    answers.button(QMessageBox::Ok);
    press(&w, Qt::Key_F5);
    EXPECT_EQ(answers.texts.last(), QStringLiteral("书籍归还成功！"));
    EXPECT_EQ(status(b), QStringLiteral("在馆"));
    EXPECT_EQ(status(a), QStringLiteral("借出"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍归还清单]")), 1);
}

TEST_P(DeskWindowsTest, RenewsTickedLoansThatHaveRenewalsLeft) {
    addReader(QStringLiteral("R1"));
    const qint64 open = addLoan(QStringLiteral("R1"), addBook(QStringLiteral("0001"), "借出"),
                                today().addDays(-5), today().addDays(25), 1, 0);
    const qint64 usedUp = addLoan(QStringLiteral("R1"), addBook(QStringLiteral("0002"), "借出"),
                                  today().addDays(-5), today().addDays(25), 1, 1);
    BookRenewWindow w(db(), settings());
    showActive(&w);
    scan(&w, QStringLiteral("R1"));
    EXPECT_EQ(w.readerPanel()->field(QStringLiteral("允许续借天"))->text(), QStringLiteral("15"));
    QTreeWidget* list = w.renewalList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(cell(list, 1, 9), QStringLiteral("1"));

    ModalAnswers answers;
    answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
    // Only the used-up loan ticked: it is unticked and nothing is renewed.
    list->topLevelItem(1)->setCheckState(0, Qt::Checked);
    press(&w, Qt::Key_F5);
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);

    w.findChild<QPushButton*>(QStringLiteral("选中全部"))->click();
    press(&w, Qt::Key_F5);
    EXPECT_EQ(answers.texts,
              (QStringList{QStringLiteral("请选中要续借的书籍！达到续借次数的书籍将不能续借！"),
                           QStringLiteral("书籍续借成功！")}));
    const auto renewed =
        db().row(QStringLiteral("select * from [书籍借阅清单] where [序号]=?"), {open});
    EXPECT_EQ(renewed->value(QStringLiteral("已经续借")).toInt(), 1);
    EXPECT_EQ(renewed->value(QStringLiteral("借阅日期")).toDate(), today());
    EXPECT_EQ(renewed->value(QStringLiteral("应还日期")).toDate(), today().addDays(15));
    const auto kept =
        db().row(QStringLiteral("select * from [书籍借阅清单] where [序号]=?"), {usedUp});
    EXPECT_EQ(kept->value(QStringLiteral("应还日期")).toDate(), today().addDays(25));
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_P(DeskWindowsTest, DepositWindowRefusesBadInputAndRecordsAConfirmedPayment) {
    ReaderRow reader;
    reader.number = QStringLiteral("R1");
    reader.deposit = 20;
    addReader(reader);
    DepositWindow d(db());
    d.setOperatorName(QStringLiteral("admin"));
    d.show();

    struct Case {
        QString number, amount, message;
    };
    const Case refusals[] = {
        {"", "5", QStringLiteral("请先输入读者编号！")},
        {"R1", "", QStringLiteral("请输入充扣金额！")},
        {"R1", "0", QStringLiteral("请输入充扣金额！")},
        {"R1", "abc", QStringLiteral("金额输入错误！")},
        {"R1", "-5", QStringLiteral("金额输入错误！")},
        {"R1", "1e3", QStringLiteral("金额输入错误！")},
    };
    for (const Case& c : refusals) {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        d.numberField()->setText(c.number);
        if (!c.number.isEmpty())
            d.queryReader();
        d.amountField()->setText(c.amount);
        EXPECT_FALSE(d.record());
        EXPECT_EQ(answers.texts, QStringList{c.message}) << c.amount.toStdString();
    }

    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        d.numberField()->setText(QStringLiteral("NOPE"));
        EXPECT_FALSE(d.queryReader());
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("没有找到该读者，请重新输入读者编号！")});
    }

    d.numberField()->setText(QStringLiteral("R1"));
    ASSERT_TRUE(d.queryReader());
    EXPECT_EQ(d.balanceField()->text(), QStringLiteral("20"));
    d.amountField()->setText(QStringLiteral("100"));
    {
        ModalAnswers answers;
        answers.button(QMessageBox::No); // cancelled: nothing changes, the contents stay
        EXPECT_FALSE(d.record());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("是否确定充押金？")});
        EXPECT_EQ(d.amountField()->text(), QStringLiteral("100"));
        EXPECT_EQ(count(QStringLiteral("select count(*) from [读者充押金]")), 0);
    }
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Yes).button(QMessageBox::Ok);
        EXPECT_TRUE(d.record());
        EXPECT_EQ(answers.texts.last(), QStringLiteral("操作成功！"));
    }
    EXPECT_EQ(money(QStringLiteral("select [押金金额] from [读者资料] where [读者编号]='R1'")),
              Money::fromYuan(120));
    EXPECT_EQ(value(QStringLiteral("select [操作员] from [读者充押金]")).toString(),
              QStringLiteral("admin"));
    EXPECT_TRUE(d.numberField()->text().isEmpty());
    EXPECT_EQ(d.balanceField()->text(), QStringLiteral("0"));
}

TEST_P(DeskWindowsTest, JournalDeletesRowsOnlyInManagementMode) {
    ReaderRow reader;
    reader.number = QStringLiteral("R1");
    reader.deposit = 50;
    addReader(reader);
    DepositRequest pay;
    pay.readerNumber = QStringLiteral("R1");
    pay.amountText = QStringLiteral("1234.5");
    pay.operatorName = QStringLiteral("admin");
    ASSERT_TRUE(recordDeposit(db(), pay).ok);

    DepositJournalWindow w(db(), Home(QString()));
    w.setManagement(false);
    w.show();
    EXPECT_FALSE(w.button(QStringLiteral("充押金"))->isVisible());
    EXPECT_FALSE(w.button(QStringLiteral("删除记录"))->isVisible());
    ASSERT_EQ(w.grid()->model()->rowCount(), 1);
    const QModelIndex amount = w.grid()->model()->index(0, 3);
    EXPECT_EQ(amount.data().toString(), QStringLiteral("￥1,234.50"));
    w.grid()->view()->setCurrentIndex(amount);
    EXPECT_FALSE(w.deleteCurrent());

    w.setManagement(true);
    EXPECT_TRUE(w.button(QStringLiteral("删除记录"))->isVisible());
    ModalAnswers answers;
    answers.button(QMessageBox::Yes);
    EXPECT_TRUE(w.deleteCurrent());
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("是否确定删除当前记录？")});
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    // The balance keeps the payment.
    EXPECT_EQ(money(QStringLiteral("select [押金金额] from [读者资料] where [读者编号]='R1'")),
              Money::parse(QStringLiteral("1284.5")).value());
}

TEST_P(DeskWindowsTest, ReaderPickListSearchesByTheChosenFieldAndOperator) {
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
    addReader({QStringLiteral("R3"),
               QStringLiteral("学生"),
               QStringLiteral("正常"),
               QStringLiteral("是"),
               {},
               0,
               QStringLiteral("张无忌")});
    PickList pick(db(), readerPickList());
    EXPECT_EQ(pick.grid()->model()->rowCount(), 3);
    pick.fieldBox()->setCurrentText(QStringLiteral("读者姓名"));

    struct Case {
        const char* op;
        QString text;
        int rows;
    };
    const Case cases[] = {{"模糊匹配", QStringLiteral("张"), 2},
                          {"=", QStringLiteral("张三"), 1},
                          {"<>", QStringLiteral("张三"), 2}};
    for (const Case& c : cases) {
        pick.operatorBox()->setCurrentText(QString::fromUtf8(c.op));
        pick.textBox()->setText(c.text);
        EXPECT_TRUE(pick.search());
        EXPECT_EQ(pick.grid()->model()->rowCount(), c.rows) << c.op;
    }
    // A blank text does not search.
    pick.textBox()->setText(QStringLiteral("  "));
    EXPECT_FALSE(pick.search());

    pick.operatorBox()->setCurrentText(QStringLiteral("="));
    pick.textBox()->setText(QStringLiteral("李四"));
    ASSERT_TRUE(pick.search());
    EXPECT_TRUE(pick.choose());
    EXPECT_EQ(pick.chosen(), QStringLiteral("R2"));
}

TEST_P(DeskWindowsTest, HeldLoansListTheReadersOwnLoansAndTheDesksFitTheScreen) {
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("R2"));
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("0001"), QStringLiteral("借出")), today(),
            today().addDays(30));
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("0002"), QStringLiteral("借出")), today(),
            today().addDays(30));
    addLoan(QStringLiteral("R2"), addBook(QStringLiteral("0003"), QStringLiteral("借出")), today(),
            today().addDays(30));
    BookLendWindow lend(db(), settings());
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        lend.showHeldLoans(); // no reader number yet
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请先输入读者编号！")});
    }
    HeldLoansWindow held(db(), QStringLiteral("R1"));
    ASSERT_EQ(held.grid()->model()->rowCount(), 2);
    EXPECT_EQ(held.grid()->model()->fieldValue(1, QStringLiteral("书籍编号")).toString(),
              QStringLiteral("0002"));
    QCoreApplication::processEvents(); // the footer follows the load
    EXPECT_EQ(held.grid()->footerText(3), QStringLiteral("2"));

    const QSize screen(1366, 768);
    BookReturnWindow back(db(), settings());
    BookRenewWindow renew(db(), settings());
    DepositWindow deposit(db());
    for (QWidget* w : std::initializer_list<QWidget*>{&lend, &back, &renew, &deposit}) {
        EXPECT_LE(w->minimumSizeHint().width(), screen.width()) << w->windowTitle().toStdString();
        EXPECT_LE(w->minimumSizeHint().height(), screen.height()) << w->windowTitle().toStdString();
    }
}

CANGSHU_ENGINES(DeskWindowsTest);
