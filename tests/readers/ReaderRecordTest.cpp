#include "readers/ReaderRecord.h"
#include "LibraryFixture.h"
#include "core/Numbering.h"

using namespace cangshu;
using namespace cangshu::test;

class ReaderRecordTest : public LibraryTest {
protected:
    ReaderRecord reader(const QString& number, const QString& name = QStringLiteral("李明")) {
        ReaderRecord r = newReaderRecord(today());
        r.number = number;
        r.name = name;
        r.type = QStringLiteral("学生");
        return r;
    }
    qint64 counter() {
        return value(QStringLiteral("select [读者编号值] from [系统信息]")).toLongLong();
    }
    int readers() { return count(QStringLiteral("select count(*) from [读者资料]")); }
};

TEST_P(ReaderRecordTest, RequiredFieldsAndDepositAreCheckedBeforeAnythingIsStored) {
    struct Case {
        QString number, name, type, deposit, message, focus;
    };
    const Case cases[] = {
        {QStringLiteral(" "), QStringLiteral("李明"), QStringLiteral("学生"), QStringLiteral("0"),
         QStringLiteral("请输入读者编号！"), readerfield::number},
        {QStringLiteral("R1"), QString(), QStringLiteral("学生"), QStringLiteral("0"),
         QStringLiteral("请输入读者名称！"), readerfield::name},
        {QStringLiteral("R1"), QStringLiteral("李明"), QString(), QStringLiteral("0"),
         QStringLiteral("请选择读者类型！"), readerfield::type},
        {QStringLiteral("R1"), QStringLiteral("李明"), QStringLiteral("学生"),
         QStringLiteral("五十"), QStringLiteral("押金金额必须是数字！"), readerfield::deposit},
    };
    for (const Case& c : cases) {
        ReaderRecord r = reader(c.number, c.name);
        r.type = c.type;
        r.deposit = c.deposit;
        const Outcome o = saveNewReader(db(), r);
        EXPECT_FALSE(o.ok) << c.message.toStdString();
        EXPECT_EQ(o.message, c.message);
        EXPECT_EQ(o.focus, c.focus);
    }
    EXPECT_EQ(readers(), 0);
    EXPECT_EQ(counter(), 1);
}

TEST_P(ReaderRecordTest, IssuedAndTypedNumbersBothAdvanceTheCounter) {
    Numbering numbering(db());
    const QString issued = numbering.nextNumber(NumberKind::Reader);
    EXPECT_EQ(issued, QStringLiteral("00000001"));
    EXPECT_EQ(numbering.nextNumber(NumberKind::Reader), issued); // asking does not advance

    ReaderRecord first = reader(issued, QStringLiteral("王小红"));
    first.deposit = QStringLiteral("50.5");
    first.image = QByteArray("\xff\xd8jpeg", 6);
    const Outcome saved = saveNewReader(db(), first);
    EXPECT_TRUE(saved.ok);
    EXPECT_EQ(saved.message, QStringLiteral("读者保存成功！是否继续添加新读者"));
    EXPECT_EQ(numbering.nextNumber(NumberKind::Reader), QStringLiteral("00000002"));

    EXPECT_TRUE(saveNewReader(db(), reader(QStringLiteral("T-typed"))).ok);
    EXPECT_EQ(counter(), 3);

    const auto back = loadReaderRecord(db(), issued);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->deposit, QStringLiteral("50.5"));
    EXPECT_EQ(back->status, QStringLiteral("正常"));
    EXPECT_EQ(back->unlimitedCard, QStringLiteral("是"));
    EXPECT_EQ(back->registered, today());
    EXPECT_EQ(back->image, first.image);
    EXPECT_EQ(value(QStringLiteral("select [拼音] from [读者资料] where [读者编号]=?"), {issued})
                  .toString(),
              QStringLiteral("WXH"));
}

