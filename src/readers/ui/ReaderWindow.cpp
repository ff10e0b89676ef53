#include "ReaderWindow.h"

#include "readers/Photos.h"
#include "readers/ReaderStatus.h"
#include "report/PrintJob.h"
#include "report/ui/ReportDesigner.h"
#include "report/ui/ReportPreviewWindow.h"
#include "widgets/Messages.h"
#include "widgets/ProgressWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cangshu {

namespace {

const QString allReaders = QStringLiteral("全部读者");

GridColumn col(const char16_t* field, int width = 90, FooterKind footer = FooterKind::None,
               const char16_t* title = nullptr) {
    const QString f = QString::fromUtf16(field);
    return {f, title ? QString::fromUtf16(title) : f, width, footer};
}

GridColumn money(GridColumn c, ColumnLook look) {
    c.look = look;
    return c;
}

ListWindowSpec readerSpec() {
    ListWindowSpec s;
    s.title = QStringLiteral("读者资料管理");
    s.table = QStringLiteral("读者资料");
    s.orderBy = QStringLiteral("[读者编号]");
    s.rowNumbers = true;
    s.columns = {col(u"选中", 40),
                 col(u"读者状态", 70, FooterKind::Label),
                 col(u"读者编号", 100, FooterKind::Count),
                 col(u"读者姓名", 80),
                 col(u"读者性别", 60),
                 col(u"读者类型", 80),
                 col(u"单位部门", 110),
                 money(col(u"押金金额", 80, FooterKind::Sum), ColumnLook::RedMoney),
                 col(u"身份证号", 150),
                 col(u"出生日期"),
                 col(u"办证日期"),
                 col(u"截止日期"),
                 col(u"联系电话", 110),
                 col(u"电子邮件", 140),
                 col(u"联系地址", 180),
                 col(u"借阅次数", 70, FooterKind::Sum),
                 col(u"无限制", 60)};
    s.searchFields = {{QStringLiteral("按读者编号"), QStringLiteral("读者编号")},
                      {QStringLiteral("按姓名拼音"), QStringLiteral("拼音")},
                      {QStringLiteral("按读者姓名"), QStringLiteral("读者姓名")}};
    s.markNumberColumn = QStringLiteral("读者编号");
    s.layoutName = QStringLiteral("reader");
    s.reportTitle = QStringLiteral("读者资料报表");
    return s;
}

struct LoanTab {
    const char16_t* caption;
    const char16_t* itemTable;
    const char16_t* loanTable;
    const char16_t* itemIndex;
    bool books;
    bool history;
};

const LoanTab loanTabTable[] = {
    {u"正在借阅的图书", u"书籍资料", u"书籍借阅清单", u"书籍索引", true, false},
    {u"正在借阅的期刊", u"期刊资料", u"期刊借阅清单", u"期刊索引", false, false},
    {u"借阅图书历史", u"书籍资料", u"书籍归还清单", u"书籍索引", true, true},
    {u"借阅期刊历史", u"期刊资料", u"期刊归还清单", u"期刊索引", false, true},
};

QList<GridColumn> loanColumns(const LoanTab& t) {
    const char16_t* dueOrBack = t.history ? u"归还日期" : u"应还日期";
    QList<GridColumn> c;
    if (t.books)
        c = {col(u"书籍编号"),      col(u"书籍名称", 180), col(u"当前本数", 60, {}, u"卷册号"),
             col(u"中图分类"),      col(u"借阅日期"),      col(dueOrBack),
             col(u"书籍价格", 70),  col(u"作者信息", 120), col(u"分类名称", 120),
             col(u"出版社名", 140), col(u"出版日期"),      col(u"书籍页码", 60)};
    else
        c = {col(u"期刊编号"),      col(u"期刊名称", 180), col(u"借阅日期"),
             col(dueOrBack),        col(u"期刊价格", 70),  col(u"主编信息", 120),
             col(u"分类名称", 120), col(u"出版社名", 140), col(u"期刊刊次", 60),
             col(u"期刊页数", 60)};
    if (t.history)
        c << col(u"超期天数", 70) << col(u"罚款金额", 70);
    for (const char16_t* hidden : {u"读者编号", u"读者姓名", u"读者类型"}) {
        GridColumn h = col(hidden);
        h.visible = false;
        c << h;
    }
    return c;
}

// The loans of one reader: the item, the reader and the loan row joined.
GridSource loanSource(const LoanTab& t, const QString& number) {
    const QString item = QString::fromUtf16(t.itemTable);
    const QString loan = QString::fromUtf16(t.loanTable);
    QStringList fields;
    for (const GridColumn& c : loanColumns(t)) {
        const bool ofLoan =
            c.field == QStringLiteral("借阅日期") || c.field == QStringLiteral("应还日期") ||
            c.field == QStringLiteral("归还日期") || c.field == QStringLiteral("超期天数") ||
            c.field == QStringLiteral("罚款金额");
        const bool ofReader = c.field.startsWith(QStringLiteral("读者"));
        fields << QStringLiteral("[%1].[%2]")
                      .arg(ofLoan     ? loan
                           : ofReader ? QStringLiteral("读者资料")
                                      : item,
                           c.field);
    }
    return {
        QStringLiteral("select %1 from [%2], [读者资料], [%3] where [%2].[ID]=[%3].[%4] and "
                       "[读者资料].[读者编号]=[%3].[读者索引] and [读者资料].[读者编号]=?")
            .arg(fields.join(QStringLiteral(", ")), item, loan, QString::fromUtf16(t.itemIndex)),
        {number},
        {}};
}

} // namespace

