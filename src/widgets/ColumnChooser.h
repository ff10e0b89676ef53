#pragma once
#include "queries/Layouts.h"

#include <QDialog>

class QTableWidget;

namespace cangshu {

// "选择输出列": one check-box row per grid column with its width; double-click edits the
// width. Confirming applies all rows or, when a width is not a whole number, none.
class ColumnChooser : public QDialog {
    Q_OBJECT
public:
    explicit ColumnChooser(const QList<ColumnLayout>& columns, QWidget* parent = nullptr);
    QList<ColumnLayout> columns() const { return m_columns; }
    QTableWidget* list() const { return m_list; }

    void checkAll(bool checked);
    // Applies the rows; false with a message when a width is not a whole number.
    bool confirm();
    void editWidth(int row);

private:
    QList<ColumnLayout> m_columns;
    QTableWidget* m_list;
};

} // namespace cangshu
