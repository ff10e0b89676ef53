#include "LabelLists.h"

#include "PrintJob.h"
#include "queries/SafeSelect.h"

namespace cangshu::report {

LabelTable LabelTable::books() {
    return {QStringLiteral("书籍资料"), QStringLiteral("书籍编号"), QStringLiteral("中图分类"),
            true};
}

LabelTable LabelTable::periodicals() {
    return {QStringLiteral("期刊资料"), QStringLiteral("期刊编号"), QStringLiteral("中图分类"),
            true};
}

LabelTable LabelTable::readers() {
    return {QStringLiteral("读者资料"), QStringLiteral("读者编号"), QStringLiteral("读者类型"),
            false};
}

QList<QVariantMap> labelRowsAll(const Database& db, const LabelTable& t) {
    QSqlQuery q =
        db.run(QStringLiteral("select * from [%1] order by [%2]").arg(t.table, t.numberColumn));
    return rowsOf(q);
}

QList<QVariantMap> labelRowsOfGroup(const Database& db, const LabelTable& t, const QString& group) {
    // substr counts characters on both engines, as the class codes are compared.
    const QString test = t.groupIsPrefix ? QStringLiteral("substr([%1],1,?)=?").arg(t.groupColumn)
                                         : QStringLiteral("[%1]=?").arg(t.groupColumn);
    const QVariantList params =
        t.groupIsPrefix ? QVariantList{int(group.size()), group} : QVariantList{group};
    QSqlQuery q = db.run(QStringLiteral("select * from [%1] where %2 order by [%3]")
                             .arg(t.table, test, t.numberColumn),
                         params);
    return rowsOf(q);
}

QList<QVariantMap> labelRowsWhere(const Database& db, const LabelTable& t, const QString& condition,
                                  const QStringList& sortTerms) {
    QString sql = QStringLiteral("select * from [%1]").arg(t.table);
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" where ") + condition;
    sql +=
        QStringLiteral(" order by ") +
        (sortTerms.isEmpty() ? QStringLiteral("[%1]").arg(t.numberColumn) : sortTerms.join(u','));
    QSqlQuery q = runSelect(db, sql, {}, true);
    return rowsOf(q);
}

QStringList readerTypeNames(const Database& db) {
    QSqlQuery q = db.run(QStringLiteral("select [类型名称] from [读者类型] order by [类型名称]"));
    QStringList names;
    while (q.next())
        if (!q.value(0).toString().isEmpty() && !names.contains(q.value(0).toString()))
            names.append(q.value(0).toString());
    return names;
}

} // namespace cangshu::report
