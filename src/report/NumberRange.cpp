#include "NumberRange.h"

#include "PrintJob.h"

namespace cangshu::report {

RangeOutcome checkNumberRange(const QString& from, const QString& to) {
    RangeOutcome outcome;
    if (from.trimmed().isEmpty() || to.trimmed().isEmpty()) {
        outcome.message = QStringLiteral("请输入编号范围！");
        outcome.focus = from.trimmed().isEmpty() ? QStringLiteral("from") : QStringLiteral("to");
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

QList<QVariantMap> booksInNumberRange(const Database& db, const QString& from, const QString& to,
                                      const QStringList& columns) {
    const QString table = QStringLiteral("书籍资料");
    QStringList selected;
    const QStringList real = db.columns(table);
    for (const QString& column : columns) {
        const auto found = std::find_if(real.cbegin(), real.cend(), [&](const QString& r) {
            return r.compare(column, Qt::CaseInsensitive) == 0;
        });
        if (found == real.cend())
            throw DatabaseError(QStringLiteral("书籍资料没有列“%1”。").arg(column), {});
        selected.append(u'[' + column + u']');
    }
    QSqlQuery query =
        db.run(QStringLiteral("select %1 from [书籍资料] where [书籍编号] between ? and ? "
                              "order by [书籍编号]")
                   .arg(selected.isEmpty() ? QStringLiteral("*") : selected.join(u',')),
               {from.trimmed(), to.trimmed()});
    return rowsOf(query);
}

} // namespace cangshu::report
