#include "NumberSettingsWindow.h"

#include "widgets/Messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace cangshu {

namespace {

// Lets through only what the box accepts, whether typed or pasted.
class SettingValidator : public QValidator {
public:
    SettingValidator(NumberField field, QObject* parent) : QValidator(parent), m_field(field) {}
    State validate(QString& input, int&) const override {
        for (QChar c : input)
            if (!isAllowedNumberSettingChar(m_field, c) || c == u'\t' || c == u'\r' || c == u'\n' ||
                c == u'\b')
                return Invalid;
        return Acceptable;
    }

private:
    NumberField m_field;
};

constexpr NumberKind kKinds[] = {NumberKind::Book, NumberKind::Periodical, NumberKind::Reader};
constexpr NumberField kFields[] = {NumberField::Width, NumberField::Prefix, NumberField::Suffix,
                                   NumberField::Counter};

int kindIndex(NumberKind k) {
    return k == NumberKind::Book ? 0 : (k == NumberKind::Periodical ? 1 : 2);
}
int fieldIndex(NumberField f) {
    switch (f) {
    case NumberField::Width:
        return 0;
    case NumberField::Prefix:
        return 1;
    case NumberField::Suffix:
        return 2;
    case NumberField::Counter:
        return 3;
    }
    return 0;
}

} // namespace

NumberSettingsWindow::NumberSettingsWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db) {
    setWindowTitle(QStringLiteral("设置编号宽度"));
    const QString groups[] = {QStringLiteral("书籍编号"), QStringLiteral("期刊编号"),
                              QStringLiteral("读者编号")};
    const QString labels[] = {QStringLiteral("编号宽度："), QStringLiteral("前置字符："),
                              QStringLiteral("后置字符："), QStringLiteral("编号数值：")};
    const char* names[] = {"width", "prefix", "suffix", "counter"};
    const char* kinds[] = {"book", "periodical", "reader"};

    auto* groupsRow = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        auto* group = new QGroupBox(groups[k], this);
        auto* grid = new QGridLayout(group);
        for (int f = 0; f < 4; ++f) {
            auto* edit = new QLineEdit(group);
            edit->setObjectName(QString::fromLatin1(kinds[k]) + u'_' +
                                QString::fromLatin1(names[f]));
            edit->setValidator(new SettingValidator(kFields[f], edit));
            edit->setMinimumWidth(110);
            grid->addWidget(new QLabel(labels[f], group), f, 0);
            grid->addWidget(edit, f, 1);
            m_boxes[k][f] = edit;
        }
        groupsRow->addWidget(group);
    }

    auto* example = new QPushButton(QStringLiteral("举例"), this);
    auto* saveButton = new QPushButton(QStringLiteral("保存"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* b : {example, saveButton, close})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(example);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groupsRow);
    layout->addLayout(buttons);

    // Tab order follows the form: each group top to bottom, then the buttons.
    QWidget* previous = nullptr;
    for (int k = 0; k < 3; ++k)
        for (int f = 0; f < 4; ++f) {
            if (previous)
                setTabOrder(previous, m_boxes[k][f]);
            previous = m_boxes[k][f];
        }
    setTabOrder(previous, example);
    setTabOrder(example, saveButton);
    setTabOrder(saveButton, close);

    connect(example, &QPushButton::clicked, this, &NumberSettingsWindow::showExample);
    connect(saveButton, &QPushButton::clicked, this, &NumberSettingsWindow::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* NumberSettingsWindow::box(NumberKind kind, NumberField field) const {
    return m_boxes[kindIndex(kind)][fieldIndex(field)];
}

void NumberSettingsWindow::load() {
    NumberSettingsInput in;
    try {
        in = loadNumberSettings(m_db);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    for (int k = 0; k < 3; ++k) {
        m_boxes[k][0]->setText(in.width[k]);
        m_boxes[k][1]->setText(in.prefix[k]);
        m_boxes[k][2]->setText(in.suffix[k]);
        m_boxes[k][3]->setText(in.counter[k]);
    }
    m_boxes[0][0]->setFocus();
}

void NumberSettingsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    load();
}

void NumberSettingsWindow::showExample() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("举例"),
                    QStringLiteral("如果编号宽度为６位，前置字符为“A”，后置字符为“Z”\n"
                                   "则书籍编号为【A0001Z】"),
                    QMessageBox::Ok, this);
    box.exec();
}

void NumberSettingsWindow::save() {
    NumberSettingsInput in;
    for (int k = 0; k < 3; ++k) {
        in.width[k] = m_boxes[k][0]->text();
        in.prefix[k] = m_boxes[k][1]->text();
        in.suffix[k] = m_boxes[k][2]->text();
        in.counter[k] = m_boxes[k][3]->text();
    }
    const NumberSettingsCheck check = validateNumberSettings(in);
    if (!check.ok) {
        showNotice(this, check.message);
        box(check.kind, check.field)->setFocus();
        return;
    }
    try {
        saveNumberSettings(m_db, in);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    showSuccess(this, QStringLiteral("保存成功！"));
    accept();
}

} // namespace cangshu
