#include "BookList.h"

#include "CatalogueLookups.h"
#include "core/Schema.h"
#include "core/TextRoutines.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace cangshu {

CatalogueTable CatalogueTable::books() {
    return {QStringLiteral("书籍资料"), QStringLiteral("书籍注销"), QStringLiteral("书籍编号"),
            QStringLiteral("书籍名称"), QStringLiteral("中图分类"), QStringLiteral("藏书总量"),
            QStringLiteral("书籍价格"), QStringLiteral("馆内剩余"), QStringLiteral("bookimage")};
}

ListCondition ListCondition::fromWhere(const QString& whereText, const QVariantList& params) {
    QString text = whereText.trimmed();
    if (text.startsWith(QLatin1String("where "), Qt::CaseInsensitive))
        text = text.mid(6).trimmed();
    return {text, params};
}

QString ListCondition::where() const {
    return isEmpty() ? QString() : QStringLiteral(" where (%1)").arg(predicate);
}

QString ListCondition::whereAnd(const QString& extra) const {
    return isEmpty() ? QStringLiteral(" where ") + extra
                     : QStringLiteral(" where (%1) and %2").arg(predicate, extra);
}

namespace {

// The least text above every text that begins with the prefix, in code point order (SQLite's
// default comparison of UTF-8 text); empty when no such text exists.
QString prefixSuccessor(const QString& prefix) {
    QList<uint> points = prefix.toUcs4();
    while (!points.isEmpty()) {
        uint& last = points.last();
        if (last < 0x10FFFF) {
            last = last == 0xD7FF ? 0xE000 : last + 1; // surrogates are no characters
            return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()),
                                     points.size());
        }
        points.removeLast();
    }
    return {};
}

} // namespace

ListCondition classCondition(const CatalogueTable& t, const QString& classNumber) {
    // substr counts characters, not UTF-16 units
    return {
        QStringLiteral("substr([%1],1,%2)=?").arg(t.classColumn).arg(classNumber.toUcs4().size()),
        {classNumber}};
}

ListCondition classCondition(const Database& db, const CatalogueTable& t,
                             const QString& classNumber) {
    if (db.isPostgres())
        return classCondition(t, classNumber);
    const QString column = u'[' + t.classColumn + u']';
    if (classNumber.isEmpty())
        return {column + QStringLiteral(" is not null"), {}};
    const QString above = prefixSuccessor(classNumber);
    if (above.isEmpty())
        return {column + QStringLiteral(">=?"), {classNumber}};
    return {QStringLiteral("%1>=? and %1<?").arg(column), {classNumber, above}};
}

int pageCount(qint64 rows, int pageSize) {
    if (rows <= 0)
        return 0;
    if (pageSize <= 0 || pageSize >= rows)
        return 1;
    return int((rows + pageSize - 1) / pageSize);
}

BookPager::BookPager(const Database& db, CatalogueTable table, QString columnList)
    : m_db(db), m_table(std::move(table)), m_columns(std::move(columnList)) {}

int BookPager::effectiveSize() const {
    return m_pageSize > 0 ? m_pageSize : int(std::max<qint64>(m_total, 1));
}

void BookPager::reset(const ListCondition& condition, int pageSize) {
    m_condition = condition;
    m_pageSize = pageSize;
    m_total = m_db.scalar(QStringLiteral("select count(*) from [%1]").arg(m_table.table) +
                              m_condition.where(),
                          m_condition.params, 0)
                  .toLongLong();
    m_pages = pageCount(m_total, pageSize);
    m_page = 0;
    m_ids.clear();
}

// The IDs of a page are picked first and its rows read after: the IDs come from the
// narrowest index the condition allows (a class is a range of its index), where sorting them
// costs little, instead of every row of the condition being read whole and sorted.
SqlWithParams BookPager::rowsSql(const QString& edge, const QVariant& edgeId, bool descending,
                                 qint64 limit, qint64 offset) const {
    const QString order =
        descending ? QStringLiteral(" order by [ID] desc") : QStringLiteral(" order by [ID]");
    QString ids = QStringLiteral("select [ID] from [%1]").arg(m_table.table) +
                  (edge.isEmpty() ? m_condition.where() : m_condition.whereAnd(edge)) + order +
                  QStringLiteral(" limit %1").arg(limit);
    if (offset > 0)
        ids += QStringLiteral(" offset %1").arg(offset);
    SqlWithParams s{QStringLiteral("select %1 from [%2] where [ID] in (%3)")
                            .arg(m_columns, m_table.table, ids) +
                        order,
                    m_condition.params};
    if (!edge.isEmpty())
        s.params << edgeId;
    return s;
}

SqlWithParams BookPager::pageSql(int page) const {
    const int n = effectiveSize();
    return rowsSql({}, {}, false, n, qint64(std::max(page, 1) - 1) * n);
}

