#include "MarcText.h"

#include <QList>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace cangshu {

namespace {

constexpr quint64 HighBits = 0x8080808080808080ULL;

// Eight bytes, the first one lowest.
quint64 word(const unsigned char* p) {
    return qFromLittleEndian<quint64>(p);
}

// The index of the first byte of 0x80 or more, the size when there is none; eight bytes at
// a time, as records are mostly ASCII.
qsizetype firstNonAscii(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i + 8 <= n && !(word(p + i) & HighBits))
        i += 8;
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

bool isGbkLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isGbkTrail(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

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

// The high bit of each byte of a word that is a field terminator or a subfield delimiter
// (0x1E, 0x1F), exact for the bytes below the first one above 0x7F (only such a byte
// carries into the next).
quint64 markBits(quint64 w) {
    constexpr quint64 Ones = 0x0101010101010101ULL;
    const quint64 x = (w ^ (Ones * 0x1E)) & (Ones * 0xFE); // marks become zero bytes
    return ~(x + Ones * 0x7F) & HighBits;
}

bool isMark(unsigned char c) {
    return (c & 0xFE) == 0x1E;
}

// Writes the eight bytes of a word as eight characters (Latin-1).
void widen(quint64 w, char16_t* out) {
    if constexpr (std::endian::native == std::endian::little) {
        for (int half = 0; half < 2; ++half) {
            quint64 x = (w >> (32 * half)) & 0xFFFFFFFFULL;
            x = (x | (x << 16)) & 0x0000FFFF0000FFFFULL;
            x = (x | (x << 8)) & 0x00FF00FF00FF00FFULL;
            std::memcpy(out + 4 * half, &x, sizeof x);
        }
    } else {
        for (int k = 0; k < 8; ++k)
            out[k] = char16_t((w >> (8 * k)) & 0xFF);
    }
}

qsizetype decodeGbk(QByteArrayView bytes, char16_t* out, std::vector<qsizetype>& marks) {
    static const GbkTable table;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype used = 0;
    qsizetype i = 0;
    // One character at byte i that is not ASCII: a GBK pair, or a replacement for the byte.
    auto other = [&] {
        const unsigned char c = p[i];
        if (isGbkLead(c) && i + 1 < n && isGbkTrail(p[i + 1])) {
            if (const char16_t ch = table.at(c, p[i + 1])) {
                out[used++] = ch;
                i += 2;
                return;
            }
        }
        out[used++] = QChar::ReplacementCharacter;
        ++i;
    };
    // Eight ASCII bytes at a time; where a word holds another byte, the ASCII ones before it
    // are kept (all eight were written, but characters are never more than bytes, so the
    // writes stay inside the piece's room) and the run of other characters follows.
    while (i + 8 <= n) {
        const quint64 w = word(p + i);
        const quint64 high = w & HighBits;
        const int ascii = high ? std::countr_zero(high) / 8 : 8;
        if (ascii > 0) {
            widen(w, out + used);
            // Bytes below the first non-ASCII one carry nothing into the next.
            quint64 m = markBits(w);
            if (ascii < 8)
                m &= (quint64(1) << (8 * ascii)) - 1;
            for (; m; m &= m - 1)
                marks.push_back(used + std::countr_zero(m) / 8);
            used += ascii;
            i += ascii;
        }
        if (ascii < 8) {
            do
                other();
            while (i < n && p[i] >= 0x80);
        }
    }
    while (i < n) {
        const unsigned char c = p[i];
        if (c >= 0x80) {
            other();
            continue;
        }
        if (isMark(c))
            marks.push_back(used);
        out[used++] = c;
        ++i;
    }
    return used;
}

bool isUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

qsizetype decodeMarcText(QByteArrayView bytes, MarcCharset charset, char16_t* out,
                         std::vector<qsizetype>& marks) {
    // 0x1E and 0x1F never occur inside a multi-byte character of either charset, so such a
    // byte is always the same character.
    if (charset == MarcCharset::Gbk)
        return decodeGbk(bytes, out, marks);
    // UTF-8 never gives more UTF-16 code units than it has bytes, replaced bytes included.
    const QString text = QString::fromUtf8(bytes.data(), bytes.size());
    const qsizetype n = std::min(text.size(), bytes.size());
    std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), n, out);
    for (qsizetype i = 0; i < n; ++i) {
        if (out[i] == 0x1E || out[i] == 0x1F)
            marks.push_back(i);
    }
    return n;
}

MarcCharacterMap::MarcCharacterMap(QByteArrayView bytes, MarcCharset charset)
    : m_bytes(bytes), m_charset(charset), m_ascii(firstNonAscii(bytes)) {
    if (m_ascii == bytes.size())
        m_count = bytes.size();
}

qsizetype MarcCharacterMap::characterCount() const {
    if (m_count < 0) {
        m_count = m_ascii;
        for (qsizetype i = m_ascii; i < m_bytes.size(); i = next(i))
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
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data());
    for (qsizetype i = m_ascii; i < m_bytes.size();) {
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
    if (index <= m_ascii || index == m_bytes.size())
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
    if (characterIndex <= m_ascii)
        return characterIndex;
    if (characterIndex == m_count)
        return m_bytes.size();
    // The starts of the characters from the first non-ASCII byte on.
    if (m_starts.isEmpty()) {
        m_starts.reserve(m_count - m_ascii);
        for (qsizetype i = m_ascii; i < m_bytes.size(); i = next(i))
            m_starts.append(i);
    }
    return m_starts[characterIndex - m_ascii];
}

} // namespace cangshu
