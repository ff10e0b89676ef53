#include "ReportTemplate.h"

#include <QJsonArray>

namespace cangshu::report {

namespace {

constexpr double kTolerance = 0.01; // mm; rounding of hand-written numbers

const struct {
    ItemKind kind;
    const char* name;
} kKinds[] = {{ItemKind::Text, "text"},
              {ItemKind::Barcode, "barcode"},
              {ItemKind::Picture, "picture"},
              {ItemKind::Line, "line"},
              {ItemKind::Box, "box"}};

const struct {
    Symbology symbology;
    const char* name;
} kSymbologies[] = {
    {Symbology::Code128, "code128"}, {Symbology::Code39, "code39"}, {Symbology::Ean13, "ean13"}};

QString horizontalName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString verticalName(Qt::Alignment a) {
    if (a & Qt::AlignTop)
        return QStringLiteral("top");
    if (a & Qt::AlignBottom)
        return QStringLiteral("bottom");
    return QStringLiteral("middle");
}

std::optional<Qt::Alignment> horizontalFromName(const QString& s) {
    if (s.isEmpty() || s == QLatin1String("left"))
        return Qt::AlignLeft;
    if (s == QLatin1String("center"))
        return Qt::AlignHCenter;
    if (s == QLatin1String("right"))
        return Qt::AlignRight;
    return std::nullopt;
}

std::optional<Qt::Alignment> verticalFromName(const QString& s) {
    if (s.isEmpty() || s == QLatin1String("middle"))
        return Qt::AlignVCenter;
    if (s == QLatin1String("top"))
        return Qt::AlignTop;
    if (s == QLatin1String("bottom"))
        return Qt::AlignBottom;
    return std::nullopt;
}

QJsonObject marginsToJson(const QMarginsF& m) {
    return {{"left", m.left()}, {"top", m.top()}, {"right", m.right()}, {"bottom", m.bottom()}};
}

QMarginsF marginsFromJson(const QJsonValue& v, const QMarginsF& fallback) {
    if (!v.isObject())
        return fallback;
    const QJsonObject o = v.toObject();
    return {o.value("left").toDouble(fallback.left()), o.value("top").toDouble(fallback.top()),
            o.value("right").toDouble(fallback.right()),
            o.value("bottom").toDouble(fallback.bottom())};
}

QJsonObject itemToJson(const ReportItem& item) {
    QJsonObject o{{"kind", kindName(item.kind)},
                  {"x", item.rect.x()},
                  {"y", item.rect.y()},
                  {"width", item.rect.width()},
                  {"height", item.rect.height()}};
    if (!item.name.isEmpty())
        o["name"] = item.name;
    if (item.color != QColor(Qt::black))
        o["color"] = item.color.name();
    switch (item.kind) {
    case ItemKind::Text:
        o["text"] = item.text;
        o["font"] =
            QJsonObject{{"family", item.fontFamily}, {"size", item.fontSize}, {"bold", item.bold}};
        o["align"] = horizontalName(item.align);
        o["valign"] = verticalName(item.align);
        o["wrap"] = item.wordWrap;
        if (item.shrinkToFit)
            o["shrink"] = true;
        if (item.frame) {
            o["frame"] = true;
            o["lineWidth"] = item.lineWidth;
        }
        break;
    case ItemKind::Barcode:
        o["symbology"] = symbologyName(item.symbology);
        o["value"] = item.text;
        o["showText"] = item.showText;
        o["font"] =
            QJsonObject{{"family", item.fontFamily}, {"size", item.fontSize}, {"bold", item.bold}};
        break;
    case ItemKind::Picture:
        if (!item.column.isEmpty())
            o["column"] = item.column;
        o["keepAspect"] = item.keepAspect;
        if (item.frame) {
            o["frame"] = true;
            o["lineWidth"] = item.lineWidth;
        }
        break;
    case ItemKind::Line:
        o["lineWidth"] = item.lineWidth;
        break;
    case ItemKind::Box:
        o["lineWidth"] = item.lineWidth;
        if (item.fill.isValid())
            o["fill"] = item.fill.name();
        break;
    }
    return o;
}

QString itemLabel(int index, const QJsonObject& o) {
    const QString name = o.value("name").toString();
    return name.isEmpty() ? QStringLiteral("第 %1 个项目").arg(index + 1)
                          : QStringLiteral("第 %1 个项目（%2）").arg(index + 1).arg(name);
}

std::optional<ReportItem> itemFromJson(const QJsonValue& value, int index, const QString& where,
                                       QString* error) {
    if (!value.isObject()) {
        *error = QStringLiteral("%1的第 %2 个项目不是对象。").arg(where).arg(index + 1);
        return std::nullopt;
    }
    const QJsonObject o = value.toObject();
    const QString label = where + itemLabel(index, o);
    ReportItem item;
    const QString kind = o.value("kind").toString();
    const auto k = kindFromName(kind);
    if (!k) {
        *error = QStringLiteral(
                     "%1的类型“%2”无法识别（可用的类型：text、barcode、picture、line、box）。")
                     .arg(label, kind);
        return std::nullopt;
    }
    item.kind = *k;
    item.name = o.value("name").toString();
    item.rect = QRectF(o.value("x").toDouble(), o.value("y").toDouble(),
                       o.value("width").toDouble(), o.value("height").toDouble());
    if (item.kind != ItemKind::Line && (item.rect.width() <= 0 || item.rect.height() <= 0)) {
        *error = QStringLiteral("%1的宽度和高度必须大于 0。").arg(label);
        return std::nullopt;
    }
    const QJsonObject font = o.value("font").toObject();
    item.fontFamily = font.value("family").toString(defaultFontFamily());
    item.fontSize = font.value("size").toDouble(item.kind == ItemKind::Barcode ? 7 : 9);
    item.bold = font.value("bold").toBool(false);
    if (item.fontSize <= 0) {
        *error = QStringLiteral("%1的字号必须大于 0。").arg(label);
        return std::nullopt;
    }
    const auto h = horizontalFromName(o.value("align").toString());
    const auto v = verticalFromName(o.value("valign").toString());
    if (!h || !v) {
        *error =
            QStringLiteral(
                "%1的对齐方式无法识别（align：left、center、right；valign：top、middle、bottom）。")
                .arg(label);
        return std::nullopt;
    }
    item.align = *h | *v;
    item.wordWrap = o.value("wrap").toBool(false);
    item.shrinkToFit = o.value("shrink").toBool(false);
    item.frame = o.value("frame").toBool(false);
    item.lineWidth = o.value("lineWidth").toDouble(0.2);
    item.color = QColor(o.value("color").toString(QStringLiteral("#000000")));
    if (o.contains("fill"))
        item.fill = QColor(o.value("fill").toString());
    if (!item.color.isValid() || (o.contains("fill") && !item.fill.isValid())) {
        *error = QStringLiteral("%1的颜色无法识别（应写作 #rrggbb）。").arg(label);
        return std::nullopt;
    }
    item.column = o.value("column").toString();
    item.keepAspect = o.value("keepAspect").toBool(true);
    if (item.kind == ItemKind::Text) {
        item.text = o.value("text").toString();
    } else if (item.kind == ItemKind::Barcode) {
        item.text = o.value("value").toString();
        item.showText = o.value("showText").toBool(true);
        const QString sym = o.value("symbology").toString(QStringLiteral("code128"));
        const auto s = symbologyFromName(sym);
        if (!s) {
            *error = QStringLiteral("%1的条码类型“%2”无法识别（可用：code128、code39、ean13）。")
                         .arg(label, sym);
            return std::nullopt;
        }
        item.symbology = *s;
    }
    return item;
}

bool itemsFromJson(const QJsonValue& value, const QString& where, QList<ReportItem>* items,
                   QString* error) {
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isArray()) {
        *error = QStringLiteral("%1的 items 必须是数组。").arg(where);
        return false;
    }
    const QJsonArray array = value.toArray();
    for (int i = 0; i < array.size(); ++i) {
        auto item = itemFromJson(array.at(i), i, where, error);
        if (!item)
            return false;
        items->append(*item);
    }
    return true;
}

QJsonArray itemsToJson(const QList<ReportItem>& items) {
    QJsonArray a;
    for (const ReportItem& item : items)
        a.append(itemToJson(item));
    return a;
}

QJsonObject bandToJson(const Band& band) {
    return {{"height", band.height}, {"items", itemsToJson(band.items)}};
}

bool bandFromJson(const QJsonValue& value, const QString& where, Band* band, QString* error) {
    if (value.isUndefined())
        return true;
    const QJsonObject o = value.toObject();
    band->height = o.value("height").toDouble(0);
    if (band->height < 0) {
        *error = QStringLiteral("%1的高度不能为负数。").arg(where);
        return false;
    }
    return itemsFromJson(o.value("items"), where, &band->items, error);
}

} // namespace

