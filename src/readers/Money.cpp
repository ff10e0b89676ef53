#include "Money.h"

#include <QRegularExpression>

namespace cangshu {

std::optional<Money> Money::parse(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = shape.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (whole.size() > 12)
        return std::nullopt; // beyond any amount of money the tables can hold
    qint64 micros = whole.isEmpty() ? 0 : whole.toLongLong() * Scale;
    const bool roundUp = fraction.size() > 6 && fraction.at(6) >= u'5';
    fraction = fraction.left(6).leftJustified(6, u'0');
    micros += fraction.toLongLong() + (roundUp ? 1 : 0);
    return Money(m.captured(1) == QLatin1String("-") ? -micros : micros);
}

Money Money::fromVariant(const QVariant& value) {
    if (value.isNull())
        return {};
    QString text;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        text = QString::number(value.toDouble(), 'f', 6); // 15 significant digits at most
    else
        text = value.toString();
    return parse(text).value_or(Money());
}

QString Money::toString() const {
    const qint64 a = m_micros < 0 ? -m_micros : m_micros;
    QString s = QString::number(a / Scale);
    if (const qint64 frac = a % Scale) {
        QString f = QStringLiteral("%1").arg(frac, 6, 10, QLatin1Char('0'));
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return m_micros < 0 ? u'-' + s : s;
}

QString Money::toFixed2() const {
    const qint64 a = m_micros < 0 ? -m_micros : m_micros;
    const qint64 cents = (a + Scale / 200) / (Scale / 100);
    const QString s =
        QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
    return m_micros < 0 && cents != 0 ? u'-' + s : s;
}

} // namespace cangshu
