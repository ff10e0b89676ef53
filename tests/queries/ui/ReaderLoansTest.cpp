#include "LibraryFixture.h"
#include "ModalAnswers.h"
#include "queries/ui/HistoryWindow.h"
#include "queries/ui/QueryWindows.h"
#include "readers/ui/ReaderWindow.h"
#include "readers/ui/ReaderWindows.h"
#include "widgets/DataGrid.h"

using namespace cangshu;
using namespace cangshu::test;

using ReaderLoansTest = LibraryTest;

// The reader window's pop-up asks the loan query windows for the current reader's books.
TEST_P(ReaderLoansTest, ReaderWindowOpensTheLoanQueriesForTheCurrentReader) {
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("R2"));
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("B1"), QStringLiteral("借出")),
            today().addDays(-3), today().addDays(27));
    addLoan(QStringLiteral("R2"), addBook(QStringLiteral("B2"), QStringLiteral("借出")),
            today().addDays(-3), today().addDays(27));

    WindowFactories factories;
    addQueryWindows(factories); // registers the viewer
    ASSERT_TRUE(readerLoansViewer());
    const Home home(temporaryFolder());
    ReadersUiContext context;
    context.db = &db();
    context.home = home;
    context.showBookLoans = [&](const QString& number, bool returned, QWidget* owner) {
        readerLoansViewer()(db(), home, number, returned, owner);
    };
    ReaderWindow w(context);
    w.show();
    ASSERT_TRUE(w.selectNumber(QStringLiteral("R1")));

    QString title;
    QStringList books;
    ModalAnswers answers;
    answers.then([&](QWidget* dialog) {
        auto* history = qobject_cast<HistoryWindow*>(dialog);
        ASSERT_TRUE(history);
        title = history->windowTitle();
        GridModel* m = history->grid()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            books << m->fieldValue(r, history->view().itemNumberColumn).toString();
        history->close();
    });
    w.showBookLoans(false);
    EXPECT_EQ(title, QStringLiteral("书籍借阅查询"));
    EXPECT_EQ(books, QStringList{QStringLiteral("B1")});
    EXPECT_EQ(answers.unexpected, 0);
}

CANGSHU_ENGINES(ReaderLoansTest);
