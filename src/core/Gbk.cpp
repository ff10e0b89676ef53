#include "Gbk.h"

#include <cerrno>
#include <iconv.h>

namespace cangshu {

namespace {

// Converts with iconv, skipping input that cannot be converted one byte at a time.
QByteArray convert(const char* to, const char* from, const QByteArray& in,
                   const QByteArray& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.reserve(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<qsizetype>(dst - buffer));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (cut at the end): skip one byte of input.
            out.append(replacement);
            if (srcLeft > 0) {
                ++src;
                --srcLeft;
            }
        }
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<qsizetype>(dst - buffer));
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray toGbk(const QString& text) {
    // Encode character by character so that one unmappable character drops alone.
    return convert("GBK", "UTF-8", text.toUtf8(), QByteArray());
}

QString fromGbk(const QByteArray& bytes) {
    return QString::fromUtf8(convert("UTF-8", "GBK", bytes, QByteArray("\xEF\xBF\xBD")));
}

} // namespace cangshu
