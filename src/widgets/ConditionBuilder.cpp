#include "ConditionBuilder.h"

#include "Messages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace cangshu {

ConditionBuilder::ConditionBuilder(Database& db, const QString& tableList, QWidget* parent)
    : QDialog(parent), m_db(db), m_tables(tableList) {
    setWindowTitle(QStringLiteral("查询"));
    m_columns = builderColumns(db, tableList);

    m_column = new QComboBox(this);
    m_column->addItems(m_columns.names);
    m_column->setCurrentIndex(-1);
    m_comparison = new QComboBox(this);
    m_valueStack = new QStackedWidget(this);
    auto* textPage = new QWidget(this);
    m_text = new QLineEdit(textPage);
    m_valueListButton = new QToolButton(textPage);
    m_valueListButton->setText(QStringLiteral("…"));
    m_valueListButton->setToolTip(QStringLiteral("选择列值"));
    auto* textRow = new QHBoxLayout(textPage);
    textRow->setContentsMargins(0, 0, 0, 0);
    textRow->setSpacing(2);
    textRow->addWidget(m_text, 1);
    textRow->addWidget(m_valueListButton);
    m_number = new QLineEdit(this);
    m_number->setValidator(new QDoubleValidator(m_number));
    m_date = new QDateEdit(db.today(), this);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_valueStack->addWidget(textPage);
    m_valueStack->addWidget(m_number);
    m_valueStack->addWidget(m_date);
    m_relation = new QComboBox(this);
    m_relation->addItems({kAnd, kOr});
    auto* add = new QPushButton(QStringLiteral("＋添加条件(&A)"), this);

    auto* termLine = new QGridLayout;
    const QStringList captions{QStringLiteral("查询字段"), QStringLiteral("比较符"),
                               QStringLiteral("值"), QStringLiteral("关系")};
    for (int i = 0; i < captions.size(); ++i)
        termLine->addWidget(new QLabel(captions.at(i), this), 0, i);
    termLine->addWidget(m_column, 1, 0);
    termLine->addWidget(m_comparison, 1, 1);
    termLine->addWidget(m_valueStack, 1, 2);
    termLine->addWidget(m_relation, 1, 3);
    termLine->addWidget(add, 1, 4);
    termLine->setColumnStretch(0, 2);
    termLine->setColumnStretch(2, 3);

    m_terms = new QTableWidget(0, 5, this);
    m_terms->setHorizontalHeaderLabels(
        {captions.at(0), captions.at(1), captions.at(2), captions.at(3), QString()});
    m_terms->setColumnHidden(4, true);
    m_terms->setToolTip(QStringLiteral("双击删除选中的行"));
    m_terms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_terms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_terms->verticalHeader()->hide();
    m_terms->horizontalHeader()->setStretchLastSection(true);

    m_conditionText = new QPlainTextEdit(this);
    m_conditionText->setMaximumHeight(90);

    m_sortColumn = new QComboBox(this);
    m_sortColumn->addItems(m_columns.names);
    m_sortColumn->setCurrentIndex(-1);
    m_sortDirection = new QComboBox(this);
    m_sortDirection->addItems({QStringLiteral("升序"), QStringLiteral("降序")});
    auto* addSortButton = new QPushButton(QStringLiteral("添加排序(&P)"), this);
    auto* clearSortButton = new QPushButton(QStringLiteral("删除排序(&O)"), this);
    m_sortList = new QListWidget(this);
    m_sortList->setMaximumHeight(70);
    auto* sortLine = new QHBoxLayout;
    sortLine->addWidget(new QLabel(QStringLiteral("排序字段"), this));
    sortLine->addWidget(m_sortColumn, 2);
    sortLine->addWidget(new QLabel(QStringLiteral("排序方法"), this));
    sortLine->addWidget(m_sortDirection, 1);
    sortLine->addWidget(addSortButton);
    sortLine->addWidget(clearSortButton);

    auto tool = [this](QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(24, 24));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    auto* ok = tool(QStyle::SP_DialogApplyButton, QStringLiteral("确定"));
    auto* cancel = tool(QStyle::SP_DialogCancelButton, QStringLiteral("取消"));
    auto* save = tool(QStyle::SP_DialogSaveButton, QStringLiteral("保存查询条件"));
    auto* open = tool(QStyle::SP_DialogOpenButton, QStringLiteral("打开查询条件"));
    auto* bottom = new QHBoxLayout;
    for (auto* b : {ok, cancel, save, open})
        bottom->addWidget(b);
    bottom->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(termLine);
    layout->addWidget(m_terms, 1);
    layout->addWidget(new QLabel(QStringLiteral("查询条件"), this));
    layout->addWidget(m_conditionText);
    layout->addLayout(sortLine);
    layout->addWidget(m_sortList);
    layout->addLayout(bottom);

    connect(m_column, &QComboBox::currentTextChanged, this, &ConditionBuilder::chooseColumn);
    connect(m_comparison, qOverload<int>(&QComboBox::activated), this,
            [this] { m_valueStack->currentWidget()->setFocus(); });
    connect(add, &QPushButton::clicked, this, &ConditionBuilder::addTerm);
    connect(m_terms, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { removeTerm(row); });
    connect(addSortButton, &QPushButton::clicked, this, &ConditionBuilder::addSort);
    connect(clearSortButton, &QPushButton::clicked, this, &ConditionBuilder::clearSort);
    connect(m_valueListButton, &QToolButton::clicked, this, &ConditionBuilder::pickValue);
    connect(ok, &QToolButton::clicked, this, &ConditionBuilder::confirm);
    connect(cancel, &QToolButton::clicked, this, [this] {
        m_confirmed = false;
        reject();
    });
    connect(save, &QToolButton::clicked, this, [this] { saveAs(); });
    connect(open, &QToolButton::clicked, this, &ConditionBuilder::openSaved);
    resize(760, 560);
    m_column->setFocus();
}

