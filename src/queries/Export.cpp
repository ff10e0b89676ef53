#include "Export.h"

#include "CellText.h"
#include "SafeSelect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace cangshu {

const QList<ExportFormatInfo>& exportFormats() {
    static const QList<ExportFormatInfo> formats{
        {ExportFormat::Xlsx, QStringLiteral("导出数据到Excel"), QStringLiteral(".xlsx"),
         QStringLiteral("Excel文件(*.xlsx)")},
        {ExportFormat::Rtf, QStringLiteral("导出数据到Word"), QStringLiteral(".rtf"),
         QStringLiteral("Word文件(*.rtf)")},
        {ExportFormat::Text, QStringLiteral("导出数据到文本文件(.txt)"), QStringLiteral(".txt"),
         QStringLiteral("文本文件(*.txt)")},
        {ExportFormat::Html, QStringLiteral("导出数据到网页文件(.htm)"), QStringLiteral(".htm"),
         QStringLiteral("网页文件(*.htm)")},
    };
    return formats;
}

const ExportFormatInfo& exportFormatInfo(ExportFormat format) {
    for (const ExportFormatInfo& f : exportFormats())
        if (f.format == format)
            return f;
    return exportFormats().first();
}

bool exportFormatFromName(const QString& name, ExportFormat* format) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("xlsx") || n == QLatin1String("xls") || n == QLatin1String("excel"))
        *format = ExportFormat::Xlsx;
    else if (n == QLatin1String("rtf") || n == QLatin1String("word"))
        *format = ExportFormat::Rtf;
    else if (n == QLatin1String("txt") || n == QLatin1String("text"))
        *format = ExportFormat::Text;
    else if (n == QLatin1String("htm") || n == QLatin1String("html"))
        *format = ExportFormat::Html;
    else
        return false;
    return true;
}

QueryRowSource::QueryRowSource(QSqlQuery query, QStringList fields, QStringList titles, int hint)
    : m_query(std::move(query)), m_hint(hint) {
    const QSqlRecord record = m_query.record();
    if (fields.isEmpty()) {
        for (int i = 0; i < record.count(); ++i) {
            m_indexes << i;
            m_titles << record.fieldName(i);
        }
        return;
    }
    for (int i = 0; i < fields.size(); ++i) {
        const int index = record.indexOf(fields.at(i));
        if (index < 0)
            throw DatabaseError(QStringLiteral("no column %1 in the list").arg(fields.at(i)), {});
        m_indexes << index;
        m_titles << (i < titles.size() ? titles.at(i) : fields.at(i));
    }
}

namespace {

class ProgressStep {
public:
    ProgressStep(ProgressSink* sink, int total) : m_sink(sink) {
        if (m_sink)
            m_sink->setRange(total > 0 ? total : 0);
    }
    // Reports every 200 rows: often enough to keep moving, rarely enough to cost nothing.
    bool step(int row) {
        if (!m_sink)
            return true;
        if (row % 200 == 0)
            m_sink->setValue(row);
        return !m_sink->isCancelled();
    }

private:
    ProgressSink* m_sink;
};

QString escapeHtml(const QString& s) {
    return s.toHtmlEscaped();
}

QByteArray rtfText(const QString& s) {
    QByteArray out;
    for (const QChar c : s) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\r') {
            continue;
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

// The text, HTML and RTF files: a head made from the titles, a piece per row and a tail.
// Each writer gets the temporary path and writes the whole file.
template <typename Head, typename Row>
ExportOutcome writeTable(const QString& path, RowSource& rows, ProgressSink* progress, Head head,
                         Row row, const QByteArray& tail) {
    ExportOutcome out;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        out.error = f.errorString();
        return out;
    }
    ProgressStep steps(progress, rows.rowCountHint());
    const QStringList titles = rows.titles();
    f.write(head(titles));
    QStringList cells;
    while (rows.next()) {
        cells.clear();
        for (int c = 0; c < titles.size(); ++c)
            cells << cellText(rows.value(c));
        f.write(row(cells));
        if (!steps.step(++out.rows))
            return out;
    }
    f.write(tail);
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        out.error = f.errorString();
        return out;
    }
    out.ok = true;
    return out;
}

// Cells split by TAB, lines by CR LF, no line end after the last line.
ExportOutcome writeText(const QString& path, RowSource& rows, ProgressSink* progress) {
    return writeTable(
        path, rows, progress, [](const QStringList& titles) { return titles.join(u'\t').toUtf8(); },
        [](const QStringList& cells) { return "\r\n" + cells.join(u'\t').toUtf8(); }, {});
}

ExportOutcome writeHtml(const QString& path, RowSource& rows, ProgressSink* progress) {
    const auto head = [](const QStringList& titles) {
        QString text = QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n"
            "<title>导出数据</title>\n</head>\n<body>\n"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n<thead>\n<tr>");
        for (const QString& t : titles)
            text += QStringLiteral("<th>") + escapeHtml(t) + QStringLiteral("</th>");
        return (text + QStringLiteral("</tr>\n</thead>\n<tbody>\n")).toUtf8();
    };
    const auto row = [](const QStringList& cells) {
        QString line = QStringLiteral("<tr>");
        for (const QString& cell : cells)
            line += QStringLiteral("<td>") + escapeHtml(cell) + QStringLiteral("</td>");
        return (line + QStringLiteral("</tr>\n")).toUtf8();
    };
    return writeTable(path, rows, progress, head, row, "</tbody>\n</table>\n</body>\n</html>\n");
}

