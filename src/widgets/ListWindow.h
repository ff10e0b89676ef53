#pragma once
#include "DataGrid.h"
#include "SearchBar.h"
#include "core/Home.h"
#include "queries/Marking.h"

#include <QDialog>
#include <optional>

class QPushButton;
class QHBoxLayout;
class QMenu;

namespace cangshu {

// What a management or query window over one table declares; the base does the rest.
struct ListWindowSpec {
    QString title;
    QString table;
    QString keyColumn = QStringLiteral("ID");
    QString columnList = QStringLiteral("*");
    QString orderBy; // "[读者编号]"
    QList<GridColumn> columns;
    QList<SearchField> searchFields;
    QString markNumberColumn;          // set: row marking with its pop-up and "删除选中"
    bool countedDeleteConfirm = false; // the catalogue form of the confirmations
    QString layoutName;                // set: saved layout "database/<name>.txt"
    QString reportTitle;               // "读者资料报表"
    QString conditionTables;           // table list of "高级查询" (the table by default)
    bool allExportFormats = true;      // four-format drop-down, or Excel only
    QString quitCaption = QStringLiteral("退出");
    // The marking commands on a "选中操作" button, leaving the grid's pop-up to the window.
    bool markingButton = false;
    bool rowNumbers = false; // the "序号" column
};

enum class ListMode { Management, Query };

// The list window base: the grid, the quick search bar and the usual buttons (显示全部,
// 高级查询, 设置列选, 导出数据, 报表打印, 删除选中 with marking, 退出). Every list the
// commands show goes through listRows(), so a window that lists otherwise (a page at a
// time, say) replaces that one hook and keeps the commands.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(Database& db, const Home& home, ListWindowSpec definition, ListMode mode,
               QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }
    SearchBar* searchBar() const { return m_search; }
    // Where a window adds its own command buttons (before 退出).
    QHBoxLayout* commandRow() const { return m_commands; }
    QPushButton* button(const QString& caption) const;
    QMenu* markingMenu() const { return m_markMenu; }
    const ListWindowSpec& definition() const { return m_spec; }
    ListMode mode() const { return m_mode; }

    // The commands, also callable from code.
    bool showAll();
    bool search();
    bool listWhere(const QString& condition, const QVariantList& params = {},
                   const QString& orderBy = {});
    void advancedQuery();
    void chooseColumns();
    void exportAs(ExportFormat format);
    void printReport();
    bool showMarked();
    void markAll();
    void unmarkAll();
    virtual bool deleteMarked();

protected:
    // Lists the rows under a " where ..." text (empty: all rows) in the given order (empty:
    // the window's own).
    virtual bool listRows(const QString& whereText, const QVariantList& params,
                          const QString& orderBy);
    // Puts the named command buttons first in the command row, in that order.
    void arrangeCommands(const QStringList& captions);
    // A command button of the window's own, placed before the stretch and 退出.
    QPushButton* addCommandButton(const QString& caption);
    // Runs inside the deletion's transaction before the marked rows go.
    virtual void beforeDeleteMarked(Database&) {}
    void showEvent(QShowEvent* event) override;
    Database& db() const { return m_db; }
    const Home& home() const { return m_home; }

private:
    bool loadOrReport(const GridSource& source);
    QPushButton* addButton(const QString& caption);

    Database& m_db;
    Home m_home;
    ListWindowSpec m_spec;
    ListMode m_mode;
    std::optional<Marking> m_marking;
    DataGrid* m_grid;
    SearchBar* m_search;
    QHBoxLayout* m_commands;
    QMenu* m_markMenu = nullptr;
    bool m_shown = false;
};

} // namespace cangshu
