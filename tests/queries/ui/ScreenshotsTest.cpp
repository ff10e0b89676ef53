#include "circulation/Fines.h"
#include "core/DemoLibrary.h"
#include "core/Schema.h"
#include "queries/ui/FineStatisticsWindow.h"
#include "queries/ui/FineWindow.h"
#include "queries/ui/FinesListWindow.h"
#include "queries/ui/HistoryWindow.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace cangshu;

// Pictures of the history and fines windows on the demo library for docs/:
// CANGSHU_SCREENSHOT_DIR=docs queries_ui_tests --gtest_filter=QueryScreenshots.*
TEST(QueryScreenshots, HistoryAndFines) {
    const QString dir = qEnvironmentVariable("CANGSHU_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "CANGSHU_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    const QDate today(2024, 5, 20);
    auto db = Database::openMemory();
    db->clock().setToday(today);
    createSchema(*db);
    ASSERT_TRUE(addDemoLibrary(*db, today));
    const auto readers =
        db->rows(QStringLiteral("select [读者编号] from [读者资料] order by [读者编号]"));
    ASSERT_GE(readers.size(), 2);
    recordFine(*db, {readers[0].value(0).toString(), QStringLiteral("35"),
                     QStringLiteral("平凡的世界"), today.addDays(-3), QStringLiteral("丢失")});
    recordFine(*db, {readers[1].value(0).toString(), QStringLiteral("12.5"), QStringLiteral("围城"),
                     today.addDays(-1), QStringLiteral("封面破损")});

    auto grab = [&](QWidget& w, const QString& name) {
        QTest::qWait(80);
        EXPECT_TRUE(w.grab().save(dir + u'/' + name));
    };

    HistoryWindow loans(*db, Home(), HistoryKind::BookLoans);
    loans.resize(1280, 640);
    loans.show();
    loans.showAll();
    grab(loans, QStringLiteral("book-loan-history.png"));

    FineWindow fine(*db);
    fine.show();
    fine.readerNumberBox()->setText(readers[0].value(0).toString());
    fine.lookup();
    fine.itemTitleBox()->setText(QStringLiteral("平凡的世界"));
    fine.amountBox()->setText(QStringLiteral("35"));
    grab(fine, QStringLiteral("fine-window.png"));

    FinesListWindow list(*db, Home());
    list.resize(1200, 520);
    list.show();
    grab(list, QStringLiteral("fines-list.png"));

    FineStatisticsWindow statistics(*db, Home());
    statistics.resize(1100, 660);
    statistics.show();
    statistics.fromBox()->setDate(today.addDays(-60));
    statistics.toBox()->setDate(today);
    statistics.compute();
    grab(statistics, QStringLiteral("fine-statistics.png"));
}
