#pragma once
#include "core/Database.h"
#include "core/Outcome.h"

#include <QDate>

namespace cangshu {

// The six loan and return history lists: open loans and returns of books, periodicals and
// audio-visual items, each joined with the item and the reader.
enum class HistoryKind {
    BookLoans,
    BookReturns,
    PeriodicalLoans,
    PeriodicalReturns,
    MediaLoans,
    MediaReturns
};

enum class HistoryFooter { None, Label, Count, Sum };

struct HistoryColumn {
    QString field;
    QString title;
    int width = 90;
    HistoryFooter footer = HistoryFooter::None;
};

// What distinguishes one history list from another.
struct HistoryView {
    HistoryKind kind;
    QString title;             // "书籍借阅查询"
    QString itemTable;         // 书籍资料
    QString historyTable;      // 书籍借阅清单
    QString itemKey;           // 书籍索引
    QString itemNumberColumn;  // 书籍编号
    QString itemNumberLabel;   // "书籍编号："
    QString itemNumberMessage; // "请输入书籍编号！"
    QString dateColumn;        // 借阅日期 of open loans, 归还日期 of returns
    QString reportTitle;       // "书籍借阅报表"
    QString layoutName;        // saved grid layout; empty: none
    QString todayTitle;        // "借出图书" of the day's list; empty: no such list
    bool overdue = false;      // "显示超期"
    bool orderedByReader = true;
    bool fullGrid = true; // "设置列选", the row numbers and the row painting
    QList<HistoryColumn> columns;

    // "书籍资料,读者资料,书籍借阅清单": the condition builder's table list.
    QString tableList() const;
};

const HistoryView& historyView(HistoryKind kind);
const QList<HistoryKind>& historyKinds();

namespace historyfocus {
inline const QString item = QStringLiteral("item");
inline const QString reader = QStringLiteral("reader");
} // namespace historyfocus

// One list to show: the SELECT (without order), its values and its order; or the refusal.
// totals, when set, gives the footer's count and sums without joining every row.
struct HistoryQuery {
    Outcome outcome;
    QString select;
    QVariantList params;
    QString orderBy;
    QString totals{};
};

// The statements of one history list. The join is wrapped so that every column the
// condition builder offers has one unambiguous name, and the list selects only the
// columns the grid shows.
class HistoryQueries {
public:
    HistoryQueries(const Database& db, HistoryKind kind);
    const HistoryView& view() const { return m_view; }

    // The search texts are used as typed: only the test for emptiness trims them.
    HistoryQuery byItemNumber(const QString& text) const;
    HistoryQuery byReaderNumber(const QString& text) const;
    // Every row, in the reader order that the history's reader index gives, with the
    // footer from the history grouped by item.
    HistoryQuery all() const;
    // Loans due before today; one due today is not yet overdue.
    HistoryQuery overdue() const;
    // A condition from the builder, kept inside the join by parentheses.
    HistoryQuery withCondition(const QString& condition, const QString& orderBy = {}) const;
    // The rows lent (or returned) today, for the day's lists.
    HistoryQuery today() const;
    QString todayTitle() const;

private:
    HistoryQuery make(const QString& condition, const QVariantList& params,
                      const QString& orderBy) const;
    QString readerOrder() const;

    const Database& m_db;
    const HistoryView& m_view;
    QString m_from; // "(select ... from the join) as h"
    QString m_columns;
    QString m_totals; // the footer of all()
};

} // namespace cangshu
