#include "core/Dictionary.h"
#include "core/Numbering.h"
#include "core/Password.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/Seed.h"
#include "support/TestDatabase.h"

using namespace cangshu;
using namespace Qt::StringLiterals;

namespace {

class SchemaSeedTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
        seedNewDatabase(db());
    }
    int count(const QString& table) {
        return db().scalar(u"select count(*) from [%1]"_s.arg(table)).toInt();
    }
};

TEST_P(SchemaSeedTest, ANewLibraryHasItsSettingsAndCounters) {
    ASSERT_EQ(count(u"系统信息"_s), 1);
    const auto info = db().row(u"select * from [系统信息]"_s);
    EXPECT_EQ(info->value(u"图书馆名称"_s).toString(), u"藏书图书馆"_s);
    EXPECT_EQ(info->value(u"预约天数"_s).toInt(), 7);
    const Numbering numbering(db());
    EXPECT_EQ(numbering.nextNumber(NumberKind::Book), u"00000001"_s);
    EXPECT_EQ(numbering.nextNumber(NumberKind::Periodical), u"00000001"_s);
    EXPECT_EQ(numbering.nextNumber(NumberKind::Reader), u"00000001"_s);

    ASSERT_EQ(count(u"参数设置"_s), 1);
    const auto p = db().row(u"select * from [参数设置]"_s);
    EXPECT_EQ(p->value(u"有效期"_s).toInt(), 3);
    EXPECT_DOUBLE_EQ(p->value(u"书籍罚款"_s).toDouble(), 0.1);
    EXPECT_DOUBLE_EQ(p->value(u"期刊罚款"_s).toDouble(), 0.1);
    EXPECT_GT(p->value(u"分页记录"_s).toInt(), 0);
    EXPECT_EQ(p->value(u"种类条件"_s).toString(), u"书籍名称,出版社名,作者信息,标准ISBN"_s);
    EXPECT_EQ(p->value(u"显示超期"_s).toString(), u"否"_s);
    EXPECT_EQ(p->value(u"一对一"_s).toInt(), 1);
    EXPECT_EQ(p->value(u"还书"_s).toInt(), 1);
}

TEST_P(SchemaSeedTest, AdminHasEveryRightAndAHashedPassword) {
    const auto admin = db().row(u"select * from [管理员] where [用户名]='admin'"_s);
    ASSERT_TRUE(admin);
    const QString stored = admin->value(u"密码"_s).toString();
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_TRUE(checkPassword(u"61730"_s, stored).ok);
    EXPECT_FALSE(checkPassword(u"61731"_s, stored).ok);
    for (const QString& right :
         {u"系统设置"_s, u"系统管理"_s, u"基本操作"_s, u"系统查询"_s, u"统计分析"_s, u"报表打印"_s})
        EXPECT_TRUE(admin->value(right).toBool()) << right.toStdString();
}

TEST_P(SchemaSeedTest, ReaderTypesDictionariesAndWebRows) {
    const auto types = db().rows(u"select * from [读者类型]"_s);
    EXPECT_GE(types.size(), 3);
    int limited = 0;
    for (const QSqlRecord& t : types) {
        EXPECT_GT(t.value(u"书籍借出册数"_s).toInt(), 0);
        EXPECT_GT(t.value(u"书籍借出天数"_s).toInt(), 0);
        EXPECT_DOUBLE_EQ(t.value(u"书籍每日租金"_s).toDouble(), 0);
        EXPECT_DOUBLE_EQ(t.value(u"书籍超期罚款"_s).toDouble(), 0.1);
        limited += t.value(u"无限制"_s).toString() == u"否"_s;
    }
    EXPECT_GE(limited, 1);
    for (const QString& d : dictionaryTables())
        EXPECT_FALSE(dictionaryValues(db(), d).isEmpty()) << d.toStdString();
    EXPECT_EQ(db().scalar(u"select [联系我们] from [联系我们]"_s).toString(), u"图书馆"_s);
    // The web application compares this password as plain text.
    EXPECT_EQ(
        db().scalar(u"select [userpass] from [userlogin] where [username]='超级用户'"_s).toString(),
        u"61730"_s);
}

TEST_P(SchemaSeedTest, SeedingAgainAddsNothing) {
    QList<int> before;
    const QStringList tables{u"系统信息"_s, u"参数设置"_s, u"管理员"_s,   u"读者类型"_s,
                             u"馆藏地"_s,   u"联系我们"_s, u"userlogin"_s};
    for (const QString& t : tables)
        before << count(t);
    seedNewDatabase(db());
    for (int i = 0; i < tables.size(); ++i)
        EXPECT_EQ(count(tables[i]), before[i]) << tables[i].toStdString();
}

TEST_P(SchemaSeedTest, ANewDatabaseHasNothingToUpgrade) {
    const UpgradeReport report = upgradeSchema(db(), {});
    EXPECT_TRUE(report.ok());
    QStringList applied;
    for (const UpgradeItem& i : report.applied())
        applied << i.describe();
    EXPECT_TRUE(applied.isEmpty()) << applied.join(u'\n').toStdString();
}

CANGSHU_ENGINES(SchemaSeedTest);

} // namespace
