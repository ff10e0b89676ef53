#include "CatalogueWindow.h"

#include "ClassTreeWidget.h"
#include "queries/Layouts.h"
#include "queries/Marking.h"
#include "queries/QuickSearch.h"
#include "widgets/ColumnChooser.h"
#include "widgets/ConditionBuilder.h"
#include "widgets/ExportFlow.h"
#include "widgets/GridReport.h"
#include "widgets/Messages.h"
#include "widgets/ProgressWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace cangshu {

namespace {

// Rows of books that are out, or with no copy left on the shelf, are painted pink.
class OutRowDelegate : public QStyledItemDelegate {
public:
    OutRowDelegate(GridModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant shelf = m_model->fieldValue(index.row(), QStringLiteral("馆内剩余"));
        if (m_model->fieldValue(index.row(), QStringLiteral("在馆状态")).toString() ==
                QStringLiteral("借出") ||
            (!shelf.isNull() && shelf.toLongLong() == 0))
            option->backgroundBrush = QColor(255, 202, 202);
    }

private:
    GridModel* m_model;
};

QString counterValue(const std::optional<qint64>& v) {
    return v ? QString::number(*v) : QString();
}

} // namespace

CatalogueWindow::CatalogueWindow(Database& db, const Home& home, CatalogueWindowSpec definition,
                                 QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_spec(std::move(definition)) {
    setWindowTitle(m_spec.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_pager = std::make_unique<BookPager>(db, m_spec.table);
    buildLayout();
    resize(1300, 720);
}

QPushButton* CatalogueWindow::addToolButton(const QString& caption, int at) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    if (at < 0)
        m_tools->addWidget(b);
    else
        m_tools->insertWidget(at, b);
    return b;
}

QPushButton* CatalogueWindow::toolButton(const QString& caption) const {
    return findChild<QPushButton*>(caption);
}

void CatalogueWindow::buildLayout() {
    m_tools = new QHBoxLayout;
    m_tools->setSpacing(4);
    connect(addToolButton(QStringLiteral("设置列选")), &QPushButton::clicked, this,
            &CatalogueWindow::chooseColumns);
    connect(addToolButton(m_spec.addCaption), &QPushButton::clicked, this, [this] { addRecord(); });
    connect(addToolButton(m_spec.changeCaption), &QPushButton::clicked, this,
            [this] { changeRecord(); });
    connect(addToolButton(m_spec.deleteCaption), &QPushButton::clicked, this,
            &CatalogueWindow::deleteCurrent);
    connect(addToolButton(QStringLiteral("删除选中")), &QPushButton::clicked, this,
            &CatalogueWindow::deleteMarked);
    QPushButton* marking = addToolButton(QStringLiteral("选中操作"));
    m_markMenu = new QMenu(marking);
    m_markMenu->addAction(marking::kShowMarked, this, &CatalogueWindow::showMarked);
    m_markMenu->addAction(marking::kMarkAll, this, &CatalogueWindow::markAll);
    m_markMenu->addAction(marking::kUnmarkAll, this, &CatalogueWindow::unmarkAll);
    marking->setMenu(m_markMenu);
    connect(addToolButton(QStringLiteral("高级查询")), &QPushButton::clicked, this,
            &CatalogueWindow::advancedQuery);
    connect(addToolButton(QStringLiteral("显示全部")), &QPushButton::clicked, this,
            &CatalogueWindow::showAll);
    connect(addToolButton(QStringLiteral("报表打印")), &QPushButton::clicked, this,
            &CatalogueWindow::printReport);
    QPushButton* exports = addToolButton(QStringLiteral("导出数据"));
    auto* exportMenu = new QMenu(exports);
    for (const ExportFormatInfo& f : exportFormats())
        exportMenu->addAction(f.menuText, this,
                              [this, format = f.format] { exportGrid(this, *m_grid, format); });
    exports->setMenu(exportMenu);
    m_tools->addStretch();
    connect(addToolButton(QStringLiteral("退出操作")), &QPushButton::clicked, this,
            &QDialog::reject);

    m_tree = new ClassTreeWidget(this);
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { classClicked(item); });

    m_search = new SearchBar(m_spec.searchFields, this);
    m_search->chooseField(m_spec.defaultSearchField);
    connect(m_search, &SearchBar::searchRequested, this, &CatalogueWindow::quickSearch);

    m_grid = new DataGrid(m_db, this);
    m_grid->setColumns(m_spec.columns);
    m_grid->setManagement(m_spec.table.table);
    m_grid->view()->setItemDelegate(new OutRowDelegate(m_grid->model(), m_grid->view()));
    connect(m_grid->view(), &QAbstractItemView::doubleClicked, this, [this] { changeRecord(); });
    connect(m_grid, &DataGrid::loaded, this, [this] {
        QItemSelectionModel* selection = m_grid->view()->selectionModel();
        if (selection != m_watchedSelection) {
            m_watchedSelection = selection;
            connect(selection, &QItemSelectionModel::currentRowChanged, this,
                    [this] { currentRowChanged(currentId()); });
        }
        currentRowChanged(currentId());
    });

    auto* paging = new QHBoxLayout;
    paging->addWidget(new QLabel(QStringLiteral("页数："), this));
    m_pageLabel = new QLabel(QStringLiteral("0/0"), this);
    paging->addWidget(m_pageLabel);
    const std::pair<const char16_t*, void (CatalogueWindow::*)()> steps[] = {
        {u"第一页", &CatalogueWindow::firstPage},
        {u"上一页", &CatalogueWindow::previousPage},
        {u"下一页", &CatalogueWindow::nextPage},
        {u"最后一页", &CatalogueWindow::lastPage}};
    for (const auto& [caption, step] : steps) {
        auto* b = new QPushButton(QString::fromUtf16(caption), this);
        b->setObjectName(QString::fromUtf16(caption));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, step);
        paging->addWidget(b);
        m_pagingButtons << b;
    }
    m_totalRows = new QLabel(this);
    paging->addWidget(m_totalRows);
    paging->addStretch();
    paging->addWidget(new QLabel(QStringLiteral("图书总价："), this));
    m_totalValue = new QLabel(this);
    m_totalValue->setObjectName(QStringLiteral("图书总价"));
    paging->addWidget(m_totalValue);

    m_counters = new QWidget(this);
    auto* counters = new QHBoxLayout(m_counters);
    counters->setContentsMargins(0, 0, 0, 0);
    for (const char16_t* caption :
         {u"总行数：", u"馆藏总量：", u"借出数量：", u"剩余数量：", u"书籍种类:"}) {
        counters->addWidget(new QLabel(QString::fromUtf16(caption), m_counters));
        auto* value = new QLabel(m_counters);
        value->setMinimumWidth(60);
        counters->addWidget(value);
        m_counterLabels.insert(QString::fromUtf16(caption), value);
    }
    counters->addStretch();

    auto* middle = new QWidget(this);
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->addWidget(m_search);
    middleLayout->addWidget(m_grid, 1);
    middleLayout->addLayout(paging);
    middleLayout->addWidget(m_counters);

    m_right = new QWidget(this);
    m_right->setMinimumWidth(260);
    new QVBoxLayout(m_right);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(middle);
    splitter->addWidget(m_right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 820, 280});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_tools);
    layout->addWidget(splitter, 1);
}

