#pragma once
#include "marc/MarcWriter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <ostream>

// Readable text views in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(QStringView s, std::ostream* os) {
    *os << '"' << s.toString().toStdString() << '"';
}
QT_END_NAMESPACE

namespace cangshu::test {

// The folder of the shared MARC fixture files, empty when it is not there.
QString marcFixturesDir();
// Every record of every fixture file (bad ones included).
QList<QByteArray> allFixtureRecords();

// A small CNMARC book with Chinese text, as the writer builds it.
MarcWriter chineseBook();

// Byte positions in a written record.
qsizetype baseAddress(const QByteArray& record);
// The start of directory entry i's field, as a byte index into the record.
qsizetype fieldStart(const QByteArray& record, int entry);
// Overwrites a directory entry's length or start with the given digits.
void setEntryLength(QByteArray& record, int entry, const QByteArray& digits);
void setEntryStart(QByteArray& record, int entry, const QByteArray& digits);

} // namespace cangshu::test
