#include "ReturnDesk.h"

namespace cangshu {

ReturnDesk::ReturnDesk(Database& db, const ItemKind& kind, DeskSettings settings)
    : m_db(db), m_kind(kind), m_settings(std::move(settings)) {}

void ReturnDesk::clear() {
    m_reader.reset();
    m_rules = LoanRules();
    m_onLoan = 0;
    m_lines.clear();
}

QList<ReturnLine> ReturnDesk::loansOf(const QString& readerNumber,
                                      std::optional<qint64> itemId) const {
    const ItemKind& k = m_kind;
    QString sql =
        QStringLiteral("select %1, l.[序号], l.[借阅日期], l.[应还日期] from [%2] b, [%3] l "
                       "where b.[ID]=l.[%4] and l.[读者索引]=?")
            .arg(itemColumns(k, QStringLiteral("b")), k.itemTable, k.loanTable, k.indexColumn);
    QVariantList params{readerNumber};
    if (itemId) {
        sql += QStringLiteral(" and l.[%1]=?").arg(k.indexColumn);
        params << *itemId;
    }
    sql += QStringLiteral(" order by l.[序号]");
    const QDate today = m_db.today();
    QList<ReturnLine> out;
    for (const QSqlRecord& r : m_db.rows(sql, params)) {
        ReturnLine line;
        line.loanKey = r.value(QStringLiteral("序号")).toLongLong();
        line.item = itemFromRecord(k, r);
        line.lentOn = r.value(QStringLiteral("借阅日期")).toDate();
        line.due = r.value(QStringLiteral("应还日期")).toDate();
        line.fee = computeFee(line.lentOn, line.due, today, m_rules.dailyRent, m_rules.overdueFine);
        out << line;
    }
    return out;
}

Outcome ReturnDesk::identifyReader(const QString& numberText) {
    clear();
    ReaderCheck check = vetReader(m_db, numberText, ExpiryRule::Ignored);
    if (!check.passed())
        return check.outcome;
    m_reader = std::move(check.reader);
    m_rules = loanRules(m_db, m_reader->type, m_kind.rules);
    m_onLoan = m_db.scalar(QStringLiteral("select count(*) from [%1] where [读者索引]=?")
                               .arg(m_kind.loanTable),
                           {m_reader->number}, 0)
                   .toInt();
    if (m_onLoan == 0)
        return Outcome::refused(m_kind.messages.noOpenLoans, focus::reader);
    if (m_settings.returnMode == 0)
        return {true, {}, focus::item};
    m_lines = loansOf(m_reader->number, std::nullopt);
    return {true, {}, focus::item};
}

ReturnDesk::EntryResult ReturnDesk::enterItem(const QString& numberText) {
    const QString number = numberText.trimmed();
    if (m_settings.returnMode == 0 && !m_reader)
        return {Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader), {}};
    const QList<ItemRow> found = findItems(m_db, m_kind, ItemSearch::ByNumber, number);
    if (m_settings.returnMode == 0) {
        // Card then book: the reader's loans of every row with that number.
        QList<ReturnLine> add;
        for (const ItemRow& item : found)
            add << loansOf(m_reader->number, item.id);
        int fresh = 0;
        for (const ReturnLine& line : std::as_const(add)) {
            const bool listed =
                std::any_of(m_lines.cbegin(), m_lines.cend(),
                            [&](const ReturnLine& l) { return l.loanKey == line.loanKey; });
            if (!listed) {
                m_lines << line;
                ++fresh;
            }
        }
        if (!add.isEmpty() && fresh == 0)
            return {Outcome::refused(m_kind.messages.alreadyListed, focus::item), {}};
        return {{true, {}, focus::item}, {}};
    }
    if (found.isEmpty())
        return {Outcome::refused(m_kind.messages.notFoundByNumber, focus::item), {}};
    if (found.size() > 1)
        return {Outcome::refused({}, focus::item), found};
    return {listLoansOfItem(found.first()), {}};
}

Outcome ReturnDesk::enterChosen(qint64 itemId) {
    const std::optional<ItemRow> item = findItemById(m_db, m_kind, itemId);
    if (!item)
        return Outcome::refused(m_kind.messages.notFoundByNumber, focus::item);
    if (m_settings.returnMode == 0) {
        if (!m_reader)
            return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
        return enterItem(item->number).outcome;
    }
    return listLoansOfItem(*item);
}

