#include "MarcTestSupport.h"

#include "marc/MarcFile.h"
#include "marc/MarcRecord.h"
#include "support/TestDatabase.h"

#include <QFile>

using namespace cangshu;
using namespace cangshu::test;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QString CnLeader = S("     nam0 22     i  450 ");
const QString CnSerialLeader = S("     nas0 22     i  450 ");
const QString UsLeader = S("     nam a22     7a 4500");

QByteArray cnBook(const char* id, const char* isbn, const char* price, const char* title,
                  const char* part, const char* author, const char* person, const char* place,
                  const char* publisher, const char* year, const char* pages, const char* size,
                  const char* series, const char* cls, const char* abstract,
                  QList<const char*> accessions) {
    MarcWriter w(CnLeader);
    w.controlField(S("001"), S(id))
        .controlField(S("005"), S("20240315093000.0"))
        .dataField(S("010"), S("  "), {{u'a', S(isbn)}, {u'd', S(price)}})
        .dataField(S("100"), S("  "), {{u'a', S("20240315d2023    em y0chiy50      ea")}})
        .dataField(S("101"), S("0 "), {{u'a', S("chi")}})
        .dataField(S("102"), S("  "), {{u'a', S("CN")}, {u'b', S("110000")}});
    MarcWriter::Subfields title200{{u'a', S(title)}};
    if (*part)
        title200.append({u'h', S(part)});
    title200.append({u'f', S(author)});
    w.dataField(S("200"), S("1 "), title200)
        .dataField(S("210"), S("  "), {{u'a', S(place)}, {u'c', S(publisher)}, {u'd', S(year)}})
        .dataField(S("215"), S("  "), {{u'a', S(pages)}, {u'd', S(size)}});
    if (*series)
        w.dataField(S("225"), S("2 "), {{u'a', S(series)}});
    w.dataField(S("330"), S("  "), {{u'a', S(abstract)}})
        .dataField(S("690"), S("  "), {{u'a', S(cls)}, {u'v', S("5")}})
        .dataField(S("701"), S(" 0"), {{u'a', S(person)}})
        .dataField(S("801"), S(" 0"),
                   {{u'a', S("CN")}, {u'b', S("CANGSHU")}, {u'c', S("20240315")}});
    MarcWriter::Subfields holdings{{u'a', S("CANGSHU")}};
    for (const char* number : accessions)
        holdings.append({u'b', S(number)});
    holdings.append({u'd', S(cls)});
    w.dataField(S("905"), S("  "), holdings);
    return w.toIso2709();
}

// The sample files shipped for demonstrations and tried by the tests: CNMARC books and
// periodicals in GBK, USMARC books in UTF-8.
QList<QPair<QString, QByteArray>> samples() {
    QByteArray books;
    books += cnBook("CAL 012024000001", "978-7-5366-2133-6", "CNY39.80", "数据库系统概论", "",
                    "王珊, 萨师煊著", "王珊", "北京", "高等教育出版社", "2023", "402页", "26cm",
                    "普通高等教育规划教材", "TP311.13",
                    "本书系统介绍数据库系统的基本概念、基本原理和基本技术；兼顾理论与实践。",
                    {"T0000101", "T0000102"});
    books += cnBook("CAL 012024000002", "978-7-02-000220-7", "CNY59.70", "红楼梦", "上册",
                    "曹雪芹著", "曹雪芹", "北京", "人民文学出版社", "1996", "1606页", "20cm", "",
                    "I242.47", "长篇小说，以贾、史、王、薛四大家族的兴衰为背景。", {"T0000103"});
    books += cnBook("CAL 012024000003", "978-7-111-40701-0", "CNY139.00", "算法导论", "",
                    "(美) 科尔曼等著", "科尔曼", "北京", "机械工业出版社", "2013", "780页", "24cm",
                    "计算机科学丛书", "TP301.6", "全面介绍算法的设计与分析。",
                    {"T0000104", "T0000105", "T0000106"});

    QByteArray periodicals;
    const struct {
        const char* id;
        const char* issn;
        const char* price;
        const char* title;
        const char* editor;
        const char* issue;
        const char* publisher;
        const char* frequency;
        const char* cls;
    } serials[] = {
        {"CAL 022024000001", "0254-4164", "CNY40.00", "计算机学报", "计算机学报编辑部编",
         "2024年第3期", "科学出版社", "月刊", "TP3"},
        {"CAL 022024000002", "1000-0135", "CNY25.00", "图书情报工作", "图书情报工作杂志社编",
         "2024年第5期", "图书情报工作杂志社", "半月刊", "G25"},
    };
    for (const auto& s : serials) {
        MarcWriter w(CnSerialLeader);
        w.controlField(S("001"), S(s.id))
            .dataField(S("011"), S("  "), {{u'a', S(s.issn)}, {u'd', S(s.price)}})
            .dataField(S("091"), S("  "), {{u'a', S("CN 11-1826/TP")}})
            .dataField(S("101"), S("0 "), {{u'a', S("chi")}})
            .dataField(S("200"), S("1 "), {{u'a', S(s.title)}, {u'f', S(s.editor)}})
            .dataField(S("207"), S(" 0"), {{u'a', S(s.issue)}})
            .dataField(S("210"), S("  "),
                       {{u'a', S("北京")}, {u'c', S(s.publisher)}, {u'd', S("2024")}})
            .dataField(S("215"), S("  "), {{u'a', S("160页")}, {u'd', S("28cm")}})
            .dataField(S("326"), S("  "), {{u'a', S(s.frequency)}})
            .dataField(S("690"), S("  "), {{u'a', S(s.cls)}, {u'v', S("5")}});
        periodicals += w.toIso2709();
    }

    QByteArray usBooks;
    const struct {
        const char* id;
        const char* isbn;
        const char* author;
        const char* title;
        const char* remainder;
        const char* responsibility;
        const char* place;
        const char* publisher;
        const char* year;
        const char* pages;
    } us[] = {
        {"2001012345", "9780262033848", "Cormen, Thomas H.", "Introduction to algorithms /", "",
         "Thomas H. Cormen ... [et al.].", "Cambridge, Mass. :", "MIT Press,", "2009.",
         "xix, 1292 p. :"},
        {"2010098765", "9780201633610", "Gamma, Erich.", "Design patterns :",
         "elements of reusable object-oriented software /", "Erich Gamma ... [et al.].",
         "Reading, Mass. :", "Addison-Wesley,", "1995.", "xv, 395 p. :"},
    };
    for (const auto& b : us) {
        MarcWriter::Subfields title{{u'a', S(b.title)}};
        if (*b.remainder)
            title.append({u'b', S(b.remainder)});
        title.append({u'c', S(b.responsibility)});
        MarcWriter w(UsLeader);
        w.controlField(S("001"), S(b.id))
            .controlField(S("003"), S("DLC"))
            .controlField(S("008"), S("090101s2009    mau      b    001 0 eng  "))
            .dataField(S("020"), S("  "), {{u'a', S(b.isbn)}})
            .dataField(S("100"), S("1 "), {{u'a', S(b.author)}})
            .dataField(S("245"), S("10"), title)
            .dataField(S("260"), S("  "),
                       {{u'a', S(b.place)}, {u'b', S(b.publisher)}, {u'c', S(b.year)}})
            .dataField(S("300"), S("  "), {{u'a', S(b.pages)}, {u'c', S("24 cm.")}})
            .dataField(S("650"), S(" 0"), {{u'a', S("Computer programming.")}});
        usBooks += w.toIso2709(MarcWriter::Unit::Bytes, MarcCharset::Utf8);
    }
    return {{S("cnmarc-books.iso"), books},
            {S("cnmarc-periodicals.iso"), periodicals},
            {S("usmarc-books.iso"), usBooks}};
}

} // namespace

