#pragma once
#include "core/Database.h"

namespace cangshu {

struct SearchOutcome {
    bool ok = false;
    QString message;         // "请输入查询内容！" when there is nothing to search for
    SqlWithParams condition; // " where ..." with the value bound
};

// The quick search of a list window: the trimmed text in one column, as a substring when
// fuzzy (letter case ignored) or as the whole value otherwise. The column must be one of
// the table's own.
SearchOutcome quickSearchCondition(const Database& db, const QString& table, const QString& column,
                                   const QString& text, bool fuzzy);

} // namespace cangshu