void CatalogueWindow::setSettings(const CatalogueSettings& settings) {
    m_settings = settings;
    m_pager = std::make_unique<BookPager>(
        m_db, m_spec.table, settings.fullMode ? QStringLiteral("*") : m_spec.reducedColumns);
    applyMode();
}

void CatalogueWindow::applyMode() {
    const bool full = m_settings.fullMode;
    m_counters->setVisible(full);
    m_totalValue->setVisible(full);
    m_totalValue->parentWidget();
    m_right->setVisible(full);
    m_totalRows->setVisible(!full);
}

bool CatalogueWindow::guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const DatabaseError& e) {
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        return false;
    }
}

void CatalogueWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applyMode();
    if (!m_layoutLoaded && !m_spec.layoutName.isEmpty()) {
        m_layoutLoaded = true;
        QList<ColumnLayout> saved;
        if (LayoutFiles(m_home, m_spec.layoutName).takeSavedLayout(&saved))
            m_grid->applyLayout(saved);
    }
    guarded([this] {
        auto* all = new QTreeWidgetItem;
        all->setText(0, m_spec.allClassesText);
        m_tree->setClasses(loadClassTreeForDisplay(m_db, m_home, m_spec.classes));
        // The classes hang below the "all" node.
        QList<QTreeWidgetItem*> top;
        while (m_tree->topLevelItemCount() > 0)
            top << m_tree->takeTopLevelItem(0);
        all->addChildren(top);
        m_tree->addTopLevelItem(all);
        m_tree->expandAll();
        m_pageSize =
            m_db.scalar(QStringLiteral("select [分页记录] from [参数设置]"), {}, 100).toInt();
    });
    showAll();
    m_search->textBox()->clear();
    m_search->textBox()->setFocus();
}

