#pragma once
#include "Database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace cangshu {

// The library database's schema as data: one definition, turned into each engine's DDL.

enum class ColumnType { Key, Text, Memo, Integer, Money, Number, Date, DateTime, YesNo, Image };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;        // text columns; 0 = unbounded
    QVariant defaultValue; // null = no default
    bool addedByUpgrade = false;
    // The type the column had before the upgrade changed it (期刊页数 was numeric).
    std::optional<ColumnType> legacyType;
};

struct IndexDef {
    QStringList columns;
    bool unique = false;
    // Set when "ix_<table>_<columns>" would pass PostgreSQL's 63-byte limit on names.
    QString name;
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
    QList<IndexDef> indexes;
    bool createdByUpgrade = false;

    const ColumnDef* column(const QString& name) const;
    QString keyColumn() const; // the identity column
};

// Which schema to build: the current one, or the one of a database made before the upgrade
// (without what the upgrade adds, and with the types it changes), for tests of the upgrade.
enum class SchemaVersion { Current, BeforeUpgrade };

// Every table of the library database, in creation order.
const QList<TableDef>& schemaTables();
const TableDef* schemaTable(const QString& name);

// The column's type and default in the engine's DDL ("VARCHAR(50) DEFAULT '在馆'").
QString columnTypeSql(const Dialect& dialect, const ColumnDef& column,
                      SchemaVersion version = SchemaVersion::Current);
QString createTableSql(const Dialect& dialect, const TableDef& table,
                       SchemaVersion version = SchemaVersion::Current);
QString indexName(const TableDef& table, const IndexDef& index);
// CREATE [UNIQUE] INDEX IF NOT EXISTS ...
QString createIndexSql(const TableDef& table, const IndexDef& index);

// Builds the whole schema (tables and indexes) in one transaction. Throws DatabaseError
// when any of it fails, e.g. because a table already exists; then nothing is created.
void createSchema(Database& db, SchemaVersion version = SchemaVersion::Current);

} // namespace cangshu
