#include "DeskLookups.h"

namespace cangshu {

QStringList readerNames(const Database& db) {
    QStringList names;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("select [读者姓名] from [读者资料] where [读者姓名] is not null "
                                "order by [读者姓名]")))
        names << r.value(0).toString();
    return names;
}

std::optional<QString> readerNumberByName(const Database& db, const QString& name) {
    if (name.trimmed().isEmpty())
        return std::nullopt;
    const QVariant number =
        db.scalar(QStringLiteral("select [读者编号] from [读者资料] where [读者姓名]=? "
                                 "order by [读者编号] limit 1"),
                  {name});
    if (number.isNull())
        return std::nullopt;
    return number.toString();
}

Outcome deleteDepositEntry(Database& db, qint64 key) {
    if (db.execute(QStringLiteral("delete from [读者充押金] where [序号]=?"), {key}) != 1)
        return Outcome::refused(QStringLiteral("该记录已经不存在！"));
    return Outcome::done();
}

} // namespace cangshu