QRectF PageSetup::contentRect() const {
    const QSizeF s = orientedSize();
    return QRectF(margins.left(), margins.top(), s.width() - margins.left() - margins.right(),
                  s.height() - margins.top() - margins.bottom());
}

QString kindName(ItemKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    return {};
}

std::optional<ItemKind> kindFromName(const QString& name) {
    for (const auto& k : kKinds)
        if (name == QLatin1String(k.name))
            return k.kind;
    return std::nullopt;
}

QString symbologyName(Symbology s) {
    for (const auto& k : kSymbologies)
        if (k.symbology == s)
            return QString::fromLatin1(k.name);
    return {};
}

std::optional<Symbology> symbologyFromName(const QString& name) {
    for (const auto& k : kSymbologies)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return k.symbology;
    return std::nullopt;
}

QString defaultFontFamily() {
    return QStringLiteral("WenQuanYi Micro Hei");
}

QJsonObject toJson(const ReportTemplate& tpl) {
    QJsonObject o{{"format", "cangshu-report"}, {"version", 1}, {"name", tpl.name}};
    if (!tpl.title.isEmpty())
        o["title"] = tpl.title;
    o["page"] = QJsonObject{{"width", tpl.page.size.width()},
                            {"height", tpl.page.size.height()},
                            {"orientation", tpl.page.landscape ? "landscape" : "portrait"},
                            {"margins", marginsToJson(tpl.page.margins)}};
    if (tpl.labels) {
        const LabelGrid& g = *tpl.labels;
        QJsonObject labels{{"columns", g.columns},         {"rows", g.rows},
                           {"width", g.labelSize.width()}, {"height", g.labelSize.height()},
                           {"hgap", g.gap.width()},        {"vgap", g.gap.height()}};
        if (g.outline)
            labels["outline"] = true;
        o["labels"] = labels;
        o["items"] = itemsToJson(tpl.labelItems);
    } else {
        o["list"] = QJsonObject{{"header", bandToJson(tpl.list.header)},
                                {"detail", bandToJson(tpl.list.detail)},
                                {"footer", bandToJson(tpl.list.footer)}};
    }
    return o;
}

