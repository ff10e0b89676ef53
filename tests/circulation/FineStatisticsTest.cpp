#include "circulation/FineStatistics.h"
#include "LibraryFixture.h"

using namespace cangshu;
using namespace cangshu::test;

class FineStatisticsTest : public LibraryTest {
protected:
    void returned(const QString& table, const QDate& on, const QVariant& fine,
                  const QVariant& rent) {
        db().execute(
            QStringLiteral("insert into [%1] ([读者索引], [归还日期], [罚款金额], [租金金额]) "
                           "values ('R1', ?, ?, ?)")
                .arg(table),
            {on, fine, rent});
    }
    void loss(const QDate& on, const QVariant& amount) {
        db().execute(QStringLiteral("insert into [丢失罚款] ([读者编号], [罚款日期], [罚款金额]) "
                                    "values ('R1', ?, ?)"),
                     {on, amount});
    }
};

TEST_P(FineStatisticsTest, PeriodSumsWithInclusiveBoundsAndNulls) {
    const QVariant nullMoney = QVariant(QMetaType(QMetaType::QString));
    const QDate from(2024, 5, 1), to(2024, 5, 31);
    returned(QStringLiteral("书籍归还清单"), from, QStringLiteral("0.1"), QStringLiteral("0.2"));
    returned(QStringLiteral("书籍归还清单"), to, QStringLiteral("0.2"), nullMoney);
    returned(QStringLiteral("书籍归还清单"), to.addDays(1), QStringLiteral("100"),
             QStringLiteral("100"));
    returned(QStringLiteral("期刊归还清单"), {2024, 5, 15}, nullMoney, QStringLiteral("0.7"));
    returned(QStringLiteral("期刊归还清单"), from.addDays(-1), QStringLiteral("9"),
             QStringLiteral("9"));
    loss(to, QStringLiteral("25.5"));
    loss(from.addDays(-1), QStringLiteral("1"));

    const FineStatistics s = fineStatistics(db(), from, to);
    struct Row {
        const char* what;
        Money value;
        const char* expected;
    };
    const Row rows[] = {
        {"book fines", s.bookFines, "0.30"},
        {"periodical fines", s.periodicalFines, "0.00"},
        {"total fines", s.totalFines(), "0.30"},
        {"book rents", s.bookRents, "0.20"},
        {"periodical rents", s.periodicalRents, "0.70"},
        {"total rents", s.totalRents(), "0.90"},
        {"loss fines", s.lossFines, "25.50"},
        {"grand total", s.grandTotal(), "26.70"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.value.toFixed2(), QString::fromLatin1(r.expected)) << r.what;

    const FineStatistics none = fineStatistics(db(), {2023, 1, 1}, {2023, 1, 31});
    EXPECT_EQ(none.grandTotal().toFixed2(), QStringLiteral("0.00"));
}

CANGSHU_ENGINES(FineStatisticsTest);
