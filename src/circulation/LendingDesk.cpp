#include "LendingDesk.h"

namespace cangshu {

namespace {
const QString isbnField = QStringLiteral("isbn");
const QString titleField = QStringLiteral("title");

QString fieldOf(ItemSearch by) {
    return by == ItemSearch::ByNumber ? focus::item
           : by == ItemSearch::ByIsbn ? isbnField
                                      : titleField;
}

// An empty item field passes the focus on: number → ISBN → title → number.
QString nextFieldAfter(ItemSearch by) {
    return by == ItemSearch::ByNumber ? isbnField
           : by == ItemSearch::ByIsbn ? titleField
                                      : focus::item;
}
} // namespace

LendingDesk::LendingDesk(Database& db, const ItemKind& kind, DeskSettings settings)
    : m_db(db), m_kind(kind), m_settings(std::move(settings)) {}

void LendingDesk::clear() {
    m_reader.reset();
    m_rules = LoanRules();
    m_onLoan = 0;
    m_pending.clear();
}

void LendingDesk::removePending(int index) {
    if (index >= 0 && index < m_pending.size())
        m_pending.removeAt(index);
}

Outcome LendingDesk::identifyReader(const QString& numberText) {
    clear();
    ReaderCheck check = vetReader(m_db, numberText, ExpiryRule::Checked);
    if (!check.passed())
        return check.outcome;
    m_reader = std::move(check.reader);
    m_onLoan = m_db.scalar(QStringLiteral("select count(*) from [%1] where [读者索引]=?")
                               .arg(m_kind.loanTable),
                           {m_reader->number}, 0)
                   .toInt();
    m_rules = loanRules(m_db, m_reader->type, m_kind.rules);
    return {true, {}, focus::item};
}

LendingDesk::AddResult LendingDesk::addItem(ItemSearch by, const QString& text) {
    if (!m_reader)
        return {Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader), {}};
    if (m_rules.maxItems <= m_onLoan + m_pending.size())
        return {Outcome::refused(m_kind.messages.limitReached, fieldOf(by)), {}};
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return {Outcome::refused({}, nextFieldAfter(by)), {}};
    QList<ItemRow> found = findItems(m_db, m_kind, by, wanted);
    if (found.isEmpty())
        return {Outcome::refused(by == ItemSearch::ByNumber ? m_kind.messages.notFoundByNumber
                                                            : m_kind.messages.notFound,
                                 fieldOf(by)),
                {}};
    if (found.size() > 1)
        return {Outcome::refused({}, fieldOf(by)), found};
    return {addFound(found.first(), by), {}};
}

Outcome LendingDesk::addChosen(qint64 itemId) {
    if (!m_reader)
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    if (m_rules.maxItems <= m_onLoan + m_pending.size())
        return Outcome::refused(m_kind.messages.limitReached, focus::item);
    const std::optional<ItemRow> item = findItemById(m_db, m_kind, itemId);
    if (!item)
        return Outcome::refused(m_kind.messages.notFoundByNumber, focus::item);
    return addFound(*item, ItemSearch::ByNumber);
}

bool LendingDesk::reservedForOther(qint64 itemId, QString* otherReader) const {
    if (m_kind.reservationTable.isEmpty())
        return false;
    const auto rows =
        m_db.rows(QStringLiteral("select [读者编号] from [%1] where [%2]=? order by [ID]")
                      .arg(m_kind.reservationTable, m_kind.indexColumn),
                  {itemId});
    for (const QSqlRecord& r : rows)
        if (r.value(0).toString() == m_reader->number)
            return false; // this reader's own reservation
    if (rows.isEmpty())
        return false;
    *otherReader = rows.first().value(0).toString();
    return true;
}

Outcome LendingDesk::checkAvailable(const ItemRow& item) const {
    if (!m_settings.oneToOne) {
        if (item.stock < 1)
            return Outcome::refused(m_kind.messages.noStock, focus::item);
        return Outcome::done();
    }
    if (item.status == QStringLiteral("在馆"))
        return Outcome::done();
    if (item.status == QStringLiteral("已被预定")) {
        QString other;
        if (reservedForOther(item.id, &other))
            return Outcome::refused(m_kind.messages.reservedBy.arg(other), focus::item);
        return Outcome::done();
    }
    return Outcome::refused(m_kind.messages.notOnShelf, focus::item);
}

Outcome LendingDesk::addFound(const ItemRow& item, ItemSearch by) {
    const auto sameItem = std::count_if(m_pending.cbegin(), m_pending.cend(),
                                        [&](const PendingLoan& p) { return p.item.id == item.id; });
    if (sameItem > 0 && m_settings.oneToOne)
        return Outcome::refused(m_kind.messages.alreadyPending, fieldOf(by));
    if (!m_settings.oneToOne && sameItem >= item.stock)
        return Outcome::refused(m_kind.messages.noStock, focus::item);
    Outcome available = checkAvailable(item);
    if (!available.ok) {
        available.focus = fieldOf(by);
        return available;
    }
    m_pending.append({item, m_db.today().addDays(m_rules.loanDays)});
    return {true, {}, fieldOf(by)};
}

