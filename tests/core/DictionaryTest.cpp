#include "core/Dictionary.h"
#include "support/TestDatabase.h"

using namespace cangshu;

class DictionaryTest : public test::EngineTest {};

TEST_P(DictionaryTest, ListsValuesInOrderSkippingNulls) {
    db().execute(QStringLiteral("create table [存放位置] ([编号] %1, [存放位置] VARCHAR(50))")
                     .arg(db().dialect().keyColumnType()));
    EXPECT_TRUE(dictionaryValues(db(), QStringLiteral("存放位置")).isEmpty());
    for (const QVariant& v :
         {QVariant(QStringLiteral("一楼A架")), QVariant(QMetaType(QMetaType::QString)),
          QVariant(QStringLiteral("二楼B架"))})
        db().execute(QStringLiteral("insert into [存放位置] ([存放位置]) values (?)"), {v});
    EXPECT_EQ(dictionaryValues(db(), QStringLiteral("存放位置")),
              (QStringList{QStringLiteral("一楼A架"), QStringLiteral("二楼B架")}));
    // Only the nine dictionaries are read, whatever name a caller passes.
    EXPECT_TRUE(dictionaryValues(db(), QStringLiteral("管理员")).isEmpty());
}

CANGSHU_ENGINES(DictionaryTest);
