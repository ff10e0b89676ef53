#pragma once
#include "catalogue/BookList.h"
#include "catalogue/ClassTree.h"
#include "widgets/ListWindow.h"

#include <memory>

class QLabel;
class QPushButton;
class QTreeWidgetItem;

namespace cangshu {

class ClassTreeWidget;

// What a catalogue window (books, periodicals, audio-visual items) declares beyond the
// list window's title, columns, search fields, layout and report title.
struct CatalogueWindowSpec : ListWindowSpec {
    CatalogueTable catalogue;
    ClassScheme classes;
    QString allClassesText; // "全部图书"
    int defaultSearchField = 0;
    QString reducedColumns; // the column list without the picture
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

// The generic catalogue window: the list window's grid, search bar, marking and commands,
// listing one page of the table at a time with its paging bar and counters, beside the
// class tree. A subclass supplies the record editor and its own extra commands.
class CatalogueWindow : public ListWindow {
    Q_OBJECT
public:
    CatalogueWindow(Database& db, const Home& home, CatalogueWindowSpec definition,
                    QWidget* parent = nullptr);

    void setSettings(const CatalogueSettings& settings);
    const CatalogueSettings& settings() const { return m_settings; }

    ClassTreeWidget* classTree() const { return m_tree; }
    BookPager& pager() { return *m_pager; }
    QLabel* pageLabel() const { return m_pageLabel; }
    QLabel* counterLabel(const QString& caption) const;
    QString counterText(const QString& caption) const;
    const ListCondition& condition() const { return m_condition; }
    const CatalogueWindowSpec& catalogueSpec() const { return m_spec; }

    // Commands.
    bool list(const ListCondition& condition);
    bool classClicked(QTreeWidgetItem* item);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    bool deleteCurrent();
    bool deleteMarked() override;
    // The current row's ID, 0 when the list is empty.
    qint64 currentId() const;
    // Reloads the page shown (after an edit).
    void refreshPage();

protected:
    void showEvent(QShowEvent* event) override;
    bool listRows(const QString& whereText, const QVariantList& params,
                  const QString& orderBy) override;
    virtual void addRecord() = 0;
    virtual void changeRecord() = 0;
    // Called when the current row changes (full mode shows the cover and the detail tabs).
    virtual void currentRowChanged(qint64 id) { (void)id; }
    // The tool buttons in their order, those a subclass added included.
    void arrangeToolButtons();
    QWidget* rightPanel() const { return m_right; }
    QWidget* counterPanel() const { return m_counters; }

private:
    void arrangeLayout();
    QLayout* pagingBar();
    void showPage(const QList<QVariantMap>& rows);
    void updateCounters();
    void applyMode();
    bool guarded(const std::function<void()>& work);

    CatalogueWindowSpec m_spec;
    CatalogueSettings m_settings;
    ListCondition m_condition;
    int m_pageSize = 100;
    std::unique_ptr<BookPager> m_pager;
    ClassTreeWidget* m_tree = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_totalRows = nullptr;
    QLabel* m_totalValue = nullptr;
    QWidget* m_counters = nullptr;
    QWidget* m_right = nullptr;
    QList<QPushButton*> m_pagingButtons;
    QHash<QString, QLabel*> m_counterLabels;
    bool m_shownBefore = false;
    QObject* m_watchedSelection = nullptr;
};

} // namespace cangshu
