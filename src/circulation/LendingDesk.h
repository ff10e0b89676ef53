#pragma once
#include "Items.h"
#include "readers/ReaderLookup.h"

namespace cangshu {

// A book on the pending list, with the due date fixed when it was added.
struct PendingLoan {
    ItemRow item;
    QDate due;
};

// A loan written by a commit.
struct LoanRecord {
    qint64 key = 0; // 序号
    ItemRow item;
    QDate lentOn;
    QDate due;
};

// The lending desk: a vetted reader, a pending list built one item at a time with every
// rule checked on the spot, and a commit that lends all of it in one transaction or nothing.
class LendingDesk {
public:
    LendingDesk(Database& db, const ItemKind& kind, DeskSettings settings);

    // The reader lookup. Any new lookup, passed or refused, empties the pending list.
    Outcome identifyReader(const QString& numberText);
    const std::optional<Reader>& reader() const { return m_reader; }
    const LoanRules& rules() const { return m_rules; }
    int onLoan() const { return m_onLoan; } // 已借数量

    // Adds the item that the number, ISBN or title finds. When the search finds several,
    // nothing is added and they come back in `candidates`; add the chosen one by id.
    struct AddResult {
        Outcome outcome;
        QList<ItemRow> candidates;
    };
    AddResult addItem(ItemSearch by, const QString& text);
    Outcome addChosen(qint64 itemId);

    const QList<PendingLoan>& pending() const { return m_pending; }
    void removePending(int index);
    // Empties the desk: reader, rules and pending list.
    void clear();

    // Lends every pending item to the reader. The reader is vetted again and each item is
    // taken only while it is still available; otherwise nothing is written and the outcome
    // names the item. On success the desk is cleared and lastLoans() holds the new loans.
    Outcome commit();
    const QList<LoanRecord>& lastLoans() const { return m_lastLoans; }

private:
    Outcome checkAvailable(const ItemRow& item) const;
    Outcome addFound(const ItemRow& item, ItemSearch by);
    QString itemLabel(const ItemRow& item) const;
    bool reservedForOther(qint64 itemId, QString* otherReader) const;

    Database& m_db;
    const ItemKind& m_kind;
    DeskSettings m_settings;
    std::optional<Reader> m_reader;
    LoanRules m_rules;
    int m_onLoan = 0;
    QList<PendingLoan> m_pending;
    QList<LoanRecord> m_lastLoans;
};

} // namespace cangshu
