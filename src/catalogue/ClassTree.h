#pragma once
#include "core/Database.h"
#include "core/Home.h"
#include "core/Outcome.h"

#include <QList>
#include <QString>

namespace cangshu {

// One classification table with its cache file: the book classes (图书类型, excel/tree.txt)
// and the audio-visual classes (音像制品类型, excel/treeyx.txt) share all of this code.
struct ClassScheme {
    QString table;
    QString cacheFile; // relative to the home
    static ClassScheme books() {
        return {QStringLiteral("图书类型"), QStringLiteral("excel/tree.txt")};
    }
    static ClassScheme audioVisual() {
        return {QStringLiteral("音像制品类型"), QStringLiteral("excel/treeyx.txt")};
    }
};

// A class of the tree. Trees read from the cache file carry no row ID (0).
struct ClassNode {
    qint64 id = 0;
    QString number;
    QString name;
    QList<ClassNode> children;

    QString text() const { return nodeText(number, name); }
    static QString nodeText(const QString& number, const QString& name) {
        return number + u'*' + name;
    }
};

// "<分类号>*<分类名称>" split at its first "*" only, so a name holding "*" stays whole.
struct ClassParts {
    QString number;
    QString name;
};
ClassParts splitNodeText(const QString& text);

// The whole tree from the table: top-level classes have 父号 0, siblings in ascending
// 分类号 order. Rows whose parent is missing are not reachable and not shown.
QList<ClassNode> buildClassTree(const Database& db, const ClassScheme& scheme);

// The cache file: GBK text, CR LF line ends, one node per line in depth-first order, one
// TAB per level of depth before the node text.
QByteArray treeCacheBytes(const QList<ClassNode>& roots);
QList<ClassNode> parseTreeCache(const QByteArray& bytes);
bool writeTreeCache(const QString& path, const QList<ClassNode>& roots, QString* error = nullptr);
// Empty list with false when the file is missing or unreadable.
bool readTreeCache(const QString& path, QList<ClassNode>* roots);

// The tree for choosing or display: from the cache file when it exists, otherwise built
// from the table and then written to the cache file.
QList<ClassNode> loadClassTreeForDisplay(const Database& db, const Home& home,
                                         const ClassScheme& scheme);
// Writes the tree as it now stands (what the maintenance window does on closing).
bool renewTreeCache(const Database& db, const Home& home, const ClassScheme& scheme,
                    QString* error = nullptr);

// Maintenance of the class table.
class ClassTreeStore {
public:
    ClassTreeStore(Database& db, ClassScheme scheme) : m_db(db), m_scheme(std::move(scheme)) {}

    // The class dialog's check: "分类号和分类名必须填写！", the focus on the empty edit
    // ("name" when the number has text, else "number").
    static Outcome checkDialog(const QString& number, const QString& name);

    // Stores a new class under the parent (0 for a top-level class) and returns its ID;
    // 0 and nothing stored when a trimmed value is empty.
    qint64 addClass(qint64 parentId, const QString& number, const QString& name) const;
    // False when a trimmed value is empty (nothing changed).
    bool changeClass(qint64 id, const QString& number, const QString& name) const;
    // Deletes the class and every class below it, at any depth, in one transaction.
    // Returns how many rows went.
    int deleteBranch(qint64 id) const;
    // The parent of a class (0 when top-level or unknown).
    qint64 parentOf(qint64 id) const;

private:
    Database& m_db;
    ClassScheme m_scheme;
};

} // namespace cangshu
