#pragma once
#include "Items.h"
#include "readers/ReaderLookup.h"

namespace cangshu {

struct RenewalLine {
    qint64 loanKey = 0; // 序号
    ItemRow item;
    QDate lentOn;
    QDate due;
    int granted = 1; // 允许续借; null reads as 1, as the upgrade fills older loans
    int taken = 0;   // 已经续借; null reads as 0
    bool ticked = false;

    bool eligible() const { return granted > taken; }
};

// The renewal desk: the reader's open loans, unticked; ticked eligible loans restart today
// with the renewal period of the reader's type.
class RenewalDesk {
public:
    RenewalDesk(Database& db, const ItemKind& kind, DeskSettings settings);

    // The reader lookup (card end date tested). A reader whose type row is missing is shown
    // with the 1000 limits but none of the loans, so nothing of theirs can be renewed here.
    Outcome identifyReader(const QString& numberText);
    const std::optional<Reader>& reader() const { return m_reader; }
    const LoanRules& rules() const { return m_rules; }
    int onLoan() const { return m_onLoan; }

    const QList<RenewalLine>& lines() const { return m_lines; }
    void setTicked(int index, bool ticked);
    void tickAll(bool ticked);

    // Unticks the loans that used up their renewals, then renews the rest in one
    // transaction. A loan returned or renewed elsewhere meanwhile makes it write nothing.
    Outcome commit();
    const QList<RenewalLine>& lastRenewed() const { return m_lastRenewed; }
    void clear();

private:
    Database& m_db;
    const ItemKind& m_kind;
    DeskSettings m_settings;
    std::optional<Reader> m_reader;
    LoanRules m_rules;
    int m_onLoan = 0;
    QList<RenewalLine> m_lines;
    QList<RenewalLine> m_lastRenewed;
};

} // namespace cangshu
