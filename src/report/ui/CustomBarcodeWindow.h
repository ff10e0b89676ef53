#pragma once
#include "core/Database.h"
#include "core/Home.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace cangshu {
class DataGrid;
}

namespace cangshu::report {

// "自定义条码打印": design a numbered series (width, start, prefix, suffix, captions),
// generate it into the `barcode` list, then print, export or clear the list.
class CustomBarcodeWindow : public QDialog {
    Q_OBJECT
public:
    CustomBarcodeWindow(Database& db, const Home& home, QWidget* parent = nullptr);

    QLineEdit* widthEdit() const { return m_width; }
    QLineEdit* startEdit() const { return m_start; }
    QLineEdit* prefixEdit() const { return m_prefix; }
    QLineEdit* suffixEdit() const { return m_suffix; }
    QLineEdit* topEdit() const { return m_top; }
    QLineEdit* bottomEdit() const { return m_bottom; }
    QLineEdit* countEdit() const { return m_count; }
    DataGrid* grid() const { return m_grid; }
    QPushButton* button(const QString& caption) const;

    // The commands, also callable from code.
    bool relist();
    bool generate(); // "立即产生"
    bool clear();    // "清空数据"
    void exportRows();
    void design();
    void print();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addField(const QString& caption);
    QPushButton* addButton(const QString& caption);

    Database& m_db;
    Home m_home;
    QLineEdit *m_width, *m_start, *m_prefix, *m_suffix, *m_top, *m_bottom, *m_count;
    DataGrid* m_grid;
    QList<QPushButton*> m_buttons;
};

} // namespace cangshu::report
