#include "ClassDialog.h"

#include "catalogue/ClassTree.h"
#include "widgets/Messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

ClassDialog::ClassDialog(QWidget* parent)
    : QDialog(parent), m_number(new QLineEdit(this)), m_name(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("添加修改图书类型"));
    auto* group = new QGroupBox(QStringLiteral("分类信息"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("分类号："), m_number);
    form->addRow(QStringLiteral("分类名："), m_name);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    save->setDefault(true);
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(save, &QPushButton::clicked, this, &ClassDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void ClassDialog::setValues(const QString& number, const QString& name) {
    m_number->setText(number);
    m_name->setText(name);
}

QString ClassDialog::number() const {
    return m_number->text();
}

QString ClassDialog::name() const {
    return m_name->text();
}

void ClassDialog::save() {
    const Outcome checked = ClassTreeStore::checkDialog(number(), name());
    if (!checked.ok) {
        showNotice(this, checked.message);
        (checked.focus == QStringLiteral("name") ? m_name : m_number)->setFocus();
        return;
    }
    accept();
}

void ClassDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_number->setFocus();
}

} // namespace cangshu
