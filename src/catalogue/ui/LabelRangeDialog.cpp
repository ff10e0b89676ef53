#include "LabelRangeDialog.h"

#include "report/NumberRange.h"
#include "widgets/Messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cangshu {

LabelRangeDialog::LabelRangeDialog(const Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_current(new QRadioButton(QStringLiteral("打印当前列表"), this)),
      m_range(new QRadioButton(QStringLiteral("按书籍编号范围打印"), this)),
      m_from(new QLineEdit(this)), m_to(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("打印书标条码"));
    m_current->setChecked(true);
    auto* grid = new QGridLayout;
    grid->addWidget(m_current, 0, 0, 1, 4);
    grid->addWidget(m_range, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("起始编号："), this), 2, 0);
    grid->addWidget(m_from, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("终止编号："), this), 2, 2);
    grid->addWidget(m_to, 2, 3);
    connect(m_from, &QLineEdit::textEdited, this, [this] { m_range->setChecked(true); });
    connect(m_to, &QLineEdit::textEdited, this, [this] { m_range->setChecked(true); });
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &LabelRangeDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

bool LabelRangeDialog::useRange() const {
    return m_range->isChecked();
}

bool LabelRangeDialog::confirm() {
    if (useRange()) {
        const report::RangeOutcome out = report::checkNumberRange(m_from->text(), m_to->text());
        if (!out.ok) {
            showNotice(this, out.message);
            (out.focus == QStringLiteral("to") ? m_to : m_from)->setFocus();
            return false;
        }
    }
    accept();
    return true;
}

QList<QVariantMap> LabelRangeDialog::rows() const {
    return report::booksInNumberRange(m_db, m_from->text().trimmed(), m_to->text().trimmed());
}

} // namespace cangshu
