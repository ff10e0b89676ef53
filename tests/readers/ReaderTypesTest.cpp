#include "readers/ReaderTypes.h"
#include "LibraryFixture.h"
#include "readers/LoanRules.h"

using namespace cangshu;
using namespace cangshu::test;

class ReaderTypesTest : public LibraryTest {};

TEST_P(ReaderTypesTest, ANewTypeLendsNothingUntilItsRulesAreSet) {
    QVariantMap v = newReaderTypeValues();
    EXPECT_EQ(saveReaderType(db(), {}, v).message, QStringLiteral("请输入读者类型名称！"));
    v.insert(QStringLiteral("类型名称"), QStringLiteral("访客"));
    ASSERT_TRUE(saveReaderType(db(), {}, v).ok);
    const LoanRules r = loanRules(db(), QStringLiteral("访客"), RuleSet::Books);
    EXPECT_TRUE(r.typeFound);
    EXPECT_EQ(r.maxItems, 0);
    EXPECT_FALSE(r.unlimited);
    EXPECT_EQ(saveReaderType(db(), {}, v).message, QStringLiteral("读者类型名称已经存在！"));
}

TEST_P(ReaderTypesTest, RenameCarriesOverAndDeleteIsRefusedWhileUsed) {
    addReader(QStringLiteral("R1")); // 学生: 5 books
    QVariantMap v = newReaderTypeValues();
    v.insert(QStringLiteral("类型名称"), QStringLiteral("本科生"));
    v.insert(QStringLiteral("书籍借出册数"), 8);
    ASSERT_TRUE(saveReaderType(db(), QStringLiteral("学生"), v).ok);
    EXPECT_EQ(
        value(QStringLiteral("select [读者类型] from [读者资料] where [读者编号]='R1'")).toString(),
        QStringLiteral("本科生"));
    EXPECT_EQ(loanRules(db(), QStringLiteral("本科生"), RuleSet::Books).maxItems, 8);

    EXPECT_EQ(deleteReaderType(db(), QStringLiteral("本科生")).message,
              QStringLiteral("还有1位读者属于此读者类型，不能删除！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者类型]")), 1);
    db().execute(QStringLiteral("delete from [读者资料]"));
    EXPECT_TRUE(deleteReaderType(db(), QStringLiteral("本科生")).ok);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者类型]")), 0);
}

CANGSHU_ENGINES(ReaderTypesTest);
