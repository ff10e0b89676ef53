#include "MarcMappings.h"

#include "core/Database.h"

namespace cangshu {

namespace {

QList<MarcMappingRow> numbered(QList<MarcMappingRow> rows) {
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i].order = int(i + 1);
    return rows;
}

MarcMappingRow row(const char* tag, const char* code, int width, const char* caption,
                   const char* column = nullptr) {
    return {0,     QString::fromUtf8(tag),     QString::fromUtf8(code),
            width, QString::fromUtf8(caption), column ? QString::fromUtf8(column) : QString()};
}

int seed(Database& db, const QString& table, const QString& captionColumn,
         const QList<MarcMappingRow>& rows) {
    if (db.scalar(QStringLiteral("select count(*) from [%1]").arg(table)).toInt() > 0)
        return 0;
    const QString sql =
        QStringLiteral("insert into [%1] ([序号], [marc字段], [标识], [列宽], [%2], "
                       "[导入数据库字段], [导入标识]) values (?, ?, ?, ?, ?, ?, ?)")
            .arg(table, captionColumn);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        db.execute(sql, {r.order, r.tag, r.code, r.width, r.caption,
                         r.column.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : r.column,
                         int(i)});
    }
    return int(rows.size());
}

} // namespace

QList<MarcMappingRow> defaultBookMappings() {
    return numbered({
        row("200", "a", 220, "正题名", "书籍名称"),
        row("200", "h", 70, "分辑号", "当前本数"),
        row("200", "f", 160, "第一责任说明", "作者信息"),
        row("010", "a", 120, "ISBN", "标准ISBN"),
        row("010", "d", 80, "价格", "书籍价格"),
        row("690", "a", 90, "中图分类号", "中图分类"),
        row("905", "e", 70, "书次号", "种次号"),
        row("210", "c", 160, "出版者", "出版社名"),
        row("210", "a", 80, "出版地", "出版地点"),
        row("210", "d", 80, "出版日期", "出版日期"),
        row("215", "a", 80, "页数", "书籍页码"),
        row("215", "d", 70, "尺寸", "书籍开本"),
        row("215", "e", 90, "附件", "配送物品"),
        row("205", "a", 70, "版次", "书籍版次"),
        row("225", "a", 140, "丛编题名", "所属丛书"),
        row("101", "a", 60, "语种", "所属语种"),
        row("330", "a", 240, "提要", "内容简介"),
        row("300", "a", 160, "附注", "备注信息"),
        row("905", "b", 120, "登录号", "书籍编号"),
        row("701", "a", 120, "等同责任者"),
        row("200", "e", 160, "其他题名信息"),
        row("606", "a", 140, "主题词"),
        row("001", "@", 110, "记录标识号"),
    });
}

QList<MarcMappingRow> defaultPeriodicalMappings() {
    return numbered({
        row("200", "a", 220, "刊名", "期刊名称"),     row("011", "a", 100, "ISSN", "标准ISSN"),
        row("011", "d", 80, "价格", "期刊价格"),      row("091", "a", 120, "统一刊号", "统一刊号"),
        row("092", "b", 90, "订购号", "订购号"),      row("200", "f", 160, "主编", "主编信息"),
        row("207", "a", 120, "卷期编号", "期刊刊次"), row("690", "a", 90, "中图分类号", "中图分类"),
        row("210", "c", 160, "出版者", "出版社名"),   row("210", "a", 80, "出版地", "出版地点"),
        row("326", "a", 70, "出版周期", "期刊刊期"),  row("215", "a", 70, "页数", "期刊页数"),
        row("215", "d", 70, "尺寸", "期刊开本"),      row("215", "e", 90, "附件", "配送物品"),
        row("101", "a", 60, "语种", "所属语种"),      row("300", "a", 160, "附注", "备注信息"),
        row("905", "b", 120, "登录号", "期刊编号"),   row("210", "d", 80, "出版日期"),
        row("001", "@", 110, "记录标识号"),
    });
}

int seedMarcMappings(Database& db) {
    Transaction tx(db);
    const int written =
        seed(db, QStringLiteral("marc"), QStringLiteral("图书字段"), defaultBookMappings()) +
        seed(db, QStringLiteral("marcqk"), QStringLiteral("期刊字段"), defaultPeriodicalMappings());
    tx.commit();
    return written;
}

} // namespace cangshu