// The files under data/marc are what the writer makes now; with CANGSHU_WRITE_MARC_SAMPLES=1
// this test writes them afresh.
TEST(MarcSamplesTest, ShippedSampleFilesAreCurrentAndReadable) {
    const QString source = qEnvironmentVariable("CANGSHU_SOURCE_DIR");
    if (source.isEmpty())
        GTEST_SKIP() << "CANGSHU_SOURCE_DIR is not set";
    const bool write = qEnvironmentVariableIntValue("CANGSHU_WRITE_MARC_SAMPLES") == 1;
    for (const auto& [name, bytes] : samples()) {
        SCOPED_TRACE(name.toStdString());
        QFile file(source + QStringLiteral("/data/marc/") + name);
        if (write) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bytes) << "run with CANGSHU_WRITE_MARC_SAMPLES=1 to refresh";
    }

    const QString dir = source + QStringLiteral("/data/marc/");
    QString error;
    const auto books = readMarcFile(dir + S("cnmarc-books.iso"), &error);
    ASSERT_EQ(books.size(), 3);
    const MarcRecord second = MarcRecord::fromBytes(books[1]);
    EXPECT_EQ(second.type(), MarcType::CnMarc);
    EXPECT_EQ(second.code(), MarcCode::Bytes);
    EXPECT_EQ(second.firstSubfield(S("200"), u'a'), S("红楼梦"));
    EXPECT_EQ(second.firstSubfield(S("200"), u'h'), S("上册"));
    EXPECT_EQ(MarcRecord::fromBytes(books[2]).subfieldValues(S("905"), u'b'),
              (QStringList{S("T0000104"), S("T0000105"), S("T0000106")}));
    const auto serials = readMarcFile(dir + S("cnmarc-periodicals.iso"), &error);
    ASSERT_EQ(serials.size(), 2);
    EXPECT_EQ(MarcRecord::fromBytes(serials[0]).firstSubfield(S("011"), u'a'), S("0254-4164"));
    EXPECT_EQ(MarcRecord::fromBytes(serials[1]).firstSubfield(S("326"), u'a'), S("半月刊"));
    const auto us = readMarcFile(dir + S("usmarc-books.iso"), &error);
    ASSERT_EQ(us.size(), 2);
    EXPECT_EQ(MarcRecord::fromBytes(us[1]).type(), MarcType::UsMarc);
    EXPECT_EQ(MarcRecord::fromBytes(us[0]).firstSubfield(S("245"), u'b'), QString());
    EXPECT_EQ(MarcRecord::fromBytes(us[1]).firstSubfield(S("245"), u'b'),
              S("elements of reusable object-oriented software /"));
}
