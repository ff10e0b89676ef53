#include "ListTables.h"

#include "core/Schema.h"

#include <QDate>
#include <QFile>
#include <QtEndian>
#include <cstring>
#include <stdexcept>
#include <zip.h>

namespace cangshu::test {

void createListTables(Database& db) {
    createSchema(db);
}

void addReader(const Database& db, const QString& number, const QString& name, double deposit,
               bool marked) {
    db.execute(
        QStringLiteral(
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

namespace {

void put16(QByteArray& b, quint16 v) {
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
void put32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
QByteArray record(quint16 type, const QByteArray& body) {
    QByteArray r;
    put16(r, type);
    put16(r, quint16(body.size()));
    return r + body;
}
QByteArray bof(quint16 kind) {
    QByteArray b;
    put16(b, 0x0600);
    put16(b, kind);
    put16(b, 0x0DBB);
    put16(b, 0x07CC);
    put32(b, 0);
    put32(b, 0x06);
    return record(0x0809, b);
}

} // namespace

void writeXls(const QString& path, const QList<QVariantList>& rows) {
    // Workbook globals: code page, date mode, two cell formats (general, date), the sheet, strings.
    QStringList strings;
    for (const QVariantList& row : rows)
        for (const QVariant& v : row)
            if (v.typeId() == QMetaType::QString && !strings.contains(v.toString()))
                strings << v.toString();
    QByteArray globals = bof(0x0005);
    QByteArray b;
    put16(b, 0x04B0);
    globals += record(0x0042, b);
    b.clear();
    put16(b, 0);
    globals += record(0x0022, b);
    for (quint16 format : {quint16(0), quint16(14)}) {
        b.clear();
        put16(b, 0);
        put16(b, format);
        b.append(16, '\0');
        globals += record(0x00E0, b);
    }
    QByteArray sst;
    put32(sst, quint32(strings.size()));
    put32(sst, quint32(strings.size()));
    for (const QString& s : strings) {
        put16(sst, quint16(s.size()));
        sst.append(char(0x01));
        for (QChar c : s)
            put16(sst, c.unicode());
    }
    QByteArray sheetName;
    sheetName.append(char(2)).append(char(0)).append("S1");
    const qsizetype boundSheetSize = 4 + 4 + 2 + sheetName.size();
    const quint32 sheetOffset = quint32(globals.size() + boundSheetSize + 4 + sst.size() + 4);
    b.clear();
    put32(b, sheetOffset);
    b.append(char(0)).append(char(0));
    globals += record(0x0085, b + sheetName);
    globals += record(0x00FC, sst);
    globals += record(0x000A, {});

    QByteArray sheet = bof(0x0010);
    int columns = 0;
    for (const QVariantList& row : rows)
        columns = qMax(columns, int(row.size()));
    b.clear();
    put32(b, 0);
    put32(b, quint32(rows.size()));
    put16(b, 0);
    put16(b, quint16(columns));
    put16(b, 0);
    sheet += record(0x0200, b);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QVariant& v = rows.at(r).at(c);
            if (!v.isValid() || v.isNull())
                continue;
            b.clear();
            put16(b, quint16(r));
            put16(b, quint16(c));
            if (v.typeId() == QMetaType::QString) {
                put16(b, 0);
                put32(b, quint32(strings.indexOf(v.toString())));
                sheet += record(0x00FD, b);
                continue;
            }
            double number = v.toDouble();
            put16(b, 0);
            if (v.typeId() == QMetaType::QDate) {
                number = double(QDate(1899, 12, 30).daysTo(v.toDate()));
                b[4] = 1; // the date format
            }
            char d[8];
            std::memcpy(d, &number, 8);
            b.append(d, 8);
            sheet += record(0x0203, b);
        }
    }
    sheet += record(0x000A, {});
    QByteArray stream = globals + sheet;
    const quint32 streamSize = quint32(stream.size());
    // Stay above the mini-stream cutoff so that the stream lives in ordinary sectors.
    if (stream.size() < 4096)
        stream.append(4096 - stream.size(), '\0');
    const int streamSectors = int((stream.size() + 511) / 512);
    stream.append(streamSectors * 512 - stream.size(), '\0');

    QByteArray header;
    header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(16, '\0');
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.append(6, '\0');
    put32(header, 0);          // directory sectors (version 3)
    put32(header, 1);          // FAT sectors
    put32(header, 1);          // first directory sector
    put32(header, 0);          // transaction
    put32(header, 4096);       // mini stream cutoff
    put32(header, 0xFFFFFFFE); // no mini FAT
    put32(header, 0);
    put32(header, 0xFFFFFFFE); // no DIFAT sectors
    put32(header, 0);
    put32(header, 0); // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        put32(header, 0xFFFFFFFF);

    QByteArray fat;
    put32(fat, 0xFFFFFFFD);
    put32(fat, 0xFFFFFFFE);
    for (int i = 0; i < streamSectors; ++i)
        put32(fat, i + 1 < streamSectors ? quint32(3 + i) : 0xFFFFFFFE);
    while (fat.size() < 512)
        put32(fat, 0xFFFFFFFF);

    auto entry = [](const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
        QByteArray e;
        for (QChar c : name)
            put16(e, c.unicode());
        e.append(64 - e.size(), '\0');
        put16(e, name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
        e.append(char(type)).append(char(1));
        put32(e, 0xFFFFFFFF);
        put32(e, 0xFFFFFFFF);
        put32(e, child);
        e.append(16 + 4 + 16, '\0');
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    QByteArray directory = entry(QStringLiteral("Root Entry"), 5, 1, 0xFFFFFFFE, 0) +
                           entry(QStringLiteral("Workbook"), 2, 0xFFFFFFFF, 2, streamSize) +
                           entry({}, 0, 0xFFFFFFFF, 0, 0) + entry({}, 0, 0xFFFFFFFF, 0, 0);

    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write xls");
    f.write(header + fat + directory + stream);
}

} // namespace cangshu::test
