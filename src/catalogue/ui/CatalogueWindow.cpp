#include "CatalogueWindow.h"

#include "ClassTreeWidget.h"
#include "queries/Marking.h"
#include "widgets/Messages.h"
#include "widgets/ProgressWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
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

// The list window's part of a catalogue window's definition.
ListWindowSpec listSpec(const CatalogueWindowSpec& s) {
    ListWindowSpec l = s;
    l.table = s.catalogue.table;
    l.keyColumn = QStringLiteral("ID");
    l.markNumberColumn = s.catalogue.numberColumn;
    l.countedDeleteConfirm = true;
    l.quitCaption = QStringLiteral("退出操作");
    l.markingButton = true;
    return l;
}

} // namespace

CatalogueWindow::CatalogueWindow(Database& db, const Home& home, CatalogueWindowSpec definition,
                                 QWidget* parent)
    : ListWindow(db, home, listSpec(definition), ListMode::Management, parent),
      m_spec(std::move(definition)) {
    m_pager = std::make_unique<BookPager>(db, m_spec.catalogue);
    connect(addCommandButton(m_spec.addCaption), &QPushButton::clicked, this,
            [this] { addRecord(); });
    connect(addCommandButton(m_spec.changeCaption), &QPushButton::clicked, this,
            [this] { changeRecord(); });
    connect(addCommandButton(m_spec.deleteCaption), &QPushButton::clicked, this,
            &CatalogueWindow::deleteCurrent);
    arrangeToolButtons();

    m_tree = new ClassTreeWidget(this);
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { classClicked(item); });
    searchBar()->chooseField(m_spec.defaultSearchField);

    DataGrid* g = grid();
    g->view()->setItemDelegate(new OutRowDelegate(g->model(), g->view()));
    connect(g->view(), &QAbstractItemView::doubleClicked, this, [this] { changeRecord(); });
    connect(g, &DataGrid::loaded, this, [this] {
        QItemSelectionModel* selection = grid()->view()->selectionModel();
        if (selection != m_watchedSelection) {
            m_watchedSelection = selection;
            connect(selection, &QItemSelectionModel::currentRowChanged, this,
                    [this] { currentRowChanged(currentId()); });
        }
        currentRowChanged(currentId());
    });
    arrangeLayout();
    resize(1300, 720);
}

void CatalogueWindow::arrangeToolButtons() {
    arrangeCommands({QStringLiteral("设置列选"), m_spec.addCaption, m_spec.changeCaption,
                     m_spec.deleteCaption, QStringLiteral("删除选中"), QStringLiteral("选中操作"),
                     QStringLiteral("高级查询"), QStringLiteral("显示全部"),
                     QStringLiteral("打印条码"), QStringLiteral("条码设计"),
                     QStringLiteral("报表打印"), QStringLiteral("导出数据")});
}

QLayout* CatalogueWindow::pagingBar() {
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
    return paging;
}

// The base's rows become: the tool buttons across the top; below them the class tree, the
// search bar over the grid with the paging bar and counters, and the right-hand panel.
void CatalogueWindow::arrangeLayout() {
    auto* outer = qobject_cast<QVBoxLayout*>(layout());
    outer->removeWidget(searchBar());
    outer->removeWidget(grid());
    outer->removeItem(commandRow());
    commandRow()->setParent(nullptr);
    commandRow()->setSpacing(4);

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
    middleLayout->addWidget(searchBar());
    middleLayout->addWidget(grid(), 1);
    middleLayout->addLayout(pagingBar());
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

    outer->addLayout(commandRow());
    outer->addWidget(splitter, 1);
}

void CatalogueWindow::setSettings(const CatalogueSettings& settings) {
    m_settings = settings;
    m_pager = std::make_unique<BookPager>(
        db(), m_spec.catalogue, settings.fullMode ? QStringLiteral("*") : m_spec.reducedColumns);
    applyMode();
}

