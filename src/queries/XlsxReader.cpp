#include "CellText.h"
#include "Spreadsheet.h"
#include "XmlScanner.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <cmath>
#include <utility>
#include <zip.h>

namespace cangshu {

QString excelSerialDate(double serial, bool system1904) {
    const qint64 days = qint64(std::floor(serial));
    if (system1904)
        return QDate(1904, 1, 1).addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    // Serial 60 is the 29th of February 1900 that never was; the days before it are off by one.
    const QDate base = days < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    return base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
}

namespace {

class ZipArchive {
public:
    explicit ZipArchive(const QString& file) {
        int err = 0;
        m_zip = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &err);
    }
    ~ZipArchive() {
        if (m_zip)
            zip_discard(m_zip);
    }
    bool isOpen() const { return m_zip != nullptr; }
    bool read(const QString& name, QByteArray* out) const {
        const QByteArray n = name.toUtf8();
        zip_stat_t st;
        if (zip_stat(m_zip, n.constData(), ZIP_FL_NOCASE, &st) != 0)
            return false;
        zip_file_t* f = zip_fopen(m_zip, n.constData(), ZIP_FL_NOCASE);
        if (!f)
            return false;
        out->resize(qsizetype(st.size));
        const zip_int64_t got = zip_fread(f, out->data(), st.size);
        zip_fclose(f);
        return got == zip_int64_t(st.size);
    }

private:
    zip_t* m_zip = nullptr;
};

// Collects the text of an <si> or <is> element: its <t> runs, without the phonetic runs.
class RichText {
public:
    // Feeds one token; false when the text holds an unknown entity.
    bool take(const XmlScanner& xml, XmlScanner::Token token) {
        if (token == XmlScanner::StartElement) {
            if (xml.name() == "rPh")
                ++m_phonetic;
            else if (xml.name() == "t" && m_phonetic == 0)
                m_inText = true;
        } else if (token == XmlScanner::EndElement) {
            if (xml.name() == "rPh")
                --m_phonetic;
            else if (xml.name() == "t")
                m_inText = false;
        } else if (token == XmlScanner::Text && m_inText) {
            return xml.appendText(&m_text);
        }
        return true;
    }
    QString take() {
        m_phonetic = 0;
        m_inText = false;
        return std::exchange(m_text, QString());
    }

private:
    QString m_text;
    int m_phonetic = 0;
    bool m_inText = false;
};

bool isDateFormatCode(const QString& code) {
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;
        else if (c == u'[')
            ++bracket;
        else if (c == u']')
            --bracket;
        else if (bracket == 0 && (c == u'y' || c == u'Y' || c == u'd' || c == u'D'))
            return true;
    }
    return false;
}

bool isBuiltinDateFormat(int id) {
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
           (id >= 50 && id <= 58);
}

// Which cell styles (index into cellXfs) show a date.
QList<bool> readDateStyles(const QByteArray& data) {
    QHash<int, bool> customDate;
    QList<bool> styles;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("numFmt")) {
                const auto a = xml.attributes();
                customDate.insert(
                    a.value(QLatin1String("numFmtId")).toInt(),
                    isDateFormatCode(a.value(QLatin1String("formatCode")).toString()));
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                styles << (customDate.contains(id) ? customDate.value(id)
                                                   : isBuiltinDateFormat(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return styles;
}

// "BC12" → column 55 (1-based), 0 when there are no letters.
int columnOfReference(const QString& ref) {
    int col = 0;
    for (const QChar c : ref) {
        if (c >= u'A' && c <= u'Z')
            col = col * 26 + (c.unicode() - 'A' + 1);
        else if (c >= u'a' && c <= u'z')
            col = col * 26 + (c.unicode() - 'a' + 1);
        else
            break;
        if (col > 16384) // past the widest sheet
            return 0;
    }
    return col;
}

// The cell's text as the import wants it, from its type, style and stored value.
QString cellValueText(QByteArrayView type, int style, const QString& raw, const QString& inline_,
                      const QList<bool>& dateStyles, const QStringList& shared, bool system1904) {
    if (type == "s")
        return shared.value(raw.toInt());
    if (type == "inlineStr")
        return inline_;
    if (type == "b")
        return raw == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == "d")
        return raw.left(10);
    if (type == "str" || type == "e")
        return raw;
    bool ok = false;
    const double v = raw.toDouble(&ok);
    if (!ok)
        return raw;
    if (style >= 0 && style < dateStyles.size() && dateStyles.at(style))
        return excelSerialDate(v, system1904);
    return numberText(v);
}

QString resolveTarget(const QString& target) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    QString t = target;
    QString base = QStringLiteral("xl/");
    while (t.startsWith(QLatin1String("../"))) {
        t = t.mid(3);
        base.clear();
    }
    return base + t;
}

} // namespace