QList<QVariantMap> BookPager::load(const SqlWithParams& s, bool reversed, int page) {
    QList<QVariantMap> rows;
    QSqlQuery q = m_db.run(s.sql, s.params);
    while (q.next())
        rows.append(recordMap(q.record()));
    if (reversed)
        std::reverse(rows.begin(), rows.end());
    m_ids.clear();
    for (const QVariantMap& r : rows)
        m_ids.append(r.value(QStringLiteral("ID")).toLongLong());
    m_page = m_pages == 0 ? 0 : page;
    return rows;
}

QList<QVariantMap> BookPager::first() {
    return load(pageSql(1), false, 1);
}

QList<QVariantMap> BookPager::go(int page) {
    if (page <= 1 || m_pages <= 1)
        return first();
    if (page >= m_pages)
        return last();
    return load(pageSql(page), false, page);
}

QList<QVariantMap> BookPager::next() {
    if (m_page + 1 >= m_pages || m_ids.isEmpty())
        return last();
    return load(rowsSql(QStringLiteral("[ID]>?"), m_ids.last(), false, effectiveSize()), false,
                m_page + 1);
}

QList<QVariantMap> BookPager::previous() {
    if (m_page - 1 <= 1 || m_ids.isEmpty())
        return first();
    return load(rowsSql(QStringLiteral("[ID]<?"), m_ids.first(), true, effectiveSize()), true,
                m_page - 1);
}

QList<QVariantMap> BookPager::last() {
    if (m_pages <= 1)
        return first();
    const qint64 onLast = m_total - qint64(m_pages - 1) * effectiveSize();
    return load(rowsSql({}, {}, true, onLast), true, m_pages);
}

namespace {

const QString kStatusColumn = QStringLiteral("在馆状态");

// Does the schema keep an index of just the columns the copy counters read?
bool countersIndexed(const CatalogueTable& t) {
    const TableDef* def = schemaTable(t.table);
    if (!def)
        return false;
    QStringList wanted{t.totalColumn, t.remainingColumn, kStatusColumn, t.priceColumn};
    wanted.sort();
    return std::any_of(def->indexes.cbegin(), def->indexes.cend(), [&](const IndexDef& i) {
        QStringList columns = i.columns;
        columns.sort();
        return columns == wanted;
    });
}

// count, holdings, value, on the shelf and lent by status, lent and on the shelf by counts.
// Over a whole table SQLite groups the rows by the indexed counter columns first: the scan
// then streams in index order and the sums run once per group (a few thousand) instead of
// once per row. A condition picks rows out of that order, so it keeps the plain sums.
SqlWithParams copyCountersSql(const Database& db, const ListCondition& condition,
                              const CatalogueTable& t) {
    if (condition.isEmpty() && !db.isPostgres() && countersIndexed(t))
        return {QStringLiteral("select sum([n]), sum([h]*[n]), sum([v]*[h]*[n]), "
                               "sum(case when [s]='在馆' then [n] else 0 end), "
                               "sum(case when [s]='借出' then [n] else 0 end), "
                               "sum(([h]-[r])*[n]), sum([r]*[n]) from (select count(*) as [n], "
                               "[%1] as [h], [%2] as [v], [%3] as [r], [%4] as [s] from [%5] "
                               "group by [%1],[%3],[%4],[%2]) [g]")
                    .arg(t.totalColumn, t.priceColumn, t.remainingColumn, kStatusColumn, t.table),
                {}};
    return {QStringLiteral("select count(*), sum([%1]), sum([%2]*[%1]), "
                           "sum(case when [%4]='在馆' then 1 else 0 end), "
                           "sum(case when [%4]='借出' then 1 else 0 end), "
                           "sum([%1]-[%3]), sum([%3]) from [%5]")
                    .arg(t.totalColumn, t.priceColumn, t.remainingColumn, kStatusColumn, t.table) +
                condition.where(),
            condition.params};
}

} // namespace

BookCounters bookCounters(const Database& db, const ListCondition& condition, bool oneToOne,
                          const QString& kindCondition, const CatalogueTable& t) {
    BookCounters c;
    const SqlWithParams counts = copyCountersSql(db, condition, t);
    const auto r = db.row(counts.sql, counts.params);
    auto number = [&](int i) -> std::optional<qint64> {
        if (!r || r->isNull(i))
            return std::nullopt;
        return qint64(std::llround(r->value(i).toDouble()));
    };
    c.rows = number(0).value_or(0);
    c.holdings = number(1);
    c.totalValue = r && !r->isNull(2) ? r->value(2).toDouble() : 0.0;
    if (oneToOne) {
        c.remaining = number(3).value_or(0);
        c.lent = number(4).value_or(0);
    } else {
        c.lent = number(5);
        c.remaining = number(6);
    }
    // Under a condition SQLite would otherwise walk the whole kind index for its order and
    // fetch every row to test the condition; "+" keeps the order out of it, so the rows met
    // come from a scan or range (of a covering index where one serves) and only they are
    // sorted. The whole library streams through the kind index in order.
    const QString groupTerm =
        condition.isEmpty() || db.isPostgres() ? QStringLiteral("[%1]") : QStringLiteral("+[%1]");
    QStringList grouped;
    for (const QString& col : kindColumns(db, kindCondition))
        grouped << groupTerm.arg(col);
    c.kinds = db.scalar(QStringLiteral("select count(*) from (select 1 as [k] from [%1]%2 group "
                                       "by %3) [kinds]")
                            .arg(t.table, condition.where(), grouped.join(u',')),
                        condition.params, 0)
                  .toLongLong();
    return c;
}