void CatalogueWindow::applyMode() {
    const bool full = m_settings.fullMode;
    m_counters->setVisible(full);
    m_totalValue->setVisible(full);
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

// Every showing rebuilds the tree, rereads the page size and lists all rows; the base lists
// them itself the first time only.
void CatalogueWindow::showEvent(QShowEvent* event) {
    applyMode();
    guarded([this] {
        auto* all = new QTreeWidgetItem;
        all->setText(0, m_spec.allClassesText);
        m_tree->setClasses(loadClassTreeForDisplay(db(), home(), m_spec.classes));
        // The classes hang below the "all" node.
        QList<QTreeWidgetItem*> top;
        while (m_tree->topLevelItemCount() > 0)
            top << m_tree->takeTopLevelItem(0);
        all->addChildren(top);
        m_tree->addTopLevelItem(all);
        m_tree->expandAll();
        m_pageSize =
            db().scalar(QStringLiteral("select [分页记录] from [参数设置]"), {}, 100).toInt();
    });
    const bool again = m_shownBefore;
    m_shownBefore = true;
    ListWindow::showEvent(event);
    if (again)
        showAll();
    searchBar()->textBox()->clear();
    searchBar()->textBox()->setFocus();
}

// Pages are cut by ID, so a list keeps only the condition of what it is asked for (not the
// builder's sort terms); the condition is wrapped before paging.
bool CatalogueWindow::listRows(const QString& whereText, const QVariantList& params,
                               const QString& orderBy) {
    (void)orderBy;
    return list(ListCondition::fromWhere(whereText, params));
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
    const BookCounters c = bookCounters(db(), m_condition, m_settings.oneToOne,
                                        m_settings.kindCondition, m_spec.catalogue);
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
        QStringLiteral("select %1 from [%2] where ").arg(columns, m_spec.catalogue.table) +
            (ids.isEmpty() ? QStringLiteral("1=0")
                           : QStringLiteral("[ID] in (%1)").arg(marks.join(u','))),
        ids, QStringLiteral("[ID]")};
    if (!grid()->load(source))
        showError(this, grid()->lastError());
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

bool CatalogueWindow::classClicked(QTreeWidgetItem* item) {
    if (!item)
        return false;
    if (item->text(0) == m_spec.allClassesText)
        return showAll();
    const ClassParts parts = splitNodeText(item->text(0));
    return list(classCondition(db(), m_spec.catalogue, parts.number));
}

qint64 CatalogueWindow::currentId() const {
    const QModelIndex index = grid()->view()->currentIndex();
    const int row = index.isValid() ? index.row() : (grid()->model()->rowCount() > 0 ? 0 : -1);
    if (row < 0)
        return 0;
    return grid()->model()->fieldValue(row, QStringLiteral("ID")).toLongLong();
}

bool CatalogueWindow::deleteCurrent() {
    const qint64 id = currentId();
    if (id == 0)
        return false;
    std::optional<QSqlRecord> row;
    if (!guarded([&] {
            row = db().row(
                QStringLiteral("select * from [%1] where [ID]=?").arg(m_spec.catalogue.table),
                {id});
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
                      .arg(book.value(m_spec.catalogue.titleColumn).toString()),
                  QStringLiteral("提示")))
        return false;
    if (!guarded([&] { withdrawBooks(db(), m_spec.catalogue, {id}, m_settings.operatorName); }))
        return false;
    return list(m_condition);
}

// The IDs are read once: exactly the rows counted go, copied whole, all of them or none.
bool CatalogueWindow::deleteMarked() {
    QList<qint64> ids;
    if (!guarded([&] { ids = markedIds(db(), m_spec.catalogue); }))
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
    const bool ok = guarded([&] {
        withdrawBooks(db(), m_spec.catalogue, ids, m_settings.operatorName,
                      QStringLiteral("书库中删除"), &progress);
    });
    if (ok)
        progress.setLabel(QStringLiteral("删除成功！ "));
    progress.finish();
    showAll();
    return ok;
}

} // namespace cangshu