std::optional<ReportTemplate> fromJson(const QJsonObject& o, QString* error) {
    ReportTemplate tpl;
    tpl.name = o.value("name").toString();
    tpl.title = o.value("title").toString();
    const QJsonObject page = o.value("page").toObject();
    tpl.page.size = QSizeF(page.value("width").toDouble(210), page.value("height").toDouble(297));
    const QString orientation = page.value("orientation").toString(QStringLiteral("portrait"));
    if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape")) {
        *error = QStringLiteral("页面方向“%1”无法识别（portrait 或 landscape）。").arg(orientation);
        return std::nullopt;
    }
    tpl.page.landscape = orientation == QLatin1String("landscape");
    tpl.page.margins = marginsFromJson(page.value("margins"), tpl.page.margins);
    const QRectF content = tpl.page.contentRect();
    if (tpl.page.size.width() <= 0 || tpl.page.size.height() <= 0 || content.width() <= 0 ||
        content.height() <= 0) {
        *error = QStringLiteral("页面尺寸或页边距无效。");
        return std::nullopt;
    }

    if (o.contains("labels")) {
        const QJsonObject l = o.value("labels").toObject();
        LabelGrid g;
        g.columns = l.value("columns").toInt(1);
        g.rows = l.value("rows").toInt(1);
        g.labelSize = QSizeF(l.value("width").toDouble(), l.value("height").toDouble());
        g.gap = QSizeF(l.value("hgap").toDouble(0), l.value("vgap").toDouble(0));
        g.outline = l.value("outline").toBool(false);
        if (g.columns < 1 || g.rows < 1 || g.labelSize.width() <= 0 || g.labelSize.height() <= 0 ||
            g.gap.width() < 0 || g.gap.height() < 0) {
            *error = QStringLiteral("标签的行数、列数、尺寸必须大于 0，间距不能为负数。");
            return std::nullopt;
        }
        const double w = g.columns * g.labelSize.width() + (g.columns - 1) * g.gap.width();
        const double h = g.rows * g.labelSize.height() + (g.rows - 1) * g.gap.height();
        if (w > content.width() + kTolerance || h > content.height() + kTolerance) {
            *error =
                QStringLiteral(
                    "%1 列 × %2 行标签（%3 × %4 毫米）超出了页面的可打印区域（%5 × %6 毫米）。")
                    .arg(g.columns)
                    .arg(g.rows)
                    .arg(w, 0, 'f', 1)
                    .arg(h, 0, 'f', 1)
                    .arg(content.width(), 0, 'f', 1)
                    .arg(content.height(), 0, 'f', 1);
            return std::nullopt;
        }
        tpl.labels = g;
        if (!itemsFromJson(o.value("items"), QStringLiteral("标签"), &tpl.labelItems, error))
            return std::nullopt;
    } else if (o.contains("list")) {
        const QJsonObject l = o.value("list").toObject();
        if (!bandFromJson(l.value("header"), QStringLiteral("页眉"), &tpl.list.header, error) ||
            !bandFromJson(l.value("detail"), QStringLiteral("明细"), &tpl.list.detail, error) ||
            !bandFromJson(l.value("footer"), QStringLiteral("页脚"), &tpl.list.footer, error))
            return std::nullopt;
        if (tpl.list.detail.height <= 0) {
            *error = QStringLiteral("明细的高度必须大于 0。");
            return std::nullopt;
        }
        if (tpl.list.header.height + tpl.list.detail.height > content.height() + kTolerance ||
            tpl.list.header.height + tpl.list.footer.height > content.height() + kTolerance) {
            *error = QStringLiteral("页眉加一行明细（或页眉加页脚）高于页面的可打印区域。");
            return std::nullopt;
        }
    } else {
        *error = QStringLiteral("模板既没有 labels（标签）也没有 list（列表）部分。");
        return std::nullopt;
    }
    return tpl;
}

} // namespace cangshu::report
