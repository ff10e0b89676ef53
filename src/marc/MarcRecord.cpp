#include "MarcRecord.h"

#include "MarcDefinitions.h"
#include "core/Gbk.h"

#include <QHash>
#include <optional>
#include <vector>

namespace cangshu {

namespace {

constexpr char RecordTerminator = 0x1D;
constexpr char FieldTerminator = 0x1E;
constexpr char SubfieldDelimiter = 0x1F;
constexpr qsizetype LeaderSize = 24;
constexpr qsizetype EntrySize = 12;

// A run of decimal digits as a number; -1 for anything else (blanks included).
qsizetype number(QByteArrayView digits) {
    if (digits.isEmpty())
        return -1;
    qsizetype value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

struct Entry {
    QByteArrayView tag;
    qsizetype length = 0;
    qsizetype start = 0;
};

// Indicators padded to two characters; the usual pairs are shared, not allocated anew.
QString indicatorPair(QStringView text) {
    static const QString values = QStringLiteral(" 0123456789#|");
    static const QList<QString> pairs = [] {
        QList<QString> all;
        for (QChar a : values) {
            for (QChar b : values)
                all.append(QString(a) + b);
        }
        return all;
    }();
    const QChar a = text.size() > 0 ? text[0] : QChar(u' ');
    const QChar b = text.size() > 1 ? text[1] : QChar(u' ');
    const qsizetype first = values.indexOf(a);
    const qsizetype second = values.indexOf(b);
    if (first >= 0 && second >= 0)
        return pairs[first * values.size() + second];
    return QString(a) + b;
}

// Tags are compared often; three characters need no general string comparison.
bool sameTag(const QString& a, const QString& b) {
    if (a.size() != 3 || b.size() != 3)
        return a == b;
    const QChar* x = a.constData();
    const QChar* y = b.constData();
    return x == y || (x[0] == y[0] && x[1] == y[1] && x[2] == y[2]);
}

using Entries = std::vector<Entry>;

// Working lists of a parse, kept per thread so that a record costs no allocation for them.
struct Scratch {
    Entries entries;
    std::vector<QByteArrayView> fieldData;
    std::vector<qsizetype> cuts;
};
Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

MarcType typeOf(const Entries& entries) {
    for (const auto& e : entries) {
        if (e.tag == "200")
            return MarcType::CnMarc;
        if (e.tag == "245")
            return MarcType::UsMarc;
    }
    return MarcType::Unknown;
}

} // namespace

QString MarcSubfield::name() const {
    return definition ? definition->name : QString();
}

QString MarcField::name() const {
    return definition ? definition->name : MarcDefinitions::nonStandardName();
}

QString MarcField::fullName() const {
    return definition ? definition->fullName : MarcDefinitions::nonStandardName();
}

QString describeMarcProblem(MarcProblem problem) {
    switch (problem) {
    case MarcProblem::None:
        return {};
    case MarcProblem::Empty:
        return QStringLiteral("空记录");
    case MarcProblem::ShortLeader:
        return QStringLiteral("记录不足24个字符，头标区不完整");
    case MarcProblem::BadBaseAddress:
        return QStringLiteral("头标区的数据基地址无效");
    case MarcProblem::MissingDirectoryTerminator:
        return QStringLiteral("目次区缺少结束符");
    case MarcProblem::BadDirectory:
        return QStringLiteral("目次区长度不是12的整数倍");
    case MarcProblem::BadDirectoryEntry:
        return QStringLiteral("目次项的字段长度或起始位置不是数字");
    case MarcProblem::FieldOutOfRange:
        return QStringLiteral("字段超出记录末尾");
    case MarcProblem::MissingFieldTerminator:
        return QStringLiteral("字段缺少结束符");
    case MarcProblem::SplitCharacter:
        return QStringLiteral("字段起始位置落在双字节字符中间");
    }
    return {};
}

MarcRecord MarcRecord::fromBytes(const QByteArray& bytes) {
    MarcRecord record;
    record.m_bytes = bytes;
    record.parse(std::nullopt);
    return record;
}

MarcRecord MarcRecord::fromText(const QString& text) {
    return fromBytes(toGbk(text));
}

void MarcRecord::setType(MarcType type) {
    if (m_set)
        parse(type);
    // A record that cannot be cut still answers the type it was given.
    m_type = type;
}

QString MarcRecord::problemText() const {
    QString text = describeMarcProblem(m_problem);
    if (m_problemEntry >= 0)
        text += QStringLiteral("（第%1个目次项）").arg(m_problemEntry + 1);
    return text;
}

QString MarcRecord::leader() const {
    return m_fields.isEmpty() ? QString() : m_fields.first().content;
}

bool MarcRecord::isControlTag(MarcType type, QStringView tag) {
    if (tag.size() != 3 || tag[0] != u'0' || tag[1] != u'0')
        return false;
    const char16_t last = tag[2].unicode();
    switch (type) {
    case MarcType::CnMarc:
        return last >= u'1' && last <= u'9';
    case MarcType::UsMarc:
        return last == u'1' || last == u'3' || (last >= u'5' && last <= u'8');
    case MarcType::Unknown:
        break;
    }
    return false;
}

void MarcRecord::parse(std::optional<MarcType> forcedType) {
    m_set = true;
    m_fields.clear();
    m_problem = MarcProblem::None;
    m_problemEntry = -1;
    m_type = MarcType::Unknown;
    m_code = MarcCode::Unknown;
    m_id.clear();

    QByteArrayView body(m_bytes);
    if (body.endsWith(RecordTerminator))
        body.chop(1);
    if (body.isEmpty()) {
        m_problem = MarcProblem::Empty;
        return;
    }

    auto fail = [this](MarcProblem problem, int entry = -1) {
        m_fields.clear();
        m_problem = problem;
        m_problemEntry = entry;
    };

    // A USMARC record may declare UTF-8 in its leader; the decision needs the directory,
    // so the record is cut once with GBK and again with UTF-8 when it says so.
    for (MarcCharset charset : {MarcCharset::Gbk, MarcCharset::Utf8}) {
        m_charset = charset;
        const MarcCharacterMap map(body, charset);

        // Characters when the leader's length is the record's length in characters (with
        // its terminator, which a file splitter may have taken off); GBK bytes otherwise.
        // A text never has more characters than bytes, and has as many exactly when no
        // character takes two: the full count is only needed below the byte length.
        const qsizetype declared = number(body.first(std::min<qsizetype>(5, body.size())));
        bool characters = false;
        if (declared >= body.size() && declared <= body.size() + 1)
            characters = !map.hasMultiByteCharacter();
        else if (declared >= 0 && declared < body.size())
            characters = declared == map.characterCount() + 1 || declared == map.characterCount();
        m_code = characters ? MarcCode::Characters : MarcCode::Bytes;
        const qsizetype units = characters ? map.characterCount() : body.size();
        auto toByte = [&](qsizetype unit) -> qsizetype {
            return characters ? map.byteOffset(unit) : unit;
        };

        if (units < LeaderSize)
            return fail(MarcProblem::ShortLeader);
        const QByteArrayView leaderBytes = body.first(toByte(LeaderSize));
        const qsizetype base = number(leaderBytes.sliced(12, 5));
        if (base < LeaderSize + 1 || base > units)
            return fail(MarcProblem::BadBaseAddress);
        if (body[toByte(base - 1)] != FieldTerminator)
            return fail(MarcProblem::MissingDirectoryTerminator);
        const qsizetype directoryUnits = base - 1 - LeaderSize;
        if (directoryUnits % EntrySize != 0)
            return fail(MarcProblem::BadDirectory);

        Entries& entries = scratch().entries;
        entries.clear();
        for (qsizetype i = 0; i < directoryUnits / EntrySize; ++i) {
            const qsizetype from = toByte(LeaderSize + i * EntrySize);
            const qsizetype to = toByte(LeaderSize + (i + 1) * EntrySize);
            if (to - from != EntrySize)
                return fail(MarcProblem::BadDirectoryEntry, int(i));
            const QByteArrayView entry = body.sliced(from, EntrySize);
            Entry e{entry.first(3), number(entry.sliced(3, 4)), number(entry.sliced(7, 5))};
            if (e.length < 0 || e.start < 0)
                return fail(MarcProblem::BadDirectoryEntry, int(i));
            entries.push_back(e);
        }

        const MarcType detected = typeOf(entries);
        if (charset == MarcCharset::Gbk && detected == MarcType::UsMarc && leaderBytes.size() > 9 &&
            leaderBytes[9] == 'a')
            continue;
        m_type = forcedType.value_or(detected);
        const MarcDefinitions& names = MarcDefinitions::forType(m_type);

        // Check every entry before cutting anything: a broken record costs no decoding.
        std::vector<QByteArrayView>& fieldData = scratch().fieldData;
        fieldData.clear();
        for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
            const Entry& e = entries[i];
            if (e.length < 1)
                return fail(MarcProblem::MissingFieldTerminator, int(i));
            const qsizetype start = base + e.start;
            const qsizetype end = start + e.length;
            if (end > units)
                return fail(MarcProblem::FieldOutOfRange, int(i));
            const qsizetype byteStart = toByte(start);
            const qsizetype byteEnd = toByte(end);
            if (!map.startsCharacter(byteStart))
                return fail(MarcProblem::SplitCharacter, int(i));
            if (body[byteEnd - 1] != FieldTerminator)
                return fail(MarcProblem::MissingFieldTerminator, int(i));
            fieldData.push_back(body.sliced(byteStart, byteEnd - 1 - byteStart));
        }

        MarcField leader;
        leader.tag = QStringLiteral("hdr");
        leader.indicators = QStringLiteral("  ");
        leader.content = leader.leadingText = decodeMarcText(leaderBytes, charset);
        leader.control = true;
        leader.definition = names.field(leader.tag);
        m_fields.reserve(qsizetype(entries.size()) + 1);
        m_fields.append(std::move(leader));

        for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
            const Entry& e = entries[i];
            const QByteArrayView data = fieldData[i];

            MarcField field;
            const MarcFieldDefinition* def =
                names.field(QLatin1StringView(e.tag.data(), e.tag.size()));
            field.tag = def ? def->tag : QString::fromLatin1(e.tag.data(), e.tag.size());
            field.definition = def;
            field.control = isControlTag(m_type, field.tag);
            if (field.control) {
                field.indicators = QStringLiteral("  ");
                field.content = field.leadingText = decodeMarcText(data, charset);
            } else {
                // One decoding per field; 0x1F never occurs inside a double-byte character,
                // so the text splits at U+001F exactly where the bytes split. Values keep
                // every other character (";" included).
                QString text = decodeMarcText(data, charset);
                const QStringView all(text);
                const qsizetype delimiter = all.indexOf(QChar(SubfieldDelimiter));
                field.indicators = indicatorPair(
                    all.first(std::min<qsizetype>(2, delimiter < 0 ? all.size() : delimiter)));
                field.leadingText = delimiter < 0    ? text
                                    : delimiter == 2 ? field.indicators
                                                     : all.first(delimiter).toString();
                if (delimiter >= 0) {
                    // The content is the decoded text without what stands before the first
                    // delimiter (dropping a string's front keeps its buffer); the subfields
                    // share it.
                    field.content = std::move(text);
                    field.content.remove(0, delimiter);
                    const QChar* chars = field.content.constData();
                    const qsizetype size = field.content.size();
                    std::vector<qsizetype>& cuts = scratch().cuts;
                    cuts.clear();
                    for (qsizetype i = 0; i < size; ++i) {
                        if (chars[i] == QChar(SubfieldDelimiter))
                            cuts.push_back(i);
                    }
                    cuts.push_back(size);
                    field.subfields.reserve(qsizetype(cuts.size()) - 1);
                    for (qsizetype c = 0; c + 1 < qsizetype(cuts.size()); ++c) {
                        const qsizetype from = cuts[c] + 1;
                        const qsizetype to = cuts[c + 1];
                        if (to <= from)
                            continue;
                        field.subfields.append({chars[from],
                                                def ? def->subfield(chars[from]) : nullptr,
                                                field.content, from + 1, to - from - 1});
                    }
                }
            }
            m_fields.append(std::move(field));
        }
        for (const auto& field : m_fields) {
            if (field.tag == QLatin1StringView("001")) {
                m_id = field.content;
                break;
            }
        }
        return;
    }
}

QStringList MarcRecord::fieldValues(const QString& tag) const {
    if (!m_set)
        return {};
    QStringList values;
    for (const auto& field : m_fields) {
        if (sameTag(field.tag, tag))
            values.append(field.content);
    }
    if (values.isEmpty())
        values.append(QString());
    return values;
}

QStringList MarcRecord::subfieldValues(const QString& tag, QChar code) const {
    QStringList values;
    if (!tag.trimmed().isEmpty()) {
        for (const auto& field : m_fields) {
            if (!sameTag(field.tag, tag))
                continue;
            for (const auto& subfield : field.subfields) {
                if (subfield.code == code)
                    values.append(subfield.value().toString());
            }
        }
    }
    if (values.isEmpty())
        values.append(QString());
    return values;
}

QString MarcRecord::firstSubfield(const QString& tag, QChar code) const {
    return firstSubfieldView(tag, code).toString();
}

QStringView MarcRecord::firstSubfieldView(const QString& tag, QChar code) const {
    for (const auto& field : m_fields) {
        if (!sameTag(field.tag, tag))
            continue;
        for (const auto& subfield : field.subfields) {
            if (subfield.code == code)
                return subfield.value();
        }
    }
    return {};
}

} // namespace cangshu
