#pragma once
#include "Database.h"

#include <QStringList>

namespace cangshu {

// The one-column lists behind the editors' drop-downs; each table is named after its column.
const QStringList& dictionaryTables();

// The values of a dictionary in the order the database returns them. Nulls are skipped;
// a name that is not a dictionary gives an empty list.
QStringList dictionaryValues(const Database& db, const QString& table);

} // namespace cangshu
