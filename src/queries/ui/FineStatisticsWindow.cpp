#include "FineStatisticsWindow.h"

#include "report/TemplateFiles.h"
#include "report/ui/ReportPreviewWindow.h"
#include "widgets/Messages.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace cangshu {

namespace {

const QString kBookFines = QStringLiteral("书籍超期罚款：");
const QString kPeriodicalFines = QStringLiteral("期刊超期罚款：");
const QString kTotalFines = QStringLiteral("共计超期罚款：");
const QString kBookRents = QStringLiteral("书籍租金金额：");
const QString kPeriodicalRents = QStringLiteral("期刊租金金额：");
const QString kTotalRents = QStringLiteral("共计租金金额：");
const QString kGrandTotal = QStringLiteral("合计金额：");
const QString kLossFines = QStringLiteral("丢失罚款金额：");

const QString kFineTitle = QStringLiteral("罚款金额统计");
const QString kRentTitle = QStringLiteral("租金金额统计");

QString caption(const QString& label) {
    return label.left(label.size() - 1); // without the colon
}

QChartView* chartView(const QString& title, QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 240);
    return view;
}

QImage chartImage(QChartView* view) {
    // A fixed size, so that the report looks the same whatever the window's size.
    const QSize size(640, 420);
    const QSize old = view->size();
    view->resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    view->render(&painter);
    painter.end();
    view->resize(old);
    return image;
}

} // namespace

report::ReportData fineStatisticsReportData(const FineStatistics& s, const QDate& from,
                                            const QDate& to, const QDate& today,
                                            const QImage& rentChart, const QImage& fineChart) {
    const QString format = QStringLiteral("yyyy-MM-dd");
    report::ReportData data;
    data.printDate = today;
    data.texts = {{QStringLiteral("Memo1"), from.toString(format)},
                  {QStringLiteral("Memo3"), to.toString(format)},
                  {QStringLiteral("Memo13"), s.bookFines.toFixed2()},
                  {QStringLiteral("Memo5"), s.periodicalFines.toFixed2()},
                  {QStringLiteral("Memo6"), s.totalFines().toFixed2()},
                  {QStringLiteral("Memo7"), s.bookRents.toFixed2()},
                  {QStringLiteral("Memo11"), s.periodicalRents.toFixed2()},
                  {QStringLiteral("Memo12"), s.totalRents().toFixed2()},
                  {QStringLiteral("Memo17"), s.grandTotal().toFixed2()},
                  {QStringLiteral("Memo19"), s.lossFines.toFixed2()},
                  {QStringLiteral("Memo16"), today.toString(format)}};
    data.pictures = {{QStringLiteral("Chart1"), rentChart}, {QStringLiteral("Chart2"), fineChart}};
    return data;
}

