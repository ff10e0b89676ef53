#pragma once
#include "core/Database.h"

#include <QDialog>

class QPushButton;

namespace cangshu {

class DataGrid;

// "读者类型设置": the reader types with their loan rules; also the chooser of the reader
// editor, which then reads the chosen type's name.
class ReaderTypesWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReaderTypesWindow(Database& db, QWidget* parent = nullptr);

    // As a chooser the window shows "选中读者类型(&S)" and a double-click chooses.
    void setChooser(bool chooser);
    bool isChooser() const { return m_chooser; }
    bool chosen() const { return m_chosen; }
    QString currentName() const;

    bool reload();
    void addType();
    void editType();
    void deleteType();
    void choose();

    DataGrid* grid() const { return m_grid; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectName(const QString& name);

    Database& m_db;
    DataGrid* m_grid;
    QPushButton* m_choose;
    bool m_chooser = false;
    bool m_chosen = false;
};

} // namespace cangshu
