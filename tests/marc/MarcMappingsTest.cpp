#include "marc/MarcMappings.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"

using namespace cangshu;

namespace {

class MarcMappingsTest : public cangshu::test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
    }
};

} // namespace

TEST_P(MarcMappingsTest, SeedsBothTablesOnceWithColumnsTheTargetsHave) {
    const int written = seedMarcMappings(db());
    EXPECT_EQ(written, defaultBookMappings().size() + defaultPeriodicalMappings().size());
    EXPECT_EQ(seedMarcMappings(db()), 0); // filled tables are left alone

    const struct {
        const char* table;
        const char* caption;
        QStringList targets; // tables whose columns the mapping names
    } tables[] = {
        {"marc", "图书字段", {QStringLiteral("书籍资料")}},
        {"marcqk", "期刊字段", {QStringLiteral("期刊资料")}},
    };
    for (const auto& t : tables) {
        const QString table = QString::fromUtf8(t.table);
        const auto rows =
            db().rows(QStringLiteral("select * from [%1] order by [序号]").arg(table));
        ASSERT_FALSE(rows.isEmpty());
        QSet<QString> keys;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const auto& row = rows[i];
            const QString tag = row.value(QStringLiteral("marc字段")).toString();
            const QString code = row.value(QStringLiteral("标识")).toString();
            EXPECT_EQ(tag.size(), 3);
            EXPECT_EQ(code.size(), 1);
            EXPECT_EQ(row.value(QStringLiteral("导入标识")).toInt(), i);
            EXPECT_GT(row.value(QStringLiteral("列宽")).toInt(), 0);
            EXPECT_FALSE(row.value(QString::fromUtf8(t.caption)).toString().isEmpty());
            EXPECT_FALSE(keys.contains(tag + code)) << "duplicate " << (tag + code).toStdString();
            keys.insert(tag + code);
            const QString column = row.value(QStringLiteral("导入数据库字段")).toString();
            if (column.isEmpty())
                continue;
            for (const auto& target : t.targets) {
                EXPECT_TRUE(db().columns(target).contains(column, Qt::CaseInsensitive))
                    << target.toStdString() << " has no " << column.toStdString();
            }
        }
    }
    // What an import needs first of all.
    EXPECT_EQ(db().scalar(QStringLiteral("select [导入数据库字段] from [marc] where [marc字段]=? "
                                         "and [标识]=?"),
                          {QStringLiteral("200"), QStringLiteral("a")})
                  .toString(),
              QStringLiteral("书籍名称"));
    EXPECT_EQ(db().scalar(QStringLiteral("select [导入数据库字段] from [marcqk] where [marc字段]=? "
                                         "and [标识]=?"),
                          {QStringLiteral("011"), QStringLiteral("a")})
                  .toString(),
              QStringLiteral("标准ISSN"));
}

CANGSHU_ENGINES(MarcMappingsTest);
