#include "core/Schema.h"
#include "queries/CirculationHistory.h"
#include "queries/SafeSelect.h"
#include "support/TestDatabase.h"

#include <QSqlRecord>

using namespace cangshu;
using namespace cangshu::test;

class HistoryTotalsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
        for (const QString& reader : {QStringLiteral("R1"), QStringLiteral("R2")})
            db().execute(QStringLiteral("insert into [读者资料] ([读者编号]) values (?)"),
                         {reader});
    }
};

// The footer statement of each whole list gives what aggregating the list itself gives, with
// rows the join drops (a deleted reader, no reader, a deleted item) left out of both.
TEST_P(HistoryTotalsTest, WholeListFooterMatchesTheListOnEveryKind) {
    for (const HistoryKind kind : historyKinds()) {
        const HistoryView& v = historyView(kind);
        SCOPED_TRACE(v.title.toStdString());
        const QStringList itemColumns = db().columns(v.itemTable);
        const QStringList historyColumns = db().columns(v.historyTable);
        QStringList sums;
        for (const HistoryColumn& c : v.columns)
            if (c.footer == HistoryFooter::Sum)
                sums << c.field;

        auto item = [&](const QString& number, const QString& amount) {
            const qint64 id = db().insert(QStringLiteral("insert into [%1] ([%2]) values (?)")
                                              .arg(v.itemTable, v.itemNumberColumn),
                                          {number}, QStringLiteral("ID"));
            for (const QString& field : sums)
                if (itemColumns.contains(field))
                    db().execute(QStringLiteral("update [%1] set [%2]=? where [ID]=?")
                                     .arg(v.itemTable, field),
                                 {amount, id});
            return id;
        };
        auto history = [&](const QVariant& reader, qint64 itemId, const QString& amount) {
            const qint64 id =
                db().insert(QStringLiteral("insert into [%1] ([读者索引], [%2]) values (?, ?)")
                                .arg(v.historyTable, v.itemKey),
                            {reader, itemId}, QStringLiteral("序号"));
            for (const QString& field : sums)
                if (historyColumns.contains(field))
                    db().execute(QStringLiteral("update [%1] set [%2]=? where [序号]=?")
                                     .arg(v.historyTable, field),
                                 {amount, id});
        };
        const qint64 a = item(QStringLiteral("X1"), QStringLiteral("2.5"));
        const qint64 b = item(QStringLiteral("X2"), QStringLiteral("4"));
        history(QStringLiteral("R1"), a, QStringLiteral("1.25"));
        history(QStringLiteral("R2"), a, QStringLiteral("0.5"));
        history(QStringLiteral("R1"), b, QStringLiteral("3"));
        history(QStringLiteral("R9"), a, QStringLiteral("100"));
        history(QVariant(QMetaType(QMetaType::QString)), b, QStringLiteral("100"));
        history(QStringLiteral("R2"), b + 1000, QStringLiteral("100"));

        const HistoryQuery all = HistoryQueries(db(), kind).all();
        ASSERT_FALSE(all.totals.isEmpty());
        QStringList aggregates{QStringLiteral("count(*)")};
        for (const QString& field : sums)
            aggregates << QStringLiteral("sum([%1]) as [%1]").arg(field);
        QSqlQuery expected = runSelect(
            db(), QStringLiteral("select %1 from (%2) g").arg(aggregates.join(u','), all.select),
            all.params, true);
        QSqlQuery actual = runSelect(db(), all.totals, all.params, true);
        ASSERT_TRUE(expected.next());
        ASSERT_TRUE(actual.next());
        EXPECT_EQ(actual.value(0).toLongLong(), 3);
        EXPECT_EQ(actual.value(0).toLongLong(), expected.value(0).toLongLong());
        for (const QString& field : sums)
            EXPECT_DOUBLE_EQ(actual.value(actual.record().indexOf(field)).toDouble(),
                             expected.value(expected.record().indexOf(field)).toDouble())
                << field.toStdString();
    }
}

CANGSHU_ENGINES(HistoryTotalsTest);
