#include "SearchBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace cangshu {

SearchBar::SearchBar(const QList<SearchField>& fields, QWidget* parent)
    : QWidget(parent), m_fields(fields), m_text(new QLineEdit(this)),
      m_fuzzy(new QCheckBox(QStringLiteral("模糊查询"), this)), m_group(new QButtonGroup(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("查询内容："), this));
    m_text->setMinimumWidth(160);
    layout->addWidget(m_text, 1);
    for (int i = 0; i < fields.size(); ++i) {
        auto* radio = new QRadioButton(fields.at(i).caption, this);
        m_group->addButton(radio, i);
        layout->addWidget(radio);
    }
    if (!fields.isEmpty())
        m_group->button(0)->setChecked(true);
    m_fuzzy->setChecked(true);
    layout->addWidget(m_fuzzy);
    auto* go = new QPushButton(QStringLiteral("查询"), this);
    go->setAutoDefault(false);
    layout->addWidget(go);
    connect(m_text, &QLineEdit::returnPressed, this, &SearchBar::searchRequested);
    connect(go, &QPushButton::clicked, this, &SearchBar::searchRequested);
}

QString SearchBar::text() const {
    return m_text->text();
}

QString SearchBar::column() const {
    const int id = m_group->checkedId();
    return id >= 0 && id < m_fields.size() ? m_fields.at(id).column : QString();
}

bool SearchBar::fuzzy() const {
    return m_fuzzy->isChecked();
}

void SearchBar::chooseField(int index) {
    if (auto* b = m_group->button(index))
        b->setChecked(true);
}

} // namespace cangshu
