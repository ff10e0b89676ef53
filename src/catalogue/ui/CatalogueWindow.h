#pragma once
#include "catalogue/BookList.h"
#include "catalogue/ClassTree.h"
#include "core/Home.h"
#include "widgets/DataGrid.h"
#include "widgets/SearchBar.h"

#include <QDialog>
#include <memory>

class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidgetItem;
class QHBoxLayout;

namespace cangshu {

class ClassTreeWidget;

// What a catalogue window (books, periodicals, audio-visual items) declares.
struct CatalogueWindowSpec {
    QString title; // "书籍资料管理"
    CatalogueTable table;
    ClassScheme classes;
    QString allClassesText; // "全部图书"
    QList<GridColumn> columns;
    QList<SearchField> searchFields;
    int defaultSearchField = 0;
    QString reducedColumns; // the column list without the picture
    QString layoutName;     // "book"
    QString reportTitle;    // "书籍资料报表"
    QString addCaption;     // "添加新书"
    QString changeCaption;  // "修改资料"
    QString deleteCaption;  // "删除书籍"
};

// The values a catalogue window reads when it is shown.
struct CatalogueSettings {
    bool fullMode = true; // ViewMode "61730"; "0" is the reduced mode
    bool oneToOne = true;
    QString kindCondition = QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN");
    QString operatorName;
};

// The generic catalogue window: class tree, quick search, one page of the table at a time
// with its paging bar and counters, the row commands, marking and batch commands, report
// and exports. A subclass supplies the record editor and its own extra commands.
class CatalogueWindow : public QDialog {
    Q_OBJECT
public:
    CatalogueWindow(Database& db, const Home& home, CatalogueWindowSpec definition,
                    QWidget* parent = nullptr);

    void setSettings(const CatalogueSettings& settings);
    const CatalogueSettings& settings() const { return m_settings; }

    DataGrid* grid() const { return m_grid; }
    SearchBar* searchBar() const { return m_search; }
    ClassTreeWidget* classTree() const { return m_tree; }
    BookPager& pager() { return *m_pager; }
    QPushButton* toolButton(const QString& caption) const;
    QLabel* pageLabel() const { return m_pageLabel; }
    QLabel* counterLabel(const QString& caption) const;
    QString counterText(const QString& caption) const;
    const ListCondition& condition() const { return m_condition; }

    // Commands.
    bool list(const ListCondition& condition);
    bool showAll() { return list({}); }
    bool quickSearch();
    bool classClicked(QTreeWidgetItem* item);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    bool showMarked();
    void markAll();
    void unmarkAll();
    bool deleteCurrent();
    bool deleteMarked();
    void advancedQuery();
    void chooseColumns();
    void printReport();
    // The current row's ID, 0 when the list is empty.
    qint64 currentId() const;
    // Reloads the page shown (after an edit).
    void refreshPage();

protected:
    void showEvent(QShowEvent* event) override;
    virtual void addRecord() = 0;
    virtual void changeRecord() = 0;
    // The tool row, for the subclass's drop-down buttons.
    QHBoxLayout* toolRow() const { return m_tools; }
    QPushButton* addToolButton(const QString& caption, int at = -1);
    Database& db() const { return m_db; }
    const Home& home() const { return m_home; }
    const CatalogueWindowSpec& definition() const { return m_spec; }
    QMenu* markingMenu() const { return m_markMenu; }
    // Called when the current row changes (full mode shows the cover and the detail tabs).
    virtual void currentRowChanged(qint64 id) { (void)id; }
    QWidget* rightPanel() const { return m_right; }
    QWidget* counterPanel() const { return m_counters; }

private:
    void buildLayout();
    void showPage(const QList<QVariantMap>& rows);
    void updateCounters();
    void applyMode();
    bool guarded(const std::function<void()>& work);

    Database& m_db;
    Home m_home;
    CatalogueWindowSpec m_spec;
    CatalogueSettings m_settings;
    ListCondition m_condition;
    int m_pageSize = 100;
    std::unique_ptr<BookPager> m_pager;
    ClassTreeWidget* m_tree = nullptr;
    SearchBar* m_search = nullptr;
    DataGrid* m_grid = nullptr;
    QHBoxLayout* m_tools = nullptr;
    QMenu* m_markMenu = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_totalRows = nullptr;
    QLabel* m_totalValue = nullptr;
    QWidget* m_counters = nullptr;
    QWidget* m_right = nullptr;
    QList<QPushButton*> m_pagingButtons;
    QHash<QString, QLabel*> m_counterLabels;
    bool m_layoutLoaded = false;
    QObject* m_watchedSelection = nullptr;
};

} // namespace cangshu