ReaderWindow::ReaderWindow(const ReadersUiContext& context, QWidget* parent)
    : ListWindow(*context.db, context.home, readerSpec(), ListMode::Management, parent),
      m_context(context), m_tree(new QTreeWidget(this)) {
    // Only the mark is edited in the list; the rest goes through the editor.
    grid()->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(130);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item->parent() == nullptr)
            showAll();
        else
            listType(item->text(0));
    });
    buildDetail();

    // The grid goes between the type tree and the detail panel.
    auto* outer = qobject_cast<QVBoxLayout*>(layout());
    const int at = outer->indexOf(grid());
    outer->removeWidget(grid());
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(grid());
    splitter->addWidget(m_detail);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({150, 760, 380});
    outer->insertWidget(at, splitter, 1);

    // A read-card button beside the search.
    auto* readCard = new QPushButton(QStringLiteral("读卡"), searchBar());
    readCard->setObjectName(QStringLiteral("读卡"));
    readCard->setAutoDefault(false);
    if (auto* bar = qobject_cast<QHBoxLayout*>(searchBar()->layout()))
        bar->addWidget(readCard);
    connect(readCard, &QPushButton::clicked, this, &ReaderWindow::readCardSearch);

    QHBoxLayout* row = commandRow();
    int pos = 0;
    const auto insert = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        row->insertWidget(pos++, b);
        return b;
    };
    connect(insert(QStringLiteral("添加读者")), &QPushButton::clicked, this,
            &ReaderWindow::addReader);
    connect(insert(QStringLiteral("修改资料")), &QPushButton::clicked, this,
            &ReaderWindow::editReader);
    connect(insert(QStringLiteral("删除读者")), &QPushButton::clicked, this,
            &ReaderWindow::deleteCurrent);
    QPushButton* marking = insert(QStringLiteral("选中操作"));
    auto* markMenu = new QMenu(marking);
    markMenu->addActions(markingMenu()->actions());
    markMenu->addAction(QStringLiteral("【批量获取读者姓名拼音简码】"), this,
                        &ReaderWindow::refreshPinyin);
    marking->setMenu(markMenu);
    connect(insert(QStringLiteral("到期查询")), &QPushButton::clicked, this,
            &ReaderWindow::listExpired);
    QPushButton* print = insert(QStringLiteral("打印条码"));
    auto* printMenu = new QMenu(print);
    printMenu->addAction(QStringLiteral("打印读者条形码"), this,
                         [this] { printCards(QStringLiteral("readerCode")); });
    printMenu->addAction(QStringLiteral("打印读者借阅证"), this,
                         [this] { printCards(QStringLiteral("reader")); });
    print->setMenu(printMenu);
    QPushButton* design = insert(QStringLiteral("条码设计"));
    auto* designMenu = new QMenu(design);
    designMenu->addAction(QStringLiteral("设计读者条形码"), this,
                          [this] { designCards(QStringLiteral("readerCode")); });
    designMenu->addAction(QStringLiteral("设计读者借阅证"), this,
                          [this] { designCards(QStringLiteral("reader")); });
    design->setMenu(designMenu);

    // "删除选中" refuses while marked readers have loans out.
    QPushButton* deleteMarkedButton = button(QStringLiteral("删除选中"));
    disconnect(deleteMarkedButton, &QPushButton::clicked, nullptr, nullptr);
    connect(deleteMarkedButton, &QPushButton::clicked, this, &ReaderWindow::deleteMarkedReaders);

    markingMenu()->addSeparator();
    markingMenu()->addAction(QStringLiteral("查看照片"), this, &ReaderWindow::showPhoto);
    QAction* onLoan = markingMenu()->addAction(QStringLiteral("查询正在借阅的书籍"), this,
                                               [this] { showBookLoans(false); });
    QAction* returned = markingMenu()->addAction(QStringLiteral("查询历史借阅记录"), this,
                                                 [this] { showBookLoans(true); });
    onLoan->setEnabled(bool(m_context.showBookLoans));
    returned->setEnabled(bool(m_context.showBookLoans));

    connect(grid()->view(), &QAbstractItemView::doubleClicked, this, &ReaderWindow::editReader);
    connect(grid()->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ReaderWindow::followCurrent);
    connect(grid(), &DataGrid::loaded, this, [this] {
        if (grid()->model()->rowCount() > 0 && !grid()->view()->currentIndex().isValid())
            grid()->view()->setCurrentIndex(grid()->model()->index(0, 2));
        followCurrent();
    });
    resize(1280, 700);
}

