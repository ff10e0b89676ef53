#pragma once
#include "ReaderEditor.h"
#include "widgets/ListWindow.h"

class QLabel;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace cangshu {

// "读者资料管理": the readers by type, searched, marked, edited, deleted, printed as barcodes
// and cards, with the current reader's photo and loans beside the list.
class ReaderWindow : public ListWindow {
    Q_OBJECT
public:
    ReaderWindow(const ReadersUiContext& context, QWidget* parent = nullptr);

    QTreeWidget* typeTree() const { return m_tree; }
    QTabWidget* loanTabs() const { return m_tabs; }
    DataGrid* loanGrid(int tab) const { return m_loanGrids[tab]; }
    QLabel* photoLabel() const { return m_photo; }
    QWidget* detailPanel() const { return m_detail; }
    ReaderEditor* editor();

    QString currentNumber() const;
    bool selectNumber(const QString& number);

    // The commands, also callable from code.
    void addReader();
    void editReader();
    bool deleteCurrent();
    bool deleteMarkedReaders();
    bool listType(const QString& typeName);
    bool listExpired();
    bool readCardSearch();
    void refreshPinyin();
    void printCards(const QString& templateName);
    void designCards(const QString& templateName);
    void showPhoto();
    // "查询正在借阅的书籍" / "查询历史借阅记录": the current reader's open or returned books.
    void showBookLoans(bool returned);
    // The rows of the list as it stands, for printing.
    QList<QVariantMap> listedRows();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildDetail();
    void fillTree();
    void followCurrent();
    void afterEditor(const QString& number);

    ReadersUiContext m_context;
    ReaderEditor* m_editor = nullptr;
    QTreeWidget* m_tree;
    QWidget* m_detail = nullptr;
    QLabel* m_photo = nullptr;
    QTabWidget* m_tabs = nullptr;
    DataGrid* m_loanGrids[4] = {};
};

// The window as the main window's "新增读者" (F9) opens it: the editor for a new reader.
ReaderEditor* newReaderEditor(const ReadersUiContext& context, QWidget* parent);

} // namespace cangshu
