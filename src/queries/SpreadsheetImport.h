#pragma once
#include "ProgressSink.h"
#include "Spreadsheet.h"
#include "core/Database.h"

namespace cangshu {

// The tables a spreadsheet may be imported into, in the order the window offers them.
const QStringList& importTargets();

struct ColumnMatch {
    QString tableColumn;
    int sheetColumn; // 0-based column of the sheet
};

// Pairs each table column with the leftmost sheet column of the same trimmed name, letter case
// ignored. The key column ID never receives a value; unmatched table columns are left out.
QList<ColumnMatch> matchColumns(const QStringList& tableColumns, const QStringList& sheetTitles);

struct ImportOutcome {
    bool ok = false;
    QString message;    // the system's message
    QString focus;      // "file" or "table" when the operator must fix an input
    int failingRow = 0; // spreadsheet row number (title row = 1) of a failed import
    QString detail;     // the database's reason for a failed row
    int imported = 0;
};

extern const QString kImportNoFileMessage;
extern const QString kImportNoTableMessage;
extern const QString kImportErrorMessage;
extern const QString kImportDoneMessage;

// Appends every data row of the sheet to the table, all in one transaction: either every
// row lands or none does. Cells are stored as their text, untrimmed; an empty cell leaves a
// non-text column null.
ImportOutcome importSheet(Database& db, const Sheet& sheet, const QString& table,
                          ProgressSink* progress = nullptr);

// `cangshu-admin import-excel`: reads the file and imports it.
ImportOutcome importSpreadsheet(Database& db, const QString& file, const QString& table,
                                ProgressSink* progress = nullptr);

} // namespace cangshu
