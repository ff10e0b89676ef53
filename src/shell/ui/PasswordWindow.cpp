#include "PasswordWindow.h"

#include "shell/Operators.h"
#include "widgets/Messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

PasswordWindow::PasswordWindow(Database& db, QWidget* parent) : QDialog(parent), m_db(db) {
    setWindowTitle(QStringLiteral(" 管理员密码修改"));
    auto* group = new QGroupBox(QStringLiteral("基本信息"), this);
    m_user = new QLineEdit(group);
    m_user->setReadOnly(true);
    m_user->setFocusPolicy(Qt::NoFocus);
    m_old = new QLineEdit(group);
    m_new = new QLineEdit(group);
    m_confirm = new QLineEdit(group);
    for (QLineEdit* e : {m_old, m_new, m_confirm})
        e->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("旧密码："), m_old);
    form->addRow(QStringLiteral("新密码："), m_new);
    form->addRow(QStringLiteral("确  认："), m_confirm);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    ok->setDefault(true);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(ok, &QPushButton::clicked, this, &PasswordWindow::confirm);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordWindow::setOperator(const QString& name) {
    m_user->setText(name);
}

void PasswordWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QLineEdit* e : {m_old, m_new, m_confirm})
        e->clear();
    m_old->setFocus();
}

void PasswordWindow::confirm() {
    Outcome o;
    try {
        o = changePassword(m_db, m_user->text(), m_old->text(), m_new->text(), m_confirm->text());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    if (!o.ok) {
        showNotice(this, o.message);
        QLineEdit* focus = o.focus == QLatin1String("new")       ? m_new
                           : o.focus == QLatin1String("confirm") ? m_confirm
                                                                 : m_old;
        focus->setFocus();
        return;
    }
    showSuccess(this, o.message);
    accept();
}

} // namespace cangshu
