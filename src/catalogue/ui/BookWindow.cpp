#include "BookWindow.h"

#include "queries/ui/HistoryWindow.h"
#include "report/TemplateFiles.h"
#include "report/ui/ReportDesigner.h"
#include "report/ui/ReportPreviewWindow.h"
#include "report/ui/SpineLabelRangeDialog.h"
#include "widgets/DataGrid.h"
#include "widgets/Messages.h"
#include "widgets/ProgressWindow.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cangshu {

namespace {

GridColumn col(const char16_t* field, const char16_t* title = nullptr, int width = 90,
               FooterKind footer = FooterKind::None, bool visible = true,
               ColumnLook look = ColumnLook::Plain) {
    const QString f = QString::fromUtf16(field);
    return {f, title ? QString::fromUtf16(title) : f, width, footer, visible, look};
}

// Label templates: the print and the design menu items share them.
struct LabelTemplate {
    const char16_t* name;
    const char16_t* print;
    const char16_t* design;
};
const LabelTemplate kLabels[] = {
    {u"bookCode", u"打印书籍条形码", u"设计书籍条形码"},
    {u"suoshuhao", u"打印书标--方案1--分类号/种次号", u"设计书标--方案1--分类号/种次号"},
    {u"fenlei_bianhao", u"打印书标--方案2--分类号/种次号/书籍编号_A",
     u"设计书标--方案2--分类号/种次号/书籍编号_A"},
    {u"fenlei_bianhao_b", u"打印书标--方案2--分类号/种次号/书籍编号_B",
     u"设计书标--方案2--分类号/种次号/书籍编号_B"},
    {u"fenlei_name", u"打印书标--方案3--分类号/种次号/书籍名称",
     u"设计书标--方案3--分类号/种次号/书籍名称"},
    {u"fenlei_zdy", u"自定义书标方案", u"设计自定义书标方案"},
};

} // namespace

CatalogueWindowSpec BookWindow::bookSpec() {
    CatalogueWindowSpec s;
    s.title = QStringLiteral("书籍资料管理");
    s.catalogue = CatalogueTable::books();
    s.classes = ClassScheme::books();
    s.allClassesText = QStringLiteral("全部图书");
    s.rowNumbers = true;
    s.columns = {
        col(u"选中", nullptr, 40),
        col(u"在馆状态", nullptr, 60),
        col(u"书籍编号", nullptr, 90, FooterKind::Label),
        col(u"书籍名称", nullptr, 180, FooterKind::Count),
        col(u"当前本数", u"卷册号", 60),
        col(u"标准ISBN", nullptr, 110),
        col(u"作者信息", nullptr, 110),
        col(u"中图分类", u"分类号", 70),
        col(u"分类名称", nullptr, 90),
        col(u"种次号", nullptr, 50),
        col(u"索书号", nullptr, 80),
        col(u"书籍价格", nullptr, 80, FooterKind::Sum, true, ColumnLook::Money),
        col(u"藏书总量", nullptr, 60, FooterKind::Sum),
        col(u"馆内剩余", nullptr, 60, FooterKind::Sum),
        col(u"出版社名", nullptr, 120),
        col(u"出版地点", nullptr, 60),
        col(u"出版日期", nullptr, 70),
        col(u"书籍页码", nullptr, 60),
        col(u"密级", nullptr, 50),
        col(u"馆藏地", nullptr, 70),
        col(u"存放位置", nullptr, 70),
        col(u"书籍开本", nullptr, 60),
        col(u"所属语种", nullptr, 60),
        col(u"配送物品", nullptr, 60),
        col(u"书籍版次", nullptr, 60),
        col(u"所属丛书", nullptr, 90),
        col(u"印刷版面", nullptr, 60),
        col(u"借出次数", nullptr, 60),
        col(u"入库时间", nullptr, 80),
        col(u"备注信息", nullptr, 100),
        col(u"内容简介", nullptr, 100, FooterKind::None, false),
    };
    s.searchFields = {{QStringLiteral("按书籍编号"), QStringLiteral("书籍编号")},
                      {QStringLiteral("按书名拼音"), QStringLiteral("拼音")},
                      {QStringLiteral("按书籍名称"), QStringLiteral("书籍名称")},
                      {QStringLiteral("按ISBN"), QStringLiteral("标准ISBN")}};
    s.defaultSearchField = 3;
    s.reducedColumns = QStringLiteral(
        "[书籍编号],[书籍名称],[标准ISBN],[作者信息],[书籍价格],[中图分类],[当前本数],[分类名称],"
        "[出版社名],[出版地点],[出版日期],[书籍页码],[藏书总量],[馆内剩余],[存放位置],[书籍开本],"
        "[所属语种],[配送物品],[书籍版次],[所属丛书],[印刷版面],[入库时间],[备注信息],[在馆状态],"
        "[书籍流水],[借出次数],[内容简介],[图片],[密级],[索书号],[种次号],[拼音],[选中],[馆藏地],["
        "ID]");
    s.layoutName = QStringLiteral("book");
    s.reportTitle = QStringLiteral("书籍资料报表");
    s.addCaption = QStringLiteral("添加新书");
    s.changeCaption = QStringLiteral("修改资料");
    s.deleteCaption = QStringLiteral("删除书籍");
    return s;
}

