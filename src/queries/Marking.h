#pragma once
#include "core/Database.h"

#include <functional>

namespace cangshu {

// The yes/no row mark `选中` of a table and the commands on the marked rows.
struct Marking {
    QString table;
    QString numberColumn; // orders the list of marked rows

    // The list of marked rows, with the caller's column list.
    QString markedRowsSql(const QString& columnList = QStringLiteral("*")) const;
    void markAll(const Database& db) const;
    void unmarkAll(const Database& db) const;
    int countMarked(const Database& db) const;
    // Deletes the marked rows in one transaction; beforeDelete runs first inside it (for
    // example to copy the rows elsewhere). Returns how many rows went.
    int deleteMarked(Database& db, const std::function<void(Database&)>& beforeDelete = {}) const;
};

// The texts of the marking pop-up and of the two confirmation forms of "删除选中".
namespace marking {
extern const QString kShowMarked;
extern const QString kMarkAll;
extern const QString kUnmarkAll;
extern const QString kNoneMarked;
extern const QString kConfirmFirst;
extern const QString kConfirmSecond;
QString confirmFirstCounted(int count);
QString confirmSecondCounted(int count);
} // namespace marking

} // namespace cangshu
