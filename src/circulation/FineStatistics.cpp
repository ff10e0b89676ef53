#include "FineStatistics.h"

namespace cangshu {

FineStatistics fineStatistics(const Database& db, const QDate& from, const QDate& to) {
    FineStatistics s;
    auto returns = [&](const QString& table, Money* fines, Money* rents) {
        const auto r = db.row(QStringLiteral("select sum([罚款金额]), sum([租金金额]) from [%1] "
                                             "where [归还日期]>=? and [归还日期]<=?")
                                  .arg(table),
                              {from, to});
        *fines = Money::fromVariant(r->value(0));
        *rents = Money::fromVariant(r->value(1));
    };
    returns(QStringLiteral("书籍归还清单"), &s.bookFines, &s.bookRents);
    returns(QStringLiteral("期刊归还清单"), &s.periodicalFines, &s.periodicalRents);
    s.lossFines = Money::fromVariant(
        db.scalar(QStringLiteral("select sum([罚款金额]) from [丢失罚款] where [罚款日期]>=? and "
                                 "[罚款日期]<=?"),
                  {from, to}));
    return s;
}

} // namespace cangshu
