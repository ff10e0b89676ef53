#pragma once
#include "core/Database.h"

namespace cangshu {

// True when the text holds exactly one statement: no ";" and no comment outside string
// literals or bracketed names.
bool isSingleStatement(const QString& sql);

// Runs one SELECT written by an operator (or built from a condition the operator edited):
// it must be a single statement starting with "select", and on PostgreSQL it runs in a
// read-only transaction so that no function it calls can write. The query is scrollable
// (models fetch from it) unless forwardOnly; throws DatabaseError when refused or failed.
QSqlQuery runSelect(const Database& db, const QString& sql, const QVariantList& params = {},
                    bool forwardOnly = false);

} // namespace cangshu
