#include "PreparedReport.h"

#include "ReportRenderer.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace cangshu::report {

namespace {

const QString kFormat = QStringLiteral("cangshu-prepared-report");
// Pictures a row hook supplied travel inside the row under this prefix.
const QString kRowPicturePrefix = QStringLiteral("#picture:");

QString pngBase64(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(bytes.toBase64());
}

QImage imageFromBase64(const QString& text) {
    return QImage::fromData(QByteArray::fromBase64(text.toLatin1()));
}

QJsonValue valueToJson(const QVariant& v) {
    if (v.isNull())
        return QJsonValue::Null;
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return QJsonObject{{"bytes", QString::fromLatin1(v.toByteArray().toBase64())}};
    case QMetaType::QDate:
        return QJsonObject{{"date", v.toDate().toString(Qt::ISODate)}};
    case QMetaType::QDateTime:
        return QJsonObject{{"datetime", v.toDateTime().toString(Qt::ISODate)}};
    case QMetaType::QImage:
        return QJsonObject{{"png", pngBase64(v.value<QImage>())}};
    default:
        return QJsonValue::fromVariant(v);
    }
}

QVariant valueFromJson(const QJsonValue& v) {
    if (!v.isObject())
        return v.toVariant();
    const QJsonObject o = v.toObject();
    if (o.contains("bytes"))
        return QByteArray::fromBase64(o.value("bytes").toString().toLatin1());
    if (o.contains("date"))
        return QDate::fromString(o.value("date").toString(), Qt::ISODate);
    if (o.contains("datetime"))
        return QDateTime::fromString(o.value("datetime").toString(), Qt::ISODate);
    if (o.contains("png"))
        return imageFromBase64(o.value("png").toString());
    return {};
}

QStringList pictureItemNames(const ReportTemplate& tpl) {
    QStringList names;
    const QList<ReportItem>& items = tpl.isLabels() ? tpl.labelItems : tpl.list.detail.items;
    for (const ReportItem& item : items)
        if (item.kind == ItemKind::Picture)
            names.append(item.name);
    return names;
}

QJsonObject stringsToJson(const QHash<QString, QString>& map) {
    QJsonObject o;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

QHash<QString, QString> stringsFromJson(const QJsonValue& v) {
    QHash<QString, QString> map;
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it)
        map.insert(it.key(), it.value().toString());
    return map;
}

bool writeWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool savePreparedReport(const ReportRenderer& renderer, const QString& path, QString* error) {
    const ReportData& data = renderer.data();
    const QStringList pictureItems = pictureItemNames(renderer.reportTemplate());
    QJsonArray rows;
    for (const QVariantMap& row : data.rows) {
        QJsonObject o;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            o.insert(it.key(), valueToJson(it.value()));
        if (data.rowPicture) {
            for (const QString& name : pictureItems) {
                const std::optional<QImage> picture = data.rowPicture(row, name);
                if (picture)
                    o.insert(kRowPicturePrefix + name,
                             picture->isNull()
                                 ? QJsonValue(QJsonValue::Null)
                                 : QJsonValue(QJsonObject{{"png", pngBase64(*picture)}}));
            }
        }
        rows.append(o);
    }
    QJsonObject pictures;
    for (auto it = data.pictures.cbegin(); it != data.pictures.cend(); ++it)
        pictures.insert(it.key(), pngBase64(it.value()));
    const QJsonObject root{{"format", kFormat},
                           {"version", 1},
                           {"template", toJson(renderer.reportTemplate())},
                           {"rows", rows},
                           {"variables", stringsToJson(data.variables)},
                           {"texts", stringsToJson(data.texts)},
                           {"pictures", pictures},
                           {"printDate", data.printDate.toString(Qt::ISODate)}};
    return writeWhole(path, QJsonDocument(root).toJson(QJsonDocument::Compact), error);
}

std::optional<PreparedReport> loadPreparedReport(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件 %1：%2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != kFormat) {
        *error = QStringLiteral("文件 %1 不是保存的报表。").arg(path);
        return std::nullopt;
    }
    QString templateError;
    auto tpl = fromJson(root.value("template").toObject(), &templateError);
    if (!tpl) {
        *error = QStringLiteral("文件 %1 中的报表模板有错误：%2").arg(path, templateError);
        return std::nullopt;
    }
    PreparedReport report{*tpl, {}};
    ReportData& data = report.data;
    bool rowPictures = false;
    for (const QJsonValue& v : root.value("rows").toArray()) {
        const QJsonObject o = v.toObject();
        QVariantMap row;
        for (auto it = o.begin(); it != o.end(); ++it) {
            rowPictures = rowPictures || it.key().startsWith(kRowPicturePrefix);
            row.insert(it.key(), valueFromJson(it.value()));
        }
        data.rows.append(row);
    }
    if (rowPictures)
        data.rowPicture = [](const QVariantMap& row, const QString& name) -> std::optional<QImage> {
            const auto it = row.constFind(kRowPicturePrefix + name);
            if (it == row.cend())
                return std::nullopt;
            return it->value<QImage>();
        };
    data.variables = stringsFromJson(root.value("variables"));
    data.texts = stringsFromJson(root.value("texts"));
    const QJsonObject pictures = root.value("pictures").toObject();
    for (auto it = pictures.begin(); it != pictures.end(); ++it)
        data.pictures.insert(it.key(), imageFromBase64(it.value().toString()));
    data.printDate = QDate::fromString(root.value("printDate").toString(), Qt::ISODate);
    return report;
}

bool saveReportText(const ReportRenderer& renderer, const QString& path, QString* error) {
    QString text;
    for (int page = 0; page < renderer.pageCount(); ++page) {
        if (page > 0)
            text += u'\f';
        text += renderer.pageTexts(page).join(u'\n') + u'\n';
    }
    return writeWhole(path, text.toUtf8(), error);
}

bool saveReportHtml(const ReportRenderer& renderer, const QString& path, QString* error) {
    const QString title = renderer.reportTemplate().title.toHtmlEscaped();
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head><body>\n")
            .arg(title);
    for (int page = 0; page < renderer.pageCount(); ++page) {
        html += QStringLiteral("<section><h2>%1 %2</h2>\n").arg(title).arg(page + 1);
        for (const QString& line : renderer.pageTexts(page))
            html += QStringLiteral("<p>%1</p>\n").arg(line.toHtmlEscaped());
        html += QStringLiteral("</section>\n");
    }
    html += QStringLiteral("</body></html>\n");
    return writeWhole(path, html.toUtf8(), error);
}

} // namespace cangshu::report
