#pragma once
#include "ReportData.h"
#include "ReportTemplate.h"

#include <QPageLayout>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

namespace cangshu::report {

// The font a text item is drawn with: its own, or for a shrinking item the largest size
// down to 4.5 points at which the text fits the rectangle (device units). *fits tells
// whether the text fits at that size.
QFont fittingFont(const ReportItem& item, const QRectF& rect, const QString& text,
                  const QPaintDevice* device, bool* fits = nullptr);

// Draws a template over the rows: label grids page by page, or lists with header, detail
// and footer bands. The painter's device decides the resolution; its origin must be the
// top-left corner of the paper.
class ReportRenderer {
public:
    ReportRenderer(ReportTemplate tpl, ReportData data);

    const ReportTemplate& reportTemplate() const { return m_tpl; }
    const ReportData& data() const { return m_data; }

    // Label layouts have no page without rows; a list always has at least its header page.
    int pageCount() const;
    QPageLayout pageLayout() const;

    void paintPage(QPainter& painter, int page) const;
    // Sets the device's page layout and paints every page onto it.
    bool render(QPagedPaintDevice& device, QString* error) const;
    QImage pageImage(int page, double dpi) const;

    // The texts printed on a page (text items and barcode texts), for finding.
    QStringList pageTexts(int page) const;

    // Problems met while painting, one line each ("第 3 行：..."), e.g. data a barcode
    // symbology cannot encode; such a barcode is replaced by the message on the page.
    QStringList problems() const { return m_problems; }

private:
    struct Placed {
        const ReportItem* item;
        int row; // -1 for items not bound to a row (header, footer)
        QPointF originMm;
    };
    struct ListPage {
        int firstRow = 0;
        int rowCount = 0;
        bool footer = false;
    };

    QList<Placed> placedItems(int page) const;
    QList<QRectF> labelOutlines(int page) const;
    QString itemText(const ReportItem& item, int row, int page) const;
    void paintItem(QPainter& painter, const Placed& placed, int page) const;
    void addProblem(int row, const QString& message) const;

    ReportTemplate m_tpl;
    ReportData m_data;
    QList<ListPage> m_listPages;
    mutable QStringList m_problems;
};

} // namespace cangshu::report
