#include "ReportRenderer.h"

#include "Barcode.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace cangshu::report {

namespace {

constexpr int kMaxProblems = 50;
constexpr double kSmallestShrunkFont = 4.5; // points

// Millimetres of the template to device units of the painter.
struct Units {
    double x = 1, y = 1;
    explicit Units(const QPainter& p) {
        // QImage knows its resolution more precisely than the whole dots per inch.
        if (p.device()->devType() == QInternal::Image) {
            const auto* image = static_cast<const QImage*>(p.device());
            x = image->dotsPerMeterX() / 1000.0;
            y = image->dotsPerMeterY() / 1000.0;
        } else {
            x = p.device()->logicalDpiX() / 25.4;
            y = p.device()->logicalDpiY() / 25.4;
        }
    }
    QRectF rect(const QRectF& mm, const QPointF& originMm) const {
        return QRectF((originMm.x() + mm.x()) * x, (originMm.y() + mm.y()) * y, mm.width() * x,
                      mm.height() * y);
    }
    double length(double mm) const { return mm * x; }
};

QFont itemFont(const ReportItem& item, double size) {
    QFont font(item.fontFamily.isEmpty() ? defaultFontFamily() : item.fontFamily);
    font.setPointSizeF(size);
    font.setBold(item.bold);
    return font;
}

int textFlags(const ReportItem& item) {
    return int(item.align) | (item.wordWrap ? Qt::TextWordWrap : 0);
}

QPen itemPen(const ReportItem& item, const Units& units) {
    QPen pen(item.color);
    pen.setWidthF(std::max(units.length(item.lineWidth), 1.0));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QString pageVariable(const QString& name) {
    return QLatin1Char('#') + name;
}

} // namespace

QFont fittingFont(const ReportItem& item, const QRectF& rect, const QString& text,
                  const QPaintDevice* device, bool* fits) {
    QFont font = itemFont(item, item.fontSize);
    const auto fitsAt = [&](const QFont& f) {
        const QRectF needed = QFontMetricsF(f, device).boundingRect(rect, textFlags(item), text);
        return needed.width() <= rect.width() + 0.5 && needed.height() <= rect.height() + 0.5;
    };
    if (text.isEmpty() || fitsAt(font)) {
        if (fits)
            *fits = true;
        return font;
    }
    if (item.shrinkToFit) {
        for (double size = item.fontSize - 0.5; size >= kSmallestShrunkFont; size -= 0.5) {
            font.setPointSizeF(size);
            if (fitsAt(font)) {
                if (fits)
                    *fits = true;
                return font;
            }
        }
        font.setPointSizeF(kSmallestShrunkFont);
    }
    if (fits)
        *fits = false;
    return font;
}

ReportRenderer::ReportRenderer(ReportTemplate tpl, ReportData data)
    : m_tpl(std::move(tpl)), m_data(std::move(data)) {
    if (!m_data.printDate.isValid())
        m_data.printDate = QDate::currentDate();
    if (m_tpl.isLabels())
        return;
    // Lay the list out: header on every page, details as many as fit, the footer after the
    // last detail or on a page of its own when no room is left.
    const QRectF content = m_tpl.page.contentRect();
    const ListBands& bands = m_tpl.list;
    const double room = content.height() - bands.header.height;
    const int perPage = std::max(1, int(std::floor((room + 0.001) / bands.detail.height)));
    const int rows = int(m_data.rows.size());
    int next = 0;
    do {
        ListPage page;
        page.firstRow = next;
        page.rowCount = std::min(perPage, rows - next);
        next += page.rowCount;
        m_listPages.append(page);
    } while (next < rows);
    ListPage& last = m_listPages.last();
    if (room - last.rowCount * bands.detail.height + 0.001 >= bands.footer.height)
        last.footer = true;
    else
        m_listPages.append(ListPage{rows, 0, true});
}

int ReportRenderer::pageCount() const {
    if (!m_tpl.isLabels())
        return int(m_listPages.size());
    const int perPage = m_tpl.labels->perPage();
    return int((m_data.rows.size() + perPage - 1) / perPage);
}

QPageLayout ReportRenderer::pageLayout() const {
    const QPageSize size(m_tpl.page.size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, m_tpl.page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QList<ReportRenderer::Placed> ReportRenderer::placedItems(int page) const {
    QList<Placed> placed;
    const QRectF content = m_tpl.page.contentRect();
    if (m_tpl.isLabels()) {
        const LabelGrid& g = *m_tpl.labels;
        const int first = page * g.perPage();
        const int last = std::min(int(m_data.rows.size()), first + g.perPage());
        for (int row = first; row < last; ++row) {
            const int k = row - first;
            const QPointF origin(
                content.left() + (k % g.columns) * (g.labelSize.width() + g.gap.width()),
                content.top() + (k / g.columns) * (g.labelSize.height() + g.gap.height()));
            for (const ReportItem& item : m_tpl.labelItems)
                placed.append({&item, row, origin});
        }
        return placed;
    }
    if (page < 0 || page >= m_listPages.size())
        return placed;
    const ListPage& lp = m_listPages.at(page);
    const ListBands& bands = m_tpl.list;
    for (const ReportItem& item : bands.header.items)
        placed.append({&item, -1, content.topLeft()});
    double y = content.top() + bands.header.height;
    for (int row = lp.firstRow; row < lp.firstRow + lp.rowCount; ++row) {
        for (const ReportItem& item : bands.detail.items)
            placed.append({&item, row, QPointF(content.left(), y)});
        y += bands.detail.height;
    }
    if (lp.footer)
        for (const ReportItem& item : bands.footer.items)
            placed.append({&item, -1, QPointF(content.left(), y)});
    return placed;
}

QList<QRectF> ReportRenderer::labelOutlines(int page) const {
    QList<QRectF> outlines;
    if (!m_tpl.isLabels() || !m_tpl.labels->outline)
        return outlines;
    const LabelGrid& g = *m_tpl.labels;
    const QRectF content = m_tpl.page.contentRect();
    const int first = page * g.perPage();
    const int count = std::min(int(m_data.rows.size()) - first, g.perPage());
    for (int k = 0; k < count; ++k)
        outlines.append(
            QRectF(content.left() + (k % g.columns) * (g.labelSize.width() + g.gap.width()),
                   content.top() + (k / g.columns) * (g.labelSize.height() + g.gap.height()),
                   g.labelSize.width(), g.labelSize.height()));
    return outlines;
}

QString ReportRenderer::itemText(const ReportItem& item, int row, int page) const {
    if (item.kind == ItemKind::Text && !item.name.isEmpty() && m_data.texts.contains(item.name))
        return m_data.texts.value(item.name);
    if (!item.text.contains(u'['))
        return item.text;
    QHash<QString, QString> variables = m_data.variables;
    variables.insert(pageVariable(QStringLiteral("page")), QString::number(page + 1));
    variables.insert(pageVariable(QStringLiteral("pages")), QString::number(pageCount()));
    variables.insert(pageVariable(QStringLiteral("date")),
                     m_data.printDate.toString(QStringLiteral("yyyy-MM-dd")));
    if (row >= 0)
        variables.insert(pageVariable(QStringLiteral("row")), QString::number(row + 1));
    static const QVariantMap noRow;
    return expandPlaceholders(item.text, row >= 0 ? m_data.rows.at(row) : noRow, variables);
}

void ReportRenderer::addProblem(int row, const QString& message) const {
    if (m_problems.size() >= kMaxProblems)
        return;
    const QString line =
        row >= 0 ? QStringLiteral("第 %1 行：%2").arg(row + 1).arg(message) : message;
    if (!m_problems.contains(line))
        m_problems.append(line);
}

void ReportRenderer::paintItem(QPainter& painter, const Placed& placed, int page) const {
    const ReportItem& item = *placed.item;
    const Units units(painter);
    const QRectF rect = units.rect(item.rect, placed.originMm);
    painter.save();
    switch (item.kind) {
    case ItemKind::Text: {
        const QString text = itemText(item, placed.row, page);
        painter.setPen(item.color);
        painter.setFont(fittingFont(item, rect, text, painter.device()));
        painter.drawText(rect, textFlags(item), text);
        if (item.frame) {
            painter.setPen(itemPen(item, units));
            painter.drawRect(rect);
        }
        break;
    }
    case ItemKind::Barcode: {
        const QString value = itemText(item, placed.row, page);
        const EncodedBarcode code = encodeBarcode(item.symbology, value);
        if (code.ok()) {
            painter.setPen(item.color);
            paintBarcode(painter, rect, code, item.symbology, item.showText,
                         itemFont(item, item.fontSize));
        } else {
            addProblem(placed.row, code.error);
            painter.setPen(QPen(Qt::red, 1));
            painter.drawRect(rect);
            QFont font = itemFont(item, std::min(item.fontSize, 6.0));
            painter.setFont(font);
            painter.drawText(rect, Qt::AlignCenter | Qt::TextWordWrap, code.error);
        }
        break;
    }
    case ItemKind::Picture: {
        QImage image;
        std::optional<QImage> fromHook;
        if (m_data.rowPicture && placed.row >= 0)
            fromHook = m_data.rowPicture(m_data.rows.at(placed.row), item.name);
        if (fromHook)
            image = *fromHook;
        else if (!item.name.isEmpty() && m_data.pictures.contains(item.name))
            image = m_data.pictures.value(item.name);
        else if (!item.column.isEmpty() && placed.row >= 0)
            image = QImage::fromData(
                columnValue(m_data.rows.at(placed.row), item.column).toByteArray());
        if (!image.isNull()) {
            QRectF target = rect;
            if (item.keepAspect) {
                QSizeF size = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
                target = QRectF(QPointF(), size);
                target.moveCenter(rect.center());
            }
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, image);
        }
        if (item.frame) {
            painter.setPen(itemPen(item, units));
            painter.drawRect(rect);
        }
        break;
    }
    case ItemKind::Line:
        painter.setPen(itemPen(item, units));
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        break;
    case ItemKind::Box:
        painter.setPen(item.lineWidth > 0 ? itemPen(item, units) : QPen(Qt::NoPen));
        painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(rect);
        break;
    }
    painter.restore();
}

void ReportRenderer::paintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount())
        return;
    const Units units(painter);
    if (!labelOutlines(page).isEmpty()) {
        painter.save();
        painter.setPen(QPen(QColor(170, 170, 170), std::max(units.length(0.1), 1.0)));
        for (const QRectF& r : labelOutlines(page))
            painter.drawRect(units.rect(r, QPointF()));
        painter.restore();
    }
    const QList<Placed> placed = placedItems(page);
    int clippedRow = -2;
    for (const Placed& p : placed) {
        // Keep each label's contents inside the label.
        if (m_tpl.isLabels() && p.row != clippedRow) {
            painter.setClipRect(units.rect(QRectF(QPointF(), m_tpl.labels->labelSize), p.originMm));
            clippedRow = p.row;
        }
        paintItem(painter, p, page);
    }
    painter.setClipping(false);
}

