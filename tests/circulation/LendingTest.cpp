#include "LibraryFixture.h"
#include "circulation/LendingDesk.h"

using namespace cangshu;
using namespace cangshu::test;

class LendingTest : public LibraryTest {
protected:
    LendingDesk desk() {
        return LendingDesk(db(), ItemKind::books(),
                           loadDeskSettings(db(), QStringLiteral("admin")));
    }
    QString status(qint64 id) {
        return value(QStringLiteral("select [在馆状态] from [书籍资料] where [ID]=?"), {id})
            .toString();
    }
    int stock(qint64 id) {
        return count(QStringLiteral("select [馆内剩余] from [书籍资料] where [ID]=?"), {id});
    }
};

TEST_P(LendingTest, ThreeBooksInOneCommit) {
    addReader(QStringLiteral("R1"));
    const qint64 a = addBook(QStringLiteral("0001")), b = addBook(QStringLiteral("0002")),
                 c = addBook(QStringLiteral("0003"));
    db().execute(QStringLiteral("update [书籍资料] set [借出次数]=NULL where [ID]=?"), {c});
    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    EXPECT_EQ(d.rules().maxItems, 5);
    for (const char* n : {"0001", "0002", "0003"}) {
        const auto r = d.addItem(ItemSearch::ByNumber, QString::fromLatin1(n));
        EXPECT_TRUE(r.outcome.ok) << r.outcome.message.toStdString();
    }
    ASSERT_EQ(d.pending().size(), 3);
    EXPECT_EQ(d.pending()[0].due, today().addDays(30));

    // Due dates stay as fixed when added, even past midnight; the loan date is the commit day.
    db().clock().setToday(today().addDays(1));
    const Outcome o = d.commit();
    ASSERT_TRUE(o.ok) << o.message.toStdString();
    EXPECT_EQ(o.message, QStringLiteral("书籍借阅成功！"));
    EXPECT_TRUE(d.pending().isEmpty());
    EXPECT_FALSE(d.reader().has_value());
    ASSERT_EQ(d.lastLoans().size(), 3);

    const auto loans = db().rows(
        QStringLiteral("select * from [书籍借阅清单] where [读者索引]='R1' order by [书籍索引]"));
    ASSERT_EQ(loans.size(), 3);
    for (const QSqlRecord& l : loans) {
        EXPECT_EQ(l.value(QStringLiteral("借阅日期")).toDate(), today().addDays(1));
        EXPECT_EQ(l.value(QStringLiteral("应还日期")).toDate(), today().addDays(30));
        EXPECT_EQ(l.value(QStringLiteral("操作员")).toString(), QStringLiteral("admin"));
        EXPECT_EQ(l.value(QStringLiteral("允许续借")).toInt(), 1);
        EXPECT_EQ(l.value(QStringLiteral("已经续借")).toInt(), 0);
    }
    for (qint64 id : {a, b, c}) {
        EXPECT_EQ(status(id), QStringLiteral("借出"));
        EXPECT_EQ(count(QStringLiteral("select [借出次数] from [书籍资料] where [ID]=?"), {id}), 1);
    }
    EXPECT_EQ(count(QStringLiteral("select [借阅次数] from [读者资料] where [读者编号]='R1'")), 1);
}

TEST_P(LendingTest, LimitArithmeticAndTheUnlimitedTypes) {
    addReader(QStringLiteral("R1"));
    addType({QStringLiteral("无限"), 0, 0, 0, 0, QStringLiteral("0"), QStringLiteral("0"),
             QStringLiteral("是")});
    addReader(QStringLiteral("U"), QStringLiteral("无限"));
    addReader(QStringLiteral("M"), QStringLiteral("已删除的类型"));
    addType({QStringLiteral("新类型"), 0, 0, 0, 0});
    addReader(QStringLiteral("Z"), QStringLiteral("新类型"));
    for (int i = 1; i <= 9; ++i)
        addBook(QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("X1"), QStringLiteral("借出")), today(),
            today());
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("X2"), QStringLiteral("借出")), today(),
            today());
    addLoan(QStringLiteral("R1"), addBook(QStringLiteral("X3"), QStringLiteral("借出")), today(),
            today());

    // Five allowed, three out: two more, then the limit.
    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    EXPECT_EQ(d.onLoan(), 3);
    EXPECT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0001")).outcome.ok);
    EXPECT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0002")).outcome.ok);
    const auto third = d.addItem(ItemSearch::ByNumber, QStringLiteral("0003"));
    EXPECT_EQ(third.outcome.message, QStringLiteral("借阅数量已经到达可借数量！"));
    EXPECT_EQ(third.outcome.focus, focus::item);

    // Unlimited or missing type: 1000 items, 1000 days, 1000 renewals written into the loan.
    for (const char* who : {"U", "M"}) {
        ASSERT_TRUE(d.identifyReader(QString::fromLatin1(who)).ok);
        EXPECT_EQ(d.rules().maxItems, 1000);
        EXPECT_EQ(d.rules().loanDays, 1000);
    }
    ASSERT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0004")).outcome.ok);
    EXPECT_EQ(d.pending()[0].due, today().addDays(1000));
    ASSERT_TRUE(d.commit().ok);
    EXPECT_EQ(count(QStringLiteral("select [允许续借] from [书籍借阅清单] where [读者索引]='M'")),
              1000);

    // A new type saved without changes lends nothing.
    ASSERT_TRUE(d.identifyReader(QStringLiteral("Z")).ok);
    EXPECT_EQ(d.addItem(ItemSearch::ByNumber, QStringLiteral("0005")).outcome.message,
              QStringLiteral("借阅数量已经到达可借数量！"));
}

