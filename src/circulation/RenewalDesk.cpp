#include "RenewalDesk.h"

namespace cangshu {

RenewalDesk::RenewalDesk(Database& db, const ItemKind& kind, DeskSettings settings)
    : m_db(db), m_kind(kind), m_settings(std::move(settings)) {}

void RenewalDesk::clear() {
    m_reader.reset();
    m_rules = LoanRules();
    m_onLoan = 0;
    m_lines.clear();
}

Outcome RenewalDesk::identifyReader(const QString& numberText) {
    clear();
    ReaderCheck check = vetReader(m_db, numberText, ExpiryRule::Checked);
    if (!check.passed())
        return check.outcome;
    m_reader = std::move(check.reader);
    m_rules = loanRules(m_db, m_reader->type, m_kind.rules);
    if (!m_rules.typeFound)
        return Outcome::done();
    const ItemKind& k = m_kind;
    m_onLoan =
        m_db.scalar(QStringLiteral("select count(*) from [%1] where [读者索引]=?").arg(k.loanTable),
                    {m_reader->number}, 0)
            .toInt();
    const QString sql =
        QStringLiteral("select %1, l.[序号], l.[借阅日期], l.[应还日期], l.[允许续借], "
                       "l.[已经续借] from [%2] b, [%3] l where b.[ID]=l.[%4] and "
                       "l.[读者索引]=? order by l.[序号]")
            .arg(itemColumns(k, QStringLiteral("b")), k.itemTable, k.loanTable, k.indexColumn);
    for (const QSqlRecord& r : m_db.rows(sql, {m_reader->number})) {
        RenewalLine line;
        line.loanKey = r.value(QStringLiteral("序号")).toLongLong();
        line.item = itemFromRecord(k, r);
        line.lentOn = r.value(QStringLiteral("借阅日期")).toDate();
        line.due = r.value(QStringLiteral("应还日期")).toDate();
        const QVariant granted = r.value(QStringLiteral("允许续借"));
        line.granted = granted.isNull() ? 1 : granted.toInt();
        line.taken = r.value(QStringLiteral("已经续借")).toInt();
        m_lines << line;
    }
    return Outcome::done();
}

void RenewalDesk::setTicked(int index, bool ticked) {
    if (index >= 0 && index < m_lines.size())
        m_lines[index].ticked = ticked;
}

void RenewalDesk::tickAll(bool ticked) {
    for (RenewalLine& l : m_lines)
        l.ticked = ticked;
}

Outcome RenewalDesk::commit() {
    if (!m_reader)
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    if (m_lines.isEmpty())
        return Outcome::refused(m_kind.messages.renewEmptyList, focus::reader);
    QList<RenewalLine> chosen;
    for (RenewalLine& l : m_lines) {
        if (l.ticked && !l.eligible())
            l.ticked = false;
        if (l.ticked)
            chosen << l;
    }
    if (chosen.isEmpty())
        return Outcome::refused(m_kind.messages.renewNoneTicked);

    const ItemKind& k = m_kind;
    const QDate today = m_db.today();
    const QDate due = today.addDays(m_rules.renewalDays);
    {
        Transaction tx(m_db);
        for (RenewalLine& l : chosen) {
            // Only while it is still this reader's loan with renewals left.
            const int renewed = m_db.execute(
                QStringLiteral("update [%1] set [借阅日期]=?, [应还日期]=?, "
                               "[已经续借]=coalesce([已经续借],0)+1 where [序号]=? and "
                               "[读者索引]=? and coalesce([已经续借],0)<coalesce([允许续借],1)")
                    .arg(k.loanTable),
                {today, due, l.loanKey, m_reader->number});
            if (renewed != 1)
                return Outcome::refused(QStringLiteral("%1《%2》：%3")
                                            .arg(l.item.number, l.item.title, k.messages.renewGone),
                                        focus::reader);
            l.lentOn = today;
            l.due = due;
            l.taken += 1;
        }
        tx.commit();
    }
    m_lastRenewed = chosen;
    clear();
    return Outcome::done(k.messages.renewed);
}

} // namespace cangshu
