#pragma once
#include "core/Database.h"

#include <QVariantMap>

namespace cangshu::report {

// The lists the label print windows print over: one library table (books, periodicals or
// readers), whole, narrowed to a class or reader type, or by an operator's condition.
struct LabelTable {
    QString table;        // 书籍资料
    QString numberColumn; // 书籍编号: the list's order
    QString groupColumn;  // 中图分类 (class prefix) or 读者类型 (exact)
    bool groupIsPrefix = true;

    static LabelTable books();
    static LabelTable periodicals();
    static LabelTable readers();
};

QList<QVariantMap> labelRowsAll(const Database& db, const LabelTable& t);

// Rows whose class starts with the code (a class holds its subclasses), or whose reader
// type is the name.
QList<QVariantMap> labelRowsOfGroup(const Database& db, const LabelTable& t, const QString& group);

// Rows matching a condition from the condition builder. The condition may have been edited
// by hand, so it runs as a single read-only SELECT; sort terms replace the default order.
// Throws DatabaseError when the database refuses it.
QList<QVariantMap> labelRowsWhere(const Database& db, const LabelTable& t, const QString& condition,
                                  const QStringList& sortTerms = {});

// The names of the reader types, in name order.
QStringList readerTypeNames(const Database& db);

} // namespace cangshu::report
