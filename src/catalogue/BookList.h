#pragma once
#include "core/Database.h"
#include "queries/ProgressSink.h"

#include <QVariantMap>
#include <optional>

namespace cangshu {

// The catalogue table a list window pages through: the book table, and later the
// periodical and audio-visual tables with their own column names.
struct CatalogueTable {
    QString table;           // 书籍资料
    QString withdrawalTable; // 书籍注销
    QString numberColumn;    // 书籍编号
    QString titleColumn;     // 书籍名称
    QString classColumn;     // 中图分类
    QString totalColumn;     // 藏书总量
    QString priceColumn;     // 书籍价格
    QString remainingColumn; // 馆内剩余
    QString pictureColumn;   // bookimage, empty when the table keeps only a file name
    static CatalogueTable books();
};

// "The current condition" of a list: empty, or a predicate with its values. It is always
// wrapped in parentheses before anything else is and-ed to it.
struct ListCondition {
    QString predicate; // without "where"
    QVariantList params;
    bool isEmpty() const { return predicate.trimmed().isEmpty(); }
    // From a " where ..." text as the search and the condition builder hand it over.
    static ListCondition fromWhere(const QString& whereText, const QVariantList& params = {});
    // " where (<predicate>)" or "".
    QString where() const;
    // " where (<predicate>) and <extra>" or " where <extra>".
    QString whereAnd(const QString& extra) const;
};

// The books of a class and of every class whose number begins with it. On SQLite the prefix
// is an index range on the class column; PostgreSQL orders text by the database's collation,
// where a range need not match a prefix, so it compares the leading characters.
ListCondition classCondition(const Database& db, const CatalogueTable& t,
                             const QString& classNumber);
// The same by the leading characters on either engine, without the index range.
ListCondition classCondition(const CatalogueTable& t, const QString& classNumber);

// Page count of a list: none for no rows; one when the page size is 0 or less (it cannot
// cut pages) or holds every row; else the rows divided by the page size, rounded up.
int pageCount(qint64 rows, int pageSize);

// Pages of a list cut by ID in ascending order. Moving to the next or previous page starts
// from the IDs at the edges of the page shown, so a step costs the same on page 1 and 50000.
class BookPager {
public:
    BookPager(const Database& db, CatalogueTable table, QString columnList = QStringLiteral("*"));

    // Sets the condition and page size, counts the rows and shows nothing yet.
    void reset(const ListCondition& condition, int pageSize);
    qint64 total() const { return m_total; }
    int pages() const { return m_pages; }
    int page() const { return m_page; }
    int pageSize() const { return m_pageSize; }
    bool canPage() const { return m_pages > 1; }
    // "<page>/<page count>"
    QString pageLabel() const { return QStringLiteral("%1/%2").arg(m_page).arg(m_pages); }

    QList<QVariantMap> first();
    QList<QVariantMap> next();     // the last page when there is no further page
    QList<QVariantMap> previous(); // the first page when there is none before
    QList<QVariantMap> last();
    QList<QVariantMap> go(int page);
    // The statement of a page (for a grid that shows it) and its values.
    SqlWithParams pageSql(int page) const;
    const QList<qint64>& ids() const { return m_ids; }
    QString columnList() const { return m_columns; }

private:
    // Up to limit rows in ID order (descending: from the end), after the edge ID when one
    // is given ("[ID]>?" or "[ID]<?"), skipping offset rows.
    SqlWithParams rowsSql(const QString& edge, const QVariant& edgeId, bool descending,
                          qint64 limit, qint64 offset = 0) const;
    QList<QVariantMap> load(const SqlWithParams& s, bool reversed, int page);
    int effectiveSize() const;

    const Database& m_db;
    CatalogueTable m_table;
    QString m_columns;
    ListCondition m_condition;
    int m_pageSize = 0;
    qint64 m_total = 0;
    int m_pages = 0;
    int m_page = 0;
    QList<qint64> m_ids; // of the page shown
};

// The library-wide counters of a list condition. A value that cannot be read (a sum over
// no rows) is empty; the total value then counts as zero.
struct BookCounters {
    qint64 rows = 0;                 // 总行数
    std::optional<qint64> holdings;  // 馆藏总量
    std::optional<qint64> lent;      // 借出数量
    std::optional<qint64> remaining; // 剩余数量
    std::optional<qint64> kinds;     // 书籍种类
    double totalValue = 0;           // 图书总价
};
// oneToOne: 参数设置.一对一 == 1 counts copies by 在馆状态, otherwise by the shelf counts.
BookCounters bookCounters(const Database& db, const ListCondition& condition, bool oneToOne,
                          const QString& kindCondition,
                          const CatalogueTable& t = CatalogueTable::books());
// "￥ 1,234.50"
QString formatTotalValue(double value);

// Is the book out? By 在馆状态 with one copy per row, else by 馆内剩余 against 藏书总量.
bool isBookOut(const QVariantMap& book, bool oneToOne);

// Copies whole rows (every column but ID and 选中, the cover included) into the withdrawal
// table with the date, reason and operator, and deletes exactly those rows, in one
// transaction. Returns how many were withdrawn.
int withdrawBooks(Database& db, const CatalogueTable& t, const QList<qint64>& ids,
                  const QString& operatorName, const QString& reason = QStringLiteral("书库中删除"),
                  ProgressSink* progress = nullptr);
// The IDs of the marked rows now, in number order.
QList<qint64> markedIds(const Database& db, const CatalogueTable& t);

// 拼音 of every titled book recomputed; one transaction. Returns the rows changed.
int repairPinyin(Database& db, ProgressSink& progress);
// Hyphenated ISBNs rewritten as 13 digits; others untouched. One transaction.
int repairIsbns(Database& db, ProgressSink& progress);

} // namespace cangshu
