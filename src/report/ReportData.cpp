#include "ReportData.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace cangshu::report {

QVariant columnValue(const QVariantMap& row, const QString& column) {
    const auto exact = row.constFind(column);
    if (exact != row.cend())
        return exact.value();
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return it.value();
    return {};
}

bool hasColumn(const QVariantMap& row, const QString& column) {
    if (row.contains(column))
        return true;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString printable(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                        : dt.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (d == std::floor(d) && std::abs(d) < 1e15)
            return QString::number(qint64(d));
        return QLocale::c().toString(d, 'f', 2);
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::QByteArray:
        return {}; // pictures and other bytes have no text form
    default:
        return value.toString();
    }
}

QString expandPlaceholders(const QString& text, const QVariantMap& row,
                           const QHash<QString, QString>& variables) {
    if (!text.contains(u'['))
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'[', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u']', open + 1);
        if (open < 0 || close < 0) {
            out += QStringView(text).mid(pos);
            break;
        }
        out += QStringView(text).mid(pos, open - pos);
        const QString name = text.mid(open + 1, close - open - 1);
        // "[a[b]": the placeholder is the innermost one.
        const qsizetype inner = name.lastIndexOf(u'[');
        if (inner >= 0) {
            out += QStringView(text).mid(open, inner + 1);
            pos = open + inner + 1;
            continue;
        }
        if (hasColumn(row, name))
            out += printable(columnValue(row, name));
        else if (variables.contains(name))
            out += variables.value(name);
        else
            out += QStringView(text).mid(open, close - open + 1);
        pos = close + 1;
    }
    return out;
}

std::function<std::optional<QImage>(const QVariantMap&, const QString&)> readerPhotoHook() {
    return [](const QVariantMap& row, const QString& itemName) -> std::optional<QImage> {
        if (itemName.compare(QLatin1String("Picture1"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        const QByteArray bytes = columnValue(row, QStringLiteral("Image")).toByteArray();
        return bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
    };
}

} // namespace cangshu::report