void ReaderWindow::buildDetail() {
    m_detail = new QWidget(this);
    m_photo = new QLabel(m_detail);
    m_photo->setFixedSize(120, 160);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setFrameShape(QFrame::Box);
    m_tabs = new QTabWidget(m_detail);
    for (int i = 0; i < 4; ++i) {
        m_loanGrids[i] = new DataGrid(db(), m_tabs);
        m_loanGrids[i]->setColumns(loanColumns(loanTabTable[i]));
        m_tabs->addTab(m_loanGrids[i], QString::fromUtf16(loanTabTable[i].caption));
    }
    auto* layout = new QVBoxLayout(m_detail);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_photo, 0, Qt::AlignHCenter);
    layout->addWidget(m_tabs, 1);
    m_detail->setMinimumWidth(360);
    // Reduced display: no photo and no loans beside the list.
    m_detail->setVisible(m_context.viewMode != QStringLiteral("0"));
}

void ReaderWindow::showEvent(QShowEvent* event) {
    fillTree();
    ListWindow::showEvent(event);
}

void ReaderWindow::fillTree() {
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {allReaders});
    try {
        for (const QSqlRecord& r :
             db().rows(QStringLiteral("select [类型名称] from [读者类型] order by [类型名称]")))
            new QTreeWidgetItem(root, {r.value(0).toString()});
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    m_tree->expandAll();
}

QString ReaderWindow::currentNumber() const {
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid())
        return {};
    return grid()->model()->fieldValue(current.row(), QStringLiteral("读者编号")).toString();
}

bool ReaderWindow::selectNumber(const QString& number) {
    GridModel* model = grid()->model();
    for (int row = 0;; ++row) {
        if (row >= model->rowCount()) {
            if (!model->canFetchMore())
                return false;
            model->fetchMore();
            if (row >= model->rowCount())
                return false;
        }
        if (model->fieldValue(row, QStringLiteral("读者编号")).toString() == number) {
            grid()->view()->setCurrentIndex(model->index(row, 2));
            return true;
        }
    }
}

void ReaderWindow::followCurrent() {
    // Only the full display follows the reader; other values keep the panel as it is.
    if (m_context.viewMode != QStringLiteral("61730") || !m_detail->isVisible())
        return;
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid()) {
        m_photo->clear();
        for (DataGrid* g : m_loanGrids)
            g->model()->clear();
        return;
    }
    const QImage photo = photoImage(
        grid()->model()->fieldValue(current.row(), QStringLiteral("Image")).toByteArray());
    m_photo->setPixmap(photo.isNull()
                           ? QPixmap()
                           : QPixmap::fromImage(photo).scaled(m_photo->size(), Qt::KeepAspectRatio,
                                                              Qt::SmoothTransformation));
    const QString number = currentNumber();
    for (int i = 0; i < 4; ++i) {
        if (!m_loanGrids[i]->load(loanSource(loanTabTable[i], number)))
            m_loanGrids[i]->model()->clear(); // a library without that table shows nothing
    }
}

ReaderEditor* ReaderWindow::editor() {
    if (!m_editor)
        m_editor = new ReaderEditor(m_context, this);
    return m_editor;
}

void ReaderWindow::afterEditor(const QString& number) {
    grid()->reload();
    if (!number.isEmpty())
        selectNumber(number);
}

