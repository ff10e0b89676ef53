#include "Conditions.h"

#include "CellText.h"
#include "SafeSelect.h"

#include <QSqlField>

namespace cangshu {

const QString kFuzzyMatch = QStringLiteral("模糊匹配");
const QString kAnd = QStringLiteral("并且");
const QString kOr = QStringLiteral("或者");
const QString kEmptyCondition = QStringLiteral("查询条件不能为空！");

QStringList comparisonsFor(ColumnKind kind) {
    if (kind == ColumnKind::Text || kind == ColumnKind::Other)
        return {kFuzzyMatch, QStringLiteral("="), QStringLiteral("<>")};
    return {QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral(">"),
            QStringLiteral(">="), QStringLiteral("<"),  QStringLiteral("<=")};
}

QString sqlLiteral(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QLatin1String("''"));
    return u'\'' + quoted + u'\'';
}

namespace {

struct Messages {
    QString noColumn, noComparison, noValue;
};

bool validIdentifier(const QString& name) {
    return !name.trimmed().isEmpty() && !name.contains(u'[') && !name.contains(u']');
}

TermOutcome buildTerm(const Messages& m, ColumnKind kind, const QString& column,
                      const QString& comparison, const QString& value, const QDate& date,
                      const QString& relation, const QString& likeOperator) {
    TermOutcome out;
    const QString col = column.trimmed();
    if (!validIdentifier(col)) {
        out.message = m.noColumn;
        out.field = QStringLiteral("column");
        return out;
    }
    const QStringList allowed = comparisonsFor(kind);
    if (comparison.isEmpty() || !allowed.contains(comparison)) {
        out.message = m.noComparison;
        out.field = QStringLiteral("comparison");
        return out;
    }
    const QString name = QStringLiteral("[%1]").arg(col);
    QString sql, shown;
    if (kind == ColumnKind::Date) {
        if (!date.isValid()) {
            out.message = m.noValue;
            out.field = QStringLiteral("value");
            return out;
        }
        shown = date.toString(QStringLiteral("yyyy-MM-dd"));
        sql = name + comparison + sqlLiteral(shown);
    } else if (kind == ColumnKind::Number) {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (value.trimmed().isEmpty() || !ok) {
            out.message = m.noValue;
            out.field = QStringLiteral("value");
            return out;
        }
        shown = numberText(number);
        sql = name + comparison + shown;
    } else {
        if (value.isEmpty()) {
            out.message = m.noValue;
            out.field = QStringLiteral("value");
            return out;
        }
        shown = value;
        if (comparison == kFuzzyMatch)
            sql = name + u' ' + likeOperator.toLower() + u' ' + sqlLiteral(u'%' + value + u'%');
        else
            sql = name + comparison + sqlLiteral(value);
    }
    out.ok = true;
    out.term = {col, comparison, shown, relation == kOr ? kOr : kAnd, sql};
    return out;
}

} // namespace

TermOutcome makeTerm(ColumnKind kind, const QString& column, const QString& comparison,
                     const QString& value, const QDate& date, const QString& relation,
                     const QString& likeOperator) {
    static const Messages m{QStringLiteral("请选择查询字段！"), QStringLiteral("请选择比较符！"),
                            QStringLiteral("请输入查询值！")};
    return buildTerm(m, kind, column, comparison, value, date, relation, likeOperator);
}

TermOutcome makeFieldTerm(ColumnKind kind, const QString& column, const QString& comparison,
                          const QString& value, const QDate& date, const QString& relation,
                          const QString& likeOperator) {
    static const Messages m{QStringLiteral("查询字段不能为空！"),
                            QStringLiteral("查询方法不能为空！"),
                            QStringLiteral("查询内容不能为空！")};
    return buildTerm(m, kind, column, comparison, value, date, relation, likeOperator);
}

QString joinTerms(const QList<ConditionTerm>& terms) {
    QString out;
    for (int i = 0; i < terms.size(); ++i) {
        out += terms.at(i).sql;
        if (i + 1 < terms.size())
            out += terms.at(i).relation == kAnd ? QStringLiteral(" and ") : QStringLiteral(" or ");
    }
    return out;
}

QString sortTerm(const QString& column, bool descending) {
    return QStringLiteral("[%1]").arg(column) + (descending ? QStringLiteral(" desc") : QString());
}

QString orderedCondition(const QString& condition, const QStringList& sortTerms) {
    if (sortTerms.isEmpty())
        return condition;
    return condition + QStringLiteral(" order by ") + sortTerms.join(u',');
}

