#pragma once
#include "catalogue/ClassTree.h"

#include <QDialog>
#include <optional>

class QTreeWidgetItem;

namespace cangshu {

class ClassTreeWidget;

// "图书类型设置": maintenance of a class table shown as its tree with row IDs. Closing it
// renews the cache file with the tree as it then stands.
class ClassTreeWindow : public QDialog {
    Q_OBJECT
public:
    ClassTreeWindow(Database& db, const Home& home, ClassScheme scheme = ClassScheme::books(),
                    const QString& title = QStringLiteral("图书类型设置"),
                    QWidget* parent = nullptr);
    ClassTreeWidget* tree() const { return m_tree; }
    void reload();

    // The buttons' work once the dialog has answered; each stores first, then shows.
    QTreeWidgetItem* addBeside(const QString& number, const QString& name);
    QTreeWidgetItem* addBelow(const QString& number, const QString& name);
    bool changeCurrent(const QString& number, const QString& name);
    bool deleteCurrent();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void askAndAdd(bool below);
    void askAndChange();
    void askAndDelete();
    QTreeWidgetItem* addUnder(QTreeWidgetItem* parent, const QString& number, const QString& name);

    Database& m_db;
    Home m_home;
    ClassScheme m_scheme;
    ClassTreeStore m_store;
    ClassTreeWidget* m_tree;
};

// "选择图书类型": the class picker over the cached tree.
class ClassPicker : public QDialog {
    Q_OBJECT
public:
    ClassPicker(Database& db, const Home& home, ClassScheme scheme = ClassScheme::books(),
                const QString& title = QStringLiteral("选择图书类型"), QWidget* parent = nullptr);
    ClassTreeWidget* tree() const { return m_tree; }
    // The chosen class, when "选中当前类型(&S)" was pressed with a node selected.
    std::optional<ClassParts> chosen() const;
    void choose();
    void maintain();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Database& m_db;
    Home m_home;
    ClassScheme m_scheme;
    ClassTreeWidget* m_tree;
    bool m_chosen = false;
};

} // namespace cangshu
