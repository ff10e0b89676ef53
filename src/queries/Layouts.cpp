#include "Layouts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace cangshu {

bool saveLayout(const QString& file, const QList<ColumnLayout>& columns) {
    QJsonArray array;
    for (const ColumnLayout& c : columns)
        array.append(QJsonObject{{QStringLiteral("field"), c.field},
                                 {QStringLiteral("title"), c.title},
                                 {QStringLiteral("width"), c.width},
                                 {QStringLiteral("visible"), c.visible}});
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(QJsonObject{{QStringLiteral("columns"), array}}).toJson());
    return out.commit();
}

bool loadLayout(const QString& file, QList<ColumnLayout>* columns) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll());
    if (!doc.isObject() || !doc.object().value(QStringLiteral("columns")).isArray())
        return false;
    columns->clear();
    for (const QJsonValue& v : doc.object().value(QStringLiteral("columns")).toArray()) {
        const QJsonObject o = v.toObject();
        ColumnLayout c;
        c.field = o.value(QStringLiteral("field")).toString();
        c.title = o.value(QStringLiteral("title")).toString(c.field);
        c.width = o.value(QStringLiteral("width")).toInt(100);
        c.visible = o.value(QStringLiteral("visible")).toBool(true);
        if (!c.field.isEmpty())
            columns->append(c);
    }
    return true;
}

QString LayoutFiles::layoutFile() const {
    return m_home.layoutFolder() + QStringLiteral("/%1.txt").arg(m_name);
}

QString LayoutFiles::workingFile() const {
    return m_home.layoutFolder() + QStringLiteral("/%1ls.txt").arg(m_name);
}

bool LayoutFiles::takeSavedLayout(QList<ColumnLayout>* columns) const {
    if (!QFile::exists(layoutFile()) || !loadLayout(layoutFile(), columns))
        return false;
    QFile::rename(layoutFile(), workingFile());
    return true;
}

bool LayoutFiles::saveWorking(const QList<ColumnLayout>& columns) const {
    QFile::remove(workingFile());
    return saveLayout(workingFile(), columns);
}

const QStringList& layoutNames() {
    static const QStringList names{QStringLiteral("qkfind"),       QStringLiteral("readerfind"),
                                   QStringLiteral("bookfind"),     QStringLiteral("qk"),
                                   QStringLiteral("reader"),       QStringLiteral("book"),
                                   QStringLiteral("bookLendfind"), QStringLiteral("bookReturnfind"),
                                   QStringLiteral("qkLendfind"),   QStringLiteral("qkReturnfind")};
    return names;
}

void restoreLayoutFiles(const Home& home) {
    for (const QString& name : layoutNames()) {
        const LayoutFiles files(home, name);
        if (QFile::exists(files.workingFile()))
            QFile::rename(files.workingFile(), files.layoutFile());
    }
}

} // namespace cangshu
