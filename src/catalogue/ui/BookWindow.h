#pragma once
#include "BookEditor.h"
#include "CatalogueWindow.h"
#include "queries/CirculationHistory.h"

#include <functional>

class QLabel;
class QMenu;
class QTabWidget;

namespace cangshu {

class DataGrid;

// "书籍资料管理": the catalogue window over 书籍资料 with the book editor, the cover and
// the borrower and history tabs, the batch repairs and the label printing.
class BookWindow : public CatalogueWindow {
    Q_OBJECT
public:
    BookWindow(Database& db, const Home& home, QWidget* parent = nullptr);
    static CatalogueWindowSpec bookSpec();

    void setEditorSettings(const BookEditorSettings& settings) { m_editorSettings = settings; }
    // The editor as the window opens it (its session is this window's).
    BookEditor* editor();
    BookEditSession& session() { return *m_session; }
    DataGrid* borrowers() const { return m_borrowers; }
    DataGrid* history() const { return m_history; }
    QLabel* cover() const { return m_cover; }
    void setNumberSettingsOpener(std::function<void(QWidget*)> open) {
        m_openNumberSettings = std::move(open);
    }

    void addRecord() override;
    void changeRecord() override;
    bool repairPinyin(bool ask = true);
    bool repairIsbns(bool ask = true);
    void printLabels(const QString& templateName);
    void designLabels(const QString& templateName);
    void showCoverEnlarged();
    // "查询借阅者": the loan query on the current book, unless it is on the shelf.
    bool showBorrowers();
    // "查询历史借阅记录": the return query on the current book.
    bool showReturns();
    QMenu* gridPopup() const { return m_popup; }
    // The loan or return query as the pop-up opens it (made on first use).

protected:
    void showEvent(QShowEvent* event) override;
    void currentRowChanged(qint64 id) override;

private:
    void openEditor(const QString& title);
    QList<QVariantMap> pageRows(const QStringList& columns = {}) const;
    bool showHistoryOf(HistoryKind kind, const QString& bookNumber);
    // A batch repair of the whole table behind the progress window, after the question
    // (none: no question); the page is shown again afterwards.
    bool runRepair(const QString& question,
                   const std::function<int(Database&, ProgressSink&)>& repair);
    // The current book's columns read afresh; none for an empty list or a failed read (shown).
    std::optional<QVariantMap> currentBook(const QString& columns);

    BookEditorSettings m_editorSettings;
    std::unique_ptr<BookEditSession> m_session;
    BookEditor* m_editor = nullptr;
    QLabel* m_cover = nullptr;
    QTabWidget* m_tabs = nullptr;
    DataGrid* m_borrowers = nullptr;
    DataGrid* m_history = nullptr;
    std::function<void(QWidget*)> m_openNumberSettings;
    QMenu* m_popup = nullptr;
};

} // namespace cangshu
