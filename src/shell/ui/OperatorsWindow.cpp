#include "OperatorsWindow.h"

#include "widgets/Messages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

OperatorsWindow::OperatorsWindow(Database& db, QWidget* parent) : QDialog(parent), m_db(db) {
    setWindowTitle(QStringLiteral("管理员设置"));

    m_list = new QListWidget(this);
    m_list->setMinimumWidth(180);
    m_list->setAlternatingRowColors(true);

    auto* operatorGroup = new QGroupBox(QStringLiteral("管理员"), this);
    m_name = new QLineEdit(operatorGroup);
    m_password = new QLineEdit(operatorGroup);
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(operatorGroup);
    form->addRow(QStringLiteral("用户名："), m_name);
    form->addRow(QStringLiteral("密码："), m_password);

    auto* rightsGroup = new QGroupBox(QStringLiteral("权限"), this);
    auto* grid = new QGridLayout(rightsGroup);
    const QString captions[] = {QStringLiteral("系统设置"), QStringLiteral("基本操作"),
                                QStringLiteral("系统管理"), QStringLiteral("系统查询"),
                                QStringLiteral("统计分析"), QStringLiteral("报表打印")};
    for (int i = 0; i < 6; ++i) {
        m_rights[i] = new QCheckBox(captions[i], rightsGroup);
        grid->addWidget(m_rights[i], i / 2, i % 2);
    }

    const QString buttonTexts[] = {
        QStringLiteral("增加管理员(&A)"), QStringLiteral("修改管理员(&E)"),
        QStringLiteral("删除管理员(&D)"), QStringLiteral("退出当前操作(&Q)"),
        QStringLiteral("保存管理员(&B)"), QStringLiteral("取消管理员(&Q)")};
    auto* browseRow = new QHBoxLayout;
    auto* editRow = new QHBoxLayout;
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(buttonTexts[i], this);
        b->setAutoDefault(false);
        (i < 4 ? browseRow : editRow)->addWidget(b);
        m_buttons << b;
    }
    editRow->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(operatorGroup);
    right->addWidget(rightsGroup);
    right->addLayout(editRow);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_list);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(browseRow);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (!m_editing)
            showCurrent();
    });
    connect(button(Button::Add), &QPushButton::clicked, this, &OperatorsWindow::addOperator);
    connect(button(Button::Edit), &QPushButton::clicked, this, &OperatorsWindow::editOperator);
    connect(button(Button::Delete), &QPushButton::clicked, this, &OperatorsWindow::deleteOperator);
    connect(button(Button::Quit), &QPushButton::clicked, this, &QDialog::reject);
    connect(button(Button::Save), &QPushButton::clicked, this, &OperatorsWindow::saveOperator);
    connect(button(Button::Cancel), &QPushButton::clicked, this, &OperatorsWindow::cancelEdit);
    setEditing(false);
}

QPushButton* OperatorsWindow::button(Button b) const {
    return m_buttons[static_cast<int>(b)];
}

void OperatorsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reload();
    setEditing(false);
}

void OperatorsWindow::reload() {
    const int row = qMax(0, m_list->currentRow());
    try {
        m_rows = listOperators(m_db);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        m_rows.clear();
    }
    m_list->blockSignals(true);
    m_list->clear();
    for (const OperatorRow& r : m_rows)
        m_list->addItem(r.name);
    m_list->blockSignals(false);
    if (!m_rows.isEmpty())
        m_list->setCurrentRow(qMin(row, int(m_rows.size()) - 1));
    showCurrent();
}

void OperatorsWindow::showCurrent() {
    const int row = m_list->currentRow();
    const OperatorRow r = row >= 0 && row < m_rows.size() ? m_rows[row] : OperatorRow{};
    m_name->setText(r.name);
    m_password->setText(r.storedPassword);
    const bool values[] = {r.rights.systemSettings, r.rights.basicOperations, r.rights.management,
                           r.rights.queries,        r.rights.statistics,      r.rights.printing};
    for (int i = 0; i < 6; ++i)
        m_rights[i]->setChecked(values[i]);
}

Rights OperatorsWindow::rightsFromBoxes() const {
    Rights r;
    r.systemSettings = m_rights[0]->isChecked();
    r.basicOperations = m_rights[1]->isChecked();
    r.management = m_rights[2]->isChecked();
    r.queries = m_rights[3]->isChecked();
    r.statistics = m_rights[4]->isChecked();
    r.printing = m_rights[5]->isChecked();
    return r;
}

void OperatorsWindow::setEditing(bool editing) {
    m_editing = editing;
    m_name->setEnabled(editing);
    m_password->setEnabled(editing);
    for (QCheckBox* c : m_rights)
        c->setEnabled(editing);
    button(Button::Save)->setEnabled(editing);
    button(Button::Cancel)->setEnabled(editing);
    for (Button b : {Button::Add, Button::Edit, Button::Delete})
        this->button(b)->setEnabled(!editing);
    m_list->setEnabled(!editing);
}

void OperatorsWindow::addOperator() {
    m_original.clear();
    m_name->clear();
    m_password->clear();
    for (QCheckBox* c : m_rights)
        c->setChecked(false);
    setEditing(true);
    m_name->setFocus();
}

void OperatorsWindow::editOperator() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_rows.size())
        return;
    m_original = m_rows[row].name;
    setEditing(true);
    m_name->setFocus();
}

void OperatorsWindow::saveOperator() {
    Outcome o;
    try {
        o = cangshu::saveOperator(m_db, m_original, m_name->text(), m_password->text(),
                                  rightsFromBoxes());
    } catch (const DatabaseError& e) {
        showError(this, e.message()); // the row stays in Edit
        return;
    }
    if (!o.ok) {
        showNotice(this, o.message);
        (o.focus == QLatin1String("password") ? m_password : m_name)->setFocus();
        return;
    }
    const QString saved = m_name->text();
    showSuccess(this, o.message);
    setEditing(false);
    reload();
    const auto found = m_list->findItems(saved, Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.first());
}

void OperatorsWindow::cancelEdit() {
    setEditing(false);
    showCurrent();
}

void OperatorsWindow::deleteOperator() {
    const int row = m_list->currentRow();
    // The last operator is never deleted, and nobody is asked about it.
    if (row < 0 || m_rows.size() <= 1)
        return;
    if (!askYesNo(this, QStringLiteral("是否确定删除当前管理员？")))
        return;
    try {
        cangshu::deleteOperator(m_db, m_rows[row].name);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    reload();
}

} // namespace cangshu
