#pragma once
#include "circulation/FineStatistics.h"
#include "core/Home.h"
#include "report/ReportData.h"

#include <QDialog>

class QChart;
class QChartView;
class QDateEdit;
class QLineEdit;

namespace cangshu {

// The statistics report: its file name in the report folder and the texts and pictures
// it is filled with.
inline const QString kFineStatisticsTemplate = QStringLiteral("zujinfakuan");
report::ReportData fineStatisticsReportData(const FineStatistics& s, const QDate& from,
                                            const QDate& to, const QDate& today,
                                            const QImage& rentChart, const QImage& fineChart);

// "租金罚款统计": rents and fines of a period taken at returns, and the loss fines, with a
// pie of the fines (the total in its title) and a bar chart of the rents, and their report.
class FineStatisticsWindow : public QDialog {
    Q_OBJECT
public:
    FineStatisticsWindow(Database& db, const Home& home, QWidget* parent = nullptr);

    QDateEdit* fromBox() const { return m_from; }
    QDateEdit* toBox() const { return m_to; }
    // The result field of a caption such as "合计金额：".
    QLineEdit* resultBox(const QString& caption) const;
    QChart* fineChart() const;
    QChart* rentChart() const;

    bool compute();
    void print();
    // Every showing: results "0", both dates today, empty charts.
    void reset();

    // The charts as pictures for the report.
    QImage fineChartImage() const;
    QImage rentChartImage() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showCharts(const FineStatistics& s);
    void clearCharts();

    Database& m_db;
    Home m_home;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QList<QPair<QString, QLineEdit*>> m_results;
    QChartView* m_fineView;
    QChartView* m_rentView;
    FineStatistics m_last;
};

} // namespace cangshu