ExportOutcome writeRtf(const QString& path, RowSource& rows, ProgressSink* progress) {
    QByteArray rowHead;
    const auto rtfRow = [&rowHead](const QStringList& cells, bool bold) {
        QByteArray line = rowHead;
        for (const QString& cell : cells) {
            line += "\\pard\\intbl ";
            if (bold)
                line += "\\b ";
            line += rtfText(cell);
            if (bold)
                line += "\\b0";
            line += "\\cell\n";
        }
        return line + "\\row\n";
    };
    const auto head = [&](const QStringList& titles) {
        // Equal columns across a landscape-wide table, in twips.
        const int cellWidth = titles.isEmpty() ? 1440 : qMax(900, 13000 / int(titles.size()));
        rowHead = "\\trowd\\trgaph108\\trleft-108";
        for (int c = 0; c < titles.size(); ++c) {
            rowHead += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                       "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";
            rowHead += QByteArray::number(cellWidth * (c + 1));
        }
        rowHead += '\n';
        return QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\n"
                          "{\\fonttbl{\\f0\\fnil\\fcharset134 WenQuanYi Micro Hei;}}\n"
                          "\\paperw16838\\paperh11906\\margl720\\margr720\\landscape\\f0\\fs20\n") +
               rtfRow(titles, true);
    };
    return writeTable(
        path, rows, progress, head, [&](const QStringList& cells) { return rtfRow(cells, false); },
        "\\pard\\par\n}\n");
}

ExportOutcome writeXlsx(const QString& path, RowSource& rows, ProgressSink* progress) {
    ExportOutcome out;
    QTemporaryDir scratch;
    const QByteArray tmp = QFile::encodeName(scratch.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmp.constData());
    options.use_zip64 = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) {
        out.error = QStringLiteral("cannot create %1").arg(path);
        return out;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    ProgressStep steps(progress, rows.rowCountHint());
    const QStringList titles = rows.titles();
    for (int c = 0; c < titles.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), titles.at(c).toUtf8().constData(), bold);
    lxw_row_t r = 0;
    while (rows.next()) {
        ++r;
        for (int c = 0; c < titles.size(); ++c) {
            const QVariant v = rows.value(c);
            switch (v.isNull() ? QMetaType::UnknownType : v.typeId()) {
            case QMetaType::UnknownType:
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Double:
                worksheet_write_number(sheet, r, lxw_col_t(c), v.toDouble(), nullptr);
                break;
            default: {
                const QString text = cellText(v);
                if (!text.isEmpty())
                    worksheet_write_string(sheet, r, lxw_col_t(c), text.toUtf8().constData(),
                                           nullptr);
            }
            }
        }
        ++out.rows;
        if (!steps.step(out.rows)) {
            workbook_close(book);
            return out;
        }
    }
    const lxw_error e = workbook_close(book);
    if (e != LXW_NO_ERROR) {
        out.error = QString::fromUtf8(lxw_strerror(e));
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace

ExportOutcome exportRows(ExportFormat format, const QString& file, RowSource& rows,
                         ProgressSink* progress) {
    const QFileInfo target(file);
    const QString temporary =
        target.absoluteDir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    QFile::remove(temporary);
    ExportOutcome out;
    switch (format) {
    case ExportFormat::Xlsx:
        out = writeXlsx(temporary, rows, progress);
        break;
    case ExportFormat::Rtf:
        out = writeRtf(temporary, rows, progress);
        break;
    case ExportFormat::Text:
        out = writeText(temporary, rows, progress);
        break;
    case ExportFormat::Html:
        out = writeHtml(temporary, rows, progress);
        break;
    }
    if (out.ok && progress && progress->isCancelled())
        out.ok = false;
    if (!out.ok) {
        QFile::remove(temporary);
        if (out.error.isEmpty())
            out.error = QStringLiteral("cancelled");
        return out;
    }
    if (target.exists() && !QFile::remove(file)) {
        QFile::remove(temporary);
        out.ok = false;
        out.error = QStringLiteral("cannot replace %1").arg(file);
        return out;
    }
    if (!QFile::rename(temporary, file)) {
        QFile::remove(temporary);
        out.ok = false;
        out.error = QStringLiteral("cannot write %1").arg(file);
    }
    if (progress)
        progress->setValue(out.rows);
    return out;
}

ExportOutcome exportQuery(const Database& db, const QString& tableOrSelect, ExportFormat format,
                          const QString& file, ProgressSink* progress) {
    const QString text = tableOrSelect.trimmed();
    QString sql;
    if (text.startsWith(QLatin1String("select"), Qt::CaseInsensitive) && text.contains(u' ')) {
        sql = text;
    } else {
        QString table = text;
        if (table.startsWith(u'[') && table.endsWith(u']'))
            table = table.mid(1, table.size() - 2);
        if (!db.tables().contains(db.dialect().storedName(table), Qt::CaseInsensitive)) {
            ExportOutcome out;
            out.error = QStringLiteral("no table %1").arg(table);
            return out;
        }
        sql = QStringLiteral("select * from [%1]").arg(table);
    }
    int count = -1;
    if (progress) {
        QSqlQuery counted = runSelect(
            db, QStringLiteral("select count(*) from (%1) as counted").arg(sql), {}, true);
        if (counted.next())
            count = counted.value(0).toInt();
    }
    QSqlQuery query = runSelect(db, sql, {}, true);
    QueryRowSource rows(std::move(query), {}, {}, count);
    return exportRows(format, file, rows, progress);
}

} // namespace cangshu