TEST_P(ReaderRecordTest, ADuplicateNumberIsNamedAndOtherErrorsAreShownAsThemselves) {
    ASSERT_TRUE(saveNewReader(db(), reader(QStringLiteral("R1"))).ok);
    const Outcome again = saveNewReader(db(), reader(QStringLiteral("R1"), QStringLiteral("赵四")));
    EXPECT_EQ(again.message, QStringLiteral("读者编号已经存在！请重新输入！"));
    EXPECT_EQ(again.focus, readerfield::number);
    EXPECT_EQ(readers(), 1);
    EXPECT_EQ(counter(), 2);

    // The counter cannot be advanced: the reader is not stored either, and the error is
    // not passed off as a duplicate.
    db().execute(QStringLiteral("drop table [系统信息]"));
    const Outcome broken = saveNewReader(db(), reader(QStringLiteral("R2")));
    EXPECT_FALSE(broken.ok);
    EXPECT_NE(broken.message, QStringLiteral("读者编号已经存在！请重新输入！"));
    EXPECT_FALSE(broken.message.isEmpty());
    EXPECT_EQ(readers(), 1);
}

TEST_P(ReaderRecordTest, ChangesKeepTheReadersLoansAndHistoryWithANewNumber) {
    ASSERT_TRUE(saveNewReader(db(), reader(QStringLiteral("R1"))).ok);
    ASSERT_TRUE(saveNewReader(db(), reader(QStringLiteral("R2"))).ok);
    const qint64 book = addBook(QStringLiteral("B1"));
    addLoan(QStringLiteral("R1"), book, today(), today().addDays(30));
    db().execute(QStringLiteral("insert into [读者充押金] ([读者编号], [充押金额]) values (?, 5)"),
                 {QStringLiteral("R1")});

    ReaderRecord r = *loadReaderRecord(db(), QStringLiteral("R1"));
    r.number = QStringLiteral("R2");
    EXPECT_EQ(saveReaderChanges(db(), r).message, QStringLiteral("读者编号已经存在！请重新输入！"));

    r.number = QStringLiteral("R9");
    r.name = QStringLiteral("张伟");
    const Outcome o = saveReaderChanges(db(), r);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.message, QStringLiteral("读者资料修改成功！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单] where [读者索引]='R9'")),
              1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者充押金] where [读者编号]='R9'")), 1);
    EXPECT_EQ(loadReaderRecord(db(), QStringLiteral("R9"))->name, QStringLiteral("张伟"));
    EXPECT_EQ(
        value(QStringLiteral("select [拼音] from [读者资料] where [读者编号]='R9'")).toString(),
        QStringLiteral("ZW"));
    EXPECT_EQ(counter(), 3); // changes do not advance the counter
}

TEST_P(ReaderRecordTest, ExpiredCardsAreThoseEndingBeforeToday) {
    addReader({QStringLiteral("NEVER"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("是"), today().addDays(-100)});
    addReader({QStringLiteral("TODAY"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("否"), today()});
    addReader({QStringLiteral("YESTERDAY"), QStringLiteral("学生"), QStringLiteral("正常"),
               QStringLiteral("否"), today().addDays(-1)});
    const SqlWithParams c = expiredReadersCondition(today());
    const auto rows =
        db().rows(QStringLiteral("select [读者编号] from [读者资料] where ") + c.sql, c.params);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(0).toString(), QStringLiteral("YESTERDAY"));

    // A card made valid today for two years, however long ago the reader registered.
    EXPECT_EQ(cardExpiryFrom(today(), 2), today().addDays(730));
}

TEST_P(ReaderRecordTest, BatchPinyinRewritesEveryNamedReader) {
    addReader({QStringLiteral("R1"),
               QStringLiteral("学生"),
               QStringLiteral("正常"),
               QStringLiteral("是"),
               {},
               0,
               QStringLiteral(" 陈静 ")});
    addReader(QStringLiteral("R2"));
    db().execute(QStringLiteral("update [读者资料] set [读者姓名]='' where [读者编号]='R2'"));
    QStringList seen;
    EXPECT_EQ(
        refreshReaderPinyin(db(),
                            [&](int pos, int total, const QString& number) {
                                seen << QStringLiteral("%1/%2 %3").arg(pos).arg(total).arg(number);
                            }),
        1);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1/2 R1"), QStringLiteral("2/2 R2")}));
    EXPECT_EQ(
        value(QStringLiteral("select [拼音] from [读者资料] where [读者编号]='R1'")).toString(),
        QStringLiteral("CJ"));
}

CANGSHU_ENGINES(ReaderRecordTest);
