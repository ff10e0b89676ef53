#include "MarcFile.h"

#include <QFile>

namespace cangshu {

namespace {

constexpr char RecordTerminator = 0x1D;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Only ASCII blanks: the field terminator 0x1E that ends a record's last field stays.
QByteArrayView trimmed(QByteArrayView piece) {
    while (!piece.isEmpty() && isBlank(piece.front()))
        piece = piece.sliced(1);
    while (!piece.isEmpty() && isBlank(piece.back()))
        piece.chop(1);
    return piece;
}

} // namespace

QList<QByteArray> splitMarcRecords(const QByteArray& contents) {
    const char separator = contents.contains(RecordTerminator) ? RecordTerminator : '\n';
    QList<QByteArray> records;
    const QByteArrayView all(contents);
    qsizetype from = 0;
    while (from <= all.size()) {
        qsizetype to = all.indexOf(separator, from);
        if (to < 0)
            to = all.size();
        const QByteArrayView piece = trimmed(all.sliced(from, to - from));
        if (!piece.isEmpty()) {
            QByteArray record = piece.toByteArray();
            if (!record.endsWith(RecordTerminator))
                record.append(RecordTerminator);
            records.append(std::move(record));
        }
        from = to + 1;
    }
    return records;
}

QList<QByteArray> readMarcFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return splitMarcRecords(file.readAll());
}

} // namespace cangshu
