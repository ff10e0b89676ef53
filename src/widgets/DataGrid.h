#pragma once
#include "GridModel.h"
#include "queries/Export.h"

#include <QTableView>
#include <QWidget>
#include <memory>

namespace cangshu {

class FooterBar;

// The shared grid: a table view over a lazily fetched list, a footer row with "合计",
// counts and sums, title-click sorting, light cyan odd rows, and editing in management mode.
class DataGrid : public QWidget {
    Q_OBJECT
public:
    explicit DataGrid(Database& db, QWidget* parent = nullptr);

    GridModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }

    void setColumns(const QList<GridColumn>& columns);
    // The row numbers as the list's "序号" column, centred on light blue.
    void setRowNumbers(bool shown);
    // Management mode writes edits and marks to the table; query mode is read-only.
    void setManagement(const QString& table, const QString& keyColumn = QStringLiteral("ID"));

    // Lists the source; false (with the reason in lastError) when the database refused it.
    bool load(const GridSource& source);
    bool reload();
    QString lastError() const { return m_lastError; }

    // The columns as shown now: order, titles, widths, visibility.
    QList<ColumnLayout> layout() const;
    void applyLayout(const QList<ColumnLayout>& layout);

    // The footer texts, recomputed after every load.
    QString footerText(int column) const;
    void refreshFooter();

    // Every row of the list (not only those fetched), in the visible columns.
    std::unique_ptr<RowSource> rowSource() const;

signals:
    void loaded();

private:
    void syncColumns();

    Database& m_db;
    GridModel* m_model;
    QTableView* m_view;
    FooterBar* m_footer;
    QStringList m_footerTexts;
    QString m_lastError;
};

} // namespace cangshu
