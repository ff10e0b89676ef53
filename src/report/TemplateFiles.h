#pragma once
#include "ReportTemplate.h"

#include <QStringList>

namespace cangshu::report {

// A template read from a file, or the reason it cannot be used.
struct LoadedTemplate {
    std::optional<ReportTemplate> tpl;
    QString error;
    QString path;

    explicit operator bool() const { return tpl.has_value(); }
};

inline const char* kTemplateSuffix = ".json";

// The file of a template in the folder, the name compared without regard to case. The name
// may carry an extension ("readercode.frf" finds readerCode.json). Empty when missing.
QString findTemplateFile(const QString& folder, const QString& name);

LoadedTemplate loadTemplateFile(const QString& path);
LoadedTemplate loadTemplate(const QString& folder, const QString& name);
LoadedTemplate parseTemplate(const QByteArray& json, const QString& origin);

// Writes the whole file or nothing.
bool saveTemplateFile(const ReportTemplate& tpl, const QString& path, QString* error);

// The templates that come with the system (kept inside the program).
QStringList shippedTemplateNames();
QByteArray shippedTemplate(const QString& name);
// Copies the shipped templates into the folder; files already there are left alone and
// named in *kept.
bool installShippedTemplates(const QString& folder, QStringList* kept, QString* error);

} // namespace cangshu::report
