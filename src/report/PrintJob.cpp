#include "PrintJob.h"

#include "ReportRenderer.h"
#include "TemplateFiles.h"
#include "core/Database.h"

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
                        const QList<QVariantMap>& rows, const QString& pdfPath,
                        const QDate& printDate) {
    const LoadedTemplate loaded = loadTemplate(templateFolder, templateName);
    if (!loaded) {
        PrintOutcome outcome;
        outcome.message = loaded.error;
        return outcome;
    }
    ReportData data = dataForTemplate(templateName, rows);
    data.printDate = printDate;
    return printToPdf(*loaded.tpl, data, pdfPath);
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

QList<QVariantMap> tableRows(const Database& db, const QString& table) {
    QString name;
    for (const QString& t : db.tables())
        if (t.compare(table, Qt::CaseInsensitive) == 0)
            name = t;
    if (name.isEmpty())
        throw DatabaseError(QStringLiteral("数据库中没有表“%1”。").arg(table), {});
    static const QHash<QString, QString> orderColumns{
        {QStringLiteral("书籍资料"), QStringLiteral("书籍编号")},
        {QStringLiteral("期刊资料"), QStringLiteral("期刊编号")},
        {QStringLiteral("音像制品"), QStringLiteral("编号")},
        {QStringLiteral("读者资料"), QStringLiteral("读者编号")},
        {QStringLiteral("barcode"), QStringLiteral("条形码")}};
    QString sql = QStringLiteral("select * from [%1]").arg(name);
    const QString order = orderColumns.value(
        name.toLower() == QLatin1String("barcode") ? QStringLiteral("barcode") : name);
    if (!order.isEmpty())
        sql += QStringLiteral(" order by [%1]").arg(order);
    QSqlQuery query = db.run(sql);
    return rowsOf(query);
}

} // namespace cangshu::report