TEST_P(LendingTest, OneToOneAvailabilityAndReservations) {
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("R2"));
    const qint64 mine = addBook(QStringLiteral("MINE"), QStringLiteral("已被预定"));
    const qint64 other = addBook(QStringLiteral("OTHER"), QStringLiteral("已被预定"));
    addBook(QStringLiteral("NORES"), QStringLiteral("已被预定"));
    addBook(QStringLiteral("OUT"), QStringLiteral("借出"));
    addBook(QStringLiteral("LOST"), QStringLiteral("丢失"));
    addBook(QStringLiteral("FREE"));
    addReservation(mine, QStringLiteral("R1"));
    addReservation(other, QStringLiteral("R2"));

    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    struct Case {
        const char* number;
        QString message; // empty: added
    };
    const Case cases[] = {
        {"MINE", {}},
        {"OTHER", QStringLiteral("此书已经被R2号读者预定！")},
        {"NORES", {}},
        {"OUT", QStringLiteral("此书不在馆内或者不允许借出！")},
        {"LOST", QStringLiteral("此书不在馆内或者不允许借出！")},
        {"NONE", QStringLiteral("没有找到该书籍编号！")},
        {"FREE", {}},
        {"FREE", QStringLiteral("此书已经在借阅列表中！")}, // the same copy twice
    };
    for (const Case& c : cases) {
        const auto r = d.addItem(ItemSearch::ByNumber, QString::fromLatin1(c.number));
        EXPECT_EQ(r.outcome.message, c.message) << c.number;
        EXPECT_EQ(r.outcome.ok, c.message.isEmpty()) << c.number;
    }
    EXPECT_EQ(d.pending().size(), 3);
    ASSERT_TRUE(d.commit().ok);
    // Lending removes every reservation of the lent book; the other reader's stays.
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者预定] where [书籍索引]=?"), {mine}),
              0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者预定]")), 1);
    EXPECT_EQ(status(mine), QStringLiteral("借出"));
    EXPECT_EQ(status(other), QStringLiteral("已被预定"));
}

TEST_P(LendingTest, OneToManyCountsCopiesOnTheShelf) {
    setOneToOne(false);
    addReader(QStringLiteral("R1"));
    const qint64 two = addBook(QStringLiteral("TWO"), QStringLiteral("借出"), 2);
    addBook(QStringLiteral("NONE"), QStringLiteral("在馆"), 0);

    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    // The status plays no part; the shelf count does, including copies already pending.
    EXPECT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("TWO")).outcome.ok);
    EXPECT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("TWO")).outcome.ok);
    EXPECT_EQ(d.addItem(ItemSearch::ByNumber, QStringLiteral("TWO")).outcome.message,
              QStringLiteral("此书馆内剩余不足！"));
    EXPECT_EQ(d.addItem(ItemSearch::ByNumber, QStringLiteral("NONE")).outcome.message,
              QStringLiteral("此书馆内剩余不足！"));
    ASSERT_TRUE(d.commit().ok);
    EXPECT_EQ(stock(two), 0);
    EXPECT_EQ(status(two), QStringLiteral("借出"));
    EXPECT_EQ(count(QStringLiteral("select [借出次数] from [书籍资料] where [ID]=?"), {two}), 2);
}

