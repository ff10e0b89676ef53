#pragma once
#include "ReaderDeskWindow.h"
#include "circulation/RenewalDesk.h"

#include <memory>

class QLineEdit;
class QTreeWidget;

namespace cangshu {

class DeskList;

// "书籍续借": the reader's open loans, unticked; ticked loans with renewals left restart today.
class BookRenewWindow : public ReaderDeskWindow {
    Q_OBJECT
public:
    BookRenewWindow(Database& db, DeskSettings settings, QWidget* parent = nullptr);
    ~BookRenewWindow() override;

    void setSettings(DeskSettings settings);

    QTreeWidget* renewalList() const;
    const RenewalDesk& desk() const { return *m_desk; }

    void lookupReader();
    void renewTicked();
    void tickAll(bool ticked);
    void clearWindow() override;

protected:
    void commitDesk() override { renewTicked(); }

private:
    void refreshList();

    std::unique_ptr<RenewalDesk> m_desk;
    QLineEdit* m_maxItems;
    QLineEdit* m_loanDays;
    QLineEdit* m_renewals;
    QLineEdit* m_renewalDays;
    QLineEdit* m_onLoan;
    DeskList* m_list;
};

} // namespace cangshu
