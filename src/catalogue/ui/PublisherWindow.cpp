#include "PublisherWindow.h"

#include "widgets/Messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cangshu {

PublisherDialog::PublisherDialog(const Database& db, Publisher publisher, QWidget* parent)
    : QDialog(parent), m_db(db), m_publisher(std::move(publisher)),
      m_isbn(new QLineEdit(m_publisher.isbnPrefix, this)),
      m_name(new QLineEdit(m_publisher.name, this)),
      m_place(new QLineEdit(m_publisher.place, this)) {
    setWindowTitle(QStringLiteral("添加修改出版社"));
    auto* group = new QGroupBox(QStringLiteral("出版社信息"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("标准ISBN："), m_isbn);
    form->addRow(QStringLiteral("出版社名："), m_name);
    form->addRow(QStringLiteral("出版地点："), m_place);
    auto* save = new QPushButton(QStringLiteral("保存(&S)"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    save->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &PublisherDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

bool PublisherDialog::save() {
    Publisher p = m_publisher;
    p.isbnPrefix = m_isbn->text().trimmed();
    p.name = m_name->text().trimmed();
    p.place = m_place->text().trimmed();
    try {
        const Outcome out = Publishers(m_db).save(p);
        if (!out.ok) {
            showNotice(this, out.message);
            (out.focus == QStringLiteral("isbn") ? m_isbn : m_name)->setFocus();
            return false;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    m_publisher = p;
    accept();
    return true;
}

PublisherWindow::PublisherWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_isbnFilter(new QLineEdit(this)),
      m_nameFilter(new QLineEdit(this)), m_grid(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("出版社设置"));
    auto* search = new QGroupBox(QStringLiteral("查询"), this);
    auto* filters = new QHBoxLayout(search);
    filters->addWidget(new QLabel(QStringLiteral("ISBN："), search));
    filters->addWidget(m_isbnFilter);
    filters->addWidget(new QLabel(QStringLiteral("出版社名称："), search));
    filters->addWidget(m_nameFilter);
    connect(m_isbnFilter, &QLineEdit::textEdited, this,
            [this](const QString& t) { refresh(Publishers::Filter::Isbn, t); });
    connect(m_nameFilter, &QLineEdit::textEdited, this,
            [this](const QString& t) { refresh(Publishers::Filter::Name, t); });

    m_grid->setColumnCount(3);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("ISBN"), QStringLiteral("出版社名称"), QStringLiteral("出版地")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->verticalHeader()->setVisible(false);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_picker)
            choose();
    });

    auto* buttons = new QVBoxLayout;
    auto add = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(add(QStringLiteral("增加出版社(&A)")), &QPushButton::clicked, this,
            &PublisherWindow::addPublisher);
    connect(add(QStringLiteral("修改出版社(&E)")), &QPushButton::clicked, this,
            &PublisherWindow::changePublisher);
    connect(add(QStringLiteral("删除出版社(&D)")), &QPushButton::clicked, this,
            &PublisherWindow::deletePublisher);
    m_choose = add(QStringLiteral("选中出版社(&S)"));
    connect(m_choose, &QPushButton::clicked, this, &PublisherWindow::choose);
    connect(add(QStringLiteral("退出操作  (&Q)")), &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    m_choose->hide();

    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search);
    layout->addLayout(body, 1);
    resize(720, 520);
}

void PublisherWindow::setPickerMode(bool picker) {
    m_picker = picker;
    m_choose->setVisible(picker);
}

void PublisherWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_chosen = false;
    m_isbnFilter->clear();
    m_nameFilter->clear();
    refresh(Publishers::Filter::Isbn, {});
    m_isbnFilter->setFocus();
}

void PublisherWindow::refresh(Publishers::Filter filter, const QString& text) {
    m_filter = filter;
    try {
        m_rows = Publishers(m_db).list(filter, text);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        m_rows.clear();
    }
    refill();
}

void PublisherWindow::refill() {
    m_grid->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        m_grid->setItem(r, 0, new QTableWidgetItem(m_rows[r].isbnPrefix));
        m_grid->setItem(r, 1, new QTableWidgetItem(m_rows[r].name));
        m_grid->setItem(r, 2, new QTableWidgetItem(m_rows[r].place));
    }
    if (!m_rows.isEmpty())
        m_grid->selectRow(0);
}

std::optional<Publisher> PublisherWindow::current() const {
    const int r = m_grid->currentRow();
    if (r < 0 || r >= m_rows.size())
        return std::nullopt;
    return m_rows[r];
}

void PublisherWindow::addPublisher() {
    PublisherDialog dialog(m_db, {}, this);
    if (dialog.exec() == QDialog::Accepted)
        refresh(m_filter,
                m_filter == Publishers::Filter::Isbn ? m_isbnFilter->text() : m_nameFilter->text());
}

void PublisherWindow::changePublisher() {
    const auto p = current();
    if (!p)
        return;
    PublisherDialog dialog(m_db, *p, this);
    if (dialog.exec() == QDialog::Accepted)
        refresh(m_filter,
                m_filter == Publishers::Filter::Isbn ? m_isbnFilter->text() : m_nameFilter->text());
}

void PublisherWindow::deletePublisher() {
    const auto p = current();
    if (!p || !askYesNo(this, QStringLiteral("是否确定删除当前出版社？")))
        return;
    try {
        Publishers(m_db).remove(p->id);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    refresh(m_filter,
            m_filter == Publishers::Filter::Isbn ? m_isbnFilter->text() : m_nameFilter->text());
}

void PublisherWindow::choose() {
    m_chosen = true;
    accept();
}

std::optional<Publisher> PublisherWindow::chosen() const {
    return m_chosen ? current() : std::nullopt;
}

} // namespace cangshu
