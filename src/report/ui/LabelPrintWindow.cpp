#include "LabelPrintWindow.h"

#include "ReportDesigner.h"
#include "ReportPreviewWidget.h"
#include "catalogue/ClassTree.h"
#include "report/PrintJob.h"
#include "report/TemplateFiles.h"
#include "widgets/ConditionBuilder.h"
#include "widgets/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cangshu::report {

namespace {

constexpr int kGroupRole = Qt::UserRole + 1;

void addClassItems(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<ClassNode>& nodes) {
    for (const ClassNode& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.text());
        item->setData(0, kGroupRole, node.number);
        addClassItems(item, tree, node.children);
    }
}

} // namespace

LabelPrintSpec LabelPrintSpec::books() {
    return {
        QStringLiteral("书籍条码书标打印"),
        LabelTable::books(),
        false,
        {{QStringLiteral("预览书籍条形码"), QStringLiteral("bookCode")},
         {QStringLiteral("预览书标方案1--分类号/种次号"), QStringLiteral("suoshuhao")},
         {QStringLiteral("预览书标方案2--分类号/种次号/书籍编号"),
          QStringLiteral("fenlei_bianhao")},
         {QStringLiteral("预览书标方案3--分类号/种次号/书籍名称"), QStringLiteral("fenlei_name")},
         {QStringLiteral("预览书标自定义方案"), QStringLiteral("fenlei_zdy")}}};
}

LabelPrintSpec LabelPrintSpec::periodicals() {
    return {QStringLiteral("打印期刊条形码"),
            LabelTable::periodicals(),
            false,
            {{QStringLiteral("预览期刊条形码"), QStringLiteral("qikanCode")}}};
}

LabelPrintSpec LabelPrintSpec::readers() {
    return {QStringLiteral("打印读者条形码、读者借阅证"),
            LabelTable::readers(),
            true,
            {{QStringLiteral("预览读者条形码"), QStringLiteral("readerCode")},
             {QStringLiteral("预览读者借阅证"), QStringLiteral("reader")}}};
}

LabelPrintWindow::LabelPrintWindow(Database& db, const Home& home, LabelPrintSpec definition,
                                   QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_spec(std::move(definition)),
      m_tree(new QTreeWidget(this)), m_choice(new QComboBox(this)),
      m_preview(new ReportPreviewWidget(this)) {
    setWindowTitle(m_spec.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_tree->setHeaderLabel(m_spec.readerTypeTree ? QStringLiteral("读者类型")
                                                 : QStringLiteral("分类"));
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showGroup(item); });
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showGroup(item); });

    for (const auto& [caption, name] : m_spec.templates)
        m_choice->addItem(caption, name);
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this] { refreshPreview(); });
    auto* choiceRow = new QHBoxLayout;
    auto* choiceLabel = new QLabel(QStringLiteral("打印模板："), this);
    choiceLabel->setBuddy(m_choice);
    choiceRow->addWidget(choiceLabel);
    choiceRow->addWidget(m_choice);
    choiceRow->addStretch();
    const bool oneChoice = m_spec.templates.size() < 2;
    choiceLabel->setVisible(!oneChoice);
    m_choice->setVisible(!oneChoice);

    // The preview's own close button closes the window as "退出操作" does.
    connect(m_preview, &ReportPreviewWidget::closeRequested, this, &QDialog::reject);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(choiceRow);
    rightLayout->addWidget(m_preview, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 860});

    auto* buttons = new QHBoxLayout;
    connect(addButton(QStringLiteral("高级查询")), &QPushButton::clicked, this,
            &LabelPrintWindow::advancedQuery);
    connect(addButton(QStringLiteral("显示全部")), &QPushButton::clicked, this,
            &LabelPrintWindow::showAll);
    connect(addButton(QStringLiteral("开始打印")), &QPushButton::clicked, this,
            &LabelPrintWindow::startPrinting);
    connect(addButton(QStringLiteral("打印设计")), &QPushButton::clicked, this,
            &LabelPrintWindow::design);
    connect(addButton(QStringLiteral("退出操作")), &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    for (QPushButton* b : m_buttons)
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(1100, 680);
}

QPushButton* LabelPrintWindow::addButton(const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    m_buttons.append(b);
    return b;
}

QPushButton* LabelPrintWindow::button(const QString& caption) const {
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

QString LabelPrintWindow::templateName() const {
    return m_choice->currentData().toString();
}

void LabelPrintWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    reloadTree();
    m_preview->fitToWidth();
    showAll();
}

void LabelPrintWindow::reloadTree() {
    m_tree->clear();
    try {
        if (m_spec.readerTypeTree) {
            for (const QString& name : readerTypeNames(m_db)) {
                auto* item = new QTreeWidgetItem(m_tree, {name});
                item->setData(0, kGroupRole, name);
            }
        } else {
            addClassItems(nullptr, m_tree,
                          loadClassTreeForDisplay(m_db, m_home, ClassScheme::books()));
        }
    } catch (const DatabaseError&) {
        // Without the class table the window still prints the whole list.
    }
    m_tree->expandAll();
}

template <typename F> bool LabelPrintWindow::list(F&& fetch) {
    try {
        m_rows = fetch();
    } catch (const DatabaseError& e) {
        showNotice(this, e.message());
        return false;
    }
    refreshPreview();
    return true;
}

bool LabelPrintWindow::showAll() {
    return list([this] { return labelRowsAll(m_db, m_spec.table); });
}

bool LabelPrintWindow::showGroup(QTreeWidgetItem* item) {
    if (!item)
        return false;
    const QString group = item->data(0, kGroupRole).toString();
    return list([&] { return labelRowsOfGroup(m_db, m_spec.table, group); });
}

void LabelPrintWindow::advancedQuery() {
    ConditionBuilder builder(m_db, m_spec.table.table, this);
    if (builder.exec() != QDialog::Accepted || !builder.isConfirmed())
        return;
    listWhere(builder.condition(), builder.sortTerms());
}

bool LabelPrintWindow::listWhere(const QString& condition, const QStringList& sortTerms) {
    return list([&] { return labelRowsWhere(m_db, m_spec.table, condition, sortTerms); });
}

bool LabelPrintWindow::refreshPreview() {
    const LoadedTemplate loaded = loadTemplate(m_home.reportFolder(), templateName());
    if (!loaded) {
        m_preview->clear();
        showNotice(this, loaded.error);
        return false;
    }
    m_preview->setReport(*loaded.tpl, dataForTemplate(templateName(), m_rows));
    return true;
}

void LabelPrintWindow::startPrinting() {
    if (!refreshPreview() || m_preview->pageCount() == 0)
        return;
    if (QAction* print = m_preview->action(QStringLiteral("打印")))
        print->trigger();
}

void LabelPrintWindow::design() {
    ReportDesigner::design(this, m_home.reportFolder(), templateName(), m_rows);
    refreshPreview();
}

} // namespace cangshu::report
