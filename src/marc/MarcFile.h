#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

namespace cangshu {

// Reads the records of a MARC exchange file one at a time, holding only the record being
// cut. A file that holds the record terminator 0x1D is cut there (line breaks and blanks
// around records are dropped); a file without one holds one record per line. Blank pieces
// are no records. Every record comes back ending with its terminator.
class MarcRecordReader {
public:
    explicit MarcRecordReader(QIODevice* device);
    // The next record; false at the end of the file.
    bool next(QByteArray* record);

private:
    bool fill();

    QIODevice* m_device;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    qsizetype m_searched = 0; // no separator before this index from m_position on
    bool m_end = false;
    char m_separator = 0; // decided from the start of the file
};

// All records of a file's contents, cut as MarcRecordReader does.
QList<QByteArray> splitMarcRecords(const QByteArray& contents);

// Reads a MARC file and splits it; on failure returns nothing and the reason.
QList<QByteArray> readMarcFile(const QString& path, QString* error);

} // namespace cangshu
