#include "CellText.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace cangshu {

QString numberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e18)
        return QString::number(static_cast<qint64>(value));
    // Round off binary noise, then drop the trailing zeros.
    QString s = QString::number(QString::number(value, 'g', 15).toDouble(), 'f', 10);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s;
}

QString cellText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::QByteArray:
        return {};
    default:
        return value.toString();
    }
}

QString moneyText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    bool ok = false;
    const double amount = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    // Whole cents first, so that 0.005 and -0.001 round like the amounts they stand for.
    const qint64 cents = qRound64(std::fabs(amount) * 100.0);
    QString whole = QString::number(cents / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, u',');
    const QString text = QStringLiteral("￥") + whole + u'.' +
                         QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
    return amount < 0 && cents > 0 ? u'-' + text : text;
}

} // namespace cangshu
