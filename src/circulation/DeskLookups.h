#pragma once
#include "core/Database.h"
#include "core/Outcome.h"

#include <QStringList>
#include <optional>

namespace cangshu {

// Every reader name, in name order, for the desks' name choice.
QStringList readerNames(const Database& db);

// The number of the first reader with exactly this name.
std::optional<QString> readerNumberByName(const Database& db, const QString& name);

// Deletes one row of the deposit journal (读者充押金) by its 序号; the reader's balance
// stays as it is. Refused when the row is already gone.
Outcome deleteDepositEntry(Database& db, qint64 key);

} // namespace cangshu
