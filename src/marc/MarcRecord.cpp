#include "MarcRecord.h"

#include "MarcDefinitions.h"
#include "core/Gbk.h"

#include <QtEndian>
#include <algorithm>
#include <optional>
#include <vector>

namespace cangshu {

namespace {

constexpr char RecordTerminator = 0x1D;
constexpr char FieldTerminator = 0x1E;
constexpr char SubfieldDelimiter = 0x1F;
constexpr qsizetype LeaderSize = 24;
constexpr qsizetype EntrySize = 12;

// A run of decimal digits as a number; -1 for anything else (blanks included). The fixed
// widths of the directory are unrolled, with one test for all their digits.
template <qsizetype Width> qsizetype digits(const char* p) {
    unsigned bad = 0;
    qsizetype value = 0;
    for (qsizetype i = 0; i < Width; ++i) {
        const unsigned digit = unsigned(uchar(p[i])) - '0';
        bad |= digit > 9;
        value = value * 10 + digit;
    }
    return bad ? -1 : value;
}

qsizetype number(QByteArrayView text) {
    switch (text.size()) {
    case 3:
        return digits<3>(text.data());
    case 4:
        return digits<4>(text.data());
    case 5:
        return digits<5>(text.data());
    }
    if (text.isEmpty())
        return -1;
    qsizetype value = 0;
    for (char c : text) {
        const unsigned digit = unsigned(uchar(c)) - '0';
        if (digit > 9)
            return -1;
        value = value * 10 + digit;
    }
    return value;
}

struct Entry {
    QByteArrayView tag;
    qsizetype length = 0;
    qsizetype start = 0;
    int number = -1; // the tag's number when it is three digits
};

// The nine digits of a directory entry's length (4) and start (5), eight of them at once;
// false when one is not a digit.
bool readLengthAndStart(const char* p, qsizetype* length, qsizetype* start) {
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 High = Ones * 0xF0;
    const quint64 w = qFromLittleEndian<quint64>(p);
    const unsigned last = unsigned(uchar(p[8])) - '0';
    if ((w & High) != Ones * 0x30 || ((w + Ones * 0x06) & High) != Ones * 0x30 || last > 9)
        return false;
    quint64 d = w - Ones * '0';                        // one digit per byte, the first lowest
    d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFULL;   // pairs of digits
    d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFULL; // fours of digits
    *length = qsizetype(d & 0xFFFF);
    *start = qsizetype(d >> 32) * 10 + last;
    return true;
}

// An entry of the directory: its tag and the length and start of its field.
bool readEntry(const char* p, Entry* e) {
    e->tag = QByteArrayView(p, 3);
    e->number = int(digits<3>(p));
    return readLengthAndStart(p + 3, &e->length, &e->start);
}

// A field's tag packed into one number with its length, so that comparing two tags is one
// comparison. Tags are three characters; a longer text never matches one.
quint64 tagKey(QStringView tag) {
    const char16_t* c = tag.utf16();
    switch (tag.size()) {
    case 0:
        return 0;
    case 1:
        return (quint64(1) << 48) | c[0];
    case 2:
        return (quint64(2) << 48) | (quint64(c[1]) << 16) | c[0];
    case 3:
        return (quint64(3) << 48) | (quint64(c[2]) << 32) | (quint64(c[1]) << 16) | c[0];
    }
    return ~quint64(0);
}

// The same from the tag's bytes (three, Latin-1), without reading its text back.
quint64 tagKey(QByteArrayView tag) {
    const auto* c = reinterpret_cast<const uchar*>(tag.data());
    return (quint64(3) << 48) | (quint64(c[2]) << 32) | (quint64(c[1]) << 16) | c[0];
}

bool isTag(QByteArrayView tag, const char (&digits)[4]) {
    return tag.size() == 3 && tag[0] == digits[0] && tag[1] == digits[1] && tag[2] == digits[2];
}

using Entries = std::vector<Entry>;

// Working lists of a parse, kept per thread so that a record costs no allocation for them.
struct Scratch {
    Entries entries;
    std::vector<QByteArrayView> fieldData;
    std::vector<qsizetype> marks;   // where terminators and delimiters were decoded to
    std::vector<QStringView> texts; // each field's decoded data
};
Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

MarcType typeOf(const Entries& entries) {
    for (const auto& e : entries) {
        if (isTag(e.tag, "200"))
            return MarcType::CnMarc;
        if (isTag(e.tag, "245"))
            return MarcType::UsMarc;
    }
    return MarcType::Unknown;
}

} // namespace

const MarcSubfieldDefinition* MarcSubfield::definition() const {
    return m_field ? m_field->subfield(code) : nullptr;
}

QString MarcSubfield::name() const {
    const MarcSubfieldDefinition* def = definition();
    return def ? def->name : QString();
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
    return m_fields.isEmpty() ? QString() : m_fields.first().content.toString();
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

void MarcRecord::clear() {
    m_fields.clear();
    m_subfields.clear();
    m_text.clear();
    m_id = {};
}

void MarcRecord::parse(std::optional<MarcType> forcedType) {
    m_set = true;
    clear();
    m_problem = MarcProblem::None;
    m_problemEntry = -1;
    m_type = MarcType::Unknown;
    m_code = MarcCode::Unknown;

    QByteArrayView body(m_bytes);
    if (body.endsWith(RecordTerminator))
        body.chop(1);
    if (body.isEmpty()) {
        m_problem = MarcProblem::Empty;
        return;
    }

    auto fail = [this](MarcProblem problem, int entry = -1) {
        clear();
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
            Entry e;
            if (!readEntry(entry.data(), &e))
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
        qsizetype textSize = leaderBytes.size();
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
            const QByteArrayView data = body.sliced(byteStart, byteEnd - 1 - byteStart);
            fieldData.push_back(data);
            // The tag, the indicators, the data and its terminator: no text has more
            // characters than bytes.
            textSize += 3 + 2 + data.size() + 1;
        }
        const qsizetype fieldCount = qsizetype(entries.size());

        // One buffer for the whole record's text, and the field and subfield lists sized
        // once, so that nothing moves once views into them are taken.
        m_text = QString(textSize, Qt::Uninitialized);
        char16_t* const text = reinterpret_cast<char16_t*>(m_text.data());
        qsizetype used = 0;
        auto take = [&](qsizetype n) {
            const QStringView piece(text + used, n);
            used += n;
            return piece;
        };
        // Decodes at the end of the buffer; the marks found are kept as buffer positions.
        std::vector<qsizetype>& marks = scratch().marks;
        marks.clear();
        auto decode = [&](QByteArrayView bytes) {
            const std::size_t before = marks.size();
            const qsizetype at = used;
            const QStringView piece = take(decodeMarcText(bytes, charset, text + at, marks));
            for (std::size_t m = before; m < marks.size(); ++m)
                marks[m] += at;
            return piece;
        };
        m_fields.resize(fieldCount + 1);
        MarcField* const fields = m_fields.data();

        MarcField& leader = fields[0];
        leader.tag = u"hdr";
        leader.m_tagKey = tagKey(leader.tag);
        leader.indicators = u"  ";
        leader.content = leader.leadingText = decode(leaderBytes);
        leader.control = true;
        leader.definition = names.leader();
        marks.clear();

        // The tags and the indicators, which are filled in once the data is decoded.
        for (qsizetype i = 0; i < fieldCount; ++i) {
            const Entry& e = entries[i];
            MarcField& field = fields[i + 1];
            for (qsizetype k = 0; k < e.tag.size(); ++k)
                text[used + k] = uchar(e.tag[k]);
            field.tag = take(e.tag.size());
            field.m_tagKey = tagKey(e.tag);
            field.definition = e.number >= 0 ? names.field(e.number) : names.field(field.tag);
            field.control = isControlTag(m_type, field.tag);
            field.indicators = field.control ? QStringView(u"  ") : take(2);
        }

        // The data. GBK fields that follow one another in the record, the usual layout, are
        // decoded in one go and told apart by their terminators; anything else field by
        // field (a UTF-8 decoder may replace a broken sequence differently at a field's end).
        std::vector<QStringView>& texts = scratch().texts;
        texts.resize(fieldCount);
        bool decoded = false;
        if (charset == MarcCharset::Gbk && fieldCount > 0) {
            bool adjacent = true;
            for (qsizetype i = 1; i < fieldCount && adjacent; ++i)
                adjacent = fieldData[i].data() == fieldData[i - 1].end() + 1;
            if (adjacent) {
                const char* from = fieldData.front().data();
                const QStringView all =
                    decode(QByteArrayView(from, fieldData.back().end() + 1 - from));
                const qsizetype begin = all.utf16() - text;
                qsizetype start = begin;
                qsizetype i = 0;
                for (const qsizetype m : marks) {
                    if (text[m] != FieldTerminator)
                        continue;
                    if (i == fieldCount)
                        break;
                    texts[i++] = QStringView(text + start, m - start);
                    start = m + 1;
                }
                // Exactly one terminator per field, each where its field ends.
                decoded = i == fieldCount && start == begin + all.size();
                if (!decoded) {
                    used = begin;
                    marks.clear();
                }
            }
        }
        if (!decoded) {
            for (qsizetype i = 0; i < fieldCount; ++i)
                texts[i] = decode(fieldData[i]);
        }
        m_text.resize(used); // shrinking keeps the buffer in place

        // The subfields, cut at the delimiters found while decoding. Values keep every other
        // character (";" included).
        m_subfields.resize(qsizetype(marks.size()));
        MarcSubfield* const subfields = m_subfields.data();
        qsizetype subfieldCount = 0;
        auto mark = marks.cbegin();
        for (qsizetype i = 0; i < fieldCount; ++i) {
            MarcField& field = fields[i + 1];
            const QStringView data = texts[i];
            if (field.control) {
                field.content = field.leadingText = data;
                continue;
            }
            // The delimiters of this field, from the marks within its text: the first one
            // ends the leading text, each one starts a subfield that runs to the next.
            const char16_t* chars = data.utf16();
            const qsizetype begin = chars - text;
            const qsizetype size = data.size();
            const qsizetype first = subfieldCount;
            qsizetype leading = size; // up to the first delimiter
            qsizetype delimiter = -1; // the one before, in the field's text
            auto cut = [&](qsizetype to) {
                const qsizetype from = delimiter + 1;
                if (to <= from)
                    return;
                MarcSubfield& subfield = subfields[subfieldCount++];
                subfield.code = QChar(chars[from]);
                subfield.m_value = data.sliced(from + 1, to - from - 1);
                subfield.m_field = field.definition;
            };
            while (mark != marks.cend() && *mark < begin)
                ++mark;
            for (; mark != marks.cend() && *mark < begin + size; ++mark) {
                if (text[*mark] != SubfieldDelimiter)
                    continue;
                const qsizetype at = *mark - begin;
                if (delimiter < 0)
                    leading = at;
                else
                    cut(at);
                delimiter = at;
            }
            field.leadingText = data.first(leading);
            // The indicators are the first two characters before the first delimiter, padded
            // with blanks.
            char16_t* indicators = text + (field.indicators.utf16() - text);
            indicators[0] = leading > 0 ? chars[0] : u' ';
            indicators[1] = leading > 1 ? chars[1] : u' ';
            if (delimiter < 0)
                continue;
            field.content = data.sliced(leading);
            cut(size);
            field.subfields = MarcSubfieldList(subfields + first, subfieldCount - first);
        }
        m_subfields.resize(subfieldCount); // shrinking keeps the list in place

        static const quint64 idKey = tagKey(u"001");
        for (const auto& field : m_fields) {
            if (field.m_tagKey == idKey) {
                m_id = field.content;
                break;
            }
        }
        return;
    }
}

QStringList MarcRecord::fieldValues(QStringView tag) const {
    if (!m_set)
        return {};
    QStringList values;
    const quint64 key = tagKey(tag);
    for (const auto& field : m_fields) {
        if (field.m_tagKey == key)
            values.append(field.content.toString());
    }
    if (values.isEmpty())
        values.append(QString());
    return values;
}

QStringList MarcRecord::subfieldValues(QStringView tag, QChar code) const {
    QStringList values;
    if (!tag.trimmed().isEmpty()) {
        const quint64 key = tagKey(tag);
        for (const auto& field : m_fields) {
            if (field.m_tagKey != key)
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

QString MarcRecord::firstSubfield(QStringView tag, QChar code) const {
    return firstSubfieldView(tag, code).toString();
}

QStringView MarcRecord::firstSubfieldView(QStringView tag, QChar code) const {
    const quint64 key = tagKey(tag);
    for (const auto& field : m_fields) {
        if (field.m_tagKey != key)
            continue;
        for (const auto& subfield : field.subfields) {
            if (subfield.code == code)
                return subfield.value();
        }
    }
    return {};
}

} // namespace cangshu