QHash<QString, ColumnKind> columnKinds(const Database& db, const QString& table) {
    QHash<QString, ColumnKind> kinds;
    if (db.isPostgres()) {
        const QSqlRecord r =
            db.run(QStringLiteral("select * from [%1] where 1=0").arg(table)).record();
        for (int i = 0; i < r.count(); ++i) {
            ColumnKind k = ColumnKind::Other;
            switch (r.field(i).metaType().id()) {
            case QMetaType::QString:
                k = ColumnKind::Text;
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::Double:
                k = ColumnKind::Number;
                break;
            case QMetaType::QDate:
            case QMetaType::QDateTime:
            case QMetaType::QTime:
                k = ColumnKind::Date;
                break;
            default:
                break;
            }
            kinds.insert(r.fieldName(i), k);
        }
        return kinds;
    }
    // SQLite keeps the declared type only as text.
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("pragma table_info(%1)").arg(sqlLiteral(table)))) {
        const QString type = r.value(QStringLiteral("type")).toString().toUpper();
        ColumnKind k = ColumnKind::Text;
        if (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")))
            k = ColumnKind::Date;
        else if (type.contains(QLatin1String("INT")) || type.contains(QLatin1String("REAL")) ||
                 type.contains(QLatin1String("NUM")) || type.contains(QLatin1String("DOUB")) ||
                 type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DEC")))
            k = ColumnKind::Number;
        else if (type.contains(QLatin1String("BOOL")) || type.contains(QLatin1String("BLOB")) ||
                 type.contains(QLatin1String("BYTEA")))
            k = ColumnKind::Other;
        kinds.insert(r.value(QStringLiteral("name")).toString(), k);
    }
    return kinds;
}

BuilderColumns builderColumns(const Database& db, const QString& tableList) {
    static const QStringList hidden{QStringLiteral("ID"),        QStringLiteral("密码"),
                                    QStringLiteral("选中"),      QStringLiteral("电子照片"),
                                    QStringLiteral("图片"),      QStringLiteral("大图片"),
                                    QStringLiteral("照片"),      QStringLiteral("image"),
                                    QStringLiteral("bookimage"), QStringLiteral("qkimage")};
    BuilderColumns out;
    const QStringList tables = tableList.split(u',', Qt::SkipEmptyParts);
    for (auto it = tables.crbegin(); it != tables.crend(); ++it) {
        const QString table = it->trimmed();
        const QHash<QString, ColumnKind> kinds = columnKinds(db, table);
        for (const QString& column : db.columns(table)) {
            if (hidden.contains(column, Qt::CaseInsensitive) || out.kinds.contains(column))
                continue;
            out.names << column;
            out.kinds.insert(column, kinds.value(column, ColumnKind::Text));
            out.owner.insert(column, table);
        }
    }
    return out;
}

QStringList distinctValues(const Database& db, const QString& table, const QString& column) {
    if (!db.hasColumn(table, column))
        return {};
    QStringList out;
    QSqlQuery q =
        db.run(QStringLiteral("select distinct [%1] from [%2] where [%1] is not null order by 1")
                   .arg(column, table));
    while (q.next())
        out << cellText(q.value(0));
    return out;
}

SaveOutcome saveCondition(const Database& db, const QString& tableList, const QString& name,
                          const QString& condition) {
    SaveOutcome out;
    if (condition.trimmed().isEmpty()) {
        out.message = kEmptyCondition;
        return out;
    }
    if (name.isEmpty())
        return out;
    const int existing =
        db.scalar(
              QStringLiteral("select count(*) from [查询条件] where [条件名称]=? and [表名称]=?"),
              {name, tableList}, 0)
            .toInt();
    if (existing > 0) {
        out.message = QStringLiteral("此名称已经存在！请保存为其他名称！");
        return out;
    }
    db.execute(
        QStringLiteral("insert into [查询条件] ([表名称],[条件名称],[条件内容]) values (?,?,?)"),
        {tableList, name, condition});
    out.ok = true;
    out.message = QStringLiteral("查询条件保存成功！");
    return out;
}

QList<SavedCondition> savedConditions(const Database& db, const QString& tableList) {
    QList<SavedCondition> out;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("select [条件名称],[条件内容] from [查询条件] where [表名称]=? "
                                "order by [条件名称]"),
                 {tableList}))
        out.append({r.value(0).toString(), r.value(1).toString()});
    return out;
}

void deleteSavedCondition(const Database& db, const QString& tableList, const QString& name) {
    db.execute(QStringLiteral("delete from [查询条件] where [表名称]=? and [条件名称]=?"),
               {tableList, name});
}

} // namespace cangshu
