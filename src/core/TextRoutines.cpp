#include "TextRoutines.h"
#include "Gbk.h"

namespace cangshu {

QString normalizeIsbn(const QString& text) {
    if (text.size() == 17) {
        QString s = text;
        return s.remove(u'-');
    }
    if (text.size() != 13)
        return text;
    QString digits = QStringLiteral("978") + text.left(11).remove(u'-');
    int odd = 0, even = 0;
    for (int i = 0; i < digits.size(); ++i) {
        const int d = digits[i].digitValue();
        if (d < 0)
            continue;
        if (i % 2 == 0)
            odd += d;
        else
            even += d;
    }
    const int rest = (odd + even * 3) % 10;
    return digits + QString::number(rest == 0 ? 0 : 10 - rest);
}

namespace {

struct Zone {
    char letter;
    int first;
    int last;
};

constexpr Zone kZones[] = {
    {'A', 1601, 1636}, {'B', 1637, 1832}, {'C', 1833, 2077}, {'D', 2078, 2273}, {'E', 2274, 2301},
    {'F', 2302, 2432}, {'G', 2433, 2593}, {'H', 2594, 2786}, {'J', 2787, 3105}, {'K', 3106, 3211},
    {'L', 3212, 3471}, {'M', 3472, 3634}, {'N', 3635, 3722}, {'O', 3723, 3729}, {'P', 3730, 3857},
    {'Q', 3858, 4026}, {'R', 4027, 4085}, {'S', 4086, 4389}, {'T', 4390, 4557}, {'W', 4558, 4683},
    {'X', 4684, 4924}, {'Y', 4925, 5248}, {'Z', 5249, 5589},
};

char letterOfCode(int code) {
    for (const Zone& z : kZones)
        if (code >= z.first && code <= z.last)
            return z.letter;
    return 0;
}

} // namespace

QString pinyinInitials(const QString& text) {
    const QByteArray bytes = toGbk(text);
    QByteArray out;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const int next = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (b < 160 || next < 160) {
            // Single bytes are kept as they are; a GBK character outside GB2312 (its
            // second byte below 0xA0) is skipped whole rather than half-copied.
            if (b < 128)
                out.append(static_cast<char>(b));
            else if (i + 1 < n)
                ++i;
            continue;
        }
        const int code = (b - 160) * 100 + (next - 160);
        if (const char letter = letterOfCode(code))
            out.append(letter);
        ++i;
    }
    return QString::fromLatin1(out);
}

QStringList splitAt(const QString& text, QChar separator) {
    return text.split(separator, Qt::KeepEmptyParts);
}

} // namespace cangshu
