#pragma once
#include "ReportData.h"
#include "ReportTemplate.h"

#include <QStringList>

class QSqlQuery;

namespace cangshu {
class Database;
}

namespace cangshu::report {

struct PrintOutcome {
    bool ok = false;
    QString message; // the reason when not ok
    int pages = 0;
    QStringList problems; // rows printed with a problem (a barcode that cannot be encoded)
};

// The data a template of the system is printed with: the rows and, for the reader
// templates, the reader photo in "Picture1".
ReportData dataForTemplate(const QString& templateName, QList<QVariantMap> rows);

// Renders the template over the data into a PDF file; the file is written whole or not
// at all (a template error or no rows leaves no file behind).
PrintOutcome printToPdf(const ReportTemplate& tpl, const ReportData& data, const QString& pdfPath);
// The template is looked up by name in the folder (the home's report folder).
// printDate is the [#date] of the template (the database's today; the system date when
// not given).
PrintOutcome printToPdf(const QString& templateFolder, const QString& templateName,
                        const QList<QVariantMap>& rows, const QString& pdfPath,
                        const QDate& printDate = {});

// The rows of an executed query, one map of column name to value per row.
QList<QVariantMap> rowsOf(QSqlQuery& query);

// Every row of a table of the library, in the order its print windows list them (books by
// 书籍编号, periodicals by 期刊编号, audio-visual items by 编号, readers by 读者编号,
// custom barcodes by 条形码). Throws DatabaseError for a table the database does not have.
QList<QVariantMap> tableRows(const Database& db, const QString& table);

} // namespace cangshu::report