FineStatisticsWindow::FineStatisticsWindow(Database& db, const Home& home, QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_from(new QDateEdit(this)),
      m_to(new QDateEdit(this)), m_fineView(chartView(kFineTitle, this)),
      m_rentView(chartView(kRentTitle, this)) {
    setWindowTitle(QStringLiteral("租金罚款统计"));

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("选择时间段： 从"), this));
    for (QDateEdit* d : {m_from, m_to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    period->addWidget(m_from);
    period->addWidget(new QLabel(QStringLiteral("到"), this));
    period->addWidget(m_to);
    auto* run = new QPushButton(QStringLiteral("统计(&E)"), this);
    run->setObjectName(QStringLiteral("统计"));
    run->setDefault(true);
    auto* printButton = new QPushButton(QStringLiteral("打印(&P)"), this);
    printButton->setObjectName(QStringLiteral("打印"));
    printButton->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setAutoDefault(false);
    period->addWidget(run);
    period->addWidget(printButton);
    period->addWidget(close);
    period->addStretch();

    auto* results = new QGridLayout;
    // Fines in the first column, rents and the grand total in the second.
    const QStringList labels{kBookFines, kPeriodicalFines, kTotalFines, kLossFines,
                             kBookRents, kPeriodicalRents, kTotalRents, kGrandTotal};
    for (int i = 0; i < labels.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        box->setMinimumWidth(110);
        m_results.append({labels.at(i), box});
        const int row = i % 4, column = (i / 4) * 3;
        results->addWidget(new QLabel(labels.at(i), this), row, column, Qt::AlignRight);
        results->addWidget(box, row, column + 1);
        results->addWidget(new QLabel(QStringLiteral("元"), this), row, column + 2);
    }
    results->setColumnStretch(6, 1);

    auto* charts = new QHBoxLayout;
    charts->addWidget(m_fineView, 1);
    charts->addWidget(m_rentView, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addLayout(results);
    layout->addLayout(charts, 1);

    connect(run, &QPushButton::clicked, this, &FineStatisticsWindow::compute);
    connect(printButton, &QPushButton::clicked, this, &FineStatisticsWindow::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(980, 640);
}

QLineEdit* FineStatisticsWindow::resultBox(const QString& label) const {
    for (const auto& [caption, box] : m_results)
        if (caption == label)
            return box;
    return nullptr;
}

QChart* FineStatisticsWindow::fineChart() const {
    return m_fineView->chart();
}

QChart* FineStatisticsWindow::rentChart() const {
    return m_rentView->chart();
}

void FineStatisticsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reset();
}

void FineStatisticsWindow::clearCharts() {
    for (QChart* chart : {fineChart(), rentChart()}) {
        chart->removeAllSeries();
        for (QAbstractAxis* axis : chart->axes())
            chart->removeAxis(axis);
    }
    fineChart()->setTitle(kFineTitle);
}

void FineStatisticsWindow::reset() {
    for (const auto& result : m_results)
        result.second->setText(QStringLiteral("0"));
    m_from->setDate(m_db.today());
    m_to->setDate(m_db.today());
    clearCharts();
    m_last = {};
}

bool FineStatisticsWindow::compute() {
    try {
        m_last = fineStatistics(m_db, m_from->date(), m_to->date());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    const FineStatistics& s = m_last;
    const QList<QPair<QString, Money>> values{{kBookFines, s.bookFines},
                                              {kPeriodicalFines, s.periodicalFines},
                                              {kTotalFines, s.totalFines()},
                                              {kBookRents, s.bookRents},
                                              {kPeriodicalRents, s.periodicalRents},
                                              {kTotalRents, s.totalRents()},
                                              {kGrandTotal, s.grandTotal()},
                                              {kLossFines, s.lossFines}};
    for (const auto& [label, amount] : values)
        resultBox(label)->setText(amount.toFixed2());
    showCharts(s);
    return true;
}

void FineStatisticsWindow::showCharts(const FineStatistics& s) {
    clearCharts();
    // The pie shows the parts; their total goes into the title, not beside them as a slice.
    auto* pie = new QPieSeries;
    for (const auto& [label, amount] :
         {QPair<QString, Money>{kBookFines, s.bookFines}, {kPeriodicalFines, s.periodicalFines}}) {
        QPieSlice* slice = pie->append(caption(label) + QStringLiteral(" ") + amount.toFixed2(),
                                       double(amount.micros()) / 1e6);
        slice->setLabelVisible(!amount.isZero());
    }
    fineChart()->addSeries(pie);
    fineChart()->setTitle(kFineTitle + QStringLiteral("（") + caption(kTotalFines) +
                          QStringLiteral(" ") + s.totalFines().toFixed2() +
                          QStringLiteral(" 元）"));

    // Bars do not add up, so the total stands beside its parts.
    auto* rents = new QBarSet(kRentTitle);
    QStringList categories;
    double highest = 0;
    for (const auto& [label, amount] : {QPair<QString, Money>{kBookRents, s.bookRents},
                                        {kPeriodicalRents, s.periodicalRents},
                                        {kTotalRents, s.totalRents()}}) {
        *rents << double(amount.micros()) / 1e6;
        highest = std::max(highest, double(amount.micros()) / 1e6);
        categories << caption(label);
    }
    auto* bars = new QBarSeries;
    bars->append(rents);
    bars->setLabelsVisible(true);
    rentChart()->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    rentChart()->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setRange(0, highest > 0 ? highest * 1.15 : 1);
    rentChart()->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(y);
    rentChart()->legend()->hide();
}

QImage FineStatisticsWindow::fineChartImage() const {
    return chartImage(m_fineView);
}

QImage FineStatisticsWindow::rentChartImage() const {
    return chartImage(m_rentView);
}

void FineStatisticsWindow::print() {
    report::LoadedTemplate loaded =
        report::loadTemplate(m_home.reportFolder(), kFineStatisticsTemplate);
    if (!loaded) {
        // A home made before this report existed still prints with the shipped one.
        const QByteArray shipped = report::shippedTemplate(kFineStatisticsTemplate);
        if (!shipped.isEmpty())
            loaded = report::parseTemplate(shipped, kFineStatisticsTemplate);
    }
    if (!loaded) {
        showError(this, loaded.error);
        return;
    }
    report::ReportPreviewWindow preview(this);
    preview.setReport(*loaded.tpl,
                      fineStatisticsReportData(m_last, m_from->date(), m_to->date(), m_db.today(),
                                               rentChartImage(), fineChartImage()));
    preview.exec();
}

} // namespace cangshu
