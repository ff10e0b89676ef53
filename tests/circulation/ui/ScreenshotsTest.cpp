#include "support/TestDatabase.h"

#include "circulation/ui/BookLendWindow.h"
#include "circulation/ui/BookRenewWindow.h"
#include "circulation/ui/BookReturnWindow.h"
#include "circulation/ui/DepositJournalWindow.h"
#include "circulation/ui/DepositWindow.h"
#include "circulation/ui/ReaderPanel.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using namespace cangshu;

// Pictures of the desk windows for docs/: CANGSHU_SCREENSHOT_DIR=docs circulation_ui_tests
// --gtest_filter=Screenshots.*
TEST(Screenshots, DeskWindows) {
    const QString dir = qEnvironmentVariable("CANGSHU_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "CANGSHU_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    auto db = Database::openMemory();
    const QDate today(2024, 5, 10);
    db->clock().setToday(today);
    createSchema(*db);
    ASSERT_TRUE(addDemoLibrary(*db, today));
    auto grab = [&](QWidget& w, const QString& name) {
        w.show();
        QTest::qWait(50);
        EXPECT_TRUE(w.grab().save(dir + u'/' + name));
    };
    const DeskSettings settings = loadDeskSettings(*db, QStringLiteral("admin"));

    // A reader who may borrow, and two books on the shelf.
    const QString reader =
        db->scalar(QStringLiteral("select [读者编号] from [读者资料] where [读者状态]='正常' and "
                                  "[读者编号] not in (select [读者索引] from [书籍借阅清单]) "
                                  "order by [读者编号] limit 1"))
            .toString();
    const auto shelf = db->rows(QStringLiteral(
        "select [书籍编号] from [书籍资料] where [在馆状态]='在馆' order by [书籍编号] limit 2"));
    ASSERT_FALSE(reader.isEmpty());
    ASSERT_EQ(shelf.size(), 2);
    BookLendWindow lend(*db, settings);
    lend.show();
    lend.readerPanel()->numberField()->setText(reader);
    lend.lookupReader();
    for (const QSqlRecord& r : shelf) {
        lend.bookNumberField()->setText(r.value(0).toString());
        lend.addBook(ItemSearch::ByNumber);
    }
    ASSERT_EQ(lend.pendingList()->topLevelItemCount(), 2);
    grab(lend, QStringLiteral("book-lend-window.png"));

    // The borrower of an overdue loan, with all of their loans listed.
    const QString late =
        db->scalar(QStringLiteral("select [读者索引] from [书籍借阅清单] where [应还日期]<? "
                                  "order by [序号] limit 1"),
                   {today})
            .toString();
    ASSERT_FALSE(late.isEmpty());
    BookReturnWindow back(*db, settings);
    back.show();
    back.readerPanel()->numberField()->setText(late);
    back.lookupReader();
    grab(back, QStringLiteral("book-return-window.png"));

    BookRenewWindow renew(*db, settings);
    renew.show();
    renew.readerPanel()->numberField()->setText(late);
    renew.lookupReader();
    grab(renew, QStringLiteral("book-renew-window.png"));

    DepositWindow deposit(*db);
    deposit.setOperatorName(QStringLiteral("admin"));
    deposit.show();
    deposit.prefill(late, DepositDirection::Deduct, back.desk().totals().total().toString(),
                    QStringLiteral("书籍租金罚款"));
    grab(deposit, QStringLiteral("deposit-window.png"));

    DepositJournalWindow journal(*db, Home(QString()));
    journal.setManagement(true);
    journal.resize(1000, 500);
    grab(journal, QStringLiteral("deposit-journal-window.png"));
}
