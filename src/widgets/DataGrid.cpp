#include "DataGrid.h"

#include "Messages.h"
#include "queries/CellText.h"
#include "queries/SafeSelect.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace cangshu {

// One row under the grid whose cells line up with the grid's columns.
class FooterBar : public QWidget {
public:
    FooterBar(QTableView* view, const QStringList* texts, QWidget* parent)
        : QWidget(parent), m_view(view), m_texts(texts) {
        setFixedHeight(fontMetrics().height() + 8);
        connect(view->horizontalHeader(), &QHeaderView::sectionResized, this,
                qOverload<>(&QWidget::update));
        connect(view->horizontalHeader(), &QHeaderView::sectionMoved, this,
                qOverload<>(&QWidget::update));
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        const QHeaderView* header = m_view->horizontalHeader();
        const int offset =
            m_view->frameWidth() +
            (m_view->verticalHeader()->isVisible() ? m_view->verticalHeader()->width() : 0);
        p.setPen(palette().color(QPalette::Mid));
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QRect cell(offset + header->sectionViewportPosition(c), 0, header->sectionSize(c),
                             height() - 1);
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(cell);
            if (c < m_texts->size()) {
                p.setPen(palette().color(QPalette::ButtonText));
                p.drawText(cell.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                           m_texts->at(c));
            }
        }
    }

private:
    QTableView* m_view;
    const QStringList* m_texts;
};

DataGrid::DataGrid(Database& db, QWidget* parent)
    : QWidget(parent), m_db(db), m_model(new GridModel(db, this)), m_view(new QTableView(this)) {
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_footer = new FooterBar(m_view, &m_footerTexts, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);
    connect(m_model, &GridModel::modelReset, this, &DataGrid::syncColumns);
    connect(m_model, &GridModel::reloaded, this, [this] {
        // The first rows show before the sums are counted.
        QTimer::singleShot(0, this, &DataGrid::refreshFooter);
        emit loaded();
    });
    connect(m_model, &GridModel::failed, this,
            [this](const QString& message) { showError(this, message); });
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    m_model->setColumns(columns);
    syncColumns();
}

void DataGrid::setManagement(const QString& table, const QString& keyColumn) {
    m_model->setEditable(table, keyColumn);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
}

bool DataGrid::load(const GridSource& source) {
    try {
        m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        m_model->load(source);
        m_lastError.clear();
        return true;
    } catch (const DatabaseError& e) {
        m_lastError = e.message();
        return false;
    }
}

bool DataGrid::reload() {
    try {
        m_model->reload();
        m_lastError.clear();
        return true;
    } catch (const DatabaseError& e) {
        m_lastError = e.message();
        return false;
    }
}

void DataGrid::syncColumns() {
    const QList<GridColumn>& columns = m_model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        m_view->setColumnHidden(c, !columns.at(c).visible);
        if (columns.at(c).visible)
            m_view->setColumnWidth(c, columns.at(c).width);
    }
    m_footer->update();
}

QList<ColumnLayout> DataGrid::layout() const {
    QList<ColumnLayout> out = m_model->layout();
    for (int c = 0; c < out.size(); ++c)
        if (!m_view->isColumnHidden(c))
            out[c].width = m_view->columnWidth(c);
    return out;
}

void DataGrid::applyLayout(const QList<ColumnLayout>& layout) {
    m_model->applyLayout(layout);
    syncColumns();
    refreshFooter();
}

void DataGrid::setRowNumbers(bool shown) {
    QHeaderView* numbers = m_view->verticalHeader();
    numbers->setVisible(shown);
    m_view->setCornerButtonEnabled(!shown);
    if (shown) {
        numbers->setMinimumWidth(40);
        numbers->setDefaultAlignment(Qt::AlignCenter);
        numbers->setStyleSheet(
            QStringLiteral("QHeaderView::section { background-color: rgb(195, 229, 253); }"));
    }
    m_footer->update();
}

QString DataGrid::footerText(int column) const {
    return m_footerTexts.value(column);
}

void DataGrid::refreshFooter() {
    const QList<GridColumn>& columns = m_model->columns();
    m_footerTexts = QStringList(columns.size(), QString());
    if (m_model->source().select.isEmpty())
        return;
    GridModel::Totals totals;
    try {
        totals = m_model->totals();
    } catch (const DatabaseError&) {
        m_footer->update();
        return;
    }
    bool labelled = false;
    for (int c = 0; c < columns.size(); ++c) {
        switch (columns.at(c).footer) {
        case FooterKind::Label:
            m_footerTexts[c] = QStringLiteral("合计");
            labelled = true;
            break;
        case FooterKind::Count:
            m_footerTexts[c] = QString::number(totals.rows);
            break;
        case FooterKind::Sum:
            m_footerTexts[c] = columns.at(c).look == ColumnLook::Money ||
                                       columns.at(c).look == ColumnLook::RedMoney
                                   ? moneyText(totals.sums.value(columns.at(c).field))
                                   : numberText(totals.sums.value(columns.at(c).field));
            break;
        case FooterKind::None:
            break;
        }
    }
    if (!labelled) {
        for (int c = 0; c < columns.size(); ++c) {
            if (columns.at(c).visible && m_footerTexts.at(c).isEmpty()) {
                m_footerTexts[c] = QStringLiteral("合计");
                break;
            }
        }
    }
    m_footer->update();
}

namespace {
// The grid's rows for export: the yes/no mark reads the same on both engines (SQLite hands it
// over as a number).
class GridRowSource : public QueryRowSource {
public:
    GridRowSource(QSqlQuery q, const QStringList& fields, const QStringList& titles, int count)
        : QueryRowSource(std::move(q), fields, titles, count) {
        for (int i = 0; i < fields.size(); ++i)
            if (fields.at(i) == QStringLiteral("选中"))
                m_marks << i;
    }
    QVariant value(int column) const override {
        const QVariant v = QueryRowSource::value(column);
        if (m_marks.contains(column) && !v.isNull())
            return v.toBool();
        return v;
    }

private:
    QList<int> m_marks;
};
} // namespace

std::unique_ptr<RowSource> DataGrid::rowSource() const {
    QStringList fields, titles;
    for (const GridColumn& c : m_model->columns()) {
        if (c.visible) {
            fields << c.field;
            titles << c.title;
        }
    }
    const qint64 count = m_model->totals().rows;
    QSqlQuery q = runSelect(m_db, m_model->currentSql(), m_model->source().params, true);
    return std::make_unique<GridRowSource>(std::move(q), fields, titles, int(count));
}

} // namespace cangshu
