#include "ReaderStatusWindow.h"

#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cangshu {

ReaderStatusWindow::ReaderStatusWindow(Database& db, StatusWindowKind kind, QWidget* parent)
    : QDialog(parent), m_db(db), m_kind(kind), m_number(new QLineEdit(this)),
      m_name(new QLineEdit(this)), m_type(new QLineEdit(this)) {
    const char16_t* titles[] = {u"读者挂失", u"读者注销", u"读者退卡"};
    const char16_t* actions[] = {u"确定(&E)", u"注销(&E)", u"退卡(&E)"};
    setWindowTitle(QString::fromUtf16(titles[int(kind)]));

    m_name->setReadOnly(true);
    m_type->setReadOnly(true);
    auto* find = new QPushButton(QStringLiteral("查询"), this);
    find->setAutoDefault(false);
    auto* pick = new QPushButton(QStringLiteral("…"), this);
    pick->setToolTip(QStringLiteral("选择读者"));
    pick->setAutoDefault(false);
    pick->setMaximumWidth(32);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(pick);
    numberRow->addWidget(find);

    auto* group = new QGroupBox(QStringLiteral("读者信息"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("读者编号："), numberRow);
    form->addRow(QStringLiteral("读者姓名："), m_name);
    form->addRow(QStringLiteral("读者类型："), m_type);
    if (kind == StatusWindowKind::Refund) {
        m_deposit = new QLineEdit(this);
        m_deposit->setReadOnly(true);
        form->addRow(QStringLiteral("退还押金："), m_deposit);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    if (kind == StatusWindowKind::Loss) {
        m_lose = new QRadioButton(QStringLiteral("挂失"), this);
        m_found = new QRadioButton(QStringLiteral("解挂"), this);
        m_lose->setChecked(true);
        auto* options = new QHBoxLayout;
        options->addWidget(m_lose);
        options->addWidget(m_found);
        options->addStretch();
        layout->addLayout(options);
    }
    m_action = new QPushButton(QString::fromUtf16(actions[int(kind)]), this);
    auto* close = new QPushButton(QStringLiteral("关闭(&C)"), this);
    m_action->setAutoDefault(false);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_action);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, &ReaderStatusWindow::lookUp);
    connect(pick, &QPushButton::clicked, this, [this] {
        if (const auto number = PickList::pick(m_db, readerPickList(), m_number)) {
            m_number->setText(*number);
            lookUp();
        }
    });
    connect(m_number, &QLineEdit::returnPressed, this, &ReaderStatusWindow::lookUp);
    // What is shown must belong to the number in the field: editing it asks for a new lookup.
    connect(m_number, &QLineEdit::textEdited, this, [this] {
        m_name->clear();
        m_type->clear();
        if (m_deposit)
            m_deposit->clear();
    });
    connect(m_action, &QPushButton::clicked, this, &ReaderStatusWindow::act);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(380);
}

void ReaderStatusWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QLineEdit* f : {m_number, m_name, m_type, m_deposit})
        if (f)
            f->clear();
    m_number->setFocus();
}

bool ReaderStatusWindow::lookUp() {
    ReaderCheck check;
    try {
        check = lookupReaderForStatus(m_db, m_number->text());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!check.passed()) {
        showNotice(this, check.outcome.message);
        m_number->selectAll();
        m_number->setFocus();
        return false;
    }
    m_number->setText(check.reader->number);
    m_name->setText(check.reader->name);
    m_type->setText(check.reader->type);
    if (m_deposit)
        m_deposit->setText(check.reader->deposit.toString());
    return true;
}

StatusOperation ReaderStatusWindow::operation() const {
    switch (m_kind) {
    case StatusWindowKind::Loss:
        return m_found->isChecked() ? StatusOperation::Found : StatusOperation::Lose;
    case StatusWindowKind::Cancel:
        return StatusOperation::Cancel;
    case StatusWindowKind::Refund:
        break;
    }
    return StatusOperation::Refund;
}

QString ReaderStatusWindow::confirmation(const QString& number, const QString& name) const {
    switch (m_kind) {
    case StatusWindowKind::Loss:
        return QStringLiteral(
                   "您选择的操作为：[%1],当前读者：卡号为%2,姓名为%3,是否确定操作？[Y/N]")
            .arg(m_found->isChecked() ? QStringLiteral("解挂") : QStringLiteral("挂失"), number,
                 name);
    case StatusWindowKind::Cancel:
        return QStringLiteral("是否确定注销当前读者：卡号为%1,姓名为%2？[Y/N]").arg(number, name);
    case StatusWindowKind::Refund:
        break;
    }
    return QStringLiteral(
               "是否确定当前读者退卡：卡号为%1,姓名为%2,退卡后将删除此读者资料，是否确定？[Y/N]")
        .arg(number, name);
}

bool ReaderStatusWindow::act() {
    if (m_number->text().trimmed().isEmpty() || m_name->text().isEmpty() ||
        m_type->text().isEmpty()) {
        showNotice(this, QStringLiteral("请先输入读者编号！"));
        m_number->setFocus();
        return false;
    }
    if (!askYesNo(this, confirmation(m_number->text(), m_name->text())))
        return false;
    Outcome o;
    try {
        o = applyStatusOperation(m_db, operation(), m_number->text(), m_name->text(),
                                 m_type->text());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!o.ok) {
        showNotice(this, o.message);
        m_number->setFocus();
        return false;
    }
    showSuccess(this, o.message);
    accept();
    return true;
}

} // namespace cangshu
