#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace cangshu;
using namespace Qt::StringLiterals;

namespace {

// A database of an earlier release, with a little data in the tables the upgrade alters.
class UpgradeTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db(), SchemaVersion::BeforeUpgrade);
        db().execute(u"insert into [参数设置] ([有效期],[一对一]) values (3, 1)"_s);
        db().execute(u"insert into [读者类型] ([类型名称],[书籍借出天数],[杂志借出天数]) values "
                     "('学生', 30, 14), ('教师', 60, 21)"_s);
        db().execute(u"insert into [书籍资料] ([书籍编号]) values ('00000001')"_s);
        db().execute(
            u"insert into [书籍借阅清单] ([读者索引],[书籍索引]) values ('R1', 1), ('R2', 1)"_s);
        db().execute(u"insert into [期刊借阅清单] ([读者索引],[期刊索引]) values ('R1', 1)"_s);
        db().execute(u"insert into [期刊资料] ([期刊编号],[期刊页数]) values ('Q1', 120)"_s);
        db().execute(u"insert into [公告栏] ([标题]) values ('开馆通知')"_s);
        m_home = test::temporaryFolder();
    }

    QStringList column(const QString& sql) {
        QStringList out;
        for (const QSqlRecord& r : db().rows(sql))
            out << r.value(0).toString();
        return out;
    }

    static QStringList describe(const QList<UpgradeItem>& items) {
        QStringList out;
        for (const UpgradeItem& i : items)
            out << i.describe();
        return out;
    }

    QString m_home;
};

TEST_P(UpgradeTest, FirstRunBringsTheDatabaseToTheCurrentSchemaAndBackfills) {
    const UpgradeReport report = upgradeSchema(db(), m_home);
    EXPECT_TRUE(report.ok()) << describe(report.failures()).join(u'\n').toStdString();

    for (const TableDef& t : schemaTables()) {
        ASSERT_TRUE(db().hasTable(t.name)) << t.name.toStdString();
        for (const ColumnDef& c : t.columns)
            EXPECT_TRUE(db().hasColumn(t.name, c.name))
                << t.name.toStdString() << "." << c.name.toStdString();
    }

    EXPECT_EQ(
        column(u"select [书籍续借次数] || '/' || [书籍续借天数] || '/' || [期刊续借次数] || '/' || "
               "[期刊续借天数] from [读者类型] order by [书籍借出天数]"_s),
        (QStringList{u"1/30/1/14"_s, u"1/60/1/21"_s}));
    EXPECT_EQ(column(u"select [允许续借] || '/' || [已经续借] from [书籍借阅清单]"_s),
              (QStringList{u"1/0"_s, u"1/0"_s}));
    EXPECT_EQ(column(u"select [允许续借] || '/' || [已经续借] from [期刊借阅清单]"_s),
              (QStringList{u"1/0"_s}));
    EXPECT_EQ(column(u"select [收藏次数] from [书籍资料]"_s), (QStringList{u"0"_s}));
    EXPECT_EQ(column(u"select [种类条件] from [参数设置]"_s),
              (QStringList{u"书籍名称,出版社名,作者信息,标准ISBN"_s}));
    EXPECT_EQ(column(u"select [还书] from [参数设置]"_s), (QStringList{u"1"_s}));
    EXPECT_EQ(column(u"select [阅读次数] from [公告栏]"_s), (QStringList{u"0"_s}));
    EXPECT_EQ(column(u"select [联系我们] from [联系我们]"_s), (QStringList{u"图书馆"_s}));
    EXPECT_EQ(column(u"select [username] || '/' || [userpass] from [userlogin]"_s),
              (QStringList{u"超级用户/61730"_s}));

    // 期刊页数 now takes text, and the old number reads back as text.
    db().execute(u"insert into [期刊资料] ([期刊编号],[期刊页数]) values ('Q2', '约300页')"_s);
    EXPECT_EQ(column(u"select [期刊页数] from [期刊资料] order by [期刊编号]"_s),
              (QStringList{u"120"_s, u"约300页"_s}));

    // The new lookup columns are indexed like those of a new database.
    EXPECT_TRUE(describe(report.applied()).contains(u"ix_读者资料_身份证号：已完成"_s));
    EXPECT_TRUE(QFileInfo(m_home + u"/bookpic/x"_s).isDir());
}

