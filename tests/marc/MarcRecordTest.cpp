#include "MarcTestSupport.h"

#include "core/Gbk.h"
#include "marc/MarcFile.h"
#include "marc/MarcRecord.h"
#include "support/TestDatabase.h"

using namespace cangshu;
using namespace cangshu::test;

namespace {

const QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(MarcRecordTest, ReadsAChineseCnmarcRecordCountingBytesOrCharacters) {
    for (auto unit : {MarcWriter::Unit::Bytes, MarcWriter::Unit::Characters}) {
        SCOPED_TRACE(unit == MarcWriter::Unit::Bytes ? "bytes" : "characters");
        const MarcRecord r = MarcRecord::fromBytes(chineseBook().toIso2709(unit));
        ASSERT_TRUE(r.hasFields()) << r.problemText().toStdString();
        EXPECT_EQ(r.code(),
                  unit == MarcWriter::Unit::Bytes ? MarcCode::Bytes : MarcCode::Characters);
        EXPECT_EQ(r.type(), MarcType::CnMarc);
        EXPECT_EQ(r.id(), S("CAL 012000123456"));
        EXPECT_EQ(r.firstSubfield(S("200"), u'a'), S("红楼梦"));
        EXPECT_EQ(r.firstSubfield(S("200"), u'f'), S("曹雪芹著"));
        EXPECT_EQ(r.firstSubfield(S("210"), u'c'), S("人民文学出版社"));
        EXPECT_EQ(r.firstSubfield(S("690"), u'a'), S("I242.47"));

        // The leader entry comes first, then the directory's fields in order, named.
        ASSERT_EQ(r.fields().size(), 7);
        const MarcField& leader = r.fields()[0];
        EXPECT_EQ(leader.tag, S("hdr"));
        EXPECT_EQ(leader.content.size(), 24);
        EXPECT_EQ(leader.indicators, S("  "));
        const MarcField& title = r.fields()[4];
        EXPECT_EQ(title.tag, S("200"));
        EXPECT_EQ(title.name(), S("题名与责任说明"));
        EXPECT_EQ(title.indicators, S("1 "));
        EXPECT_EQ(title.content, S("\x1f"
                                   "a红楼梦\x1f"
                                   "f曹雪芹著"));
        ASSERT_EQ(title.subfields.size(), 2);
        EXPECT_EQ(title.subfields[0].name(), S("正题名"));
        EXPECT_EQ(title.subfields[1].name(), S("第一责任说明"));
        EXPECT_TRUE(r.fields()[1].control);
        EXPECT_EQ(r.fields()[1].content, S("CAL 012000123456"));
    }
}

TEST(MarcRecordTest, AnAsciiRecordCountsCharacters) {
    MarcWriter w;
    w.controlField(S("001"), S("12345")).dataField(S("200"), S("1 "), {{u'a', S("Title")}});
    const MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
    EXPECT_EQ(r.code(), MarcCode::Characters);
    EXPECT_EQ(r.firstSubfield(S("200"), u'a'), S("Title"));
}

TEST(MarcRecordTest, TellsTheFormatFromTheFirst200Or245) {
    struct Case {
        QStringList tags;
        MarcType type;
    } cases[] = {
        {{S("001"), S("010"), S("200"), S("210")}, MarcType::CnMarc},
        {{S("001"), S("020"), S("245")}, MarcType::UsMarc},
        {{S("001"), S("245"), S("200")}, MarcType::UsMarc}, // the first one decides
        {{S("001"), S("300")}, MarcType::Unknown},
    };
    for (const auto& c : cases) {
        MarcWriter w;
        for (const auto& tag : c.tags) {
            if (tag == S("001"))
                w.controlField(tag, S("id-1"));
            else
                w.dataField(tag, S("  "), {{u'a', tag}});
        }
        const MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
        EXPECT_EQ(r.type(), c.type) << c.tags.join(u',').toStdString();
        // A record of unknown type has no control fields: its 001 is cut like a data field.
        EXPECT_EQ(r.fields()[1].control, c.type != MarcType::Unknown);
        EXPECT_EQ(r.id(), c.type == MarcType::Unknown ? QString() : S("id-1"));
    }
}

TEST(MarcRecordTest, ControlFieldsAndNamesFollowTheFormatAndChangeWithIt) {
    MarcWriter w;
    w.controlField(S("001"), S("x1"))
        .controlField(S("004"), S("4444"))
        .dataField(S("200"), S("1 "), {{u'a', S("A")}})
        .dataField(S("999"), S("  "), {{u'a', S("local")}});
    MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
    ASSERT_EQ(r.type(), MarcType::CnMarc);
    EXPECT_TRUE(r.fields()[2].control); // 004 is a control field of CNMARC
    EXPECT_EQ(r.fields()[4].name(), S("非标准字段"));

    r.setType(MarcType::UsMarc);
    EXPECT_EQ(r.type(), MarcType::UsMarc);
    EXPECT_FALSE(r.fields()[2].control); // ... but not of USMARC
    EXPECT_EQ(r.fields()[2].indicators, S("44"));
    EXPECT_EQ(r.fields()[3].name(), S("非标准字段")); // USMARC has no 200
    EXPECT_EQ(r.fields()[0].name(), S("头标区"));
}

TEST(MarcRecordTest, SubfieldsAreCutAtTheDelimiterOnly) {
    MarcWriter w;
    w.dataField(S("200"), S("1 "),
                {{u'a', S("  两个空格 ")}, {u'e', S("上册;下册")}, {u'f', S("张三, 李四@编")}});
    const MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
    EXPECT_EQ(r.firstSubfield(S("200"), u'a'), S("  两个空格 "));
    EXPECT_EQ(r.firstSubfield(S("200"), u'e'), S("上册;下册"));
    EXPECT_EQ(r.firstSubfield(S("200"), u'f'), S("张三, 李四@编"));
}

// Values of every length from 0 to 19, ASCII, Chinese or both, one after the other, so that
// delimiters and double-byte characters fall at every position of the bytes the decoder
// reads at a time; and invalid GBK bytes right before a delimiter.
TEST(MarcRecordTest, SubfieldsAreCutWhereverTheirDelimitersFall) {
    const QString pieces[] = {S("x"), S("中"), S("9"), S("文"), S(" ")};
    MarcWriter::Subfields subfields;
    for (int length = 0; length < 20; ++length) {
        for (int mix = 0; mix < 3; ++mix) {
            QString value;
            for (int k = 0; k < length; ++k)
                value += mix == 0 ? pieces[0] : mix == 1 ? pieces[1] : pieces[(k * 7 + length) % 5];
            subfields.append({QChar(u'a' + (length + mix) % 26), value});
        }
    }
    subfields.append({u'y', S("Q")});
    subfields.append({u'z', S("end")});
    MarcWriter w;
    w.controlField(S("001"), S("x")).dataField(S("330"), S("1 "), subfields);
    QByteArray bytes = w.toIso2709();
    bytes[bytes.lastIndexOf('Q')] = '\x81'; // a lead byte with no second byte

    const MarcRecord r = MarcRecord::fromBytes(bytes);
    ASSERT_TRUE(r.hasFields()) << r.problemText().toStdString();
    const MarcField& field = r.fields()[2];
    EXPECT_EQ(field.indicators, S("1 "));
    ASSERT_EQ(field.subfields.size(), subfields.size());
    for (qsizetype i = 0; i + 2 < subfields.size(); ++i) {
        EXPECT_EQ(field.subfields[i].code, subfields[i].first) << i;
        EXPECT_EQ(field.subfields[i].value(), subfields[i].second) << i;
    }
    EXPECT_EQ(r.firstSubfield(S("330"), u'y'), QString(QChar::ReplacementCharacter));
    EXPECT_EQ(r.firstSubfield(S("330"), u'z'), S("end"));
}

// Fields are read in directory order wherever their data lies, and a stray terminator
// inside a field's data is part of its value.
TEST(MarcRecordTest, FieldsOutOfOrderOrHoldingATerminatorAreReadAsTheDirectorySays) {
    MarcWriter w;
    w.controlField(S("001"), S("id-1"))
        .dataField(S("200"), S("1 "), {{u'a', S("题名")}, {u'f', S("著者")}})
        .dataField(S("210"), S("  "), {{u'c', S("出版社")}});
    const QByteArray good = w.toIso2709();
    QByteArray swapped = good; // the directory lists 210 before 200
    swapped.replace(24 + 12, 12, good.mid(24 + 24, 12));
    swapped.replace(24 + 24, 12, good.mid(24 + 12, 12));
    QByteArray stray = good;
    stray[stray.indexOf("\x1f"
                        "f") -
          1] = '\x1e'; // the last byte of 题名

    const MarcRecord inOrder = MarcRecord::fromBytes(swapped);
    ASSERT_TRUE(inOrder.hasFields());
    EXPECT_EQ(inOrder.fields()[2].tag, S("210"));
    EXPECT_EQ(inOrder.fields()[3].tag, S("200"));
    EXPECT_EQ(inOrder.firstSubfield(S("200"), u'f'), S("著者"));
    EXPECT_EQ(inOrder.firstSubfield(S("210"), u'c'), S("出版社"));

    const MarcRecord withStray = MarcRecord::fromBytes(stray);
    ASSERT_TRUE(withStray.hasFields());
    EXPECT_EQ(withStray.firstSubfield(S("200"), u'a'), S("题") + QChar(0xFFFD) + QChar(0x1E));
    EXPECT_EQ(withStray.firstSubfield(S("200"), u'f'), S("著者"));
    EXPECT_EQ(withStray.firstSubfield(S("210"), u'c'), S("出版社"));
}

TEST(MarcRecordTest, LookupsAnswerEveryMatchInRecordOrderOrOneEmptyText) {
    MarcWriter w;
    w.dataField(S("010"), S("  "), {{u'a', S("7-111")}, {u'd', S("CNY10.00")}})
        .dataField(S("200"), S("1 "), {{u'a', S("T")}})
        .dataField(S("010"), S("  "), {{u'a', S("7-222")}, {u'd', S("CNY20.00")}, {u'd', S("x")}});
    const MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
    EXPECT_EQ(r.subfieldValues(S("010"), u'd'),
              (QStringList{S("CNY10.00"), S("CNY20.00"), S("x")}));
    EXPECT_EQ(r.fieldValues(S("010")).size(), 2);
    EXPECT_EQ(r.subfieldValues(S("330"), u'a'), QStringList{QString()});
    EXPECT_EQ(r.subfieldValues(S("   "), u'a'), QStringList{QString()});
    EXPECT_EQ(r.fieldValues(S("330")), QStringList{QString()});

    const MarcRecord none;
    EXPECT_EQ(none.fieldValues(S("010")), QStringList());
    EXPECT_EQ(none.subfieldValues(S("010"), u'a'), QStringList{QString()});
}

TEST(MarcRecordTest, AFieldWithoutSubfieldsOrIndicators) {
    MarcWriter w;
    w.dataField(S("200"), S("1 "), {{u'a', S("T")}}).controlField(S("300"), S("1")); // too short
    const MarcRecord r = MarcRecord::fromBytes(w.toIso2709());
    const MarcField& f = r.fields()[2];
    EXPECT_EQ(f.indicators, S("1 "));
    EXPECT_EQ(f.content, QString());
    EXPECT_TRUE(f.subfields.isEmpty());
    EXPECT_EQ(f.leadingText, S("1"));
}

TEST(MarcRecordTest, AUsmarcRecordFlaggedAsUnicodeIsReadAsUtf8) {
    MarcWriter w(S("     nam a22     7a 4500"));
    w.controlField(S("001"), S("u1")).dataField(S("245"), S("10"), {{u'a', S("Ünïcode 中文")}});
    const MarcRecord r =
        MarcRecord::fromBytes(w.toIso2709(MarcWriter::Unit::Bytes, MarcCharset::Utf8));
    ASSERT_TRUE(r.hasFields()) << r.problemText().toStdString();
    EXPECT_EQ(r.charset(), MarcCharset::Utf8);
    EXPECT_EQ(r.firstSubfield(S("245"), u'a'), S("Ünïcode 中文"));
}

TEST(MarcRecordTest, ATextRecordIsReadFromItsGbkForm) {
    const QByteArray bytes = chineseBook().toIso2709();
    const MarcRecord r = MarcRecord::fromText(fromGbk(bytes));
    EXPECT_EQ(r.firstSubfield(S("200"), u'a'), S("红楼梦"));
}

// Each malformed shape ends with no fields and says why; nothing is read past the bytes.
TEST(MarcRecordTest, MalformedRecordsGiveNoFieldsAndAReason) {
    const QByteArray good = chineseBook().toIso2709();
    const qsizetype base = baseAddress(good);
    struct Case {
        const char* name;
        std::function<QByteArray()> make;
        MarcProblem problem;
        int entry;
    } cases[] = {
        {"empty", [] { return QByteArray(); }, MarcProblem::Empty, -1},
        {"only a terminator", [] { return QByteArray("\x1d"); }, MarcProblem::Empty, -1},
        {"short leader", [&] { return good.left(20); }, MarcProblem::ShortLeader, -1},
        {"base not a number", [&] { return QByteArray(good).replace(12, 5, "00a99"); },
         MarcProblem::BadBaseAddress, -1},
        {"base zero", [&] { return QByteArray(good).replace(12, 5, "00000"); },
         MarcProblem::BadBaseAddress, -1},
        {"base past the end", [&] { return QByteArray(good).replace(12, 5, "99999"); },
         MarcProblem::BadBaseAddress, -1},
        {"base inside the leader", [&] { return QByteArray(good).replace(12, 5, "00010"); },
         MarcProblem::BadBaseAddress, -1},
        {"directory terminator missing", [&] { return QByteArray(good).replace(base - 1, 1, "0"); },
         MarcProblem::MissingDirectoryTerminator, -1},
        {"directory not of whole entries",
         [&] {
             QByteArray r = good;
             r.insert(base - 1, "X");
             return r.replace(12, 5, QByteArray::number(base + 1).rightJustified(5, '0'));
         },
         MarcProblem::BadDirectory, -1},
        {"length not a number",
         [&] {
             QByteArray r = good;
             setEntryLength(r, 2, "00 8");
             return r;
         },
         MarcProblem::BadDirectoryEntry, 2},
        {"start not a number",
         [&] {
             QByteArray r = good;
             setEntryStart(r, 3, "-0001");
             return r;
         },
         MarcProblem::BadDirectoryEntry, 3},
        {"length with a character next to the digits",
         [&] {
             QByteArray r = good;
             setEntryLength(r, 1, "0/26");
             return r;
         },
         MarcProblem::BadDirectoryEntry, 1},
        {"start ending in a character next to the digits",
         [&] {
             QByteArray r = good;
             setEntryStart(r, 4, "0012:");
             return r;
         },
         MarcProblem::BadDirectoryEntry, 4},
        {"cut short", [&] { return good.left(good.size() - 12); }, MarcProblem::FieldOutOfRange, 5},
        {"field length past the end",
         [&] {
             QByteArray r = good;
             setEntryLength(r, 5, "9999");
             return r;
         },
         MarcProblem::FieldOutOfRange, 5},
        {"field terminator missing",
         [&] {
             QByteArray r = good;
             r[fieldStart(r, 1) - 1] = 'x'; // the terminator of field 0 (001)
             return r;
         },
         MarcProblem::MissingFieldTerminator, 0},
        {"zero length",
         [&] {
             QByteArray r = good;
             setEntryLength(r, 4, "0000");
             return r;
         },
         MarcProblem::MissingFieldTerminator, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MarcRecord r = MarcRecord::fromBytes(c.make());
        EXPECT_TRUE(r.isSet());
        EXPECT_FALSE(r.hasFields());
        EXPECT_EQ(r.problem(), c.problem) << r.problemText().toStdString();
        EXPECT_EQ(r.problemEntry(), c.entry);
        EXPECT_FALSE(r.problemText().isEmpty());
        EXPECT_EQ(r.subfieldValues(S("200"), u'a'), QStringList{QString()});
        EXPECT_EQ(r.fieldValues(S("200")), QStringList{QString()});
        EXPECT_EQ(r.id(), QString());
    }
}

TEST(MarcRecordTest, AFieldStartingInsideADoubleByteCharacterIsRefused) {
    MarcWriter w;
    w.controlField(S("001"), S("中国")).dataField(S("200"), S("1 "), {{u'a', S("题名")}});
    QByteArray r = w.toIso2709();
    ASSERT_EQ(MarcRecord::fromBytes(r).code(), MarcCode::Bytes);
    // 001 starts one byte later (inside 中) and is one byte shorter: its end stays right.
    setEntryStart(r, 0, "00001");
    setEntryLength(r, 0, "0004");
    const MarcRecord record = MarcRecord::fromBytes(r);
    EXPECT_EQ(record.problem(), MarcProblem::SplitCharacter);
    EXPECT_EQ(record.problemEntry(), 0);
}

TEST(MarcRecordTest, FixtureRecordsAreRead) {
    const QString dir = marcFixturesDir();
    if (dir.isEmpty())
        GTEST_SKIP() << "the shared MARC fixtures are not there";
    const struct {
        const char* file;
        int records;
        int index;
        MarcType type;
        const char* tag;
        char code;
        const char* value;
    } cases[] = {
        {"test.dat", 10, 1, MarcType::UsMarc, "245", 'a', "Programming the Perl DBI /"},
        {"marc.dat", 20, 19, MarcType::UsMarc, "245", 'a', "ANSI Common Lisp /"},
        {"testunimarc.dat", 1, 0, MarcType::CnMarc, "210", 'c', "A. Mondadori"},
        // UTF-8 records flagged in the leader
        {"regression45.dat", 12, 3, MarcType::UsMarc, "245", 'a', "Vpadenīe r. Kostromy v Volgu"},
        {"utf8_with_leader_flag.dat", 1, 0, MarcType::UsMarc, "245", 'a',
         "Escape from loneliness /"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QString error;
        const auto records = readMarcFile(dir + u'/' + QString::fromUtf8(c.file), &error);
        ASSERT_EQ(records.size(), c.records);
        for (const auto& bytes : records)
            EXPECT_TRUE(MarcRecord::fromBytes(bytes).hasFields());
        const MarcRecord r = MarcRecord::fromBytes(records[c.index]);
        EXPECT_EQ(r.type(), c.type);
        // Compared composed: the file writes diacritics as combining marks.
        EXPECT_EQ(r.firstSubfield(S(c.tag), QChar(c.code)).normalized(QString::NormalizationForm_C),
                  S(c.value).normalized(QString::NormalizationForm_C));
    }

    // The broken file: records whose leader or directory is damaged are refused.
    QString error;
    const auto bad = readMarcFile(dir + QStringLiteral("/bad_records.mrc"), &error);
    int refused = 0;
    for (const auto& bytes : bad)
        refused += MarcRecord::fromBytes(bytes).hasFields() ? 0 : 1;
    EXPECT_EQ(refused, 5);
}
