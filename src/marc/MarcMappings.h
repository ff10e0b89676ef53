#pragma once
#include <QList>
#include <QString>

namespace cangshu {

class Database;

// One row of the import mappings `marc` (books) or `marcqk` (periodicals): which subfield
// of a record fills which preview column and which catalogue column.
struct MarcMappingRow {
    int order = 0;   // 序号
    QString tag;     // marc字段
    QString code;    // 标识: a subfield code, or "@" for the text before the first one
    int width = 0;   // 列宽
    QString caption; // 图书字段 / 期刊字段
    QString column;  // 导入数据库字段; empty: shown in the preview only
};

// The CNMARC mappings a new library starts with.
QList<MarcMappingRow> defaultBookMappings();
QList<MarcMappingRow> defaultPeriodicalMappings();

// Fills `marc` and `marcqk` with the default rows, each only when it is empty, in one
// transaction. Returns the number of rows written.
int seedMarcMappings(Database& db);

} // namespace cangshu
