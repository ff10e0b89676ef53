#include "ClassTree.h"

#include "core/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <algorithm>

namespace cangshu {

namespace {

void sortSiblings(QList<ClassNode>& nodes) {
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const ClassNode& a, const ClassNode& b) { return a.number < b.number; });
}

void appendLines(const QList<ClassNode>& nodes, int depth, QString& out) {
    for (const ClassNode& node : nodes) {
        out += QString(depth, u'\t');
        out += node.text();
        out += QStringLiteral("\r\n");
        appendLines(node.children, depth + 1, out);
    }
}

} // namespace

ClassParts splitNodeText(const QString& text) {
    const qsizetype star = text.indexOf(u'*');
    if (star < 0)
        return {text, {}};
    return {text.left(star), text.mid(star + 1)};
}

QList<ClassNode> buildClassTree(const Database& db, const ClassScheme& scheme) {
    // One query for the whole table; the tree is assembled in memory.
    struct Row {
        qint64 id;
        qint64 parent;
        QString number;
        QString name;
    };
    QList<Row> rows;
    QHash<qint64, QList<int>> childrenOf;
    QSqlQuery q = db.run(
        QStringLiteral("select [ID],[父号],[分类号],[分类名称] from [%1]").arg(scheme.table));
    while (q.next()) {
        rows.append({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString(),
                     q.value(3).toString()});
        childrenOf[rows.last().parent].append(int(rows.size() - 1));
    }
    QSet<qint64> visited;
    std::function<QList<ClassNode>(qint64)> build = [&](qint64 parent) {
        QList<ClassNode> nodes;
        for (int i : childrenOf.value(parent)) {
            const Row& r = rows[i];
            if (visited.contains(r.id)) // a cycle in 父号 would never end
                continue;
            visited.insert(r.id);
            ClassNode node{r.id, r.number, r.name, {}};
            if (r.id != parent)
                node.children = build(r.id);
            nodes.append(std::move(node));
        }
        sortSiblings(nodes);
        return nodes;
    };
    return build(0);
}

QByteArray treeCacheBytes(const QList<ClassNode>& roots) {
    QString text;
    appendLines(roots, 0, text);
    return toGbk(text);
}

QList<ClassNode> parseTreeCache(const QByteArray& bytes) {
    QList<ClassNode> roots;
    // The path from the root to the last node read: stack[d] is the list of depth d.
    QList<QList<ClassNode>*> stack{&roots};
    const QString text = fromGbk(bytes);
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        int depth = 0;
        while (depth < line.size() && (line[depth] == u'\t' || line[depth] == u' '))
            ++depth;
        const QString nodeText = line.mid(depth);
        if (nodeText.isEmpty())
            continue;
        // A line deeper than one below its predecessor hangs under the deepest open node.
        depth = std::min(depth, int(stack.size()) - 1);
        stack.resize(depth + 1);
        const ClassParts parts = splitNodeText(nodeText);
        stack[depth]->append(ClassNode{0, parts.number, parts.name, {}});
        stack.append(&stack[depth]->last().children);
    }
    return roots;
}

bool writeTreeCache(const QString& path, const QList<ClassNode>& roots, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(treeCacheBytes(roots)) < 0 ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool readTreeCache(const QString& path, QList<ClassNode>* roots) {
    roots->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *roots = parseTreeCache(file.readAll());
    return true;
}

QList<ClassNode> loadClassTreeForDisplay(const Database& db, const Home& home,
                                         const ClassScheme& scheme) {
    const QString path = home.path(scheme.cacheFile);
    QList<ClassNode> roots;
    if (QFileInfo::exists(path) && readTreeCache(path, &roots))
        return roots;
    roots = buildClassTree(db, scheme);
    writeTreeCache(path, roots);
    return roots;
}

bool renewTreeCache(const Database& db, const Home& home, const ClassScheme& scheme,
                    QString* error) {
    return writeTreeCache(home.path(scheme.cacheFile), buildClassTree(db, scheme), error);
}

Outcome ClassTreeStore::checkDialog(const QString& number, const QString& name) {
    if (number.isEmpty() || name.isEmpty())
        return Outcome::refused(QStringLiteral("分类号和分类名必须填写！"),
                                number.isEmpty() ? QStringLiteral("number")
                                                 : QStringLiteral("name"));
    return Outcome::done();
}

qint64 ClassTreeStore::addClass(qint64 parentId, const QString& number, const QString& name) const {
    const QString n = number.trimmed();
    const QString m = name.trimmed();
    if (n.isEmpty() || m.isEmpty())
        return 0;
    return m_db.insert(
        QStringLiteral("insert into [%1] ([父号],[分类号],[分类名称]) values (?,?,?)")
            .arg(m_scheme.table),
        {parentId, n, m}, QStringLiteral("ID"));
}

bool ClassTreeStore::changeClass(qint64 id, const QString& number, const QString& name) const {
    const QString n = number.trimmed();
    const QString m = name.trimmed();
    if (n.isEmpty() || m.isEmpty())
        return false;
    m_db.execute(
        QStringLiteral("update [%1] set [分类号]=?,[分类名称]=? where [ID]=?").arg(m_scheme.table),
        {n, m, id});
    return true;
}

int ClassTreeStore::deleteBranch(qint64 id) const {
    Transaction tx(m_db);
    QList<qint64> branch{id};
    QSet<qint64> seen{id};
    for (qsizetype i = 0; i < branch.size(); ++i) {
        QSqlQuery q =
            m_db.run(QStringLiteral("select [ID] from [%1] where [父号]=?").arg(m_scheme.table),
                     {branch[i]});
        while (q.next()) {
            const qint64 child = q.value(0).toLongLong();
            if (!seen.contains(child)) {
                seen.insert(child);
                branch.append(child);
            }
        }
    }
    int removed = 0;
    for (qint64 classId : branch)
        removed += m_db.execute(QStringLiteral("delete from [%1] where [ID]=?").arg(m_scheme.table),
                                {classId});
    tx.commit();
    return removed;
}

qint64 ClassTreeStore::parentOf(qint64 id) const {
    return m_db
        .scalar(QStringLiteral("select [父号] from [%1] where [ID]=?").arg(m_scheme.table), {id}, 0)
        .toLongLong();
}

} // namespace cangshu
