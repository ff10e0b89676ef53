#include "ReaderTypeEditor.h"

#include "readers/Money.h"
#include "readers/ReaderTypes.h"
#include "widgets/Messages.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {

struct Rule {
    const char16_t* column;
    const char16_t* label;
    const char16_t* unit;
    bool blue; // the book loan and renewal rules stand out
};

// In screen order: book rules, periodical rules, rents and fines.
const Rule rules[] = {
    {u"书籍借出册数", u"书籍借出册数：", u"册", true},
    {u"书籍借出天数", u"书籍借出天数：", u"天", true},
    {u"书籍续借次数", u"书籍续借次数：", u"次", true},
    {u"书籍续借天数", u"书籍续借天数：", u"天", true},
    {u"杂志借出册数", u"期刊借出册数：", u"册", false},
    {u"杂志借出天数", u"期刊借出天数：", u"天", false},
    {u"期刊续借次数", u"期刊续借次数：", u"次", false},
    {u"期刊续借天数", u"期刊续借天数：", u"天", false},
    {u"书籍每日租金", u"书籍每日租金：", u"元/天", false},
    {u"书籍超期罚款", u"书籍超期罚款：", u"元/天", false},
    {u"期刊每日租金", u"期刊每日租金：", u"元/天", false},
    {u"期刊超期罚款", u"期刊超期罚款：", u"元/天", false},
};

// The keyboard order of the fields after the name.
const char16_t* const tabOrder[] = {
    u"书籍借出册数", u"书籍借出天数", u"杂志借出册数", u"杂志借出天数", u"无限制",
    u"书籍每日租金", u"书籍超期罚款", u"期刊每日租金", u"期刊超期罚款", u"书籍续借次数",
    u"书籍续借天数", u"期刊续借次数", u"期刊续借天数"};

bool isMoney(const QString& unit) {
    return unit == QStringLiteral("元/天");
}

} // namespace

ReaderTypeEditor::ReaderTypeEditor(Database& db, const QString& name, QWidget* parent)
    : QDialog(parent), m_db(db), m_original(name), m_unlimited(new QComboBox(this)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    QVariantMap values = newReaderTypeValues();
    if (!name.isEmpty()) {
        if (const auto row =
                db.row(QStringLiteral("select * from [读者类型] where [类型名称]=?"), {name})) {
            for (const QString& c : readerTypeRuleColumns())
                values.insert(c, row->value(c));
        }
    }

    auto* grid = new QGridLayout;
    const QString blue = QStringLiteral("color: blue;");
    auto* nameEdit = new QLineEdit(name, this);
    nameEdit->setStyleSheet(QStringLiteral("background-color: #ffffe0;"));
    m_fields.insert(QStringLiteral("类型名称"), nameEdit);
    grid->addWidget(new QLabel(QStringLiteral("读者类型名称："), this), 0, 0);
    grid->addWidget(nameEdit, 0, 1, 1, 4);

    int i = 0;
    for (const Rule& r : rules) {
        const QString column = QString::fromUtf16(r.column);
        const QString unit = QString::fromUtf16(r.unit);
        auto* label = new QLabel(QString::fromUtf16(r.label), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(column);
        if (isMoney(unit)) {
            edit->setText(Money::fromVariant(values.value(column)).toString());
            edit->setValidator(new QDoubleValidator(0, 1e6, 6, edit));
        } else {
            const QVariant v = values.value(column);
            edit->setText(v.isNull() ? QStringLiteral("0") : QString::number(v.toInt()));
            edit->setValidator(new QIntValidator(0, 100000, edit));
        }
        if (r.blue)
            label->setStyleSheet(blue);
        m_fields.insert(column, edit);
        const int row = 1 + i / 2;
        const int col = (i % 2) * 3;
        grid->addWidget(label, row, col);
        grid->addWidget(edit, row, col + 1);
        grid->addWidget(new QLabel(unit, this), row, col + 2);
        ++i;
    }
    auto* unlimitedLabel = new QLabel(QStringLiteral("无借阅天数限制："), this);
    unlimitedLabel->setStyleSheet(blue);
    m_unlimited->addItems({QStringLiteral("否"), QStringLiteral("是")});
    m_unlimited->setCurrentText(values.value(QStringLiteral("无限制")).toString() ==
                                        QStringLiteral("是")
                                    ? QStringLiteral("是")
                                    : QStringLiteral("否"));
    const int lastRow = 1 + (i + 1) / 2;
    grid->addWidget(unlimitedLabel, lastRow, 0);
    grid->addWidget(m_unlimited, lastRow, 1);

    auto* save = new QPushButton(QStringLiteral("保存(&S)"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    save->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &ReaderTypeEditor::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QWidget* previous = nameEdit;
    for (const char16_t* c : tabOrder) {
        const QString column = QString::fromUtf16(c);
        QWidget* next = column == QStringLiteral("无限制") ? static_cast<QWidget*>(m_unlimited)
                                                           : m_fields.value(column);
        setTabOrder(previous, next);
        previous = next;
    }
    setTabOrder(previous, save);
    setTabOrder(save, cancel);
    nameEdit->setFocus();
}

bool ReaderTypeEditor::save() {
    QVariantMap values;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const QString text = it.value()->text().trimmed();
        if (it.key() == QStringLiteral("类型名称"))
            values.insert(it.key(), text);
        else if (qobject_cast<const QDoubleValidator*>(it.value()->validator()))
            values.insert(it.key(), Money::parse(text).value_or(Money()).toVariant());
        else
            values.insert(it.key(), text.toInt());
    }
    values.insert(QStringLiteral("无限制"), m_unlimited->currentText());
    try {
        const Outcome o = saveReaderType(m_db, m_original, values);
        if (!o.ok) {
            showNotice(this, o.message);
            m_fields.value(QStringLiteral("类型名称"))->setFocus();
            return false;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    m_savedName = values.value(QStringLiteral("类型名称")).toString();
    accept();
    return true;
}

} // namespace cangshu
