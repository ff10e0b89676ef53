#include "SpreadsheetImport.h"

#include <QSqlError>
#include <QSqlField>

namespace cangshu {

const QString kImportNoFileMessage = QStringLiteral("请先打开Excel文件！");
const QString kImportNoTableMessage = QStringLiteral("请选择要导入的数据表！");
const QString kImportErrorMessage = QStringLiteral(
    "数据导入错误！请检查EXCEL表列名是否与数据库有相同的列名，或者数据库中已经存在相同的号码，"
    "或者EXCEL文件某列格式不匹配！");
const QString kImportDoneMessage = QStringLiteral("导入数据成功！");

const QStringList& importTargets() {
    static const QStringList targets{QStringLiteral("书籍资料"), QStringLiteral("期刊资料"),
                                     QStringLiteral("读者资料"), QStringLiteral("书籍预编"),
                                     QStringLiteral("期刊目录")};
    return targets;
}

QList<ColumnMatch> matchColumns(const QStringList& tableColumns, const QStringList& sheetTitles) {
    QList<ColumnMatch> out;
    for (const QString& column : tableColumns) {
        const QString name = column.trimmed();
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            continue;
        for (int k = 0; k < sheetTitles.size(); ++k) {
            if (sheetTitles.at(k).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                out.append({column, k});
                break;
            }
        }
    }
    return out;
}

namespace {

// A yes/no cell as the export writes it ("是"/"否") or as people type it; anything else is
// passed on for the database to refuse with its own reason.
QVariant yesNoCell(const QString& cell) {
    const QString t = cell.trimmed().toLower();
    if (t == u"是" || t == u"true" || t == u"1" || t == u"yes" || t == u"y" || t == u"√")
        return true;
    if (t == u"否" || t == u"false" || t == u"0" || t == u"no" || t == u"n")
        return false;
    return cell;
}

} // namespace

ImportOutcome importSheet(Database& db, const Sheet& sheet, const QString& table,
                          ProgressSink* progress) {
    ImportOutcome out;
    if (sheet.rows.isEmpty() || sheet.columnCount == 0) {
        out.message = kImportNoFileMessage;
        out.focus = QStringLiteral("file");
        return out;
    }
    const QString target = table.trimmed();
    if (target.isEmpty() || !importTargets().contains(target)) {
        out.message = kImportNoTableMessage;
        out.focus = QStringLiteral("table");
        return out;
    }
    const QSqlRecord record =
        db.run(QStringLiteral("select * from [%1] where 1=0").arg(target)).record();
    QStringList tableColumns;
    for (int i = 0; i < record.count(); ++i)
        tableColumns << record.fieldName(i);
    const QList<ColumnMatch> matches = matchColumns(tableColumns, sheet.rows.first());

    QStringList names, marks;
    QList<bool> textColumn, yesNoColumn;
    for (const ColumnMatch& m : matches) {
        names << QStringLiteral("[%1]").arg(m.tableColumn);
        marks << QStringLiteral("?");
        const int type = record.field(m.tableColumn).metaType().id();
        textColumn << (type == QMetaType::QString);
        yesNoColumn << (type == QMetaType::Bool);
    }
    const QString sql = matches.isEmpty()
                            ? QStringLiteral("insert into [%1] default values").arg(target)
                            : QStringLiteral("insert into [%1] (%2) values (%3)")
                                  .arg(target, names.join(u','), marks.join(u','));

    const int last = int(sheet.rows.size());
    if (progress) {
        progress->setLabel(QStringLiteral("系统正在导入到数据库......"));
        progress->setRange(last);
    }
    int row = 1;
    // The statement outlives the transaction, so that it is freed after the rollback.
    QSqlQuery insert(db.handle());
    try {
        Transaction tx(db);
        if (!insert.prepare(db.dialect().rewrite(sql)))
            throw DatabaseError(insert.lastError().text(), sql);
        for (row = 2; row <= last; ++row) {
            const QStringList& cells = sheet.rows.at(row - 1);
            for (int i = 0; i < matches.size(); ++i) {
                const QString cell = cells.value(matches.at(i).sheetColumn);
                if (cell.isEmpty() && !textColumn.at(i))
                    insert.bindValue(i, QVariant());
                else if (yesNoColumn.at(i))
                    insert.bindValue(i, yesNoCell(cell));
                else
                    insert.bindValue(i, cell);
            }
            if (!insert.exec()) {
                const QSqlError e = insert.lastError();
                throw DatabaseError(e.databaseText().isEmpty() ? e.text() : e.databaseText(), sql);
            }
            ++out.imported;
            if (progress) {
                progress->setLabel(QStringLiteral("系统正在导入到数据库... %1").arg(row));
                progress->setValue(row);
                if (progress->isCancelled())
                    throw DatabaseError(QStringLiteral("cancelled"), sql);
            }
        }
        insert.finish();
        row = 0;
        tx.commit();
    } catch (const DatabaseError& e) {
        out.imported = 0;
        out.message = kImportErrorMessage;
        out.failingRow = row;
        out.detail = e.message();
        return out;
    }
    out.ok = true;
    out.message = kImportDoneMessage;
    return out;
}

ImportOutcome importSpreadsheet(Database& db, const QString& file, const QString& table,
                                ProgressSink* progress) {
    Sheet sheet;
    QString error;
    if (!readSpreadsheet(file, &sheet, &error)) {
        ImportOutcome out;
        out.message = kImportNoFileMessage;
        out.focus = QStringLiteral("file");
        out.detail = error;
        return out;
    }
    return importSheet(db, sheet, table, progress);
}

} // namespace cangshu