BookWindow::BookWindow(Database& db, const Home& home, QWidget* parent)
    : CatalogueWindow(db, home, bookSpec(), parent) {
    markingMenu()->addAction(QStringLiteral("【批量获取书籍名称拼音简码】"), this,
                             [this] { repairPinyin(); });
    markingMenu()->addAction(QStringLiteral("【批量修改ISBN为标准13位】"), this,
                             [this] { repairIsbns(); });

    // Label printing and design, before "报表打印".
    QPushButton* print = addCommandButton(QStringLiteral("打印条码"));
    QPushButton* design = addCommandButton(QStringLiteral("条码设计"));
    arrangeToolButtons();
    auto* printMenu = new QMenu(print);
    auto* designMenu = new QMenu(design);
    for (const LabelTemplate& t : kLabels) {
        const QString name = QString::fromUtf16(t.name);
        printMenu->addAction(QString::fromUtf16(t.print), this,
                             [this, name] { printLabels(name); });
        designMenu->addAction(QString::fromUtf16(t.design), this,
                              [this, name] { designLabels(name); });
    }
    print->setMenu(printMenu);
    design->setMenu(designMenu);

    // Right panel: the cover and the two detail tabs.
    auto* right = static_cast<QVBoxLayout*>(rightPanel()->layout());
    right->setContentsMargins(0, 0, 0, 0);
    m_cover = new QLabel(rightPanel());
    m_cover->setFixedSize(150, 200);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->setFrameShape(QFrame::StyledPanel);
    right->addWidget(m_cover, 0, Qt::AlignHCenter);
    m_tabs = new QTabWidget(rightPanel());
    m_borrowers = new DataGrid(db, m_tabs);
    m_borrowers->setColumns({col(u"读者编号"), col(u"读者姓名"), col(u"读者类型"), col(u"借阅日期"),
                             col(u"应还日期"), col(u"书籍价格"), col(u"作者信息"), col(u"分类名称"),
                             col(u"出版社名"), col(u"出版日期"), col(u"书籍页码"), col(u"操作员")});
    m_history = new DataGrid(db, m_tabs);
    m_history->setColumns({col(u"读者编号"), col(u"读者姓名"), col(u"读者类型"), col(u"书籍编号"),
                           col(u"书籍名称"), col(u"中图分类"), col(u"借阅日期"), col(u"归还日期"),
                           col(u"书籍价格"), col(u"作者信息"), col(u"分类名称"), col(u"出版社名"),
                           col(u"出版日期"), col(u"书籍页码"), col(u"超期天数"), col(u"罚款金额"),
                           col(u"操作员")});
    m_tabs->addTab(m_borrowers, QStringLiteral("借阅人信息"));
    m_tabs->addTab(m_history, QStringLiteral("借阅历史"));
    right->addWidget(m_tabs, 1);

    // Grid pop-up.
    m_popup = new QMenu(this);
    m_popup->setToolTipsVisible(true);
    m_popup->addAction(QStringLiteral("查看图片"), this, &BookWindow::showCoverEnlarged);
    m_popup->addAction(QStringLiteral("查询借阅者"), this, &BookWindow::showBorrowers);
    m_popup->addAction(QStringLiteral("查询历史借阅记录"), this, &BookWindow::showReturns);
    QAction* statistics = m_popup->addAction(QStringLiteral("统计汇总"));
    statistics->setEnabled(false);
    statistics->setToolTip(QStringLiteral("书籍统计尚未提供"));
    grid()->view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid()->view(), &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        m_popup->popup(grid()->view()->viewport()->mapToGlobal(p));
    });
}

