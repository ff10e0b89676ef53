#include "MarcDefinitions.h"

#include <QFile>

namespace cangshu {

const MarcSubfieldDefinition* MarcFieldDefinition::subfield(QChar code) const {
    for (const auto& s : subfields) {
        if (s.code == code)
            return &s;
    }
    return nullptr;
}

namespace {

// Tags are three characters: packing them spares a string per look-up.
quint64 tagKey(QStringView tag) {
    if (tag.size() != 3)
        return 0;
    return (quint64(tag[0].unicode()) << 32) | (quint64(tag[1].unicode()) << 16) | tag[2].unicode();
}

quint64 tagKey(QLatin1StringView tag) {
    if (tag.size() != 3)
        return 0;
    return (quint64(uchar(tag[0].toLatin1())) << 32) | (quint64(uchar(tag[1].toLatin1())) << 16) |
           uchar(tag[2].toLatin1());
}

// 0..999 for a tag of three digits, -1 otherwise.
template <typename Chars> int tagNumber(const Chars& tag) {
    if (tag.size() != 3)
        return -1;
    int n = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        const char16_t c = tag[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

MarcDefinitions load(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("MARC field table %s is missing from the program", qPrintable(resource));
    return MarcDefinitions::parse(QString::fromUtf8(file.readAll()));
}

} // namespace

const MarcDefinitions& MarcDefinitions::cnmarc() {
    static const MarcDefinitions table = load(QStringLiteral(":/cangshu/marc/cnmarc.txt"));
    return table;
}

const MarcDefinitions& MarcDefinitions::usmarc() {
    static const MarcDefinitions table = load(QStringLiteral(":/cangshu/marc/usmarc.txt"));
    return table;
}

const MarcDefinitions& MarcDefinitions::forType(MarcType type) {
    return type == MarcType::UsMarc ? usmarc() : cnmarc();
}

MarcDefinitions MarcDefinitions::parse(const QString& table) {
    MarcDefinitions result;
    const auto lines = QStringView(table).split(u'\n');
    for (QStringView line : lines) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const auto items = line.split(u',');
        if (items.size() < 6 || items[0].size() != 3)
            continue;
        MarcFieldDefinition field;
        field.tag = items[0].toString();
        field.name = items[1].toString();
        field.fullName = items[2].toString();
        field.mandatory = items[3].size() > 0 && items[3][0] == u'1';
        field.repeatable = items[3].size() > 1 && items[3][1] == u'1';
        field.indicator1 = items[4].toString();
        field.indicator2 = items[5].toString();
        for (qsizetype i = 6; i < items.size(); ++i) {
            const QStringView item = items[i];
            if (item.size() < 3)
                continue;
            field.subfields.append(
                {item[0], item[1] == u'1', item[2] == u'1', item.mid(3).toString()});
        }
        result.m_byTag.insert(tagKey(field.tag), result.m_fields.size());
        if (const int n = tagNumber(QStringView(field.tag)); n >= 0)
            result.m_byNumber[n] = qint16(result.m_fields.size());
        result.m_fields.append(std::move(field));
    }
    result.m_leader = result.field(QStringView(u"hdr"));
    return result;
}

const MarcFieldDefinition* MarcDefinitions::field(QStringView tag) const {
    if (const int n = tagNumber(tag); n >= 0)
        return m_byNumber[n] < 0 ? nullptr : &m_fields[m_byNumber[n]];
    const auto it = m_byTag.constFind(tagKey(tag));
    return it == m_byTag.cend() ? nullptr : &m_fields[*it];
}

const MarcFieldDefinition* MarcDefinitions::field(QLatin1StringView tag) const {
    if (const int n = tagNumber(tag); n >= 0)
        return m_byNumber[n] < 0 ? nullptr : &m_fields[m_byNumber[n]];
    const auto it = m_byTag.constFind(tagKey(tag));
    return it == m_byTag.cend() ? nullptr : &m_fields[*it];
}

QString MarcDefinitions::nonStandardName() {
    return QStringLiteral("非标准字段");
}

} // namespace cangshu