TEST_P(LendingTest, SearchesByIsbnAndTitleAndEmptyFields) {
    addReader(QStringLiteral("R1"));
    const qint64 a =
        addBook(QStringLiteral("A"), QStringLiteral("在馆"), 1, QStringLiteral("红楼梦"));
    addBook(QStringLiteral("B"), QStringLiteral("在馆"), 1, QStringLiteral("红楼梦 评注"));
    db().execute(QStringLiteral("update [书籍资料] set [标准ISBN]='9787020002207', [当前本数]='上' "
                                "where [ID]=?"),
                 {a});
    LendingDesk d = desk();
    EXPECT_EQ(d.addItem(ItemSearch::ByNumber, QStringLiteral("A")).outcome.message,
              QStringLiteral("请先输入读者编号！"));
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);

    // An empty field passes the focus on without a message.
    const auto empty = d.addItem(ItemSearch::ByNumber, QStringLiteral("  "));
    EXPECT_FALSE(empty.outcome.ok);
    EXPECT_TRUE(empty.outcome.message.isEmpty());
    EXPECT_EQ(empty.outcome.focus, QStringLiteral("isbn"));

    const auto byIsbn = d.addItem(ItemSearch::ByIsbn, QStringLiteral("02000220"));
    ASSERT_TRUE(byIsbn.outcome.ok);
    EXPECT_EQ(d.pending()[0].item.title, QStringLiteral("红楼梦 上"));
    EXPECT_EQ(d.addItem(ItemSearch::ByIsbn, QStringLiteral("0000")).outcome.message,
              QStringLiteral("没有找到该书籍！"));

    // Several rows: nothing added until one is chosen.
    const auto several = d.addItem(ItemSearch::ByTitle, QStringLiteral("红楼"));
    EXPECT_EQ(several.candidates.size(), 2);
    EXPECT_EQ(d.pending().size(), 1);
    EXPECT_EQ(d.addChosen(several.candidates[1].id).ok, true);
    EXPECT_EQ(d.pending().size(), 2);
    d.removePending(0);
    EXPECT_EQ(d.pending()[0].item.number, QStringLiteral("B"));
}

TEST_P(LendingTest, ANewOrRefusedReaderClearsThePendingList) {
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("R2"));
    addBook(QStringLiteral("0001"));
    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0001")).outcome.ok);
    EXPECT_FALSE(d.identifyReader(QStringLiteral("NOBODY")).ok);
    EXPECT_TRUE(d.pending().isEmpty());
    // The commit cannot fall back on the refused number or the earlier reader.
    EXPECT_EQ(d.commit().message, QStringLiteral("请先输入读者编号！"));

    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0001")).outcome.ok);
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R2")).ok);
    EXPECT_EQ(d.commit().message, QStringLiteral("请输入书籍信息！"));
}

TEST_P(LendingTest, TheCommitVetsTheReaderAgainAndTakesOnlyAvailableCopies) {
    addReader(QStringLiteral("R1"));
    const qint64 a = addBook(QStringLiteral("0001")), b = addBook(QStringLiteral("0002"));
    LendingDesk d = desk();
    ASSERT_TRUE(d.identifyReader(QStringLiteral("R1")).ok);
    ASSERT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0001")).outcome.ok);
    ASSERT_TRUE(d.addItem(ItemSearch::ByNumber, QStringLiteral("0002")).outcome.ok);

    // Another desk lends the second copy meanwhile: nothing is lent, the book is named.
    db().execute(QStringLiteral("update [书籍资料] set [在馆状态]='借出' where [ID]=?"), {b});
    const Outcome lost = d.commit();
    EXPECT_FALSE(lost.ok);
    EXPECT_EQ(lost.message, QStringLiteral("0002《书0002》：此书不在馆内或者不允许借出！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单]")), 0);
    EXPECT_EQ(status(a), QStringLiteral("在馆"));
    EXPECT_EQ(count(QStringLiteral("select [借阅次数] from [读者资料] where [读者编号]='R1'")), 0);
    EXPECT_EQ(d.pending().size(), 2); // kept so the operator can remove the book

    // The card is reported lost before the commit: refused, nothing written.
    d.removePending(1);
    db().execute(QStringLiteral("update [读者资料] set [读者状态]='挂失'"));
    EXPECT_EQ(d.commit().message, QStringLiteral("该读者已经挂失！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单]")), 0);
    EXPECT_TRUE(d.pending().isEmpty());
}

CANGSHU_ENGINES(LendingTest);