Outcome ReturnDesk::listLoansOfItem(const ItemRow& item) {
    const QVariant borrower = m_db.scalar(
        QStringLiteral("select [读者索引] from [%1] where [%2]=? order by [序号] limit 1")
            .arg(m_kind.loanTable, m_kind.indexColumn),
        {item.id});
    if (borrower.isNull())
        return Outcome::refused(m_kind.messages.notOnLoan, focus::item);
    return identifyReader(borrower.toString());
}

void ReturnDesk::setTicked(int index, bool ticked) {
    if (index >= 0 && index < m_lines.size())
        m_lines[index].ticked = ticked;
}

void ReturnDesk::tickAll(bool ticked) {
    for (ReturnLine& l : m_lines)
        l.ticked = ticked;
}

ReturnTotals ReturnDesk::totals() const {
    ReturnTotals t;
    for (const ReturnLine& l : m_lines) {
        if (!l.ticked)
            continue;
        t.fines += l.fee.fine;
        t.rents += l.fee.rent;
    }
    return t;
}

Outcome ReturnDesk::commit() {
    if (!m_reader)
        return Outcome::refused(m_kind.messages.returnNoReader, focus::reader);
    if (m_lines.isEmpty())
        return Outcome::refused(m_kind.messages.returnEmptyList, focus::reader);
    QList<ReturnLine> ticked;
    for (const ReturnLine& l : std::as_const(m_lines))
        if (l.ticked)
            ticked << l;
    if (ticked.isEmpty())
        return Outcome::refused(m_kind.messages.returnNoneTicked);

    const ItemKind& k = m_kind;
    const QString readerNumber = m_reader->number;
    const QDate today = m_db.today();
    {
        Transaction tx(m_db);
        for (const ReturnLine& l : std::as_const(ticked)) {
            // History first, then the loan by its key: a loan that is gone rolls it all back.
            if (k.charged)
                m_db.execute(
                    QStringLiteral("insert into [%1] ([读者索引], [%2], [借阅日期], [归还日期], "
                                   "[借出天数], [租金金额], [超期天数], [罚款金额], [操作员]) "
                                   "values (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(k.historyTable, k.indexColumn),
                    {readerNumber, l.item.id, l.lentOn, today, l.fee.daysLent,
                     l.fee.rent.toVariant(), l.fee.overdueText(), l.fee.fine.toVariant(),
                     m_settings.operatorName});
            else
                m_db.execute(QStringLiteral("insert into [%1] ([读者索引], [%2], [借阅日期], "
                                            "[归还日期], [借出天数], [操作员]) "
                                            "values (?, ?, ?, ?, ?, ?)")
                                 .arg(k.historyTable, k.indexColumn),
                             {readerNumber, l.item.id, l.lentOn, today, l.fee.daysLent,
                              m_settings.operatorName});
            const int removed = m_db.execute(
                QStringLiteral("delete from [%1] where [序号]=? and [读者索引]=?").arg(k.loanTable),
                {l.loanKey, readerNumber});
            if (removed != 1)
                return Outcome::refused(
                    QStringLiteral("%1《%2》：%3")
                        .arg(l.item.number, l.item.title, k.messages.alreadyReturned),
                    focus::reader);
        }
        // Items go back in ID order, as every desk takes them, so desks cannot deadlock.
        QList<qint64> items;
        for (const ReturnLine& l : std::as_const(ticked))
            items << l.item.id;
        std::sort(items.begin(), items.end());
        for (qint64 id : std::as_const(items)) {
            if (m_settings.oneToOne)
                m_db.execute(QStringLiteral("update [%1] set [%2]=? where [ID]=?")
                                 .arg(k.itemTable, k.statusColumn),
                             {QStringLiteral("在馆"), id});
            else
                m_db.execute(QStringLiteral("update [%1] set [%2]=coalesce([%2],0)+1 where [ID]=?")
                                 .arg(k.itemTable, k.stockColumn),
                             {id});
        }
        tx.commit();
    }
    m_lastReturned = ticked;
    clear();
    return Outcome::done(k.messages.returned);
}

} // namespace cangshu