QString LendingDesk::itemLabel(const ItemRow& item) const {
    return QStringLiteral("%1《%2》").arg(item.number, item.title);
}

Outcome LendingDesk::commit() {
    if (!m_reader)
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    if (m_pending.isEmpty())
        return Outcome::refused(m_kind.messages.nothingPending, focus::item);

    const ItemKind& k = m_kind;
    const QString readerNumber = m_reader->number;
    const QDate today = m_db.today();
    QList<LoanRecord> written;
    {
        Transaction tx(m_db);
        // Writing first takes the write lock before anything is read, so the checks below
        // see what other desks committed.
        if (m_db.execute(QStringLiteral("update [读者资料] set [借阅次数]=coalesce([借阅次数],0)+1 "
                                        "where [读者编号]=?"),
                         {readerNumber}) != 1) {
            clear();
            return Outcome::refused(QStringLiteral("没有找到该读者编号！"), focus::reader);
        }
        const ReaderCheck again = vetReader(m_db, readerNumber, ExpiryRule::Checked);
        if (!again.passed()) {
            clear();
            return again.outcome;
        }
        const int onLoan =
            m_db.scalar(
                    QStringLiteral("select count(*) from [%1] where [读者索引]=?").arg(k.loanTable),
                    {readerNumber}, 0)
                .toInt();
        if (m_rules.maxItems < onLoan + m_pending.size())
            return Outcome::refused(k.messages.limitReached, focus::item);

        // Items are taken in ID order, as every desk takes them, so that two commits
        // waiting on each other's rows cannot deadlock.
        QList<PendingLoan> byId = m_pending;
        std::stable_sort(byId.begin(), byId.end(), [](const PendingLoan& a, const PendingLoan& b) {
            return a.item.id < b.item.id;
        });
        for (const PendingLoan& p : std::as_const(byId)) {
            int taken;
            if (m_settings.oneToOne) {
                QString sql = QStringLiteral("update [%1] set [%2]=?, [%3]=coalesce([%3],0)+1 "
                                             "where [ID]=? and ([%2]=?")
                                  .arg(k.itemTable, k.statusColumn, k.lendCountColumn);
                QVariantList params{QStringLiteral("借出"), p.item.id, QStringLiteral("在馆")};
                if (!k.reservationTable.isEmpty()) {
                    // Reserved copies go only to their reserving reader (or to anyone when the
                    // reservation row is gone).
                    sql += QStringLiteral(" or ([%1]=? and (exists (select 1 from [%2] where "
                                          "[%3]=? and [读者编号]=?) or not exists (select 1 from "
                                          "[%2] where [%3]=?)))")
                               .arg(k.statusColumn, k.reservationTable, k.indexColumn);
                    params << QStringLiteral("已被预定") << p.item.id << readerNumber << p.item.id;
                }
                taken = m_db.execute(sql + u')', params);
            } else {
                taken = m_db.execute(
                    QStringLiteral("update [%1] set [%2]=[%2]-1, [%3]=coalesce([%3],0)+1 "
                                   "where [ID]=? and [%2]>=1")
                        .arg(k.itemTable, k.stockColumn, k.lendCountColumn),
                    {p.item.id});
            }
            if (taken != 1) {
                const std::optional<ItemRow> now = findItemById(m_db, k, p.item.id);
                QString why = m_settings.oneToOne ? k.messages.notOnShelf : k.messages.noStock;
                if (!now) {
                    why = k.messages.notFoundByNumber;
                } else {
                    const Outcome check = checkAvailable(*now);
                    if (!check.ok)
                        why = check.message;
                }
                return Outcome::refused(itemLabel(p.item) + QStringLiteral("：") + why,
                                        focus::item);
            }
        }
        for (const PendingLoan& p : std::as_const(m_pending)) {
            LoanRecord loan{0, p.item, today, p.due};
            if (k.renewable)
                loan.key = m_db.insert(
                    QStringLiteral("insert into [%1] ([读者索引], [%2], [借阅日期], [应还日期], "
                                   "[操作员], [允许续借], [已经续借]) values (?, ?, ?, ?, ?, ?, 0)")
                        .arg(k.loanTable, k.indexColumn),
                    {readerNumber, p.item.id, today, p.due, m_settings.operatorName,
                     m_rules.renewals},
                    QStringLiteral("序号"));
            else
                loan.key = m_db.insert(
                    QStringLiteral("insert into [%1] ([读者索引], [%2], [借阅日期], [应还日期], "
                                   "[操作员]) values (?, ?, ?, ?, ?)")
                        .arg(k.loanTable, k.indexColumn),
                    {readerNumber, p.item.id, today, p.due, m_settings.operatorName},
                    QStringLiteral("序号"));
            if (!k.reservationTable.isEmpty())
                m_db.execute(QStringLiteral("delete from [%1] where [%2]=?")
                                 .arg(k.reservationTable, k.indexColumn),
                             {p.item.id});
            written << loan;
        }
        tx.commit();
    }
    m_lastLoans = written;
    clear();
    return Outcome::done(k.messages.lent);
}

} // namespace cangshu
