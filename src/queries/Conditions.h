#pragma once
#include "core/Database.h"

#include <QDate>
#include <QHash>

namespace cangshu {

enum class ColumnKind { Text, Number, Date, Other };

// The comparison choices of the builders.
extern const QString kFuzzyMatch; // "模糊匹配"
extern const QString kAnd;        // "并且"
extern const QString kOr;         // "或者"
QStringList comparisonsFor(ColumnKind kind);

// One row of a builder's term list; sql is the term as condition text.
struct ConditionTerm {
    QString column;
    QString comparison;
    QString value;
    QString relation;
    QString sql;
};

struct TermOutcome {
    bool ok = false;
    QString message; // the system's validation message
    QString field;   // "column", "comparison" or "value"
    ConditionTerm term;
};

// A text literal with its single quotes doubled.
QString sqlLiteral(const QString& text);

// Builds a term. The column is bracketed, the value becomes a safe literal (text quoted,
// numbers checked, dates 'yyyy-mm-dd'). The general builder's messages: "请选择查询字段！",
// "请选择比较符！", "请输入查询值！". "模糊匹配" uses the engine's case-blind operator.
TermOutcome makeTerm(ColumnKind kind, const QString& column, const QString& comparison,
                     const QString& value, const QDate& date, const QString& relation,
                     const QString& likeOperator = QStringLiteral("like"));
// The same with the field-based window's messages ("查询字段不能为空！", "查询方法不能为空！",
// "查询内容不能为空！").
TermOutcome makeFieldTerm(ColumnKind kind, const QString& column, const QString& comparison,
                          const QString& value, const QDate& date, const QString& relation,
                          const QString& likeOperator = QStringLiteral("like"));

// Each term but the last followed by " and " (并且) or " or " (或者), then the last term;
// no parentheses, so "and" binds before "or".
QString joinTerms(const QList<ConditionTerm>& terms);

// "<column>" or "<column> desc" joined by ",".
QString sortTerm(const QString& column, bool descending);
// The condition followed by " order by <terms>" when there are sort terms.
QString orderedCondition(const QString& condition, const QStringList& sortTerms);

// The columns a builder offers for a table list "a,b,c": the last table's first, without
// keys, marks and pictures; a name found in several tables is offered once.
struct BuilderColumns {
    QStringList names;
    QHash<QString, ColumnKind> kinds;
    QHash<QString, QString> owner; // the table the column was taken from
};
BuilderColumns builderColumns(const Database& db, const QString& tableList);

// The kind of each column of one table.
QHash<QString, ColumnKind> columnKinds(const Database& db, const QString& table);

// The distinct values of a column in the table that owns it.
QStringList distinctValues(const Database& db, const QString& table, const QString& column);

// Saved conditions in `查询条件`.
struct SaveOutcome {
    bool ok = false;
    QString message;
};
extern const QString kEmptyCondition; // "查询条件不能为空！"
SaveOutcome saveCondition(const Database& db, const QString& tableList, const QString& name,
                          const QString& condition);
struct SavedCondition {
    QString name;
    QString condition;
};
QList<SavedCondition> savedConditions(const Database& db, const QString& tableList);
void deleteSavedCondition(const Database& db, const QString& tableList, const QString& name);

} // namespace cangshu