ColumnKind ConditionBuilder::currentKind() const {
    return m_columns.kinds.value(m_column->currentText(), ColumnKind::Text);
}

void ConditionBuilder::chooseColumn(const QString& column) {
    if (m_column->currentText() != column)
        m_column->setCurrentText(column);
    const ColumnKind kind = currentKind();
    m_comparison->clear();
    m_comparison->addItems(comparisonsFor(kind));
    m_comparison->setCurrentIndex(0);
    m_valueStack->setCurrentIndex(kind == ColumnKind::Number ? 1
                                  : kind == ColumnKind::Date ? 2
                                                             : 0);
}

bool ConditionBuilder::addTerm() {
    const TermOutcome t =
        makeTerm(currentKind(), m_column->currentText(), m_comparison->currentText(),
                 currentKind() == ColumnKind::Number ? m_number->text() : m_text->text(),
                 m_date->date(), m_relation->currentText(), m_db.dialect().likeOperator());
    if (!t.ok) {
        showNotice(this, t.message);
        if (t.field == QLatin1String("column"))
            m_column->setFocus();
        else if (t.field == QLatin1String("comparison"))
            m_comparison->setFocus();
        else
            m_valueStack->currentWidget()->setFocus();
        return false;
    }
    m_termRows << t.term;
    const int row = m_terms->rowCount();
    m_terms->insertRow(row);
    const QStringList cells{t.term.column, t.term.comparison, t.term.value, t.term.relation,
                            t.term.sql};
    for (int c = 0; c < cells.size(); ++c)
        m_terms->setItem(row, c, new QTableWidgetItem(cells.at(c)));
    m_text->clear();
    m_number->clear();
    rebuildText();
    m_column->setFocus();
    return true;
}

void ConditionBuilder::removeTerm(int row) {
    if (row < 0 || row >= m_termRows.size())
        return;
    m_termRows.removeAt(row);
    m_terms->removeRow(row);
    rebuildText();
}

void ConditionBuilder::rebuildText() {
    m_conditionText->setPlainText(joinTerms(m_termRows));
}

QString ConditionBuilder::condition() const {
    return m_conditionText->toPlainText().trimmed();
}

QString ConditionBuilder::orderedCondition() const {
    return cangshu::orderedCondition(condition(), m_sortTerms);
}

