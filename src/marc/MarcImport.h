#pragma once
#include "MarcRecord.h"
#include "queries/ProgressSink.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace cangshu {

class Database;

// Where imported records go: books (mapping `marc`), pre-catalogued books (`marc`) or
// periodicals (`marcqk`).
enum class MarcImportTarget { Books, PreCatalogue, Periodicals };

// One mapping row as the import uses it.
struct MarcMapping {
    QString tag;
    QString code; // a subfield code, or "@" for the text before the first subfield
    QString caption;
    int width = 0;
    QString column; // empty: preview only
};

struct MarcMappingLoad {
    QList<MarcMapping> mappings; // in 序号 order; a value's position is its index
    QString error;               // set when a row names a column the catalogue does not have
};

// Reads `marc` (books, pre-catalogue) or `marcqk` (periodicals) in 序号 order, rewrites
// each row's 导入标识 to its position, and refuses the mapping when a row names a column
// that the catalogue table (书籍资料 / 期刊资料) does not have or that cannot take text.
MarcMappingLoad loadMarcMappings(Database& db, MarcImportTarget target);

// One previewed record: its values in mapping order.
struct MarcPreviewRow {
    int record = 0; // index of the record in the file
    QStringList values;
};

struct MarcSkippedRecord {
    int record = 0;
    QString reason;
};

struct MarcPreview {
    QList<MarcPreviewRow> rows;
    QList<MarcSkippedRecord> skipped; // records that could not be read
};

// The value of one mapping in a record: every matching value in record order, the first
// as it is, each further one after a comma unless it equals what was collected so far.
QString marcMappingValue(const MarcRecord& record, const MarcMapping& mapping);

// Cuts every record and collects its preview row; reports "系统正在进行数据分析预览... <n>".
MarcPreview previewMarcRecords(const QList<QByteArray>& records, const QList<MarcMapping>& mappings,
                               ProgressSink* progress = nullptr);

// The price digits of a price text: digits and full stops up to the first comma or
// semicolon ("CNY25.00" gives "25.00").
QString marcPriceDigits(const QString& text);

struct MarcImportOptions {
    MarcImportTarget target = MarcImportTarget::Books;
    bool importPrice = true;    // "导入书籍价格" / "导入期刊价格"
    bool autoCallNumber = true; // "自动获取种次号" (books)
    bool autoNumber = true; // "书籍自动编号" / "期刊自动编号" (not for the pre-catalogue)
};

struct MarcImportFailure {
    int record = 0; // index of the record in the file
    QString number; // the copy's number, when it had one
    QString reason;
};

struct MarcImportOutcome {
    bool refused = false; // nothing was tried; message says why
    QString message;      // the text to show
    int recordsImported = 0;
    int rowsWritten = 0;
    QList<MarcImportFailure> failures;
};

// Writes the previewed records into the target table in one transaction: a record whose
// rows cannot be stored is skipped and reported, the others land together. Reports
// "系统正在将Marc数据导入数据库... <n>" per record.
MarcImportOutcome importMarcPreview(Database& db, const MarcPreview& preview,
                                    const QList<MarcMapping>& mappings,
                                    const MarcImportOptions& options,
                                    ProgressSink* progress = nullptr);

} // namespace cangshu
