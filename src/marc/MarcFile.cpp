#include "MarcFile.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <cstring>

namespace cangshu {

namespace {

constexpr char RecordTerminator = 0x1D;
// A record's length has five digits, so a file cut by terminators shows one this early.
constexpr qsizetype LongestRecord = 100000;
constexpr qsizetype ChunkSize = 64 * 1024;

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

MarcRecordReader::MarcRecordReader(QIODevice* device) : m_device(device) {}

bool MarcRecordReader::fill() {
    if (m_end)
        return false;
    if (m_position > 0 && m_position >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_position);
        m_searched -= m_position;
        m_position = 0;
    }
    // Read straight into the buffer's free end: the bytes are copied once.
    const qsizetype held = m_buffer.size();
    m_buffer.resize(held + ChunkSize);
    const qint64 got = m_device->read(m_buffer.data() + held, ChunkSize);
    m_buffer.resize(held + std::max<qint64>(got, 0));
    if (got <= 0) {
        m_end = true;
        return false;
    }
    return true;
}

bool MarcRecordReader::next(QByteArray* record) {
    if (m_separator == 0) {
        while (!m_buffer.contains(RecordTerminator) && m_buffer.size() < LongestRecord && fill()) {
        }
        m_separator = m_buffer.contains(RecordTerminator) ? RecordTerminator : '\n';
    }
    for (;;) {
        // Bytes already searched are not searched again after more are read.
        const qsizetype at = m_buffer.indexOf(m_separator, std::max(m_position, m_searched));
        if (at < 0) {
            m_searched = m_buffer.size();
            if (fill())
                continue;
        }
        const qsizetype end = at < 0 ? m_buffer.size() : at;
        if (at < 0 && m_position >= end)
            return false;
        const QByteArrayView piece =
            trimmed(QByteArrayView(m_buffer).sliced(m_position, end - m_position));
        m_position = at < 0 ? end : at + 1;
        if (piece.isEmpty())
            continue;
        // The caller's array is written over in place when nothing else shares it.
        const bool terminated = piece.endsWith(RecordTerminator);
        if (!record->isDetached())
            *record = QByteArray();
        record->resize(piece.size() + (terminated ? 0 : 1));
        char* out = record->data();
        std::memcpy(out, piece.data(), piece.size());
        if (!terminated)
            out[piece.size()] = RecordTerminator;
        return true;
    }
}

QList<QByteArray> splitMarcRecords(const QByteArray& contents) {
    QByteArray copy = contents;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    MarcRecordReader reader(&buffer);
    QList<QByteArray> records;
    QByteArray record;
    while (reader.next(&record))
        records.append(record);
    return records;
}

QList<QByteArray> readMarcFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    MarcRecordReader reader(&file);
    QList<QByteArray> records;
    QByteArray record;
    while (reader.next(&record))
        records.append(record);
    return records;
}

} // namespace cangshu
