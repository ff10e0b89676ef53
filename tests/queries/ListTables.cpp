#include "ListTables.h"

#include "core/Schema.h"

#include <QFile>
#include <stdexcept>
#include <zip.h>

namespace cangshu::test {

void createListTables(Database& db) { createSchema(db); }

void addReader(const Database& db, const QString& number, const QString& name, double deposit,
               bool marked) {
    db.execute(QStringLiteral(
                   "insert into [读者资料] ([读者编号],[读者姓名],[押金金额],[选中]) values (?,?,?,?)"),
               {number, name, deposit, marked});
}

void writeZip(const QString& path, const QMap<QString, QByteArray>& entries) {
    QFile::remove(path);
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        throw std::runtime_error("cannot create zip");
    QList<QByteArray> keep; // libzip reads the buffers at close
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        keep << it.value();
        zip_source_t* s =
            zip_source_buffer(z, keep.last().constData(), zip_uint64_t(keep.last().size()), 0);
        zip_file_add(z, it.key().toUtf8().constData(), s, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    }
    if (zip_close(z) != 0)
        throw std::runtime_error("cannot write zip");
}

void writeXlsx(const QString& path, const QByteArray& sheetData, const QStringList& shared,
               const QByteArray& cellXfs, const QByteArray& numFmts, bool date1904) {
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rns =
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    QMap<QString, QByteArray> e;
    e[QStringLiteral("[Content_Types].xml")] = "<?xml version=\"1.0\"?><Types/>";
    // The workbook's first sheet lives in sheet2.xml, to show the reader follows the relations.
    e[QStringLiteral("xl/workbook.xml")] =
        "<?xml version=\"1.0\"?><workbook " + ns + " " + rns + ">" +
        (date1904 ? "<workbookPr date1904=\"1\"/>" : "<workbookPr/>") +
        "<sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId7\"/>"
        "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId1\"/></sheets></workbook>";
    e[QStringLiteral("xl/_rels/workbook.xml.rels")] =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId7\" Target=\"/xl/worksheets/sheet2.xml\"/></Relationships>";
    e[QStringLiteral("xl/worksheets/sheet1.xml")] =
        "<?xml version=\"1.0\"?><worksheet " + ns +
        "><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>wrong "
        "sheet</t></is></c></row></sheetData></worksheet>";
    e[QStringLiteral("xl/worksheets/sheet2.xml")] = "<?xml version=\"1.0\"?><worksheet " + ns +
                                                    "><dimension ref=\"A1:Z999\"/><sheetData>" +
                                                    sheetData + "</sheetData></worksheet>";
    if (!shared.isEmpty()) {
        QByteArray sst = "<?xml version=\"1.0\"?><sst " + ns + ">";
        for (const QString& s : shared)
            sst += "<si><t xml:space=\"preserve\">" + s.toHtmlEscaped().toUtf8() + "</t></si>";
        e[QStringLiteral("xl/sharedStrings.xml")] = sst + "</sst>";
    }
    if (!cellXfs.isEmpty())
        e[QStringLiteral("xl/styles.xml")] = "<?xml version=\"1.0\"?><styleSheet " + ns + ">" +
                                             numFmts + "<cellXfs>" + cellXfs +
                                             "</cellXfs></styleSheet>";
    writeZip(path, e);
}

} // namespace cangshu::test
