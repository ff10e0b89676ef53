#pragma once
#include "catalogue/ClassTree.h"

#include <QTreeWidget>

namespace cangshu {

// A read-only, fully expanded tree of classes showing "<分类号>*<分类名称>"; each item
// carries the row ID of its class (0 when the tree came from the cache file).
class ClassTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit ClassTreeWidget(QWidget* parent = nullptr);
    void setClasses(const QList<ClassNode>& roots);
    QList<ClassNode> classes() const;
    static qint64 idOf(const QTreeWidgetItem* item);
    static void setId(QTreeWidgetItem* item, qint64 id);
    // The item whose text is exactly this, depth first; null when none.
    QTreeWidgetItem* findText(const QString& text) const;
};

} // namespace cangshu
