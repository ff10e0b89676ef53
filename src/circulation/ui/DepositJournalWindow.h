#pragma once
#include "widgets/ListWindow.h"

namespace cangshu {

class DepositWindow;

// "读者充押金": the deposit journal, read-only. In management mode it also offers "充押金"
// (the deposits window) and "删除记录" (the journal row only; the balance stays).
class DepositJournalWindow : public ListWindow {
    Q_OBJECT
public:
    DepositJournalWindow(Database& db, const Home& home, QWidget* parent = nullptr);

    void setManagement(bool management);
    bool isManagement() const { return m_management; }
    void setOperatorName(const QString& name) { m_operator = name; }

    void payIn();
    bool deleteCurrent();
    void fieldQuery();

private:
    QString m_operator;
    bool m_management = true;
    DepositWindow* m_deposit = nullptr;
};

} // namespace cangshu
