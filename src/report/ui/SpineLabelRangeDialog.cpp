#include "SpineLabelRangeDialog.h"

#include "report/NumberRange.h"
#include "widgets/Messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace cangshu::report {

SpineLabelRangeDialog::SpineLabelRangeDialog(QWidget* parent)
    : QDialog(parent), m_direct(new QRadioButton(QStringLiteral("直接打印"), this)),
      m_range(new QRadioButton(QStringLiteral("输入编号范围打印"), this)),
      m_from(new QLineEdit(this)), m_to(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("打印书标条码"));
    m_direct->setChecked(true);
    // Typing a number means the range is wanted.
    connect(m_from, &QLineEdit::textEdited, this, [this] { m_range->setChecked(true); });
    connect(m_to, &QLineEdit::textEdited, this, [this] { m_range->setChecked(true); });
    connect(m_from, &QLineEdit::returnPressed, m_to, qOverload<>(&QWidget::setFocus));

    auto* group = new QGroupBox(QStringLiteral("选择打印方式"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_direct, 0, 0, 1, 4);
    grid->addWidget(m_range, 1, 0, 1, 4);
    auto* fromLabel = new QLabel(QStringLiteral("从："), group);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("到："), group);
    toLabel->setBuddy(m_to);
    grid->addWidget(fromLabel, 2, 0);
    grid->addWidget(m_from, 2, 1);
    grid->addWidget(toLabel, 2, 2);
    grid->addWidget(m_to, 2, 3);

    auto* startButton = new QPushButton(QStringLiteral("开始打印"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("取消打印"), this);
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, &SpineLabelRangeDialog::start);
    connect(cancelButton, &QPushButton::clicked, this, &SpineLabelRangeDialog::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void SpineLabelRangeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_confirmed = false;
}

bool SpineLabelRangeDialog::useRange() const {
    return m_range->isChecked();
}

QString SpineLabelRangeDialog::from() const {
    return m_from->text().trimmed();
}

QString SpineLabelRangeDialog::to() const {
    return m_to->text().trimmed();
}

bool SpineLabelRangeDialog::start() {
    if (useRange()) {
        const RangeOutcome out = checkNumberRange(m_from->text(), m_to->text());
        if (!out.ok) {
            showNotice(this, out.message);
            (out.focus == QLatin1String("to") ? m_to : m_from)->setFocus();
            return false;
        }
    }
    m_confirmed = true;
    accept();
    return true;
}

void SpineLabelRangeDialog::cancel() {
    m_confirmed = false;
    reject();
}

QList<QVariantMap> SpineLabelRangeDialog::rangeRows(const Database& db,
                                                    const QStringList& columns) const {
    return booksInNumberRange(db, from(), to(), columns);
}

} // namespace cangshu::report
