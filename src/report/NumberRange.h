#pragma once
#include "core/Database.h"

#include <QVariantMap>

namespace cangshu::report {

// The range of book numbers the operator wants labels for, before printing a label
// template from the book window.
struct RangeOutcome {
    bool ok = false;
    QString message;
    QString focus; // "from" or "to"
};

// Both ends are needed: "请输入编号范围！", the focus on the end still empty.
RangeOutcome checkNumberRange(const QString& from, const QString& to);

// The books whose number lies in the range. Book numbers are text, so the range is a text
// range: 100 to 200 holds 1500 but not 99. `columns` is the book window's column list
// (checked against the table); empty means every column.
QList<QVariantMap> booksInNumberRange(const Database& db, const QString& from, const QString& to,
                                      const QStringList& columns = {});

} // namespace cangshu::report