bool ReportRenderer::render(QPagedPaintDevice& device, QString* error) const {
    if (pageCount() == 0) {
        *error = QStringLiteral("没有要打印的数据。");
        return false;
    }
    device.setPageLayout(pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("无法开始打印。");
        return false;
    }
    for (int page = 0; page < pageCount(); ++page) {
        if (page > 0 && !device.newPage()) {
            *error = QStringLiteral("无法开始新的一页。");
            painter.end();
            return false;
        }
        paintPage(painter, page);
    }
    if (!painter.end()) {
        *error = QStringLiteral("打印未能完成。");
        return false;
    }
    return true;
}

QImage ReportRenderer::pageImage(int page, double dpi) const {
    const QSizeF mm = m_tpl.page.orientedSize();
    QImage image(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, page);
    return image;
}

QStringList ReportRenderer::pageTexts(int page) const {
    QStringList texts;
    if (page < 0 || page >= pageCount())
        return texts;
    for (const Placed& p : placedItems(page)) {
        if (p.item->kind == ItemKind::Text)
            texts.append(itemText(*p.item, p.row, page));
        else if (p.item->kind == ItemKind::Barcode && p.item->showText)
            texts.append(itemText(*p.item, p.row, page));
    }
    return texts;
}

} // namespace cangshu::report
