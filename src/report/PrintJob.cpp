#include "PrintJob.h"

#include "ReportRenderer.h"
#include "TemplateFiles.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace cangshu::report {

ReportData dataForTemplate(const QString& templateName, QList<QVariantMap> rows) {
    ReportData data;
    data.rows = std::move(rows);
    const QString base = QFileInfo(templateName).completeBaseName();
    if (base.compare(QLatin1String("reader"), Qt::CaseInsensitive) == 0 ||
        base.compare(QLatin1String("readerCode"), Qt::CaseInsensitive) == 0)
        data.rowPicture = readerPhotoHook();
    return data;
}

PrintOutcome printToPdf(const ReportTemplate& tpl, const ReportData& data, const QString& pdfPath) {
    PrintOutcome outcome;
    const ReportRenderer renderer(tpl, data);
    if (renderer.pageCount() == 0) {
        outcome.message = QStringLiteral("没有要打印的数据。");
        return outcome;
    }
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.message = QStringLiteral("无法写入文件 %1：%2").arg(pdfPath, file.errorString());
        return outcome;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Cangshu"));
        writer.setTitle(tpl.title.isEmpty() ? tpl.name : tpl.title);
        if (!renderer.render(writer, &outcome.message))
            return outcome; // QSaveFile discards the partial file
    }
    if (!file.commit()) {
        outcome.message = QStringLiteral("无法写入文件 %1：%2").arg(pdfPath, file.errorString());
        return outcome;
    }
    outcome.ok = true;
    outcome.pages = renderer.pageCount();
    outcome.problems = renderer.problems();
    return outcome;
}

PrintOutcome printToPdf(const QString& templateFolder, const QString& templateName,
                        const QList<QVariantMap>& rows, const QString& pdfPath) {
    const LoadedTemplate loaded = loadTemplate(templateFolder, templateName);
    if (!loaded) {
        PrintOutcome outcome;
        outcome.message = loaded.error;
        return outcome;
    }
    return printToPdf(*loaded.tpl, dataForTemplate(templateName, rows), pdfPath);
}

QList<QVariantMap> rowsOf(QSqlQuery& query) {
    QList<QVariantMap> rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
        rows.append(row);
    }
    return rows;
}

} // namespace cangshu::report
