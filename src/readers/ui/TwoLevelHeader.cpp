#include "TwoLevelHeader.h"

#include <QPainter>

namespace cangshu {

TwoLevelHeader::TwoLevelHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
}

QString TwoLevelHeader::rawTitle(int logicalIndex) const {
    return model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
}

QString TwoLevelHeader::groupOf(int logicalIndex) const {
    const QString t = rawTitle(logicalIndex);
    const int bar = t.indexOf(u'|');
    return bar < 0 ? QString() : t.left(bar);
}

QString TwoLevelHeader::titleOf(int logicalIndex) const {
    const QString t = rawTitle(logicalIndex);
    const int bar = t.indexOf(u'|');
    return bar < 0 ? t : t.mid(bar + 1);
}

QSize TwoLevelHeader::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(2 * (fontMetrics().height() + 8));
    return s;
}

void TwoLevelHeader::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int half = height() / 2;
    const QColor line = palette().color(QPalette::Mid);
    p.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical))
            continue;
        const int x = sectionViewportPosition(logical);
        const int w = sectionSize(logical);
        const QString group = groupOf(logical);
        p.setPen(palette().color(QPalette::ButtonText));
        if (group.isEmpty()) {
            p.drawText(QRect(x, 0, w, height()), Qt::AlignCenter, titleOf(logical));
        } else {
            // The group title is drawn by the first visible column of its run.
            int previous = visual - 1;
            while (previous >= 0 && isSectionHidden(logicalIndex(previous)))
                --previous;
            if (previous < 0 || groupOf(logicalIndex(previous)) != group) {
                int width = 0;
                for (int v = visual; v < count() && groupOf(logicalIndex(v)) == group; ++v)
                    if (!isSectionHidden(logicalIndex(v)))
                        width += sectionSize(logicalIndex(v));
                p.drawText(QRect(x, 0, width, half), Qt::AlignCenter, group);
                p.setPen(line);
                p.drawLine(x, half, x + width, half);
                p.setPen(palette().color(QPalette::ButtonText));
            }
            p.drawText(QRect(x, half, w, height() - half), Qt::AlignCenter, titleOf(logical));
        }
        p.setPen(line);
        p.drawLine(x + w - 1, group.isEmpty() ? 0 : half, x + w - 1, height());
        if (sortIndicatorSection() == logical && isSortIndicatorShown()) {
            const QString mark = sortIndicatorOrder() == Qt::AscendingOrder ? QStringLiteral("▲")
                                                                            : QStringLiteral("▼");
            p.setPen(palette().color(QPalette::ButtonText));
            p.drawText(QRect(x, half, w - 4, height() - half), Qt::AlignRight | Qt::AlignVCenter,
                       mark);
        }
    }
    p.setPen(line);
    p.drawLine(0, height() - 1, viewport()->width(), height() - 1);
}

} // namespace cangshu
