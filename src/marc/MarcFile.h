#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

namespace cangshu {

// Cuts the contents of a MARC exchange file into records. A file that holds the record
// terminator 0x1D is cut there (line breaks and blanks around records are dropped);
// a file without one holds one record per line. Blank pieces are no records. Every record
// comes back ending with its terminator.
QList<QByteArray> splitMarcRecords(const QByteArray& contents);

// Reads a MARC file and splits it; on failure returns nothing and the reason.
QList<QByteArray> readMarcFile(const QString& path, QString* error);

} // namespace cangshu