void ReaderWindow::addReader() {
    ReaderEditor* e = editor();
    e->startNew();
    e->exec();
    afterEditor(e->savedNumber());
}

void ReaderWindow::editReader() {
    const QString number = currentNumber();
    if (number.isEmpty())
        return;
    ReaderEditor* e = editor();
    if (!e->startEdit(number)) {
        showNotice(this, QStringLiteral("没有找到该读者，请重新输入读者编号！"));
        grid()->reload();
        return;
    }
    e->exec();
    afterEditor(e->result() == QDialog::Accepted ? e->savedNumber() : number);
}

bool ReaderWindow::deleteCurrent() {
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid())
        return false;
    const QString number = currentNumber();
    const QString name =
        grid()->model()->fieldValue(current.row(), QStringLiteral("读者姓名")).toString();
    try {
        const QString refusal = openLoansRefusal(db(), number);
        if (!refusal.isEmpty()) {
            showNotice(this, refusal);
            return false;
        }
        if (!askYesNo(this, QStringLiteral("是否确定删除读者：《%1》？").arg(name)))
            return false;
        const Outcome o = deleteReader(db(), number);
        if (!o.ok) {
            showNotice(this, o.message);
            return false;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    grid()->reload();
    return true;
}

bool ReaderWindow::deleteMarkedReaders() {
    if (grid()->model()->rowCount() == 0)
        return false;
    if (!askYesNo(this, marking::kConfirmFirst, QStringLiteral("提示")) ||
        !askYesNo(this, marking::kConfirmSecond))
        return false;
    try {
        const Outcome o = cangshu::deleteMarkedReaders(db());
        if (!o.ok) {
            showNotice(this, o.message);
            return false;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    showAll();
    return true;
}

bool ReaderWindow::listType(const QString& typeName) {
    return listWhere(QStringLiteral("[读者类型]=?"), {typeName});
}

bool ReaderWindow::listExpired() {
    const SqlWithParams c = expiredReadersCondition(db().today());
    return listWhere(c.sql, c.params);
}

bool ReaderWindow::readCardSearch() {
    const IcCardRead r = readIcCard(m_context.cards ? m_context.cards->ic.get() : nullptr);
    if (!r.outcome.ok) {
        showError(this, r.outcome.message);
        return false;
    }
    searchBar()->textBox()->setText(r.text);
    return search();
}

void ReaderWindow::refreshPinyin() {
    if (!askYesNo(this, QStringLiteral("是否确定执行【批量获取读者姓名拼音简码】？"),
                  QStringLiteral("提示")))
        return;
    ProgressWindow progress(this);
    progress.start(QStringLiteral("系统正在执行操作..."));
    try {
        refreshReaderPinyin(db(), [&](int position, int count, const QString&) {
            progress.setRange(count);
            progress.setValue(position);
            progress.setLabel(QStringLiteral("系统正在执行操作... %1").arg(position));
        });
    } catch (const DatabaseError& e) {
        progress.finish();
        showError(this, e.message());
        return;
    }
    progress.finish();
    grid()->reload();
}

QList<QVariantMap> ReaderWindow::listedRows() {
    QSqlQuery q = db().run(grid()->model()->currentSql(), grid()->model()->source().params);
    return report::rowsOf(q);
}

void ReaderWindow::printCards(const QString& templateName) {
    try {
        report::ReportPreviewWindow::showTemplate(this, m_context.home.reportFolder(), templateName,
                                                  listedRows());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void ReaderWindow::designCards(const QString& templateName) {
    try {
        report::ReportDesigner::design(this, m_context.home.reportFolder(), templateName,
                                       listedRows());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void ReaderWindow::showBookLoans(bool returned) {
    const QString number = currentNumber();
    if (number.isEmpty() || !m_context.showBookLoans)
        return;
    m_context.showBookLoans(number, returned, this);
}

void ReaderWindow::showPhoto() {
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid())
        return;
    const QImage photo = photoImage(
        grid()->model()->fieldValue(current.row(), QStringLiteral("Image")).toByteArray());
    if (photo.isNull())
        return;
    QDialog viewer(this);
    viewer.setWindowTitle(QStringLiteral("查看照片"));
    auto* label = new QLabel(&viewer);
    label->setPixmap(QPixmap::fromImage(photo));
    auto* layout = new QVBoxLayout(&viewer);
    layout->addWidget(label);
    viewer.exec();
}

ReaderEditor* newReaderEditor(const ReadersUiContext& context, QWidget* parent) {
    return new ReaderEditor(context, parent);
}

} // namespace cangshu