bool CatalogueWindow::list(const ListCondition& condition) {
    m_condition = condition;
    return guarded([this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_pager->reset(m_condition, m_pageSize);
        updateCounters();
        for (QPushButton* b : m_pagingButtons)
            b->setEnabled(m_pager->canPage());
        showPage(m_pager->first());
        QApplication::restoreOverrideCursor();
    });
}

void CatalogueWindow::updateCounters() {
    m_totalRows->setText(QStringLiteral("总行数：%1").arg(m_pager->total()));
    if (!m_settings.fullMode)
        return;
    const BookCounters c = bookCounters(m_db, m_condition, m_settings.oneToOne,
                                        m_settings.kindCondition, m_spec.table);
    m_counterLabels.value(QStringLiteral("总行数："))->setText(QString::number(c.rows));
    m_counterLabels.value(QStringLiteral("馆藏总量："))->setText(counterValue(c.holdings));
    m_counterLabels.value(QStringLiteral("借出数量："))->setText(counterValue(c.lent));
    m_counterLabels.value(QStringLiteral("剩余数量："))->setText(counterValue(c.remaining));
    m_counterLabels.value(QStringLiteral("书籍种类:"))->setText(counterValue(c.kinds));
    m_totalValue->setText(formatTotalValue(c.totalValue));
}

QLabel* CatalogueWindow::counterLabel(const QString& caption) const {
    return m_counterLabels.value(caption);
}

QString CatalogueWindow::counterText(const QString& caption) const {
    if (caption == QStringLiteral("图书总价"))
        return m_totalValue->text();
    QLabel* l = m_counterLabels.value(caption);
    return l ? l->text() : QString();
}

void CatalogueWindow::showPage(const QList<QVariantMap>& rows) {
    QStringList marks;
    QVariantList ids;
    for (const QVariantMap& r : rows) {
        marks << QStringLiteral("?");
        ids << r.value(QStringLiteral("ID"));
    }
    const QString columns = m_pager->columnList();
    GridSource source{
        QStringLiteral("select %1 from [%2] where ").arg(columns, m_spec.table.table) +
            (ids.isEmpty() ? QStringLiteral("1=0")
                           : QStringLiteral("[ID] in (%1)").arg(marks.join(u','))),
        ids, QStringLiteral("[ID]")};
    if (!m_grid->load(source))
        showError(this, m_grid->lastError());
    m_pageLabel->setText(m_pager->pageLabel());
}

void CatalogueWindow::refreshPage() {
    guarded([this] { showPage(m_pager->go(m_pager->page())); });
}

void CatalogueWindow::firstPage() {
    guarded([this] { showPage(m_pager->first()); });
}

void CatalogueWindow::previousPage() {
    guarded([this] { showPage(m_pager->previous()); });
}

void CatalogueWindow::nextPage() {
    guarded([this] { showPage(m_pager->next()); });
}

void CatalogueWindow::lastPage() {
    guarded([this] { showPage(m_pager->last()); });
}

bool CatalogueWindow::quickSearch() {
    SearchOutcome s;
    if (!guarded([&] {
            s = quickSearchCondition(m_db, m_spec.table.table, m_search->column(), m_search->text(),
                                     m_search->fuzzy());
        }))
        return false;
    if (!s.ok) {
        showNotice(this, s.message);
        m_search->textBox()->setFocus();
        return false;
    }
    return list(ListCondition::fromWhere(s.condition.sql, s.condition.params));
}