void BookWindow::showEvent(QShowEvent* event) {
    m_session =
        std::make_unique<BookEditSession>(db(), settings().oneToOne, settings().kindCondition);
    delete m_editor;
    m_editor = nullptr;
    m_editorSettings.kindCondition = settings().kindCondition;
    CatalogueWindow::showEvent(event);
}

BookEditor* BookWindow::editor() {
    if (!m_session)
        m_session =
            std::make_unique<BookEditSession>(db(), settings().oneToOne, settings().kindCondition);
    if (!m_editor) {
        m_editor = new BookEditor(db(), home(), *m_session, m_editorSettings, this);
        m_editor->setNumberSettingsOpener(m_openNumberSettings);
    }
    return m_editor;
}

void BookWindow::openEditor(const QString& title) {
    BookEditor* e = editor();
    e->setWindowTitle(title);
    e->exec();
}

void BookWindow::addRecord() {
    editor();
    m_session->beginInsert();
    openEditor(BookEditor::addTitle());
    if (m_session->saved())
        list(condition());
}

void BookWindow::changeRecord() {
    const qint64 id = currentId();
    if (id == 0)
        return;
    editor();
    try {
        if (!m_session->beginEdit(id))
            return;
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    openEditor(BookEditor::changeTitle());
    if (m_session->saved())
        refreshPage();
}

void BookWindow::currentRowChanged(qint64 id) {
    if (!settings().fullMode)
        return;
    m_cover->clear();
    if (id == 0) {
        m_borrowers->load({QStringLiteral("select * from [书籍借阅清单] where 1=0"), {}, {}});
        m_history->load({QStringLiteral("select * from [书籍归还清单] where 1=0"), {}, {}});
        return;
    }
    try {
        const QByteArray jpeg =
            db().scalar(QStringLiteral("select [bookimage] from [书籍资料] where [ID]=?"), {id})
                .toByteArray();
        QPixmap pixmap;
        if (!jpeg.isEmpty() && pixmap.loadFromData(jpeg))
            m_cover->setPixmap(
                pixmap.scaled(m_cover->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } catch (const DatabaseError&) {
    }
    m_borrowers->load(
        {QStringLiteral("select [读者资料].[读者编号],[读者资料].[读者姓名],[读者资料].[读者类型],"
                        "[书籍借阅清单].[借阅日期],[书籍借阅清单].[应还日期],[书籍资料].[书籍价格],"
                        "[书籍资料].[作者信息],[书籍资料].[分类名称],[书籍资料].[出版社名],"
                        "[书籍资料].[出版日期],[书籍资料].[书籍页码],[书籍借阅清单].[操作员] from "
                        "[书籍资料],[读者资料],[书籍借阅清单] where "
                        "[书籍资料].[ID]=[书籍借阅清单].[书籍索引] and "
                        "[读者资料].[读者编号]=[书籍借阅清单].[读者索引] and [书籍资料].[ID]=?"),
         {id},
         {}});
    m_history->load(
        {QStringLiteral("select [读者资料].[读者编号],[读者资料].[读者姓名],[读者资料].[读者类型],"
                        "[书籍资料].[书籍编号],[书籍资料].[书籍名称],[书籍资料].[中图分类],"
                        "[书籍归还清单].[借阅日期],[书籍归还清单].[归还日期],[书籍资料].[书籍价格],"
                        "[书籍资料].[作者信息],[书籍资料].[分类名称],[书籍资料].[出版社名],"
                        "[书籍资料].[出版日期],[书籍资料].[书籍页码],[书籍归还清单].[超期天数],"
                        "[书籍归还清单].[罚款金额],[书籍归还清单].[操作员] from "
                        "[书籍资料],[读者资料],[书籍归还清单] where "
                        "[书籍资料].[ID]=[书籍归还清单].[书籍索引] and "
                        "[读者资料].[读者编号]=[书籍归还清单].[读者索引] and [书籍资料].[ID]=?"),
         {id},
         QStringLiteral("[读者编号]")});
}

bool BookWindow::showHistoryOf(HistoryKind kind, const QString& bookNumber) {
    HistoryWindow::showFor(this, db(), home(), kind, HistoryWindow::SearchBy::Item, bookNumber);
    return true;
}

std::optional<QVariantMap> BookWindow::currentBook(const QString& columns) {
    const qint64 id = currentId();
    if (id == 0)
        return std::nullopt;
    try {
        if (const auto row = db().row(
                QStringLiteral("select %1 from [书籍资料] where [ID]=?").arg(columns), {id}))
            return recordMap(*row);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    return std::nullopt;
}

bool BookWindow::showBorrowers() {
    const auto book = currentBook(QStringLiteral("[书籍编号],[在馆状态],[藏书总量],[馆内剩余]"));
    if (!book)
        return false;
    // With several copies to a row, 在馆状态 stays "在馆" while copies are out: the shelf
    // count tells, as for the deletion.
    if (!isBookOut(*book, settings().oneToOne)) {
        showNotice(this, QStringLiteral("此书正在馆内！"));
        return false;
    }
    return showHistoryOf(HistoryKind::BookLoans,
                         book->value(QStringLiteral("书籍编号")).toString());
}

bool BookWindow::showReturns() {
    const auto book = currentBook(QStringLiteral("[书籍编号]"));
    return book && showHistoryOf(HistoryKind::BookReturns,
                                 book->value(QStringLiteral("书籍编号")).toString());
}

void BookWindow::showCoverEnlarged() {
    const auto book = currentBook(QStringLiteral("[bookimage]"));
    if (!book)
        return;
    const QByteArray jpeg = book->value(QStringLiteral("bookimage")).toByteArray();
    QPixmap pixmap;
    if (jpeg.isEmpty() || !pixmap.loadFromData(jpeg))
        return;
    QDialog view(this, Qt::WindowStaysOnTopHint);
    view.setWindowTitle(QStringLiteral("放大"));
    auto* label = new QLabel(&view);
    label->setPixmap(pixmap);
    label->setScaledContents(true);
    auto* layout = new QVBoxLayout(&view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    view.exec();
}

bool BookWindow::repairPinyin(bool ask) {
    return runRepair(ask ? QStringLiteral("是否确定执行【批量获取书籍名称拼音简码】？") : QString(),
                     cangshu::repairPinyin);
}

bool BookWindow::repairIsbns(bool ask) {
    return runRepair(ask ? QStringLiteral("是否确定执行【批量修改ISBN为13位】？") : QString(),
                     cangshu::repairIsbns);
}

bool BookWindow::runRepair(const QString& question,
                           const std::function<int(Database&, ProgressSink&)>& repair) {
    if (!question.isEmpty() && !askYesNo(this, question, QStringLiteral("提示")))
        return false;
    ProgressWindow progress(this);
    progress.start(QStringLiteral("系统正在执行操作... 0"));
    bool ok = true;
    try {
        repair(db(), progress);
    } catch (const DatabaseError& e) {
        ok = false;
        progress.finish();
        showError(this, e.message());
    }
    progress.finish();
    refreshPage();
    return ok;
}

QList<QVariantMap> BookWindow::pageRows(const QStringList& columns) const {
    (void)columns;
    QList<QVariantMap> rows;
    const auto& ids = const_cast<BookWindow*>(this)->pager().ids();
    for (qint64 id : ids)
        if (auto r = db().row(QStringLiteral("select * from [书籍资料] where [ID]=?"), {id}))
            rows.append(recordMap(*r));
    return rows;
}

void BookWindow::printLabels(const QString& templateName) {
    report::SpineLabelRangeDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted || !dialog.isConfirmed())
        return;
    QList<QVariantMap> rows;
    try {
        rows = dialog.useRange() ? dialog.rangeRows(db()) : pageRows();
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    report::ReportPreviewWindow::showTemplate(this, home().reportFolder(), templateName, rows);
}

void BookWindow::designLabels(const QString& templateName) {
    const QString path = report::findTemplateFile(home().reportFolder(), templateName);
    report::ReportDesigner designer(this);
    QString error;
    if (path.isEmpty() || !designer.openTemplate(path, &error)) {
        showNotice(this, error.isEmpty() ? QStringLiteral("模板文件不存在！") : error);
        return;
    }
    try {
        designer.setRows(pageRows());
    } catch (const DatabaseError&) {
    }
    designer.exec();
}

} // namespace cangshu
