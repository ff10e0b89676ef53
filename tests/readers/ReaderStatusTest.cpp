#include "readers/ReaderStatus.h"
#include "LibraryFixture.h"

using namespace cangshu;
using namespace cangshu::test;

class ReaderStatusTest : public LibraryTest {
protected:
    QString statusOf(const QString& number) {
        return value(QStringLiteral("select [读者状态] from [读者资料] where [读者编号]=?"),
                     {number})
            .toString();
    }
    Outcome apply(StatusOperation op, const QString& number) {
        return applyStatusOperation(db(), op, number, QStringLiteral("张三"),
                                    QStringLiteral("学生"));
    }
};

TEST_P(ReaderStatusTest, EachOperationSetsTheStatusAndSaysSo) {
    addReader(QStringLiteral("R1"));
    struct Step {
        StatusOperation op;
        QString message;
        QString status;
    };
    const Step steps[] = {
        {StatusOperation::Lose, QStringLiteral("挂失操作成功！"), QStringLiteral("挂失")},
        {StatusOperation::Lose, QStringLiteral("挂失操作成功！"), QStringLiteral("挂失")},
        {StatusOperation::Cancel, QStringLiteral("读者注销成功！"), QStringLiteral("注销")},
        // Found again lifts a cancellation too.
        {StatusOperation::Found, QStringLiteral("解挂操作成功！"), QStringLiteral("正常")},
    };
    for (const Step& s : steps) {
        const Outcome o = apply(s.op, QStringLiteral("R1"));
        EXPECT_TRUE(o.ok);
        EXPECT_EQ(o.message, s.message);
        EXPECT_EQ(statusOf(QStringLiteral("R1")), s.status);
    }
    const Outcome refund = apply(StatusOperation::Refund, QStringLiteral("R1"));
    EXPECT_EQ(refund.message, QStringLiteral("读者退卡成功！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 0);
}

TEST_P(ReaderStatusTest, RefusalsAndANumberThatMatchesNoReader) {
    addReader(QStringLiteral("R1"));
    // The window's three fields must be filled by a lookup first.
    EXPECT_EQ(applyStatusOperation(db(), StatusOperation::Lose, QStringLiteral("R1"),
                                   QStringLiteral("张三"), QString())
                  .message,
              QStringLiteral("请先输入读者编号！"));
    EXPECT_EQ(applyStatusOperation(db(), StatusOperation::Lose, QStringLiteral(" "),
                                   QStringLiteral("张三"), QStringLiteral("学生"))
                  .message,
              QStringLiteral("请先输入读者编号！"));
    for (StatusOperation op : {StatusOperation::Lose, StatusOperation::Found,
                               StatusOperation::Cancel, StatusOperation::Refund}) {
        const Outcome o = apply(op, QStringLiteral("R9"));
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.message, QStringLiteral("没有找到该读者，请重新输入读者编号！"));
    }
    EXPECT_EQ(lookupReaderForStatus(db(), QStringLiteral("R9")).outcome.message,
              QStringLiteral("没有找到该读者，请重新输入读者编号！"));
    EXPECT_EQ(lookupReaderForStatus(db(), QStringLiteral("R1")).reader->type,
              QStringLiteral("学生"));
    EXPECT_EQ(statusOf(QStringLiteral("R1")), QStringLiteral("正常"));
}

TEST_P(ReaderStatusTest, OpenLoansOfAnyKindKeepAReader) {
    for (const char* n : {"B", "P", "V", "FREE"})
        addReader(QString::fromLatin1(n));
    const qint64 book = addBook(QStringLiteral("0001"));
    addLoan(QStringLiteral("B"), book, today(), today().addDays(30));
    db().execute(
        QStringLiteral("insert into [期刊借阅清单] ([读者索引], [期刊索引]) values (?, 1)"),
        {QStringLiteral("P")});
    db().execute(
        QStringLiteral("insert into [音像借阅清单] ([读者索引], [音像索引]) values (?, 1)"),
        {QStringLiteral("V")});
    // Return history does not count.
    db().execute(
        QStringLiteral("insert into [书籍归还清单] ([读者索引], [书籍索引]) values (?, 1)"),
        {QStringLiteral("FREE")});

    const std::pair<const char*, QString> refusals[] = {
        {"B", QStringLiteral("此读者有书籍未归还，不能删除！")},
        {"P", QStringLiteral("此读者有期刊未归还，不能删除！")},
        {"V", QStringLiteral("此读者有音像制品未归还，不能删除！")},
    };
    for (const auto& [number, message] : refusals) {
        EXPECT_EQ(deleteReader(db(), QString::fromLatin1(number)).message, message);
        EXPECT_EQ(apply(StatusOperation::Refund, QString::fromLatin1(number)).message, message);
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 4);

    // Marked together with a reader who holds a loan: nothing is deleted.
    db().execute(
        QStringLiteral("update [读者资料] set [选中]=TRUE where [读者编号] in ('FREE', 'V')"));
    const Outcome batch = deleteMarkedReaders(db());
    EXPECT_FALSE(batch.ok);
    EXPECT_TRUE(batch.message.startsWith(QStringLiteral("V（")));
    EXPECT_TRUE(batch.message.endsWith(QStringLiteral("此读者有音像制品未归还，不能删除！")));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 4);

    db().execute(QStringLiteral("update [读者资料] set [选中]=FALSE where [读者编号]='V'"));
    EXPECT_TRUE(deleteMarkedReaders(db()).ok);
    EXPECT_TRUE(
        deleteReader(db(), QStringLiteral("FREE")).message.contains(QStringLiteral("没有找到")));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 3);
    // The history of a deleted reader stays.
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍归还清单]")), 1);
}

CANGSHU_ENGINES(ReaderStatusTest);