bool ConditionBuilder::addSort() {
    const QString column = m_sortColumn->currentText();
    if (column.isEmpty() || !m_columns.kinds.contains(column)) {
        showNotice(this, QStringLiteral("请选择要排序的字段！"));
        m_sortColumn->setFocus();
        return false;
    }
    m_sortTerms << sortTerm(column, m_sortDirection->currentIndex() == 1);
    m_sortList->addItem(m_sortTerms.last());
    return true;
}

void ConditionBuilder::clearSort() {
    m_sortTerms.clear();
    m_sortList->clear();
}

bool ConditionBuilder::confirm() {
    if (condition().isEmpty()) {
        showNotice(this, kEmptyCondition);
        m_conditionText->setFocus();
        return false;
    }
    m_confirmed = true;
    accept();
    return true;
}

bool ConditionBuilder::saveAs(QString name) {
    if (condition().isEmpty()) {
        showNotice(this, kEmptyCondition);
        return false;
    }
    if (name.isEmpty()) {
        bool ok = false;
        name = QInputDialog::getText(this, QStringLiteral("输入"),
                                     QStringLiteral("输入要保存的条件名称：　　　　　"),
                                     QLineEdit::Normal, {}, &ok);
        if (!ok || name.isEmpty())
            return false;
    }
    try {
        const SaveOutcome s = saveCondition(m_db, m_tables, name, condition());
        if (!s.ok) {
            showNotice(this, s.message);
            return false;
        }
        showSuccess(this, s.message);
        return true;
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
}

void ConditionBuilder::openSaved() {
    SavedConditionPicker picker(m_db, m_tables, this);
    picker.exec();
    if (picker.isChosen())
        m_conditionText->setPlainText(picker.condition());
}

void ConditionBuilder::pickValue() {
    const QString column = m_column->currentText();
    if (column.isEmpty() || !m_columns.kinds.contains(column)) {
        showNotice(this, QStringLiteral("请选择查询字段！"));
        m_column->setFocus();
        return;
    }
    QStringList values;
    try {
        values = distinctValues(m_db, m_columns.owner.value(column), column);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    if (values.isEmpty())
        return;
    ValueChooser chooser(values, this);
    chooser.move(m_text->mapToGlobal(QPoint(0, m_text->height())));
    chooser.exec();
    if (chooser.isChosen())
        m_text->setText(chooser.value());
}

ValueChooser::ValueChooser(const QStringList& values, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("选择列值"));
    m_list->addItems(values);
    if (!values.isEmpty())
        m_list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    auto choose = [this] {
        m_chosen = m_list->currentItem() != nullptr;
        accept();
    };
    connect(buttons, &QDialogButtonBox::accepted, this, choose);
    connect(m_list, &QListWidget::itemDoubleClicked, this, choose);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_chosen = false;
        reject();
    });
    resize(260, 320);
}

QString ValueChooser::value() const {
    return m_list->currentItem() ? m_list->currentItem()->text() : QString();
}

SavedConditionPicker::SavedConditionPicker(Database& db, const QString& tableList, QWidget* parent)
    : QDialog(parent), m_db(db), m_tables(tableList), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("综合查询条件"));
    auto* open = new QPushButton(QStringLiteral("打开"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("条件名称"), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    connect(open, &QPushButton::clicked, this, &SavedConditionPicker::openCurrent);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &SavedConditionPicker::openCurrent);
    connect(remove, &QPushButton::clicked, this, &SavedConditionPicker::deleteCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
    resize(320, 360);
}

void SavedConditionPicker::refresh() {
    m_saved = savedConditions(m_db, m_tables);
    m_list->clear();
    for (const SavedCondition& s : m_saved)
        m_list->addItem(s.name);
    if (!m_saved.isEmpty())
        m_list->setCurrentRow(0);
}

bool SavedConditionPicker::openCurrent() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_saved.size())
        return false;
    m_chosen = true;
    m_condition = m_saved.at(row).condition;
    accept();
    return true;
}

bool SavedConditionPicker::deleteCurrent() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_saved.size())
        return false;
    if (!askYesNo(this, QStringLiteral("是否确定删除当前查询条件？"), QStringLiteral("提示")))
        return false;
    try {
        deleteSavedCondition(m_db, m_tables, m_saved.at(row).name);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    refresh();
    return true;
}

} // namespace cangshu
