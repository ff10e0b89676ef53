#include "MarcTestSupport.h"

#include "marc/MarcFile.h"
#include "marc/MarcRecord.h"
#include "support/TestDatabase.h"

#include <QFile>

using namespace cangshu;
using namespace cangshu::test;

namespace {

QByteArray record(const char* title) {
    MarcWriter w;
    w.controlField(QStringLiteral("001"), QString::fromUtf8(title))
        .dataField(QStringLiteral("200"), QStringLiteral("1 "), {{u'a', QString::fromUtf8(title)}});
    return w.toIso2709();
}

QStringList titles(const QList<QByteArray>& records) {
    QStringList result;
    for (const auto& r : records)
        result << MarcRecord::fromBytes(r).firstSubfield(QStringLiteral("200"), u'a');
    return result;
}

} // namespace

TEST(MarcFileTest, SplitsAtTheRecordTerminatorOrAtLineEnds) {
    const QByteArray a = record("甲"), b = record("乙"), c = record("丙");
    auto noTerminator = [](QByteArray r) {
        r.chop(1);
        return r;
    };
    const struct {
        const char* name;
        QByteArray file;
    } cases[] = {
        {"one line, terminators", a + b + c},
        {"one line, terminators, trailing newline", a + b + c + "\r\n"},
        {"a record per line with terminators", a + "\n" + b + "\r\n" + c + "\n"},
        {"a record per line without terminators",
         noTerminator(a) + "\r\n" + noTerminator(b) + "\n\n" + noTerminator(c)},
        {"blanks around records", "  " + a + " \n " + b + "\t" + c + "   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = splitMarcRecords(c.file);
        // The empty piece after the last terminator is no record.
        ASSERT_EQ(records.size(), 3);
        EXPECT_EQ(titles(records),
                  (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
        for (const auto& r : records) {
            EXPECT_TRUE(r.endsWith('\x1d'));
            EXPECT_TRUE(MarcRecord::fromBytes(r).hasFields()); // the last field's 0x1E stays
        }
    }
    EXPECT_TRUE(splitMarcRecords("").isEmpty());
    EXPECT_TRUE(splitMarcRecords(" \r\n\x1d\n").isEmpty());
}

TEST(MarcFileTest, ReadsAFileAndReportsAMissingOne) {
    const QString path = temporaryFolder() + QStringLiteral("/two.iso");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(record("一") + record("二"));
    file.close();
    QString error;
    EXPECT_EQ(readMarcFile(path, &error).size(), 2);
    EXPECT_TRUE(readMarcFile(path + QStringLiteral(".missing"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// Records cut across the reader's chunks come out whole, in both kinds of file.
TEST(MarcFileTest, ReadsLargeFilesAcrossChunks) {
    QList<QByteArray> written;
    for (int i = 0; i < 300; ++i) {
        MarcWriter w;
        w.controlField(QStringLiteral("001"), QString::number(i))
            .dataField(QStringLiteral("330"), QStringLiteral("  "),
                       {{u'a', QString(100 + i * 3, QChar(u'文'))}});
        written << w.toIso2709();
    }
    for (const char* separator : {"", "\r\n"}) {
        QByteArray contents;
        for (QByteArray r : written) {
            if (*separator)
                r.chop(1); // one record per line, no terminators
            contents += r + separator;
        }
        ASSERT_GT(contents.size(), 3 * 64 * 1024);
        const QString path = temporaryFolder() + QStringLiteral("/large.iso");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        QString error;
        const auto records = readMarcFile(path, &error);
        ASSERT_EQ(records.size(), written.size());
        EXPECT_EQ(records, written);
    }
}
