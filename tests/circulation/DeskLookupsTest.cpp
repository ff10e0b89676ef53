#include "circulation/DeskLookups.h"
#include "LibraryFixture.h"
#include "circulation/Deposits.h"

using namespace cangshu;
using namespace cangshu::test;

class DeskLookupsTest : public LibraryTest {};

TEST_P(DeskLookupsTest, ReaderNamesAndTheFirstNumberOfAName) {
    for (auto [number, name] : {std::pair{"R3", "王五"}, {"R1", "张三"}, {"R2", "王五"}}) {
        ReaderRow r;
        r.number = QString::fromUtf8(number);
        r.name = QString::fromUtf8(name);
        addReader(r);
    }
    EXPECT_EQ(readerNames(db()).size(), 3);
    EXPECT_EQ(readerNumberByName(db(), QStringLiteral("王五")), QStringLiteral("R2"));
    EXPECT_FALSE(readerNumberByName(db(), QStringLiteral("赵六")).has_value());
    EXPECT_FALSE(readerNumberByName(db(), QStringLiteral(" ")).has_value());
}

TEST_P(DeskLookupsTest, DeletingAJournalRowKeepsTheBalance) {
    ReaderRow r;
    r.number = QStringLiteral("R1");
    r.deposit = 10;
    addReader(r);
    DepositRequest pay;
    pay.readerNumber = QStringLiteral("R1");
    pay.amountText = QStringLiteral("5");
    ASSERT_TRUE(recordDeposit(db(), pay).ok);
    const qint64 key = value(QStringLiteral("select [序号] from [读者充押金]")).toLongLong();
    EXPECT_TRUE(deleteDepositEntry(db(), key).ok);
    EXPECT_FALSE(deleteDepositEntry(db(), key).ok); // gone already
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者充押金]")), 0);
    EXPECT_EQ(money(QStringLiteral("select [押金金额] from [读者资料]")), Money::fromYuan(15));
}

CANGSHU_ENGINES(DeskLookupsTest);
