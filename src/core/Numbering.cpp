#include "Numbering.h"

namespace cangshu {

namespace {

struct KindColumns {
    const char16_t* width;
    const char16_t* prefix;
    const char16_t* suffix;
    const char16_t* counter;
    const char16_t* label; // 书籍 / 期刊 / 读者, as the messages name the kind
};

const KindColumns& columnsOf(NumberKind kind) {
    static const KindColumns book{u"编号宽度", u"前置字符", u"后置字符", u"编号值", u"书籍"};
    static const KindColumns periodical{u"期刊编号宽度", u"期刊前置字符", u"期刊后置字符",
                                        u"期刊编号值", u"期刊"};
    static const KindColumns reader{u"读者编号宽度", u"读者前置字符", u"读者后置字符",
                                    u"读者编号值", u"读者"};
    switch (kind) {
    case NumberKind::Periodical:
        return periodical;
    case NumberKind::Reader:
        return reader;
    default:
        return book;
    }
}

QString col(const char16_t* name) {
    return QString::fromUtf16(name);
}

QString textOf(const QSqlRecord& r, const char16_t* column) {
    const int i = r.indexOf(col(column));
    return i < 0 ? QString() : r.value(i).toString().trimmed();
}

constexpr NumberKind kKinds[] = {NumberKind::Book, NumberKind::Periodical, NumberKind::Reader};

} // namespace

NumberShape Numbering::shape(NumberKind kind) const {
    const KindColumns& c = columnsOf(kind);
    NumberShape s;
    const auto r = m_db.row(QStringLiteral("select * from [系统信息]"));
    if (!r)
        return s;
    s.width = textOf(*r, c.width).toInt();
    s.counter = textOf(*r, c.counter).toLongLong();
    s.prefix = textOf(*r, c.prefix);
    s.suffix = textOf(*r, c.suffix);
    return s;
}

int Numbering::numLength(NumberKind kind) const {
    return shape(kind).width;
}

QString Numbering::nextNumber(NumberKind kind) const {
    return format(shape(kind));
}

void Numbering::advance(NumberKind kind) const {
    const QString counter = col(columnsOf(kind).counter);
    m_db.execute(QStringLiteral("update [系统信息] set [%1]=[%1]+1").arg(counter));
}

QString Numbering::format(const NumberShape& shape) {
    QString digits = QString::number(shape.counter < 0 ? -shape.counter : shape.counter);
    const qsizetype fixed = shape.prefix.size() + shape.suffix.size();
    if (digits.size() + fixed < shape.width)
        digits = QString(shape.width - fixed - digits.size(), u'0') + digits;
    return shape.prefix + digits + shape.suffix;
}

bool isAllowedNumberSettingChar(NumberField field, QChar c) {
    if (c == u'\b' || c == u'\t' || c == u'\r' || c == u'\n')
        return true;
    const char16_t u = c.unicode();
    if (field == NumberField::Width || field == NumberField::Counter)
        return u >= u'0' && u <= u'9';
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

NumberSettingsCheck validateNumberSettings(const NumberSettingsInput& in) {
    for (int i = 0; i < 3; ++i) {
        const NumberKind kind = kKinds[i];
        const QString label = col(columnsOf(kind).label);
        const QString width = in.width[i].trimmed();
        auto fail = [&](const QString& message, NumberField field) {
            return NumberSettingsCheck{false, message, kind, field};
        };
        if (width.isEmpty())
            return fail(QStringLiteral("输入%1编号宽度！").arg(label), NumberField::Width);
        if (in.counter[i].trimmed().isEmpty())
            return fail(QStringLiteral("输入%1编号数值！").arg(label), NumberField::Counter);
        if (width.toInt() < in.prefix[i].trimmed().size() + in.suffix[i].trimmed().size() + 1)
            return fail(QStringLiteral("%1编号宽度太小！").arg(label), NumberField::Width);
    }
    return {};
}

NumberSettingsInput loadNumberSettings(const Database& db) {
    NumberSettingsInput in;
    const auto r = db.row(QStringLiteral("select * from [系统信息]"));
    if (!r)
        return in;
    for (int i = 0; i < 3; ++i) {
        const KindColumns& c = columnsOf(kKinds[i]);
        in.width[i] = textOf(*r, c.width);
        in.prefix[i] = textOf(*r, c.prefix);
        in.suffix[i] = textOf(*r, c.suffix);
        in.counter[i] = textOf(*r, c.counter);
    }
    return in;
}

void saveNumberSettings(const Database& db, const NumberSettingsInput& in) {
    QStringList sets;
    QVariantList values;
    for (int i = 0; i < 3; ++i) {
        const KindColumns& c = columnsOf(kKinds[i]);
        sets << QStringLiteral("[%1]=?").arg(col(c.width))
             << QStringLiteral("[%1]=?").arg(col(c.counter));
        values << in.width[i].trimmed().toInt() << in.counter[i].trimmed().toLongLong();
        // Older databases lack the prefix and suffix columns: store what the table can hold.
        if (db.hasColumn(QStringLiteral("系统信息"), col(c.prefix))) {
            sets << QStringLiteral("[%1]=?").arg(col(c.prefix));
            values << in.prefix[i].trimmed();
        }
        if (db.hasColumn(QStringLiteral("系统信息"), col(c.suffix))) {
            sets << QStringLiteral("[%1]=?").arg(col(c.suffix));
            values << in.suffix[i].trimmed();
        }
    }
    db.execute(QStringLiteral("update [系统信息] set ") + sets.join(u','), values);
}

} // namespace cangshu
