#include "ClassTreeWidget.h"

#include <QHeaderView>

namespace cangshu {

namespace {

void addItems(const QList<ClassNode>& nodes, QTreeWidgetItem* parent, QTreeWidget* tree) {
    for (const ClassNode& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.text());
        ClassTreeWidget::setId(item, node.id);
        addItems(node.children, item, tree);
    }
}

ClassNode nodeOf(const QTreeWidgetItem* item) {
    const ClassParts parts = splitNodeText(item->text(0));
    ClassNode node{ClassTreeWidget::idOf(item), parts.number, parts.name, {}};
    for (int i = 0; i < item->childCount(); ++i)
        node.children.append(nodeOf(item->child(i)));
    return node;
}

} // namespace

ClassTreeWidget::ClassTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
}

void ClassTreeWidget::setClasses(const QList<ClassNode>& roots) {
    clear();
    addItems(roots, nullptr, this);
    expandAll();
}

QList<ClassNode> ClassTreeWidget::classes() const {
    QList<ClassNode> roots;
    for (int i = 0; i < topLevelItemCount(); ++i)
        roots.append(nodeOf(topLevelItem(i)));
    return roots;
}

qint64 ClassTreeWidget::idOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

void ClassTreeWidget::setId(QTreeWidgetItem* item, qint64 id) {
    item->setData(0, Qt::UserRole, id);
}

QTreeWidgetItem* ClassTreeWidget::findText(const QString& text) const {
    const auto found = findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace cangshu
