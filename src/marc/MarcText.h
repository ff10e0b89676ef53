#pragma once
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

namespace cangshu {

// How the bytes of a record's fields are turned into text.
enum class MarcCharset { Gbk, Utf8 };

// Decodes a piece of a record into out, which has room for bytes.size() characters (never
// more are written), answers how many were written and appends where each field terminator
// and subfield delimiter (U+001E, U+001F) went in out. GBK uses iconv's mapping, asked once
// for all double-byte characters, so that decoding stays one pass over the bytes. Bytes
// that are not valid in the charset become U+FFFD.
qsizetype decodeMarcText(QByteArrayView bytes, MarcCharset charset, char16_t* out,
                         std::vector<qsizetype>& marks);

// The characters of a record's bytes: how many there are, where each one starts, and
// whether a byte begins one (is not the second byte of a GBK pair or a UTF-8 continuation
// byte). Bytes below 0x40 are never second bytes, so the delimiters resynchronise a scan.
class MarcCharacterMap {
public:
    MarcCharacterMap(QByteArrayView bytes, MarcCharset charset);
    qsizetype characterCount() const; // counted on first use
    // True when some character takes more than one byte (stops at the first one).
    bool hasMultiByteCharacter() const;
    bool startsCharacter(qsizetype index) const;
    // Byte offset of a character index (the byte size for index == characterCount()),
    // -1 past the end.
    qsizetype byteOffset(qsizetype characterIndex) const;

private:
    qsizetype next(qsizetype byteIndex) const; // the start of the following character

    QByteArrayView m_bytes;
    MarcCharset m_charset;
    mutable qsizetype m_count = -1;
    qsizetype m_ascii; // the bytes before this index are ASCII
    // Built on the first byteOffset() past the ASCII start.
    mutable QList<qsizetype> m_starts;
};

} // namespace cangshu
