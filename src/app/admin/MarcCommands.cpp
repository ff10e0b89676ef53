// cangshu-admin import-marc: the MARC import with the mappings as stored.
#include "Commands.h"

#include "marc/MarcFile.h"
#include "marc/MarcImport.h"

#include <QJsonArray>

namespace cangshu::admin {

int cmdImportMarc(AdminContext& ctx, const QStringList& args) {
    static const char* usage =
        "usage: import-marc FILE --into book|precat|periodical [--auto-number] [--auto-callno]";
    ArgReader reader(args);
    const QString into = reader.option(QStringLiteral("--into"));
    MarcImportOptions options;
    options.autoNumber = reader.flag(QStringLiteral("--auto-number"));
    options.autoCallNumber = reader.flag(QStringLiteral("--auto-callno"));
    const QStringList rest = reader.positional();
    if (rest.size() != 1)
        throw CommandError{Usage, QString::fromUtf8(usage)};
    if (into == QLatin1String("book"))
        options.target = MarcImportTarget::Books;
    else if (into == QLatin1String("precat"))
        options.target = MarcImportTarget::PreCatalogue;
    else if (into == QLatin1String("periodical"))
        options.target = MarcImportTarget::Periodicals;
    else
        throw CommandError{Usage, QString::fromUtf8(usage)};

    QString error;
    const QList<QByteArray> records = readMarcFile(rest[0], &error);
    if (!error.isEmpty())
        throw CommandError{Usage, error};
    Database& db = ctx.library();
    const MarcMappingLoad mapping = loadMarcMappings(db, options.target);
    if (!mapping.error.isEmpty())
        throw CommandError{Usage, mapping.error};
    const MarcPreview preview = previewMarcRecords(records, mapping.mappings);
    const MarcImportOutcome r = importMarcPreview(db, preview, mapping.mappings, options);
    if (r.refused)
        throw CommandError{Refused, r.message};

    QJsonArray failed;
    QStringList lines{
        r.message,
        QStringLiteral("imported %1 records (%2 rows)").arg(r.recordsImported).arg(r.rowsWritten)};
    for (const MarcSkippedRecord& s : preview.skipped) {
        failed.append(QJsonObject{{"record", s.record + 1}, {"reason", s.reason}});
        lines << QStringLiteral("failed: record %1: %2").arg(s.record + 1).arg(s.reason);
    }
    for (const MarcImportFailure& f : r.failures) {
        failed.append(
            QJsonObject{{"record", f.record + 1}, {"number", f.number}, {"reason", f.reason}});
        lines
            << QStringLiteral("failed: record %1 %2: %3").arg(f.record + 1).arg(f.number, f.reason);
    }
    ctx.print({{"imported", r.recordsImported}, {"rows", r.rowsWritten}, {"failed", failed}},
              lines.join(u'\n'));
    return Done;
}

} // namespace cangshu::admin
