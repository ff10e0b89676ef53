#include "MarcWriter.h"

#include "core/Gbk.h"

#include <stdexcept>

namespace cangshu {

namespace {

constexpr char RecordTerminator = 0x1D;
constexpr char FieldTerminator = 0x1E;
constexpr QChar SubfieldDelimiter = QChar(0x1F);

QByteArray encode(const QString& text, MarcCharset charset) {
    return charset == MarcCharset::Utf8 ? text.toUtf8() : toGbk(text);
}

QByteArray padded(qsizetype value, int width) {
    const QByteArray digits = QByteArray::number(value);
    if (digits.size() > width)
        throw std::length_error("MARC record too long for its directory");
    return QByteArray(width - digits.size(), '0') + digits;
}

} // namespace

MarcWriter::MarcWriter(const QString& leaderTemplate)
    : m_leader(leaderTemplate.leftJustified(24, u' ', true)) {}

MarcWriter& MarcWriter::controlField(const QString& tag, const QString& data) {
    m_fields.append({tag, data});
    return *this;
}

MarcWriter& MarcWriter::dataField(const QString& tag, const QString& indicators,
                                  const Subfields& subfields) {
    QString text = indicators.leftJustified(2, u' ', true);
    for (const auto& [code, value] : subfields) {
        text += SubfieldDelimiter;
        text += code;
        text += value;
    }
    m_fields.append({tag, text});
    return *this;
}

QByteArray MarcWriter::toIso2709(Unit unit, MarcCharset charset) const {
    QByteArray directory;
    QByteArray data;
    qsizetype position = 0;
    for (const auto& [tag, text] : m_fields) {
        const QByteArray bytes = encode(text, charset) + FieldTerminator;
        const qsizetype length = unit == Unit::Bytes ? bytes.size() : text.size() + 1;
        directory +=
            tag.toLatin1().leftJustified(3, ' ', true) + padded(length, 4) + padded(position, 5);
        data += bytes;
        position += length;
    }
    const qsizetype base = 24 + directory.size() + 1;
    const qsizetype total = base + position + 1;

    QByteArray leader = m_leader.toLatin1();
    leader.replace(0, 5, padded(total, 5));
    leader[10] = '2';
    leader[11] = '2';
    leader.replace(12, 5, padded(base, 5));
    leader[20] = '4';
    leader[21] = '5';
    leader[22] = '0';
    return leader + directory + FieldTerminator + data + RecordTerminator;
}

} // namespace cangshu
