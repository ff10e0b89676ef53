#include "FieldConditionWindow.h"

#include "Messages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cangshu {

FieldConditionWindow::FieldConditionWindow(const QString& caption, const QStringList& textColumns,
                                           const QStringList& numberColumns,
                                           const QStringList& dateColumns, const QDate& today,
                                           const QString& likeOperator, QWidget* parent)
    : QDialog(parent), m_like(likeOperator) {
    setWindowTitle(caption);
    auto* grid = new QGridLayout;
    auto makeLine = [&](int row, const QString& label, const QStringList& columns,
                        const QStringList& comparisons, ColumnKind kind,
                        const QString& addCaption) {
        Line l{};
        l.column = new QComboBox(this);
        l.column->setEditable(true);
        l.column->addItems(columns);
        l.column->setCurrentIndex(-1);
        l.comparison = new QComboBox(this);
        l.comparison->addItems(comparisons);
        l.comparison->setCurrentText(QStringLiteral("="));
        QWidget* valueWidget;
        if (kind == ColumnKind::Date) {
            l.date = new QDateEdit(today, this);
            l.date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            l.date->setCalendarPopup(true);
            valueWidget = l.date;
        } else {
            l.value = new QLineEdit(this);
            if (kind == ColumnKind::Number)
                l.value->setValidator(new QDoubleValidator(l.value));
            valueWidget = l.value;
        }
        l.relation = new QComboBox(this);
        l.relation->addItems({kAnd, kOr});
        auto* add = new QPushButton(addCaption, this);
        connect(add, &QPushButton::clicked, this, [this, kind] { addTerm(kind); });
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(l.column, row, 1);
        grid->addWidget(l.comparison, row, 2);
        grid->addWidget(valueWidget, row, 3);
        grid->addWidget(l.relation, row, 4);
        grid->addWidget(add, row, 5);
        return l;
    };
    const QStringList six{QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral(">"),
                          QStringLiteral(">="), QStringLiteral("<"),  QStringLiteral("<=")};
    m_text = makeLine(0, QStringLiteral("文本字段："), textColumns,
                      {QStringLiteral("="), QStringLiteral("<>"), kFuzzyMatch}, ColumnKind::Text,
                      QStringLiteral("添加条件(&A)"));
    m_number = makeLine(1, QStringLiteral("数值字段："), numberColumns, six, ColumnKind::Number,
                        QStringLiteral("添加条件(&B)"));
    m_date = makeLine(2, QStringLiteral("日期字段："), dateColumns, six, ColumnKind::Date,
                      QStringLiteral("添加条件(&C)"));
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 2);

    m_terms = new QTableWidget(0, 4, this);
    m_terms->setHorizontalHeaderLabels({QStringLiteral("查询字段"), QStringLiteral("比较符"),
                                        QStringLiteral("值"), QStringLiteral("关系")});
    m_terms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_terms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_terms->verticalHeader()->hide();
    m_terms->horizontalHeader()->setStretchLastSection(true);

    auto* removeOne = new QPushButton(QStringLiteral("删除条件(&D)"), this);
    auto* removeEvery = new QPushButton(QStringLiteral("删除全部(&F)"), this);
    auto* ok = new QPushButton(QStringLiteral("确定查询"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消返回"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(removeOne);
    buttons->addWidget(removeEvery);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_terms, 1);
    layout->addLayout(buttons);
    connect(removeOne, &QPushButton::clicked, this, &FieldConditionWindow::removeSelected);
    connect(removeEvery, &QPushButton::clicked, this, &FieldConditionWindow::removeAll);
    connect(ok, &QPushButton::clicked, this, &FieldConditionWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_confirmed = false;
        reject();
    });
    resize(720, 460);
    m_text.column->setFocus();
}

const FieldConditionWindow::Line& FieldConditionWindow::line(ColumnKind kind) const {
    return kind == ColumnKind::Number ? m_number : kind == ColumnKind::Date ? m_date : m_text;
}

bool FieldConditionWindow::addTerm(ColumnKind kind) {
    const Line& l = line(kind);
    const TermOutcome t =
        makeFieldTerm(kind, l.column->currentText(), l.comparison->currentText(),
                      l.value ? l.value->text() : QString(), l.date ? l.date->date() : QDate(),
                      l.relation->currentText(), m_like);
    if (!t.ok) {
        showNotice(this, t.message);
        if (t.field == QLatin1String("column"))
            l.column->setFocus();
        else if (t.field == QLatin1String("comparison"))
            l.comparison->setFocus();
        else if (l.value)
            l.value->setFocus();
        return false;
    }
    m_termRows << t.term;
    const int row = m_terms->rowCount();
    m_terms->insertRow(row);
    const QStringList cells{t.term.column, t.term.comparison, t.term.value, t.term.relation};
    for (int c = 0; c < cells.size(); ++c)
        m_terms->setItem(row, c, new QTableWidgetItem(cells.at(c)));
    if (kind == ColumnKind::Text) {
        l.column->setCurrentIndex(-1);
        l.value->clear();
    }
    return true;
}

void FieldConditionWindow::removeSelected() {
    const int row = m_terms->currentRow();
    if (row < 0 || row >= m_termRows.size())
        return;
    m_termRows.removeAt(row);
    m_terms->removeRow(row);
}

void FieldConditionWindow::removeAll() {
    m_termRows.clear();
    m_terms->setRowCount(0);
}

bool FieldConditionWindow::confirm() {
    if (m_termRows.isEmpty()) {
        showNotice(this, kEmptyCondition);
        return false;
    }
    m_condition = joinTerms(m_termRows);
    m_confirmed = true;
    accept();
    return true;
}

} // namespace cangshu
