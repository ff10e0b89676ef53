#include "HistoryWindow.h"

#include "readers/CardDevices.h"
#include "readers/ui/ReaderWindows.h"

#include "queries/Layouts.h"
#include "readers/CardDevices.h"
#include "widgets/ColumnChooser.h"
#include "widgets/ConditionBuilder.h"
#include "widgets/DataGrid.h"
#include "widgets/ExportFlow.h"
#include "widgets/GridReport.h"
#include "widgets/Messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {

FooterKind footerKind(HistoryFooter f) {
    switch (f) {
    case HistoryFooter::Label:
        return FooterKind::Label;
    case HistoryFooter::Count:
        return FooterKind::Count;
    case HistoryFooter::Sum:
        return FooterKind::Sum;
    case HistoryFooter::None:
        break;
    }
    return FooterKind::None;
}

QList<GridColumn> gridColumns(const HistoryView& view) {
    QList<GridColumn> out;
    for (const HistoryColumn& c : view.columns)
        out.append({c.field, c.title, c.width, footerKind(c.footer)});
    return out;
}

} // namespace

HistoryWindow::HistoryWindow(Database& db, const Home& home, HistoryKind kind, QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_queries(db, kind), m_grid(new DataGrid(db, this)),
      m_itemNumber(new QLineEdit(this)), m_readerNumber(new QLineEdit(this)),
      m_tools(new QHBoxLayout) {
    const HistoryView& v = view();
    setWindowTitle(v.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_grid->setColumns(gridColumns(v));
    m_grid->setRowNumbers(v.fullGrid);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_tools);
    if (v.fullGrid)
        connect(addButton(QStringLiteral("设置列选")), &QPushButton::clicked, this,
                &HistoryWindow::chooseColumns);
    connect(addButton(QStringLiteral("高级查询")), &QPushButton::clicked, this,
            &HistoryWindow::advancedQuery);
    connect(addButton(QStringLiteral("显示全部")), &QPushButton::clicked, this,
            &HistoryWindow::showAll);
    connect(addButton(QStringLiteral("报表打印")), &QPushButton::clicked, this,
            &HistoryWindow::printReport);
    connect(addButton(QStringLiteral("导出数据")), &QPushButton::clicked, this,
            &HistoryWindow::exportExcel);
    connect(addButton(QStringLiteral("退出操作")), &QPushButton::clicked, this, &QDialog::reject);
    if (v.overdue)
        connect(addButton(QStringLiteral("显示超期")), &QPushButton::clicked, this,
                &HistoryWindow::showOverdue);
    m_tools->addStretch();

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("快速查询=>"), this));
    auto field = [&](const QString& caption, QLineEdit* box, const QString& name,
                     const std::function<void()>& run) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        box->setObjectName(name);
        box->setMinimumWidth(140);
        search->addWidget(label);
        search->addWidget(box);
        auto* go = new QPushButton(QStringLiteral("查询"), this);
        go->setObjectName(name + QStringLiteral("查询"));
        go->setAutoDefault(false);
        search->addWidget(go);
        connect(box, &QLineEdit::returnPressed, this, run);
        connect(go, &QPushButton::clicked, this, run);
    };
    field(v.itemNumberLabel, m_itemNumber, QStringLiteral("itemNumber"), [this] { searchItem(); });
    field(QStringLiteral("读者编号："), m_readerNumber, QStringLiteral("readerNumber"),
          [this] { searchReader(); });
    auto* card = new QPushButton(QStringLiteral("读卡"), this);
    card->setObjectName(QStringLiteral("读卡"));
    card->setAutoDefault(false);
    search->addWidget(card);
    search->addStretch();
    connect(card, &QPushButton::clicked, this, &HistoryWindow::readCard);

    layout->addLayout(search);
    layout->addWidget(m_grid, 1);
    setTabOrder(m_itemNumber, m_readerNumber);
    resize(1200, 680);
}

QPushButton* HistoryWindow::addButton(const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    m_tools->addWidget(b);
    return b;
}

QPushButton* HistoryWindow::button(const QString& caption) const {
    return findChild<QPushButton*>(caption);
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const HistoryView& v = view();
    if (!v.fullGrid) {
        // The audio-visual lists start every showing with empty search fields.
        m_itemNumber->clear();
        m_readerNumber->clear();
    }
    m_itemNumber->setFocus();
    if (m_shown)
        return;
    m_shown = true;
    if (!v.layoutName.isEmpty() && !m_home.root().isEmpty()) {
        QList<ColumnLayout> saved;
        if (LayoutFiles(m_home, v.layoutName).takeSavedLayout(&saved))
            m_grid->applyLayout(saved);
    }
}

bool HistoryWindow::list(const HistoryQuery& query) {
    if (!query.outcome.ok) {
        showNotice(this, query.outcome.message);
        if (query.outcome.focus == historyfocus::reader)
            m_readerNumber->setFocus();
        else
            m_itemNumber->setFocus();
        return false;
    }
    if (m_grid->load({query.select, query.params, query.orderBy, query.totals}))
        return true;
    showError(this, m_grid->lastError());
    return false;
}

bool HistoryWindow::searchItem() {
    return list(m_queries.byItemNumber(m_itemNumber->text()));
}

bool HistoryWindow::searchReader() {
    return list(m_queries.byReaderNumber(m_readerNumber->text()));
}

bool HistoryWindow::showAll() {
    return list(m_queries.all());
}

bool HistoryWindow::showOverdue() {
    return list(m_queries.overdue());
}

bool HistoryWindow::showToday() {
    setWindowTitle(m_queries.todayTitle());
    return list(m_queries.today());
}

bool HistoryWindow::listCondition(const QString& condition, const QString& orderBy) {
    return list(m_queries.withCondition(condition, orderBy));
}

void HistoryWindow::advancedQuery() {
    ConditionBuilder builder(m_db, view().tableList(), this);
    if (builder.exec() != QDialog::Accepted || !builder.isConfirmed())
        return;
    listCondition(builder.condition(), builder.sortTerms().join(u','));
}

void HistoryWindow::readCard() {
    const IcCardRead read = readIcCard(m_card);
    if (!read.outcome.ok) {
        showError(this, read.outcome.message);
        return;
    }
    m_readerNumber->setText(read.text);
    searchReader();
}

void HistoryWindow::chooseColumns() {
    ColumnChooser chooser(m_grid->layout(), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    m_grid->applyLayout(chooser.columns());
    if (!view().layoutName.isEmpty() && !m_home.root().isEmpty())
        LayoutFiles(m_home, view().layoutName).saveWorking(m_grid->layout());
}

void HistoryWindow::exportExcel() {
    exportGrid(this, *m_grid, ExportFormat::Xlsx);
}

void HistoryWindow::printReport() {
    GridReportPreview preview(*m_grid, view().reportTitle, m_db.today(), this);
    preview.exec();
}

void HistoryWindow::showFor(QWidget* owner, Database& db, const Home& home, HistoryKind kind,
                            SearchBy by, const QString& number) {
    const QString name = QStringLiteral("historyQuery%1").arg(int(kind));
    auto* w = owner->findChild<HistoryWindow*>(name, Qt::FindDirectChildrenOnly);
    if (!w) {
        w = new HistoryWindow(db, home, kind, owner);
        w->setObjectName(name);
        w->setCardDevice(workstationCardDevices(home).ic.get());
    }
    if (by == SearchBy::Item) {
        w->itemNumberBox()->setText(number);
        w->searchItem();
    } else {
        w->readerNumberBox()->setText(number);
        w->searchReader();
    }
    w->exec();
}

} // namespace cangshu