bool readXlsx(const QString& file, Sheet* sheet, QString* error) {
    *sheet = Sheet();
    ZipArchive zip(file);
    if (!zip.isOpen()) {
        *error = QStringLiteral("不是有效的Excel文件：%1").arg(file);
        return false;
    }
    QByteArray workbook, rels;
    if (!zip.read(QStringLiteral("xl/workbook.xml"), &workbook) ||
        !zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"), &rels)) {
        *error = QStringLiteral("Excel文件缺少工作簿：%1").arg(file);
        return false;
    }
    bool system1904 = false;
    QString firstSheetId;
    {
        QXmlStreamReader xml(workbook);
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("workbookPr")) {
                const QStringView v = xml.attributes().value(QLatin1String("date1904"));
                system1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet") && firstSheetId.isEmpty()) {
                for (const QXmlStreamAttribute& a : xml.attributes())
                    if (a.name() == QLatin1String("id"))
                        firstSheetId = a.value().toString();
            }
        }
    }
    QString sheetPath;
    {
        QXmlStreamReader xml(rels);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship") &&
                xml.attributes().value(QLatin1String("Id")) == firstSheetId)
                sheetPath =
                    resolveTarget(xml.attributes().value(QLatin1String("Target")).toString());
        }
    }
    QByteArray sheetXml;
    if (sheetPath.isEmpty() || !zip.read(sheetPath, &sheetXml)) {
        *error = QStringLiteral("Excel文件中没有工作表：%1").arg(file);
        return false;
    }
    const QString broken = QStringLiteral("Excel文件已损坏：%1");
    QStringList shared;
    QByteArray data;
    if (zip.read(QStringLiteral("xl/sharedStrings.xml"), &data)) {
        XmlScanner xml(data);
        RichText item;
        bool inItem = false;
        for (auto t = xml.next(); t != XmlScanner::EndOfDocument; t = xml.next()) {
            if (t == XmlScanner::Invalid) {
                *error = broken.arg(xml.errorString());
                return false;
            }
            if (t == XmlScanner::StartElement && xml.name() == "si") {
                inItem = true;
            } else if (t == XmlScanner::EndElement && xml.name() == "si") {
                shared << item.take();
                inItem = false;
            } else if (inItem && !item.take(xml, t)) {
                *error = broken.arg(QStringLiteral("unknown entity"));
                return false;
            }
        }
    }
    QList<bool> dateStyles;
    if (zip.read(QStringLiteral("xl/styles.xml"), &data))
        dateStyles = readDateStyles(data);

    QList<QStringList>& rows = sheet->rows;
    int lastRow = 0, lastCol = 0;
    int rowNumber = 0, colNumber = 0;
    // The cell being read: its type and style, the stored value <v> and an inline string <is>.
    QByteArray type;
    int style = 0;
    QString raw;
    RichText inlineText;
    bool inCell = false, inValue = false, inInline = false, hasValue = false;
    XmlScanner xml(sheetXml);
    for (auto t = xml.next(); t != XmlScanner::EndOfDocument; t = xml.next()) {
        if (t == XmlScanner::Invalid) {
            *error = broken.arg(xml.errorString());
            return false;
        }
        if (inInline && !(t == XmlScanner::EndElement && xml.name() == "is")) {
            if (!inlineText.take(xml, t)) {
                *error = broken.arg(QStringLiteral("unknown entity"));
                return false;
            }
            continue;
        }
        if (t == XmlScanner::Text) {
            if (inValue && !xml.appendText(&raw)) {
                *error = broken.arg(QStringLiteral("unknown entity"));
                return false;
            }
            continue;
        }
        const QByteArrayView name = xml.name();
        if (t == XmlScanner::StartElement) {
            if (name == "row") {
                const int r = xml.intAttribute("r");
                rowNumber = r > 0 ? r : rowNumber + 1;
                colNumber = 0;
            } else if (name == "c") {
                const int c = columnOfReference(xml.attribute("r"));
                colNumber = c > 0 ? c : colNumber + 1;
                type = xml.attribute("t").toLatin1();
                style = xml.intAttribute("s");
                raw.clear();
                inCell = true;
                hasValue = false;
            } else if (inCell && name == "v") {
                inValue = hasValue = true;
            } else if (inCell && name == "is") {
                inInline = hasValue = true;
            }
            continue;
        }
        // An end tag.
        if (name == "v") {
            inValue = false;
        } else if (name == "is") {
            inInline = false;
        } else if (name == "c" && inCell) {
            inCell = false;
            if (!hasValue)
                continue;
            const QString text =
                cellValueText(type, style, raw, inlineText.take(), dateStyles, shared, system1904);
            if (text.isEmpty() || rowNumber <= 0)
                continue;
            while (rows.size() < rowNumber)
                rows.append(QStringList());
            QStringList& row = rows[rowNumber - 1];
            while (row.size() < colNumber)
                row.append(QString());
            row[colNumber - 1] = text;
            lastRow = qMax(lastRow, rowNumber);
            lastCol = qMax(lastCol, colNumber);
        }
    }
    rows.resize(lastRow);
    for (QStringList& row : rows)
        while (row.size() < lastCol)
            row.append(QString());
    sheet->columnCount = lastCol;
    return true;
}

bool readSpreadsheet(const QString& file, Sheet* sheet, QString* error) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件：%1").arg(file);
        return false;
    }
    const QByteArray magic = f.read(4);
    f.close();
    if (magic.startsWith("PK"))
        return readXlsx(file, sheet, error);
    return readXls(file, sheet, error);
}

} // namespace cangshu
