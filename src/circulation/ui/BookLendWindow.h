#pragma once
#include "ReaderDeskWindow.h"
#include "circulation/LendingDesk.h"

#include <memory>

class QLineEdit;
class QTreeWidget;

namespace cangshu {

class DeskList;

// "书籍借阅": the reader, then books one at a time onto the pending list, then 借阅【F5】.
class BookLendWindow : public ReaderDeskWindow {
    Q_OBJECT
public:
    BookLendWindow(Database& db, DeskSettings settings, QWidget* parent = nullptr);
    ~BookLendWindow() override;

    // The parameters and operator of the current login; empties the desk.
    void setSettings(DeskSettings settings);

    QLineEdit* bookNumberField() const { return m_number; }
    QLineEdit* isbnField() const { return m_isbn; }
    QLineEdit* titleField() const { return m_title; }
    QTreeWidget* pendingList() const;
    const LendingDesk& desk() const { return *m_desk; }

    void lookupReader();
    void addBook(ItemSearch by);
    void lend();
    void removeSelected();
    void clearWindow() override;
    void showHeldLoans();

protected:
    void focusReaderField() override;
    void focusItemField() override;
    void commitDesk() override { lend(); }
    void removePendingRow() override { removeSelected(); }
    void prepareToShow() override;

private:
    void showRefusal(const Outcome& outcome, QLineEdit* used);
    void afterAdd(const Outcome& outcome, ItemSearch by);
    void focusNamed(const QString& name, bool selectText);
    void refreshList();
    QLineEdit* fieldFor(ItemSearch by) const;

    std::unique_ptr<LendingDesk> m_desk;
    QLineEdit* m_maxItems;
    QLineEdit* m_loanDays;
    QLineEdit* m_renewals;
    QLineEdit* m_onLoan;
    QLineEdit* m_number;
    QLineEdit* m_isbn;
    QLineEdit* m_title;
    DeskList* m_list;
};

} // namespace cangshu
