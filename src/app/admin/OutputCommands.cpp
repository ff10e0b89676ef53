// Commands that write files or take them in: export, import-excel, print, barcodes,
// backup, restore.
#include "Commands.h"

#include "queries/Export.h"
#include "queries/SafeSelect.h"
#include "queries/SpreadsheetImport.h"
#include "report/CustomBarcodes.h"
#include "report/PrintJob.h"
#include "shell/Maintenance.h"

#include <QFileInfo>

namespace cangshu::admin {

namespace {

// --table TABLE or --sql SELECT, exactly one of them: a table of the library, or one
// read-only SELECT.
QString tableOrSelect(const Database& db, ArgReader& reader, const char* usage) {
    const QString table = reader.option(QStringLiteral("--table"));
    const QString sql = reader.option(QStringLiteral("--sql"));
    if (table.isEmpty() == sql.isEmpty())
        throw CommandError{Usage, QString::fromUtf8(usage)};
    if (!table.isEmpty()) {
        if (!db.hasTable(table))
            throw CommandError{Usage, QStringLiteral("no such table: %1").arg(table)};
        return table;
    }
    if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
        !isSingleStatement(sql))
        throw CommandError{Usage, QStringLiteral("--sql takes one read-only SELECT statement")};
    return sql;
}

} // namespace

int cmdExport(AdminContext& ctx, const QStringList& args) {
    static const char* usage =
        "usage: export (--table TABLE | --sql SELECT) --format xlsx|rtf|txt|htm --out FILE";
    ArgReader reader(args);
    Database& db = ctx.library();
    const QString source = tableOrSelect(db, reader, usage);
    const QString formatName = reader.option(QStringLiteral("--format"));
    const QString out = reader.option(QStringLiteral("--out"));
    if (out.isEmpty() || !reader.positional().isEmpty())
        throw CommandError{Usage, QString::fromUtf8(usage)};
    ExportFormat format;
    if (!exportFormatFromName(formatName, &format))
        throw CommandError{Usage, QStringLiteral("--format must be xlsx, rtf, txt or htm")};
    ExportOutcome r;
    try {
        r = exportQuery(db, source, format, out);
    } catch (const DatabaseError& e) {
        throw CommandError{Usage, e.message()}; // a bad table name or a refused statement
    }
    if (!r.ok)
        throw CommandError{Failure, r.error};
    ctx.print({{"file", out}, {"rows", r.rows}},
              QStringLiteral("%1 rows written to %2").arg(r.rows).arg(out));
    return Done;
}

int cmdImportExcel(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    const QString table = reader.option(QStringLiteral("--table"));
    const QStringList rest = reader.positional();
    if (rest.size() != 1 || table.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: import-excel FILE --table TABLE")};
    if (!importTargets().contains(table))
        throw CommandError{
            Usage, QStringLiteral("--table must be one of: %1").arg(importTargets().join(u' '))};
    const ImportOutcome r = importSpreadsheet(ctx.library(), rest[0], table);
    if (!r.ok) {
        QString text = r.message;
        if (r.failingRow > 0)
            text += QStringLiteral("\nrow %1: %2").arg(r.failingRow).arg(r.detail);
        // A file that cannot be read is bad input; a row the database refused is a failure.
        throw CommandError{r.failingRow > 0 ? Failure : Usage, text};
    }
    ctx.print({{"table", table}, {"imported", r.imported}},
              QStringLiteral("%1\n%2 rows").arg(r.message).arg(r.imported));
    return Done;
}

int cmdPrint(AdminContext& ctx, const QStringList& args) {
    static const char* usage =
        "usage: print --template NAME (--table TABLE | --sql SELECT) --pdf FILE";
    ArgReader reader(args);
    const QString name = reader.option(QStringLiteral("--template"));
    const QString table = reader.option(QStringLiteral("--table"));
    const QString sql = reader.option(QStringLiteral("--sql"));
    const QString pdf = reader.option(QStringLiteral("--pdf"));
    if (name.isEmpty() || pdf.isEmpty() || table.isEmpty() == sql.isEmpty() ||
        !reader.positional().isEmpty())
        throw CommandError{Usage, QString::fromUtf8(usage)};
    Database& db = ctx.library();
    QList<QVariantMap> rows;
    try {
        if (!table.isEmpty()) {
            rows = report::tableRows(db, table);
        } else {
            QSqlQuery q = runSelect(db, sql, {}, true);
            rows = report::rowsOf(q);
        }
    } catch (const DatabaseError& e) {
        throw CommandError{Usage, e.message()};
    }
    const report::PrintOutcome r =
        report::printToPdf(ctx.home.reportFolder(), name, rows, pdf, db.today());
    if (!r.ok)
        throw CommandError{r.message.contains(QStringLiteral("没有")) ? Refused : Usage, r.message};
    for (const QString& p : r.problems)
        std::fprintf(stderr, "%s\n", qPrintable(p));
    ctx.print({{"file", pdf}, {"pages", r.pages}, {"rows", static_cast<int>(rows.size())}},
              QStringLiteral("%1 pages written to %2").arg(r.pages).arg(pdf));
    return Done;
}

int cmdBarcodes(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    report::BarcodeSeries s;
    s.width = reader.option(QStringLiteral("--width"));
    s.start = reader.option(QStringLiteral("--start"));
    s.count = reader.option(QStringLiteral("--count"));
    s.prefix = reader.option(QStringLiteral("--prefix"));
    s.suffix = reader.option(QStringLiteral("--suffix"));
    s.top = reader.option(QStringLiteral("--top"));
    s.bottom = reader.option(QStringLiteral("--bottom"));
    const QStringList rest = reader.positional();
    if (rest == QStringList{QStringLiteral("clear")}) {
        const QString message = report::clearBarcodes(ctx.library());
        ctx.print({{"cleared", true}}, message);
        return Done;
    }
    if (rest != QStringList{QStringLiteral("generate")})
        throw CommandError{
            Usage,
            QStringLiteral("usage: barcodes generate --width W --start S --count N "
                           "[--prefix P] [--suffix X] [--top T] [--bottom B] | barcodes clear")};
    const report::BarcodeOutcome check = report::checkSeries(s);
    if (!check.ok)
        throw CommandError{Usage, check.message};
    // The command line appends to what is there, as the window does once its question is answered.
    const report::BarcodeOutcome r = report::generateBarcodes(ctx.library(), s, true);
    if (!r.ok)
        throw CommandError{Refused, r.message};
    ctx.print({{"generated", r.generated}}, QStringLiteral("%1 barcodes").arg(r.generated));
    return Done;
}

int cmdBackup(AdminContext& ctx, const QStringList& args) {
    if (!args.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: backup")};
    Database& db = ctx.library();
    const BackupResult r = backupDatabase(db, ctx.home.backupFolder(), db.today());
    if (!r.ok)
        throw CommandError{Failure, r.message};
    ctx.print({{"file", r.path}}, r.path);
    return Done;
}

int cmdRestore(AdminContext& ctx, const QStringList& args) {
    if (args.size() != 1)
        throw CommandError{Usage, QStringLiteral("usage: restore FILE")};
    if (!QFileInfo(args[0]).isFile())
        throw CommandError{Usage, QStringLiteral("no such file: %1").arg(args[0])};
    const Outcome r = restoreDatabase(ctx.library(), args[0]);
    if (!r.ok)
        throw CommandError{r.message.startsWith(QStringLiteral("不是")) ? Usage : Failure,
                           r.message};
    ctx.print({{"restored", args[0]}}, r.message);
    return Done;
}

} // namespace cangshu::admin
