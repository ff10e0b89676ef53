#pragma once
#include "core/Database.h"

#include <QByteArray>
#include <QMap>

namespace cangshu::test {

// The library's tables.
void createListTables(Database& db);

// Adds a reader row.
void addReader(const Database& db, const QString& number, const QString& name, double deposit = 0,
               bool marked = false);

// Writes a zip archive of the given entries (for hand-made .xlsx files).
void writeZip(const QString& path, const QMap<QString, QByteArray>& entries);

// A minimal .xlsx: the sheet XML (inside <sheetData>), shared strings and cell styles.
void writeXlsx(const QString& path, const QByteArray& sheetData, const QStringList& shared = {},
               const QByteArray& cellXfs = {}, const QByteArray& numFmts = {},
               bool date1904 = false);

// A minimal .xls (BIFF8 in a compound file) with one sheet. A cell is a QString (text),
// a double (number) or a QDate (a number shown in a date format).
void writeXls(const QString& path, const QList<QVariantList>& rows);

} // namespace cangshu::test
