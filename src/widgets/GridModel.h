#pragma once
#include "core/Database.h"
#include "queries/Layouts.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace cangshu {

enum class FooterKind { None, Label, Count, Sum };

// How a column's cells are drawn: amounts of money as "￥,0.00" (the footer's sum too), and
// the columns a list stresses in red or blue bold.
enum class ColumnLook { Plain, Money, RedMoney, Red, Blue };

// A column a window declares for its grid.
struct GridColumn {
    QString field;
    QString title;
    int width = 100;
    FooterKind footer = FooterKind::None;
    bool visible = true;
    ColumnLook look = ColumnLook::Plain;
};

// The text of a value in a column of this look.
QString lookText(ColumnLook look, const QVariant& value);

// What the grid lists: a SELECT without ORDER BY, its bound values, and the default order.
struct GridSource {
    QString select;
    QVariantList params;
    QString orderBy; // "[书籍编号]" or empty
    // A quicker statement for the footer where aggregating the select would read every row
    // of a large join: one row, the count first and each sum named by its field, bound with
    // the same values. Empty: the grid aggregates over the select.
    QString totals{};
};

// The rows of a grid: fetched lazily in blocks, shown in the declared columns, sorted by
// re-querying, editable in place in management mode. On SQLite the blocks come from one
// streaming SELECT; the PostgreSQL driver would hold a whole result on the client, so there
// each block is a query of its own (LIMIT/OFFSET in the list's order).
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(Database& db, QObject* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    void setColumnVisible(int column, bool visible) { m_columns[column].visible = visible; }
    void setColumnWidth(int column, int width) { m_columns[column].width = width; }
    // Reorders the columns by the saved layout; titles, widths and visibility come from it.
    void applyLayout(const QList<ColumnLayout>& layout);
    QList<ColumnLayout> layout() const;

    // Management mode: edits and marks write to this table, rows found by the key column.
    void setEditable(const QString& table, const QString& keyColumn = QStringLiteral("ID"));
    bool isEditable() const { return !m_table.isEmpty(); }

    // Lists the source; throws DatabaseError when the database refuses it.
    void load(const GridSource& source);
    void reload();
    const GridSource& source() const { return m_source; }
    // The statement the grid shows, with its current order.
    QString currentSql() const;
    QString sortedField() const { return m_sortField; }

    // Count of all rows and the sums of the Sum columns, by one aggregate query.
    struct Totals {
        qint64 rows = 0;
        QHash<QString, double> sums;
    };
    Totals totals() const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

    // The record value of a field in a row (also of fields not shown).
    QVariant fieldValue(int row, const QString& field) const;
    int columnOfField(const QString& field) const;
    // The fields of the list's rows.
    const QSqlRecord& record() const { return m_record; }
    // Empties the grid (no rows, no fields) until the next load.
    void clear();

signals:
    void failed(const QString& message);
    void reloaded();

private:
    int recordIndex(int column) const;
    QString orderTerms() const;
    // The statement of one block on PostgreSQL: the list's order made total, LIMIT and OFFSET.
    QString blockSql() const;
    static QString tieBreakFor(const QSqlRecord& record);
    // The next block of rows after those held; fewer than a block at the end of the list.
    QList<QList<QVariant>> readBlock();

    static constexpr int kBlockRows = 256;

    Database& m_db;
    QList<GridColumn> m_columns;
    bool m_declared = false;
    GridSource m_source;
    QString m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_table;
    QString m_keyColumn;
    QHash<quint64, QVariant> m_edits; // (row << 32 | column) → value written since the query
    QSqlQuery m_query;                // the streaming SELECT (SQLite)
    QSqlRecord m_record;
    QString m_tieBreak;            // the columns that settle ties between the blocks (PostgreSQL)
    QList<QList<QVariant>> m_rows; // the rows fetched so far
    bool m_atEnd = true;
};

} // namespace cangshu
