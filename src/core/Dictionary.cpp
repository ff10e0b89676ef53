#include "Dictionary.h"

namespace cangshu {

const QStringList& dictionaryTables() {
    static const QStringList names{
        QStringLiteral("单位部门"), QStringLiteral("所属语种"), QStringLiteral("存放位置"),
        QStringLiteral("密级"),     QStringLiteral("书籍开本"), QStringLiteral("印刷版面"),
        QStringLiteral("馆藏地"),   QStringLiteral("商品类型"), QStringLiteral("区域类型")};
    return names;
}

QStringList dictionaryValues(const Database& db, const QString& table) {
    QStringList out;
    if (!dictionaryTables().contains(table))
        return out;
    QSqlQuery q = db.run(QStringLiteral("select [%1] from [%1]").arg(table));
    while (q.next())
        if (!q.value(0).isNull())
            out << q.value(0).toString();
    return out;
}

} // namespace cangshu
