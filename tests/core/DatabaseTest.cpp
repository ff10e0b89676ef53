#include "support/TestDatabase.h"

using namespace cangshu;

TEST(DialectTest, RewritesBracketsOnPostgresOnly) {
    const Dialect pg(Engine::PostgreSQL), lite(Engine::SQLite);
    const QString sql = QStringLiteral(
        "select [ID],[标准ISBN] from [书籍资料] where [书名]='[x]' and a='it''s [y]'");
    EXPECT_EQ(lite.rewrite(sql), sql);
    EXPECT_EQ(
        pg.rewrite(sql),
        QStringLiteral(
            "select \"id\",\"标准isbn\" from \"书籍资料\" where \"书名\"='[x]' and a='it''s [y]'"));
}

class DatabaseTest : public test::EngineTest {};

TEST_P(DatabaseTest, BindsValuesAndReturnsKeys) {
    db().execute(QStringLiteral("create table [书籍资料] ([ID] %1, [书籍名称] TEXT, [入库时间] "
                                "DATE, [选中] BOOLEAN, [书籍价格] NUMERIC(14,2))")
                     .arg(db().dialect().keyColumnType()));
    const QString evil = QStringLiteral("x'); drop table [书籍资料]; --");
    const qint64 id = db().insert(
        QStringLiteral(
            "insert into [书籍资料] ([书籍名称],[入库时间],[选中],[书籍价格]) values (?,?,?,?)"),
        {evil, QDate(2024, 5, 1), true, 12.5}, QStringLiteral("ID"));
    EXPECT_GT(id, 0);
    const auto r = db().row(QStringLiteral("select * from [书籍资料] where [ID]=?"), {id});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->value(QStringLiteral("书籍名称")).toString(), evil);
    EXPECT_EQ(r->value(QStringLiteral("入库时间")).toDate(), QDate(2024, 5, 1));
    EXPECT_TRUE(r->value(QStringLiteral("选中")).toBool());
    EXPECT_DOUBLE_EQ(r->value(QStringLiteral("书籍价格")).toDouble(), 12.5);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select count(*) from [书籍资料] where [选中]=TRUE")).toInt(),
        1);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [书籍资料] where [入库时间]<?"),
                          {QDate(2024, 5, 2)})
                  .toInt(),
              1);
    EXPECT_TRUE(db().hasColumn(QStringLiteral("书籍资料"), QStringLiteral("ID")));
    EXPECT_FALSE(db().hasColumn(QStringLiteral("书籍资料"), QStringLiteral("拼音")));
    EXPECT_TRUE(db().hasTable(QStringLiteral("书籍资料")));
    EXPECT_FALSE(db().hasTable(QStringLiteral("读者资料")));
    const QString like = QStringLiteral("select count(*) from [书籍资料] where [书籍名称] %1 ?")
                             .arg(db().dialect().likeOperator());
    EXPECT_EQ(db().scalar(like, {QStringLiteral("%DROP TABLE%")}).toInt(), 1);
}

TEST_P(DatabaseTest, FailedStatementThrowsAndTransactionRollsBack) {
    db().execute(QStringLiteral("create table [t] ([a] INTEGER)"));
    EXPECT_THROW(db().execute(QStringLiteral("insert into [missing] values (1)")), DatabaseError);
    try {
        Transaction tx(db());
        db().execute(QStringLiteral("insert into [t] values (1)"));
        {
            Transaction inner(db());
            db().execute(QStringLiteral("insert into [t] values (2)"));
            inner.commit();
        }
        db().execute(QStringLiteral("insert into [nowhere] values (3)"));
        tx.commit();
    } catch (const DatabaseError&) {
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [t]")).toInt(), 0);
    {
        Transaction tx(db());
        db().execute(QStringLiteral("insert into [t] values (4)"));
        tx.commit();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [t]")).toInt(), 1);
}

CANGSHU_ENGINES(DatabaseTest);
