#pragma once
#include "ReaderDeskWindow.h"
#include "circulation/ReturnDesk.h"

#include <memory>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace cangshu {

class DepositWindow;
class DeskList;

// "书籍归还": the reader's open loans with what each charges today, ticked ones returned by
// 归还【F5】; the totals of the ticked rows can be deducted from the deposit.
class BookReturnWindow : public ReaderDeskWindow {
    Q_OBJECT
public:
    BookReturnWindow(Database& db, DeskSettings settings, QWidget* parent = nullptr);
    ~BookReturnWindow() override;

    void setSettings(DeskSettings settings);

    QLineEdit* bookNumberField() const { return m_number; }
    QTreeWidget* returnList() const;
    QLabel* finesLabel() const { return m_fines; }
    QLabel* rentsLabel() const { return m_rents; }
    QLabel* totalLabel() const { return m_total; }
    const ReturnDesk& desk() const { return *m_desk; }
    // The deposits window "从押金里扣" opens (made on first use).
    DepositWindow* depositWindow();

    void lookupReader();
    void enterBook();
    void returnTicked();
    void tickAll(bool ticked);
    void clearWindow() override;
    void deductFromDeposit();

protected:
    void focusItemField() override;
    void commitDesk() override { returnTicked(); }

private:
    void showOutcome(const Outcome& outcome);
    void showDeskReader();
    void refreshList();
    void refreshTotals();

    std::unique_ptr<ReturnDesk> m_desk;
    QLineEdit* m_onLoan;
    QLineEdit* m_number;
    DeskList* m_list;
    QLabel* m_fines;
    QLabel* m_rents;
    QLabel* m_total;
    DepositWindow* m_deposit = nullptr;
};

} // namespace cangshu
