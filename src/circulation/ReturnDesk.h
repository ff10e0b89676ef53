#pragma once
#include "Fees.h"
#include "Items.h"
#include "readers/ReaderLookup.h"

namespace cangshu {

// One open loan on the return list, with what returning it today charges.
struct ReturnLine {
    qint64 loanKey = 0; // 序号 of the loan row
    ItemRow item;
    QDate lentOn;
    QDate due;
    Fee fee;
    bool ticked = true;
};

struct ReturnTotals {
    Money fines;                                  // 应收罚款
    Money rents;                                  // 应收租金
    Money total() const { return fines + rents; } // 合计
};

// The return desk in both modes of 还书: list-all (1) lists every open loan of the reader,
// ticked; card-then-book (0) adds the reader's loans of each book number entered.
class ReturnDesk {
public:
    ReturnDesk(Database& db, const ItemKind& kind, DeskSettings settings);

    // The reader lookup (the card's end date is not tested at return). Empties the list.
    Outcome identifyReader(const QString& numberText);
    const std::optional<Reader>& reader() const { return m_reader; }
    int onLoan() const { return m_onLoan; } // 借阅数量

    // A scanned item number. List-all mode: finds the borrower and lists all of the
    // borrower's loans; card-then-book mode: adds the reader's loans of that item. Several
    // catalogue rows with that number come back as candidates; continue with enterChosen.
    struct EntryResult {
        Outcome outcome;
        QList<ItemRow> candidates;
    };
    EntryResult enterItem(const QString& numberText);
    Outcome enterChosen(qint64 itemId);

    const QList<ReturnLine>& lines() const { return m_lines; }
    void setTicked(int index, bool ticked);
    void tickAll(bool ticked);
    ReturnTotals totals() const; // over the ticked lines

    // Moves every ticked loan into the history and puts the item back, in one transaction;
    // a loan that another desk returned meanwhile makes it write nothing. On success the
    // desk is cleared and lastReturned() holds what was returned.
    Outcome commit();
    const QList<ReturnLine>& lastReturned() const { return m_lastReturned; }
    void clear();

private:
    QList<ReturnLine> loansOf(const QString& readerNumber, std::optional<qint64> itemId) const;
    Outcome listLoansOfItem(const ItemRow& item);

    Database& m_db;
    const ItemKind& m_kind;
    DeskSettings m_settings;
    std::optional<Reader> m_reader;
    LoanRules m_rules;
    int m_onLoan = 0;
    QList<ReturnLine> m_lines;
    QList<ReturnLine> m_lastReturned;
};

} // namespace cangshu
