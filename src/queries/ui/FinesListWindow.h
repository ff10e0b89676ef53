#pragma once
#include "widgets/ListWindow.h"

#include <functional>

class QDateEdit;
class QLineEdit;

namespace cangshu {

// "丢失罚款管理": the fine records, editable in the grid, searched by reader number, by
// name or by a period, with adding, deleting, printing and export.
class FinesListWindow : public ListWindow {
    Q_OBJECT
public:
    FinesListWindow(Database& db, const Home& home, QWidget* parent = nullptr);

    // Opens the fine window for "添加(F3)"; the list is reloaded afterwards.
    void setFineOpener(std::function<void(QWidget*)> opener) { m_openFine = std::move(opener); }

    QLineEdit* numberBox() const { return m_number; }
    QLineEdit* nameBox() const { return m_name; }
    QDateEdit* fromBox() const { return m_from; }
    QDateEdit* toBox() const { return m_to; }

    bool searchNumber();
    bool searchName();
    bool searchPeriod();
    void addFine();
    // Deletes the grid's current row after "是否确定删除？"; nothing without a current row.
    bool deleteCurrent();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<void(QWidget*)> m_openFine;
    QLineEdit* m_number;
    QLineEdit* m_name;
    QDateEdit* m_from;
    QDateEdit* m_to;
};

} // namespace cangshu
