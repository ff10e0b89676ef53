#pragma once
#include "ProgressSink.h"
#include "core/Database.h"

#include <QStringList>
#include <QVariant>

namespace cangshu {

enum class ExportFormat { Xlsx, Rtf, Text, Html };

struct ExportFormatInfo {
    ExportFormat format;
    QString menuText;  // entry of the export drop-down
    QString extension; // with the dot
    QString filter;    // save dialog filter
};
const QList<ExportFormatInfo>& exportFormats();
const ExportFormatInfo& exportFormatInfo(ExportFormat format);
// "xlsx", "rtf", "txt", "htm" (also "xls", "text", "html"); false when unknown.
bool exportFormatFromName(const QString& name, ExportFormat* format);

// The rows an export writes, one at a time so that big lists are never held in memory.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList titles() const = 0;
    // Moves to the next row; false after the last one.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // Number of rows when known, for the progress bar; -1 otherwise.
    virtual int rowCountHint() const { return -1; }
};

// Rows of an executed query, with the given fields (record names) and titles.
class QueryRowSource : public RowSource {
public:
    // Empty fields: every column of the query, titled by its name.
    QueryRowSource(QSqlQuery query, QStringList fields = {}, QStringList titles = {},
                   int rowCountHint = -1);
    QStringList titles() const override { return m_titles; }
    bool next() override { return m_query.next(); }
    QVariant value(int column) const override { return m_query.value(m_indexes.at(column)); }
    int rowCountHint() const override { return m_hint; }

private:
    QSqlQuery m_query;
    QList<int> m_indexes;
    QStringList m_titles;
    int m_hint;
};

struct ExportOutcome {
    bool ok = false;
    QString error; // why the file could not be written
    int rows = 0;
};

// Writes the titles and then every row to the file in the format. The file appears whole
// or not at all (it is written under a temporary name and then moved into place).
ExportOutcome exportRows(ExportFormat format, const QString& file, RowSource& rows,
                         ProgressSink* progress = nullptr);

// `cangshu-admin export`: a table name or one read-only SELECT, written to the file.
ExportOutcome exportQuery(const Database& db, const QString& tableOrSelect, ExportFormat format,
                          const QString& file, ProgressSink* progress = nullptr);

} // namespace cangshu