QString formatTotalValue(double value) {
    return QStringLiteral("￥ ") + QLocale(QLocale::English).toString(value, 'f', 2);
}

bool isBookOut(const QVariantMap& book, bool oneToOne) {
    if (oneToOne)
        return book.value(QStringLiteral("在馆状态")).toString() != QStringLiteral("在馆");
    return book.value(QStringLiteral("馆内剩余")).toLongLong() !=
           book.value(QStringLiteral("藏书总量")).toLongLong();
}

int withdrawBooks(Database& db, const CatalogueTable& t, const QList<qint64>& ids,
                  const QString& operatorName, const QString& reason, ProgressSink* progress) {
    const QStringList target = db.columns(t.withdrawalTable);
    QStringList copied;
    for (const QString& c : db.columns(t.table)) {
        if (c.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 || c == QStringLiteral("选中"))
            continue;
        if (target.contains(c, Qt::CaseInsensitive))
            copied << u'[' + c + u']';
    }
    const QString list = copied.join(u',');
    const QString insert =
        QStringLiteral("insert into [%1] (%2,[注销日期],[注销原因],[操作员]) select %2,?,?,? "
                       "from [%3] where [ID]=?")
            .arg(t.withdrawalTable, list, t.table);
    const QString remove = QStringLiteral("delete from [%1] where [ID]=?").arg(t.table);
    const QDate today = db.today();
    if (progress)
        progress->setRange(int(ids.size()));
    Transaction tx(db);
    int done = 0;
    for (qint64 id : ids) {
        if (db.execute(insert, {today, reason, operatorName, id}) == 0)
            continue; // gone meanwhile: nothing to withdraw
        db.execute(remove, {id});
        ++done;
        if (progress) {
            progress->setLabel(QStringLiteral("系统正在执行删除操作... %1").arg(done));
            progress->setValue(done);
        }
    }
    tx.commit();
    return done;
}

QList<qint64> markedIds(const Database& db, const CatalogueTable& t) {
    QList<qint64> ids;
    QSqlQuery q =
        db.run(QStringLiteral("select [ID] from [%1] where [选中]=TRUE order by [%2],[ID]")
                   .arg(t.table, t.numberColumn));
    while (q.next())
        ids.append(q.value(0).toLongLong());
    return ids;
}

namespace {

// Rewrites one column of every book whose value the function changes, in one transaction.
int repairColumn(Database& db, const QString& column, const QString& order,
                 const std::function<std::optional<QString>(const QString&)>& repaired,
                 ProgressSink& progress) {
    const qint64 total =
        db.scalar(QStringLiteral("select count([ID]) from [书籍资料]"), {}, 0).toLongLong();
    progress.setRange(int(total));
    Transaction tx(db);
    QList<std::pair<qint64, QString>> changes;
    {
        QSqlQuery q = db.run(QStringLiteral("select [ID],[%1],[%2] from [书籍资料] order by %3")
                                 .arg(column == QStringLiteral("拼音") ? QStringLiteral("书籍名称")
                                                                       : QStringLiteral("标准ISBN"),
                                      column, order));
        q.setForwardOnly(true);
        int n = 0;
        while (q.next()) {
            ++n;
            if (n % 200 == 0 || n == total) {
                progress.setLabel(QStringLiteral("系统正在执行操作... %1").arg(n));
                progress.setValue(n);
            }
            if (q.value(1).isNull())
                continue;
            const auto value = repaired(q.value(1).toString());
            if (value && *value != q.value(2).toString())
                changes.append({q.value(0).toLongLong(), *value});
        }
    }
    const QString update = QStringLiteral("update [书籍资料] set [%1]=? where [ID]=?").arg(column);
    for (const auto& [id, value] : changes)
        db.execute(update, {value, id});
    tx.commit();
    return int(changes.size());
}

} // namespace

int repairPinyin(Database& db, ProgressSink& progress) {
    return repairColumn(
        db, QStringLiteral("拼音"), QStringLiteral("[书籍编号],[ID]"),
        [](const QString& title) -> std::optional<QString> {
            if (title.isEmpty())
                return std::nullopt;
            return pinyinInitials(title.trimmed());
        },
        progress);
}

int repairIsbns(Database& db, ProgressSink& progress) {
    return repairColumn(
        db, QStringLiteral("标准ISBN"), QStringLiteral("[ID]"),
        [](const QString& isbn) -> std::optional<QString> {
            if (isbn.isEmpty() || !isbn.contains(u'-'))
                return std::nullopt;
            return normalizeIsbn(isbn);
        },
        progress);
}

} // namespace cangshu
