#include "queries/Export.h"
#include "ListTables.h"
#include "queries/Spreadsheet.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

using namespace cangshu;

namespace {

// A fixed list: two columns, two rows, with the values that trip writers up.
class FixedRows : public RowSource {
public:
    FixedRows(QStringList titles, QList<QVariantList> rows) : m_titles(titles), m_rows(rows) {}
    QStringList titles() const override { return m_titles; }
    bool next() override { return ++m_at < m_rows.size(); }
    QVariant value(int column) const override { return m_rows.at(m_at).value(column); }

private:
    QStringList m_titles;
    QList<QVariantList> m_rows;
    int m_at = -1;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The table of an RTF file: the text of each \cell of each \row.
QList<QStringList> rtfTable(const QByteArray& rtf) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool inCell = false;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            const char n = i + 1 < rtf.size() ? rtf.at(i + 1) : '\0';
            if (n == '\\' || n == '{' || n == '}') {
                cell += QLatin1Char(n);
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(uchar(rtf.at(j))))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            while (k < rtf.size() && (rtf.at(k) == '-' || std::isdigit(uchar(rtf.at(k)))))
                ++k;
            const QByteArray number = rtf.mid(j, k - j);
            if (k < rtf.size() && rtf.at(k) == ' ')
                ++k;
            if (word == "u") {
                cell += QChar(ushort(number.toInt()));
                if (k < rtf.size() && rtf.at(k) == '?')
                    ++k;
            } else if (word == "intbl") {
                inCell = true;
                cell.clear();
            } else if (word == "cell") {
                row << cell;
                inCell = false;
            } else if (word == "row") {
                rows << row;
                row.clear();
            } else if (word == "line") {
                cell += u'\n';
            }
            i = k - 1;
        } else if (c == '{' || c == '}' || c == '\n' || c == '\r') {
            continue;
        } else if (inCell) {
            cell += QLatin1Char(c);
        }
    }
    return rows;
}

QList<QStringList> htmlTable(const QByteArray& html) {
    QList<QStringList> rows;
    QXmlStreamReader xml(html);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("tr"))
            rows << QStringList();
        else if (xml.isStartElement() &&
                 (xml.name() == QLatin1String("td") || xml.name() == QLatin1String("th")))
            rows.last() << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return rows;
}

const QStringList kTitles{QStringLiteral("书名"), QStringLiteral("价格")};
const QList<QVariantList> kRows{
    {QStringLiteral("A&B <C> {x} \\y"), 12.5},
    {QStringLiteral("藏书'\"阁"), QVariant(QMetaType::fromType<double>())}};
const QList<QStringList> kExpected{{QStringLiteral("书名"), QStringLiteral("价格")},
                                   {QStringLiteral("A&B <C> {x} \\y"), QStringLiteral("12.5")},
                                   {QStringLiteral("藏书'\"阁"), QString()}};

} // namespace

TEST(Export, TextIsTabSeparatedCrLfWithoutFinalLineEnd) {
    const QString file = test::temporaryFolder() + QStringLiteral("/grid.txt");
    FixedRows rows(kTitles, kRows);
    ASSERT_TRUE(exportRows(ExportFormat::Text, file, rows).ok);
    EXPECT_EQ(readAll(file),
              QStringLiteral("书名\t价格\r\nA&B <C> {x} \\y\t12.5\r\n藏书'\"阁\t").toUtf8());
}

TEST(Export, RtfHtmlAndXlsxReadBackAsTheSameTable) {
    for (const ExportFormat format : {ExportFormat::Rtf, ExportFormat::Html, ExportFormat::Xlsx}) {
        const QString file =
            test::temporaryFolder() + QStringLiteral("/grid") + exportFormatInfo(format).extension;
        FixedRows rows(kTitles, kRows);
        const ExportOutcome out = exportRows(format, file, rows);
        ASSERT_TRUE(out.ok) << out.error.toStdString();
        EXPECT_EQ(out.rows, 2);
        QList<QStringList> table;
        if (format == ExportFormat::Rtf) {
            const QByteArray rtf = readAll(file);
            EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
            table = rtfTable(rtf);
        } else if (format == ExportFormat::Html) {
            table = htmlTable(readAll(file));
        } else {
            Sheet sheet;
            QString error;
            ASSERT_TRUE(readXlsx(file, &sheet, &error)) << error.toStdString();
            table = sheet.rows;
            // The reader ends the used range at the last value, so the empty cell is padding.
            EXPECT_EQ(sheet.columnCount, 2);
        }
        EXPECT_EQ(table, kExpected) << exportFormatInfo(format).extension.toStdString();
    }
}

TEST(Export, FailedWriteLeavesNoFileAndKeepsTheOldOne) {
    const QString missing = test::temporaryFolder() + QStringLiteral("/no/such/folder/a.txt");
    FixedRows rows(kTitles, kRows);
    const ExportOutcome out = exportRows(ExportFormat::Text, missing, rows);
    EXPECT_FALSE(out.ok);
    EXPECT_FALSE(out.error.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));

    // Replacing an existing file swaps it whole.
    const QString file = test::temporaryFolder() + QStringLiteral("/replace.txt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    FixedRows again(kTitles, kRows);
    ASSERT_TRUE(exportRows(ExportFormat::Text, file, again).ok);
    EXPECT_TRUE(readAll(file).startsWith("书名"));
    EXPECT_TRUE(QDir(test::temporaryFolder())
                    .entryList({QStringLiteral("*.part")}, QDir::Hidden | QDir::Files)
                    .isEmpty());
}

class ExportQueryTest : public test::EngineTest {};

TEST_P(ExportQueryTest, TableOrOneSelectIsWritten) {
    test::createListTables(db());
    test::addReader(db(), QStringLiteral("R001"), QStringLiteral("张三"), 100);
    test::addReader(db(), QStringLiteral("R002"), QStringLiteral("李四"), 50.25);
    const QString file = test::temporaryFolder() + QStringLiteral("/readers.xlsx");
    ExportOutcome out = exportQuery(
        db(), QStringLiteral("select [读者编号],[押金金额] from [读者资料] order by [读者编号]"),
        ExportFormat::Xlsx, file);
    ASSERT_TRUE(out.ok) << out.error.toStdString();
    Sheet sheet;
    QString error;
    ASSERT_TRUE(readXlsx(file, &sheet, &error));
    ASSERT_EQ(sheet.rows.size(), 3);
    EXPECT_EQ(sheet.rows.at(1), (QStringList{QStringLiteral("R001"), QStringLiteral("100")}));
    EXPECT_EQ(sheet.rows.at(2), (QStringList{QStringLiteral("R002"), QStringLiteral("50.25")}));

    const QString txt = test::temporaryFolder() + QStringLiteral("/readers.txt");
    out = exportQuery(db(), QStringLiteral("读者资料"), ExportFormat::Text, txt);
    ASSERT_TRUE(out.ok) << out.error.toStdString();
    EXPECT_EQ(out.rows, 2);

    // Anything but one SELECT is refused and writes nothing.
    EXPECT_THROW(exportQuery(db(), QStringLiteral("select 1; delete from [读者资料]"),
                             ExportFormat::Text,
                             test::temporaryFolder() + QStringLiteral("/x.txt")),
                 DatabaseError);
    EXPECT_FALSE(exportQuery(db(), QStringLiteral("没有的表"), ExportFormat::Text, txt).ok);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [读者资料]")).toInt(), 2);
}

CANGSHU_ENGINES(ExportQueryTest);
