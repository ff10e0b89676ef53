#pragma once
#include <QDate>
#include <QDialog>
#include <QStringList>

class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewWidget;

namespace cangshu {

class DataGrid;

// A grid printed as a table: the report title in the page header's centre, "打印日期：<date>"
// on its right, the column titles repeated on every page.
class GridReport {
public:
    GridReport(const DataGrid& grid, QString title, QDate date);
    GridReport(QStringList titles, QList<int> widths, QList<QStringList> rows, QString title,
               QDate date);

    // Paints every page; returns the number of pages. A set stop flag ends after the page.
    int paint(QPagedPaintDevice* device, const bool* stop = nullptr) const;
    bool writePdf(const QString& file) const;
    int rowCount() const { return int(m_rows.size()); }

private:
    QStringList m_titles;
    QList<int> m_widths;
    QList<QStringList> m_rows;
    QString m_title;
    QDate m_date;
};

// "预览": the grid report's print preview with 上页, 下页, 停止, 设置, 打印, 导出PDF and 关闭.
class GridReportPreview : public QDialog {
    Q_OBJECT
public:
    GridReportPreview(const DataGrid& grid, const QString& title, const QDate& date,
                      QWidget* parent = nullptr);
    ~GridReportPreview() override;
    QPrintPreviewWidget* preview() const { return m_preview; }
    int pageCount() const;

private:
    GridReport m_report;
    QPrinter* m_printer;
    QPrintPreviewWidget* m_preview;
    bool m_stop = false;
};

} // namespace cangshu
