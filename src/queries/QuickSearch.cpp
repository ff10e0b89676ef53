#include "QuickSearch.h"

namespace cangshu {

SearchOutcome quickSearchCondition(const Database& db, const QString& table, const QString& column,
                                   const QString& text, bool fuzzy) {
    SearchOutcome out;
    const QString value = text.trimmed();
    if (value.isEmpty()) {
        out.message = QStringLiteral("请输入查询内容！");
        return out;
    }
    if (!db.hasColumn(table, column))
        throw DatabaseError(QStringLiteral("no column %1 in %2").arg(column, table), {});
    if (fuzzy) {
        out.condition.sql = QStringLiteral(" where CAST([%1] AS TEXT) %2 ?")
                                .arg(column, db.dialect().likeOperator());
        out.condition.params << QStringLiteral("%") + value + QStringLiteral("%");
    } else {
        out.condition.sql = QStringLiteral(" where [%1]=?").arg(column);
        out.condition.params << value;
    }
    out.ok = true;
    return out;
}

} // namespace cangshu