bool CatalogueWindow::classClicked(QTreeWidgetItem* item) {
    if (!item)
        return false;
    if (item->text(0) == m_spec.allClassesText)
        return showAll();
    const ClassParts parts = splitNodeText(item->text(0));
    return list(classCondition(m_spec.table, parts.number));
}

qint64 CatalogueWindow::currentId() const {
    const QModelIndex index = m_grid->view()->currentIndex();
    const int row = index.isValid() ? index.row() : (m_grid->model()->rowCount() > 0 ? 0 : -1);
    if (row < 0)
        return 0;
    return m_grid->model()->fieldValue(row, QStringLiteral("ID")).toLongLong();
}

bool CatalogueWindow::showMarked() {
    return list({QStringLiteral("[选中]=TRUE"), {}});
}

void CatalogueWindow::markAll() {
    guarded([this] { Marking{m_spec.table.table, m_spec.table.numberColumn}.markAll(m_db); });
    showAll();
}

void CatalogueWindow::unmarkAll() {
    guarded([this] { Marking{m_spec.table.table, m_spec.table.numberColumn}.unmarkAll(m_db); });
    showAll();
}

bool CatalogueWindow::deleteCurrent() {
    const qint64 id = currentId();
    if (id == 0)
        return false;
    std::optional<QSqlRecord> row;
    if (!guarded([&] {
            row = m_db.row(
                QStringLiteral("select * from [%1] where [ID]=?").arg(m_spec.table.table), {id});
        }) ||
        !row)
        return false;
    QVariantMap book;
    for (int i = 0; i < row->count(); ++i)
        book.insert(row->fieldName(i), row->value(i));
    if (isBookOut(book, m_settings.oneToOne) &&
        !askYesNo(this, QStringLiteral("此书已经被借出！是否继续删除？"), QStringLiteral("提示")))
        return false;
    if (!askYesNo(this,
                  QStringLiteral("是否确定继续删除图书：《%1》？")
                      .arg(book.value(m_spec.table.titleColumn).toString()),
                  QStringLiteral("提示")))
        return false;
    if (!guarded([&] { withdrawBooks(m_db, m_spec.table, {id}, m_settings.operatorName); }))
        return false;
    return list(m_condition);
}

bool CatalogueWindow::deleteMarked() {
    QList<qint64> ids;
    if (!guarded([&] { ids = markedIds(m_db, m_spec.table); }))
        return false;
    if (ids.isEmpty()) {
        showNotice(this, marking::kNoneMarked);
        return false;
    }
    const int n = int(ids.size());
    if (!askYesNo(this, marking::confirmFirstCounted(n), QStringLiteral("提示")) ||
        !askYesNo(this, marking::confirmSecondCounted(n), QStringLiteral("提示")))
        return false;
    ProgressWindow progress(this);
    progress.start(QStringLiteral("系统正在执行删除操作... 0"));
    // Exactly the rows counted above go, all of them or none.
    const bool ok = guarded([&] {
        withdrawBooks(m_db, m_spec.table, ids, m_settings.operatorName,
                      QStringLiteral("书库中删除"), &progress);
    });
    if (ok)
        progress.setLabel(QStringLiteral("删除成功！ "));
    progress.finish();
    showAll();
    return ok;
}

void CatalogueWindow::advancedQuery() {
    ConditionBuilder builder(m_db, m_spec.table.table, this);
    if (builder.exec() != QDialog::Accepted || !builder.isConfirmed())
        return;
    // Pages are cut by ID, so only the condition applies; it is wrapped before paging.
    list(ListCondition::fromWhere(builder.condition()));
}

void CatalogueWindow::chooseColumns() {
    ColumnChooser chooser(m_grid->layout(), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    m_grid->applyLayout(chooser.columns());
    if (!m_spec.layoutName.isEmpty())
        LayoutFiles(m_home, m_spec.layoutName).saveWorking(m_grid->layout());
}

void CatalogueWindow::printReport() {
    GridReportPreview preview(*m_grid, m_spec.reportTitle, m_db.today(), this);
    preview.exec();
}

} // namespace cangshu
