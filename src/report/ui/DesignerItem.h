#pragma once
#include "report/ReportTemplate.h"

#include <QGraphicsRectItem>
#include <functional>

namespace cangshu::report {

// Where an item of the template lives: in the label, or in one of the list's bands.
enum class Section { Label, Header, Detail, Footer };

// The outline of one template item on the designer's canvas (scene units are millimetres).
// The item itself is drawn by the report renderer in the canvas background; this outline
// is what the operator grabs, drags and selects.
class DesignerItem : public QGraphicsRectItem {
public:
    // area: the label or band the item must stay inside, in scene millimetres.
    DesignerItem(Section section, int index, const ReportItem& item, const QRectF& area);

    Section section() const { return m_section; }
    int index() const { return m_index; }
    QString caption() const { return m_caption; }

    // Called after the operator moved the item, with the distance in millimetres.
    std::function<void(DesignerItem*, QPointF)> onMoved;

    static constexpr double kGrid = 0.5; // mm

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Section m_section;
    int m_index;
    QString m_caption;
    QRectF m_area;
    QPointF m_lastPos;
};

} // namespace cangshu::report
