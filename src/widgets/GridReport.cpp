#include "GridReport.h"

#include "DataGrid.h"
#include "Messages.h"
#include "queries/CellText.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

GridReport::GridReport(const DataGrid& grid, QString title, QDate date)
    : m_title(std::move(title)), m_date(date) {
    for (const GridColumn& c : grid.model()->columns()) {
        if (!c.visible)
            continue;
        m_titles << c.title;
        m_widths << c.width;
    }
    const auto source = grid.rowSource();
    while (source->next()) {
        QStringList row;
        for (int c = 0; c < m_titles.size(); ++c)
            row << cellText(source->value(c));
        m_rows << row;
    }
}

GridReport::GridReport(QStringList titles, QList<int> widths, QList<QStringList> rows,
                       QString title, QDate date)
    : m_titles(std::move(titles)), m_widths(std::move(widths)), m_rows(std::move(rows)),
      m_title(std::move(title)), m_date(date) {}

int GridReport::paint(QPagedPaintDevice* device, const bool* stop) const {
    QPainter p(device);
    if (!p.isActive())
        return 0;
    const QRect page(0, 0, device->width(), device->height());
    const double mm = device->logicalDpiX() / 25.4;
    QFont headerFont(QStringLiteral("SimSun"));
    headerFont.setPointSizeF(12);
    headerFont.setBold(true);
    QFont bodyFont;
    bodyFont.setPointSizeF(9);
    QFont titleRowFont = bodyFont;
    titleRowFont.setBold(true);

    p.setFont(headerFont);
    const int headerLine = p.fontMetrics().height();
    const int headerHeight = headerLine * 3 + int(3 * mm);
    p.setFont(bodyFont);
    const int rowHeight = p.fontMetrics().height() + int(2 * mm);
    const int usable = page.height() - headerHeight - rowHeight * 2;
    const int rowsPerPage = qMax(1, usable / rowHeight - 1);

    // Column widths: the grid's, scaled down to the page when wider.
    double total = 0;
    for (int w : m_widths)
        total += w;
    const double scale = total > 0 ? qMin(page.width() / total, 0.26 * mm) : 1;
    QList<int> widths;
    for (int w : m_widths)
        widths << int(w * scale);

    const int pages = qMax(1, int((m_rows.size() + rowsPerPage - 1) / rowsPerPage));
    auto drawRow = [&](int y, const QStringList& cells) {
        int x = 0;
        for (int c = 0; c < widths.size(); ++c) {
            const QRect cell(x, y, widths.at(c), rowHeight);
            p.drawRect(cell);
            p.drawText(cell.adjusted(int(mm), 0, -int(mm), 0), Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(cells.value(c), Qt::ElideRight,
                                                  cell.width() - int(2 * mm)));
            x += widths.at(c);
        }
    };
    for (int n = 0; n < pages; ++n) {
        if (n > 0 && !device->newPage())
            return n;
        p.setFont(headerFont);
        p.drawText(QRect(0, 0, page.width(), headerLine * 3), Qt::AlignCenter, m_title);
        p.drawText(QRect(0, 0, page.width(), headerLine * 3), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("打印日期：") + m_date.toString(QStringLiteral("yyyy-MM-dd")));
        int y = headerHeight;
        p.setFont(titleRowFont);
        drawRow(y, m_titles);
        y += rowHeight;
        p.setFont(bodyFont);
        const int first = n * rowsPerPage;
        for (int r = first; r < qMin(int(m_rows.size()), first + rowsPerPage); ++r) {
            drawRow(y, m_rows.at(r));
            y += rowHeight;
        }
        p.drawText(QRect(0, page.height() - rowHeight, page.width(), rowHeight), Qt::AlignCenter,
                   QStringLiteral("第 %1 页 / 共 %2 页").arg(n + 1).arg(pages));
        if (stop && *stop)
            return n + 1;
    }
    return pages;
}

bool GridReport::writePdf(const QString& file) const {
    QPdfWriter pdf(file);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    pdf.setTitle(m_title);
    return paint(&pdf) > 0;
}

GridReportPreview::GridReportPreview(const DataGrid& grid, const QString& title, const QDate& date,
                                     QWidget* parent)
    : QDialog(parent), m_report(grid, title, date),
      m_printer(new QPrinter(QPrinter::HighResolution)) {
    setWindowTitle(QStringLiteral("预览"));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    m_preview = new QPrintPreviewWidget(m_printer, this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { m_report.paint(printer, &m_stop); });
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(add(QStringLiteral("上页")), &QPushButton::clicked, this,
            [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    connect(add(QStringLiteral("下页")), &QPushButton::clicked, this,
            [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    connect(add(QStringLiteral("停止")), &QPushButton::clicked, this, [this] { m_stop = true; });
    connect(add(QStringLiteral("设置")), &QPushButton::clicked, this, [this] {
        QPageSetupDialog setup(m_printer, this);
        if (setup.exec() == QDialog::Accepted)
            m_preview->updatePreview();
    });
    connect(add(QStringLiteral("打印")), &QPushButton::clicked, this, [this] {
        QPrintDialog dialog(m_printer, this);
        if (dialog.exec() == QDialog::Accepted)
            m_report.paint(m_printer);
    });
    connect(add(QStringLiteral("导出PDF")), &QPushButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getSaveFileName(this, {}, {}, QStringLiteral("PDF文件(*.pdf)"));
        if (!file.isEmpty() &&
            !m_report.writePdf(file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                                   ? file
                                   : file + QStringLiteral(".pdf")))
            showError(this, QStringLiteral("无法写入文件：%1").arg(file));
    });
    buttons->addStretch();
    connect(add(QStringLiteral("关闭")), &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_preview, 1);
    setWindowState(windowState() | Qt::WindowMaximized);
    m_preview->fitToWidth();
}

GridReportPreview::~GridReportPreview() {
    delete m_preview;
    delete m_printer;
}

int GridReportPreview::pageCount() const {
    return m_preview->pageCount();
}

} // namespace cangshu
