#pragma once
#include "GridModel.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;

namespace cangshu {

class DataGrid;

// What a pick list offers: the table, its grid, the fields its search bar may search and
// the column whose value a choice returns.
struct PickListSpec {
    QString title;
    QString table;
    QList<GridColumn> columns;
    QStringList searchFields;
    QString orderBy;   // "[读者编号]"
    int firstRows = 0; // the opening list shows only this many rows (0 = all)
    QString resultField;
};

// The reader pick list "选择读者" over 读者资料; a choice returns the 读者编号.
PickListSpec readerPickList();
// The book pick list "选择书籍" over 书籍资料 (the first 1000 books until a search); a choice
// returns the 书籍编号.
PickListSpec bookPickList();

// A pick list: a search bar (field, operator "=", "<>" or "模糊匹配", text), the grid, and
// 选择 / 取消. Enter in the text or "查询" searches; a double click or "选择" chooses.
class PickList : public QDialog {
    Q_OBJECT
public:
    PickList(Database& db, PickListSpec definition, QWidget* parent = nullptr);

    QComboBox* fieldBox() const { return m_field; }
    QComboBox* operatorBox() const { return m_operator; }
    QLineEdit* textBox() const { return m_text; }
    DataGrid* grid() const { return m_grid; }

    bool showAll();
    // Searches only when a field and an operator are chosen and the text is not blank.
    bool search();
    // Accepts with the current row's value; nothing happens on an empty list.
    bool choose();
    QString chosen() const { return m_chosen; }

    // Opens the pick list below the field; the chosen value, or nullopt when cancelled.
    static std::optional<QString> pick(Database& db, const PickListSpec& definition,
                                       QWidget* field);

private:
    Database& m_db;
    PickListSpec m_spec;
    QComboBox* m_field;
    QComboBox* m_operator;
    QLineEdit* m_text;
    DataGrid* m_grid;
    QString m_chosen;
};

// "选择书籍" when a desk's search found several items: those rows only, no search bar.
// 选择 or a double click chooses the current row; 取消 chooses nothing.
class ItemChooser : public QDialog {
    Q_OBJECT
public:
    // The rows of `table` whose ID is one of `ids`, in the columns given.
    ItemChooser(Database& db, const QString& table, const QList<GridColumn>& columns,
                const QList<qint64>& ids, QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }
    bool choose();
    std::optional<qint64> chosenId() const { return m_chosen; }

    // Shows the rows below the field; the chosen ID, or nullopt when cancelled.
    static std::optional<qint64> pick(Database& db, const QString& table,
                                      const QList<GridColumn>& columns, const QList<qint64>& ids,
                                      QWidget* field);

private:
    DataGrid* m_grid;
    std::optional<qint64> m_chosen;
};

// The book columns of ItemChooser: those of the book pick list without 在馆状态.
QList<GridColumn> bookChooserColumns();

// Puts a window's top-left corner at the bottom-left corner of a field.
void placeBelow(QWidget* window, const QWidget* field);

} // namespace cangshu
