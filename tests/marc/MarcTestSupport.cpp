#include "MarcTestSupport.h"

#include "marc/MarcFile.h"

#include <QDir>
#include <QFile>

namespace cangshu::test {

QString marcFixturesDir() {
    const QString source = qEnvironmentVariable("CANGSHU_SOURCE_DIR");
    if (source.isEmpty())
        return {};
    const QDir dir(source + QStringLiteral("/../shared/fixtures/marc"));
    return dir.exists() ? dir.absolutePath() : QString();
}

QList<QByteArray> allFixtureRecords() {
    QList<QByteArray> records;
    const QString dir = marcFixturesDir();
    if (dir.isEmpty())
        return records;
    const auto files = QDir(dir).entryList({QStringLiteral("*.dat"), QStringLiteral("*.mrc")},
                                           QDir::Files, QDir::Name);
    for (const auto& name : files) {
        QString error;
        records += readMarcFile(dir + u'/' + name, &error);
    }
    return records;
}

MarcWriter chineseBook() {
    MarcWriter w;
    w.controlField(QStringLiteral("001"), QStringLiteral("CAL 012000123456"))
        .dataField(
            QStringLiteral("010"), QStringLiteral("  "),
            {{u'a', QStringLiteral("978-7-02-000220-7")}, {u'd', QStringLiteral("CNY25.00")}})
        .dataField(QStringLiteral("101"), QStringLiteral("0 "), {{u'a', QStringLiteral("chi")}})
        .dataField(QStringLiteral("200"), QStringLiteral("1 "),
                   {{u'a', QStringLiteral("红楼梦")}, {u'f', QStringLiteral("曹雪芹著")}})
        .dataField(QStringLiteral("210"), QStringLiteral("  "),
                   {{u'a', QStringLiteral("北京")},
                    {u'c', QStringLiteral("人民文学出版社")},
                    {u'd', QStringLiteral("1996")}})
        .dataField(QStringLiteral("690"), QStringLiteral("  "),
                   {{u'a', QStringLiteral("I242.47")}, {u'v', QStringLiteral("4")}});
    return w;
}

qsizetype baseAddress(const QByteArray& record) {
    return record.mid(12, 5).toLongLong();
}

qsizetype fieldStart(const QByteArray& record, int entry) {
    return baseAddress(record) + record.mid(24 + entry * 12 + 7, 5).toLongLong();
}

void setEntryLength(QByteArray& record, int entry, const QByteArray& digits) {
    record.replace(24 + entry * 12 + 3, 4, digits);
}

void setEntryStart(QByteArray& record, int entry, const QByteArray& digits) {
    record.replace(24 + entry * 12 + 7, 5, digits);
}

} // namespace cangshu::test