TEST_P(UpgradeTest, SecondRunChangesNothingAndStillSucceeds) {
    ASSERT_TRUE(upgradeSchema(db(), m_home).ok());
    db().execute(u"update [读者类型] set [书籍续借次数]=3"_s);
    db().execute(u"update [书籍借阅清单] set [已经续借]=1"_s);

    const UpgradeReport again = upgradeSchema(db(), m_home);
    EXPECT_TRUE(again.ok());
    EXPECT_TRUE(again.applied().isEmpty()) << describe(again.applied()).join(u'\n').toStdString();
    EXPECT_EQ(column(u"select [书籍续借次数] from [读者类型]"_s), (QStringList{u"3"_s, u"3"_s}));
    EXPECT_EQ(column(u"select [已经续借] from [书籍借阅清单]"_s), (QStringList{u"1"_s, u"1"_s}));
    EXPECT_EQ(column(u"select count(*) from [联系我们]"_s), (QStringList{u"1"_s}));
    EXPECT_EQ(column(u"select count(*) from [userlogin]"_s), (QStringList{u"1"_s}));
}

TEST_P(UpgradeTest, AStepWithSomeColumnsPresentAddsTheOthers) {
    db().execute(u"alter table [期刊目录] add column [标题] VARCHAR(250)"_s);
    db().execute(u"alter table [读者类型] add column [书籍续借次数] INTEGER"_s);
    db().execute(u"update [读者类型] set [书籍续借次数]=5"_s);

    const UpgradeReport report = upgradeSchema(db(), m_home);
    EXPECT_TRUE(report.ok());
    for (const QString& c : {u"期刊名称"_s, u"期刊刊次"_s, u"标题"_s, u"关键词"_s, u"作者"_s,
                             u"备注"_s, u"作者2"_s, u"作者3"_s})
        EXPECT_TRUE(db().hasColumn(u"期刊目录"_s, c)) << c.toStdString();
    // The renewal count the library had stays; the columns added now are back-filled.
    EXPECT_EQ(
        column(u"select [书籍续借次数] || '/' || [书籍续借天数] || '/' || [期刊续借次数] from "
               "[读者类型] order by [书籍借出天数]"_s),
        (QStringList{u"5/30/1"_s, u"5/60/1"_s}));
}

TEST_P(UpgradeTest, FailuresAreReportedAndTheOtherStepsStillRun) {
    // 公告栏 is a view here, so the step cannot add to it; and the home is a file.
    db().execute(u"drop table [公告栏]"_s);
    db().execute(u"create view [公告栏] as select 1 as [ID]"_s);
    const QString homeFile = m_home + u"/not-a-folder"_s;
    QFile f(homeFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    const UpgradeReport report = upgradeSchema(db(), homeFile);
    EXPECT_FALSE(report.ok());
    QStringList failed;
    for (const UpgradeItem& i : report.failures())
        failed << i.target;
    EXPECT_TRUE(failed.contains(u"bookpic/x"_s)) << failed.join(u' ').toStdString();
    EXPECT_TRUE(failed.filter(u"公告栏"_s).size() == 1) << failed.join(u' ').toStdString();
    EXPECT_EQ(failed.size(), 2) << failed.join(u' ').toStdString();
    EXPECT_TRUE(db().hasColumn(u"读者资料"_s, u"身份证号"_s));
    EXPECT_TRUE(db().hasColumn(u"期刊借阅清单"_s, u"已经续借"_s));
}

TEST_P(UpgradeTest, CreatesAMissingTableThatAStepAlters) {
    db().execute(u"drop table [公告栏]"_s);
    const UpgradeReport report = upgradeSchema(db(), m_home);
    EXPECT_TRUE(report.ok());
    EXPECT_TRUE(db().hasColumn(u"公告栏"_s, u"阅读次数"_s));
}

CANGSHU_ENGINES(UpgradeTest);

} // namespace
