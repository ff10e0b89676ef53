#pragma once
#include <QDialog>

namespace cangshu {

class Database;
class DataGrid;

// "已借信息": the reader's open book loans, read-only, with "关闭" (also Esc).
class HeldLoansWindow : public QDialog {
    Q_OBJECT
public:
    HeldLoansWindow(Database& db, const QString& readerNumber, QWidget* parent = nullptr);
    DataGrid* grid() const { return m_grid; }

private:
    DataGrid* m_grid;
};

} // namespace cangshu
