#include "queries/XmlScanner.h"
#include "ListTables.h"
#include "queries/Spreadsheet.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace cangshu;

namespace {

// The scanner's tokens as one line: <name a=v>, </name>, "text"; "!" and the error at the end.
QString tokens(const QByteArray& xml) {
    XmlScanner s(xml);
    QString out;
    for (auto t = s.next(); t != XmlScanner::EndOfDocument; t = s.next()) {
        switch (t) {
        case XmlScanner::StartElement:
            out += u'<' + QString::fromUtf8(s.name());
            if (s.hasAttribute("a"))
                out += QStringLiteral(" a=") + s.attribute("a");
            out += u'>';
            break;
        case XmlScanner::EndElement:
            out += QStringLiteral("</") + QString::fromUtf8(s.name()) + u'>';
            break;
        case XmlScanner::Text: {
            QString text;
            if (!s.appendText(&text))
                return out + QStringLiteral("!entity");
            out += u'"' + text + u'"';
            break;
        }
        default:
            return out + u'!';
        }
    }
    return out;
}

} // namespace

TEST(XmlScanner, TokensEntitiesAndErrors) {
    struct Case {
        QByteArray xml;
        QString expected;
    };
    const QList<Case> cases{
        {"<?xml version=\"1.0\"?><!-- c --><x:r a='1 &amp; 2'><c/>t&lt;&#x4E2D;&#25991;</x:r>",
         QStringLiteral("<r a=1 & 2><c></c>\"t<中文\"</r>")},
        {"<t xml:space=\"preserve\">  <![CDATA[a<&b]]></t >",
         QStringLiteral("<t>\"  \"\"a<&b\"</t>")},
        {"<r a = \"中\" ><c\n/></r>", QStringLiteral("<r a=中><c></c></r>")},
        {"<r><c></r>", QStringLiteral("<r><c>!")},
        {"<r><c>", QStringLiteral("<r><c>!")},
        {"<r a=1/>", QStringLiteral("!")},
        {"<r>&nbsp;</r>", QStringLiteral("<r>!entity")},
        {"<r><!-- open", QStringLiteral("<r>!")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokens(c.xml), c.expected) << c.xml.constData();
}

TEST(XlsxReader, BrokenSheetIsRefusedWithAReason) {
    const QString file = test::temporaryFolder() + QStringLiteral("/badsheet.xlsx");
    test::writeXlsx(file, "<row r=\"1\"><c r=\"A1\"><v>1</v></row>", {});
    Sheet sheet;
    QString error;
    EXPECT_FALSE(readSpreadsheet(file, &sheet, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Excel文件已损坏"))) << error.toStdString();
}
