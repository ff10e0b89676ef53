#include "MarcText.h"

#include <QList>
#include <iconv.h>
#include <vector>

namespace cangshu {

namespace {

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isGbkLead(unsigned char c);
bool isGbkTrail(unsigned char c);

// The GBK double-byte characters as iconv maps them, asked once for every lead and trail
// byte pair; decoding a record is then one pass over its bytes.
class GbkTable {
public:
    GbkTable() : m_chars(Leads * Trails, 0) {
        iconv_t cd = iconv_open("UTF-16LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (!isGbkTrail(static_cast<unsigned char>(trail)))
                    continue;
                char in[2] = {char(lead), char(trail)};
                char out[8];
                char* src = in;
                char* dst = out;
                size_t srcLeft = 2;
                size_t dstLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) &&
                    srcLeft == 0 && dst - out == 2) {
                    m_chars[index(lead, trail)] = char16_t(uchar(out[0]) | (uchar(out[1]) << 8));
                }
            }
        }
        iconv_close(cd);
    }

    // 0 when the pair is no GBK character.
    char16_t at(unsigned char lead, unsigned char trail) const {
        return m_chars[index(lead, trail)];
    }

private:
    static constexpr int Leads = 0xFE - 0x81 + 1;
    static constexpr int Trails = 0xFE - 0x40 + 1;
    static int index(int lead, int trail) { return (lead - 0x81) * Trails + (trail - 0x40); }

    std::vector<char16_t> m_chars;
};

QString decodeGbk(QByteArrayView bytes) {
    static const GbkTable table;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString text(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype used = 0;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out[used++] = c;
            ++i;
            continue;
        }
        if (isGbkLead(c) && i + 1 < n && isGbkTrail(p[i + 1])) {
            if (const char16_t ch = table.at(c, p[i + 1])) {
                out[used++] = ch;
                i += 2;
                continue;
            }
        }
        // Not a character: one replacement for this byte, go on with the next.
        out[used++] = QChar::ReplacementCharacter;
        ++i;
    }
    text.truncate(used);
    return text;
}

bool isGbkLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isGbkTrail(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}
bool isUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

QString decodeMarcText(QByteArrayView bytes, MarcCharset charset) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    if (charset == MarcCharset::Utf8)
        return QString::fromUtf8(bytes.data(), bytes.size());
    return decodeGbk(bytes);
}

MarcCharacterMap::MarcCharacterMap(QByteArrayView bytes, MarcCharset charset)
    : m_bytes(bytes), m_charset(charset) {
    m_ascii = isAscii(bytes);
    if (m_ascii)
        m_count = bytes.size();
}

qsizetype MarcCharacterMap::characterCount() const {
    if (m_count < 0) {
        m_count = 0;
        for (qsizetype i = 0; i < m_bytes.size(); i = next(i))
            ++m_count;
    }
    return m_count;
}

qsizetype MarcCharacterMap::next(qsizetype i) const {
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data());
    const qsizetype n = m_bytes.size();
    if (m_charset == MarcCharset::Gbk)
        return i + ((isGbkLead(p[i]) && i + 1 < n && isGbkTrail(p[i + 1])) ? 2 : 1);
    ++i;
    while (i < n && isUtf8Continuation(p[i]))
        ++i;
    return i;
}

bool MarcCharacterMap::hasMultiByteCharacter() const {
    if (m_ascii)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data());
    for (qsizetype i = 0; i < m_bytes.size();) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const qsizetype n = next(i);
        if (n - i > 1)
            return true;
        i = n;
    }
    return false;
}

bool MarcCharacterMap::startsCharacter(qsizetype index) const {
    if (index < 0 || index > m_bytes.size())
        return false;
    if (m_ascii || index == m_bytes.size())
        return true;
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data());
    if (m_charset == MarcCharset::Utf8)
        return !isUtf8Continuation(p[index]);
    // A byte below 0x40 is never the second byte of a pair: start the scan after the last
    // one before index.
    qsizetype from = index;
    while (from > 0 && p[from - 1] >= 0x40)
        --from;
    while (from < index)
        from = next(from);
    return from == index;
}

qsizetype MarcCharacterMap::byteOffset(qsizetype characterIndex) const {
    if (characterIndex < 0 || characterIndex > characterCount())
        return -1;
    if (m_ascii)
        return characterIndex;
    if (characterIndex == m_count)
        return m_bytes.size();
    if (m_starts.isEmpty()) {
        m_starts.reserve(m_count);
        for (qsizetype i = 0; i < m_bytes.size(); i = next(i))
            m_starts.append(i);
    }
    return m_starts[characterIndex];
}

} // namespace cangshu
