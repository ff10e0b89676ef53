#include "MarcText.h"

#include <QList>
#include <cerrno>
#include <iconv.h>

namespace cangshu {

namespace {

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// One GBK-to-UTF-8 descriptor per thread, reset before each use.
class GbkDecoder {
public:
    GbkDecoder() : m_cd(iconv_open("UTF-8", "GBK")) {}
    ~GbkDecoder() {
        if (valid())
            iconv_close(m_cd);
    }
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    QString decode(QByteArrayView in) {
        if (!valid())
            return QString(in.size(), QChar::ReplacementCharacter);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray out;
        out.resize(in.size() * 3 / 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = static_cast<size_t>(in.size());
        qsizetype used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            size_t dstLeft = static_cast<size_t>(out.size() - used);
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            used = dst - out.data();
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // An invalid or cut pair: one replacement character for its first byte.
            if (out.size() - used < 3)
                out.resize(out.size() * 2);
            out.replace(used, 3, "\xEF\xBF\xBD");
            used += 3;
            ++src;
            --srcLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return QString::fromUtf8(out.constData(), used);
    }

private:
    iconv_t m_cd;
};

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
    thread_local GbkDecoder decoder;
    return decoder.decode(bytes);
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
