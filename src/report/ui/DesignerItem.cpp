#include "DesignerItem.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <cmath>

namespace cangshu::report {

namespace {

constexpr double kMinimumGrab = 1.0; // mm; lines get a box this thick to be grabbed

double snap(double v) {
    return std::round(v / DesignerItem::kGrid) * DesignerItem::kGrid;
}

QString captionOf(const ReportItem& item) {
    switch (item.kind) {
    case ItemKind::Text:
        return item.text;
    case ItemKind::Barcode:
        return QStringLiteral("条码 ") + item.text;
    case ItemKind::Picture:
        return QStringLiteral("图片 ") + (item.name.isEmpty() ? item.column : item.name);
    case ItemKind::Line:
        return QStringLiteral("直线");
    case ItemKind::Box:
        return QStringLiteral("方框");
    }
    return {};
}

} // namespace

DesignerItem::DesignerItem(Section section, int index, const ReportItem& item, const QRectF& area)
    : m_section(section), m_index(index), m_caption(captionOf(item)), m_area(area) {
    QRectF shape = QRectF(QPointF(), item.rect.size()).normalized();
    if (shape.width() < kMinimumGrab)
        shape.adjust(-kMinimumGrab / 2, 0, kMinimumGrab / 2, 0);
    if (shape.height() < kMinimumGrab)
        shape.adjust(0, -kMinimumGrab / 2, 0, kMinimumGrab / 2);
    // A line drawn right-to-left or upwards starts at the top-left of its box's far side.
    shape.translate(std::min(0.0, item.rect.width()), std::min(0.0, item.rect.height()));
    setRect(shape);
    setPos(area.topLeft() + item.rect.topLeft());
    m_lastPos = pos();
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemSendsGeometryChanges);
    setToolTip(m_caption);
}

QVariant DesignerItem::itemChange(GraphicsItemChange change, const QVariant& value) {
    if (change == ItemPositionChange) {
        QPointF p = value.toPointF();
        const QRectF box = rect().translated(p);
        // Keep the item inside its label or band, on the grid.
        double dx = 0, dy = 0;
        if (box.left() < m_area.left())
            dx = m_area.left() - box.left();
        else if (box.right() > m_area.right())
            dx = m_area.right() - box.right();
        if (box.top() < m_area.top())
            dy = m_area.top() - box.top();
        else if (box.bottom() > m_area.bottom())
            dy = m_area.bottom() - box.bottom();
        p += QPointF(dx, dy);
        const QPointF relative = p - m_area.topLeft();
        const QPointF snapped = m_area.topLeft() + QPointF(snap(relative.x()), snap(relative.y()));
        constexpr double slack = 1e-6;
        if (m_area.adjusted(-slack, -slack, slack, slack).contains(rect().translated(snapped)))
            return snapped;
        return p; // the grid would push it out of its area: stay at the edge
    }
    if (change == ItemPositionHasChanged) {
        const QPointF moved = pos() - m_lastPos;
        m_lastPos = pos();
        if (onMoved && !moved.isNull())
            onMoved(this, moved);
    }
    return QGraphicsRectItem::itemChange(change, value);
}

void DesignerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
    const bool selected = option->state & QStyle::State_Selected;
    QPen pen(selected ? QColor(0, 120, 215) : QColor(0, 120, 215, 110));
    pen.setCosmetic(true);
    pen.setWidth(selected ? 2 : 1);
    pen.setStyle(selected ? Qt::SolidLine : Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(selected ? QColor(0, 120, 215, 30) : QColor(Qt::transparent));
    painter->drawRect(rect());
}

void DesignerItem::keyPressEvent(QKeyEvent* event) {
    QPointF step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = {-kGrid, 0};
        break;
    case Qt::Key_Right:
        step = {kGrid, 0};
        break;
    case Qt::Key_Up:
        step = {0, -kGrid};
        break;
    case Qt::Key_Down:
        step = {0, kGrid};
        break;
    default:
        QGraphicsRectItem::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        step *= 10;
    setPos(pos() + step);
    event->accept();
}

} // namespace cangshu::report
