#include "TemplateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace cangshu::report {

namespace {

QString baseName(const QString& name) {
    const QString file = QFileInfo(name).fileName();
    const qsizetype dot = file.indexOf(u'.');
    return dot < 0 ? file : file.left(dot);
}

const QString kResourceFolder = QStringLiteral(":/cangshu/report");

} // namespace

QString findTemplateFile(const QString& folder, const QString& name) {
    const QString wanted = baseName(name);
    if (wanted.isEmpty())
        return {};
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*") + QLatin1String(kTemplateSuffix)}, QDir::Files);
    for (const QString& file : files)
        if (baseName(file).compare(wanted, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(file);
    return {};
}

LoadedTemplate parseTemplate(const QByteArray& json, const QString& origin) {
    LoadedTemplate result;
    result.path = origin;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        result.error = QStringLiteral("报表模板 %1 不是有效的 JSON 文件：%2（第 %3 个字符）。")
                           .arg(origin, parseError.errorString())
                           .arg(parseError.offset);
        return result;
    }
    if (!doc.isObject()) {
        result.error =
            QStringLiteral("报表模板 %1 不是有效的报表模板：应为 JSON 对象。").arg(origin);
        return result;
    }
    QString error;
    result.tpl = fromJson(doc.object(), &error);
    if (!result.tpl) {
        result.error = QStringLiteral("报表模板 %1 有错误：%2").arg(origin, error);
        return result;
    }
    if (result.tpl->name.isEmpty())
        result.tpl->name = baseName(origin);
    return result;
}

LoadedTemplate loadTemplateFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LoadedTemplate result;
        result.path = path;
        result.error = QStringLiteral("无法打开报表模板文件 %1：%2").arg(path, file.errorString());
        return result;
    }
    return parseTemplate(file.readAll(), path);
}

LoadedTemplate loadTemplate(const QString& folder, const QString& name) {
    const QString path = findTemplateFile(folder, name);
    if (path.isEmpty()) {
        LoadedTemplate result;
        result.path = QDir(folder).filePath(baseName(name) + QLatin1String(kTemplateSuffix));
        result.error = QStringLiteral("找不到报表模板文件 %1。").arg(result.path);
        return result;
    }
    return loadTemplateFile(path);
}

bool saveTemplateFile(const ReportTemplate& tpl, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("无法写入报表模板文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    file.write(QJsonDocument(toJson(tpl)).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        *error = QStringLiteral("无法写入报表模板文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QStringList shippedTemplateNames() {
    QStringList names;
    for (const QString& file : QDir(kResourceFolder).entryList(QDir::Files, QDir::Name))
        names << baseName(file);
    return names;
}

QByteArray shippedTemplate(const QString& name) {
    const QString path = findTemplateFile(kResourceFolder, name);
    if (path.isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool installShippedTemplates(const QString& folder, QStringList* kept, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("无法创建文件夹 %1。").arg(folder);
        return false;
    }
    for (const QString& name : shippedTemplateNames()) {
        const QString existing = findTemplateFile(folder, name);
        if (!existing.isEmpty()) {
            if (kept)
                kept->append(existing);
            continue;
        }
        QSaveFile file(QDir(folder).filePath(name + QLatin1String(kTemplateSuffix)));
        if (!file.open(QIODevice::WriteOnly) || file.write(shippedTemplate(name)) < 0 ||
            !file.commit()) {
            *error = QStringLiteral("无法写入报表模板文件 %1：%2")
                         .arg(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

} // namespace cangshu::report
