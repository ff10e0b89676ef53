#include "ClassTreeWindow.h"

#include "ClassDialog.h"
#include "ClassTreeWidget.h"
#include "widgets/Messages.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {

QPushButton* button(QWidget* owner, QVBoxLayout* column, const QString& caption) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    column->addWidget(b);
    return b;
}

} // namespace

ClassTreeWindow::ClassTreeWindow(Database& db, const Home& home, ClassScheme scheme,
                                 const QString& title, QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_scheme(scheme), m_store(db, scheme),
      m_tree(new ClassTreeWidget(this)) {
    setWindowTitle(title);
    auto* buttons = new QVBoxLayout;
    connect(button(this, buttons, QStringLiteral("增加同级类别(&A)")), &QPushButton::clicked, this,
            [this] { askAndAdd(false); });
    connect(button(this, buttons, QStringLiteral("增加下级类别(&N)")), &QPushButton::clicked, this,
            [this] { askAndAdd(true); });
    connect(button(this, buttons, QStringLiteral("修改当前类别(&E)")), &QPushButton::clicked, this,
            &ClassTreeWindow::askAndChange);
    connect(button(this, buttons, QStringLiteral("删除当前类别(&D)")), &QPushButton::clicked, this,
            &ClassTreeWindow::askAndDelete);
    connect(button(this, buttons, QStringLiteral("退出当前操作(&Q)")), &QPushButton::clicked, this,
            &QDialog::accept);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_tree, 1);
    resize(560, 600);
}

void ClassTreeWindow::reload() {
    try {
        m_tree->setClasses(buildClassTree(m_db, m_scheme));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void ClassTreeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reload();
}

void ClassTreeWindow::done(int result) {
    QString error;
    if (!writeTreeCache(m_home.path(m_scheme.cacheFile), m_tree->classes(), &error))
        showError(this, error);
    QDialog::done(result);
}

QTreeWidgetItem* ClassTreeWindow::addUnder(QTreeWidgetItem* parent, const QString& number,
                                           const QString& name) {
    qint64 id = 0;
    try {
        id = m_store.addClass(ClassTreeWidget::idOf(parent), number, name);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return nullptr;
    }
    if (id == 0)
        return nullptr;
    // Shown only once stored, so every node of this window carries its row.
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, ClassNode::nodeText(number.trimmed(), name.trimmed()));
    ClassTreeWidget::setId(item, id);
    if (parent)
        parent->setExpanded(true);
    m_tree->setCurrentItem(item);
    return item;
}

QTreeWidgetItem* ClassTreeWindow::addBeside(const QString& number, const QString& name) {
    QTreeWidgetItem* current = m_tree->currentItem();
    return addUnder(current ? current->parent() : nullptr, number, name);
}

QTreeWidgetItem* ClassTreeWindow::addBelow(const QString& number, const QString& name) {
    return addUnder(m_tree->currentItem(), number, name);
}

bool ClassTreeWindow::changeCurrent(const QString& number, const QString& name) {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!current)
        return false;
    try {
        if (!m_store.changeClass(ClassTreeWidget::idOf(current), number, name))
            return false;
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    current->setText(0, ClassNode::nodeText(number.trimmed(), name.trimmed()));
    return true;
}

bool ClassTreeWindow::deleteCurrent() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!current)
        return false;
    try {
        m_store.deleteBranch(ClassTreeWidget::idOf(current));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    delete current;
    return true;
}

void ClassTreeWindow::askAndAdd(bool below) {
    ClassDialog dialog(this);
    dialog.setWindowTitle(below ? QStringLiteral("增加下级类型") : QStringLiteral("增加同级类型"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    below ? addBelow(dialog.number(), dialog.name()) : addBeside(dialog.number(), dialog.name());
}

void ClassTreeWindow::askAndChange() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!current)
        return;
    const ClassParts parts = splitNodeText(current->text(0));
    ClassDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("修改当前类型"));
    dialog.setValues(parts.number, parts.name);
    if (dialog.exec() == QDialog::Accepted)
        changeCurrent(dialog.number(), dialog.name());
}

void ClassTreeWindow::askAndDelete() {
    if (!m_tree->currentItem())
        return;
    if (askYesNo(this, QStringLiteral("是否确定删除当前类别？子类别也将随之删除！"),
                 QStringLiteral("提示")))
        deleteCurrent();
}

ClassPicker::ClassPicker(Database& db, const Home& home, ClassScheme scheme, const QString& title,
                         QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_scheme(scheme), m_tree(new ClassTreeWidget(this)) {
    setWindowTitle(title);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(add(QStringLiteral("选中当前类型(&S)")), &QPushButton::clicked, this,
            &ClassPicker::choose);
    connect(add(QStringLiteral("退出当前操作(&Q)")), &QPushButton::clicked, this, &QDialog::reject);
    connect(add(QStringLiteral("图书类别维护(&A)")), &QPushButton::clicked, this,
            &ClassPicker::maintain);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &ClassPicker::choose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    resize(480, 600);
}

void ClassPicker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_chosen = false;
    try {
        m_tree->setClasses(loadClassTreeForDisplay(m_db, m_home, m_scheme));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    m_tree->setFocus();
}

void ClassPicker::choose() {
    m_chosen = true;
    accept();
}

void ClassPicker::maintain() {
    ClassTreeWindow window(m_db, m_home, m_scheme, QStringLiteral("图书类型设置"), this);
    window.exec();
    QList<ClassNode> roots;
    readTreeCache(m_home.path(m_scheme.cacheFile), &roots);
    m_tree->setClasses(roots);
}

std::optional<ClassParts> ClassPicker::chosen() const {
    if (!m_chosen || !m_tree->currentItem())
        return std::nullopt;
    return splitNodeText(m_tree->currentItem()->text(0));
}

} // namespace cangshu
