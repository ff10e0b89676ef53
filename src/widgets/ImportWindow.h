#pragma once
#include "core/Database.h"
#include "queries/Spreadsheet.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTableView;

namespace cangshu {

class SheetModel;

// "数据导入": opens a spreadsheet, shows its column names beside those of the chosen table,
// previews its rows and imports them into the table.
class ImportWindow : public QDialog {
    Q_OBJECT
public:
    explicit ImportWindow(Database& db, QWidget* parent = nullptr);
    ~ImportWindow() override;

    QLineEdit* fileField() const { return m_file; }
    QComboBox* tableBox() const { return m_table; }
    QListWidget* sheetColumns() const { return m_sheetColumns; }
    QListWidget* tableColumns() const { return m_tableColumns; }
    QTableView* previewList() const { return m_preview; }

    // "打开Excel文件" with the file already chosen; false when it cannot be read.
    bool openFile(const QString& file);
    void chooseTable(const QString& table);
    bool preview();
    bool importRows();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void browse();

    Database& m_db;
    Sheet m_sheet;
    QString m_openTable; // the table whose columns are listed
    QLineEdit* m_file;
    QComboBox* m_table;
    QListWidget* m_sheetColumns;
    QListWidget* m_tableColumns;
    QTableView* m_preview;
    SheetModel* m_model;
};

} // namespace cangshu
