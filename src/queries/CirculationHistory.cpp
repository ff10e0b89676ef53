#include "CirculationHistory.h"

#include "Conditions.h"

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

HistoryColumn col(const QString& field, int width = 90, HistoryFooter footer = HistoryFooter::None,
                  const QString& title = {}) {
    return {field, title.isEmpty() ? field : title, width, footer};
}

QList<HistoryColumn> readerColumns() {
    return {col(u"读者编号"_s, 90, HistoryFooter::Label), col(u"读者姓名"_s, 80),
            col(u"读者类型"_s, 80)};
}

QList<HistoryColumn> bookColumns(bool returns) {
    QList<HistoryColumn> c = readerColumns();
    c << col(u"书籍编号"_s, 90, HistoryFooter::Count) << col(u"书籍名称"_s, 200)
      << col(u"当前本数"_s, 60, HistoryFooter::None, u"卷册号"_s) << col(u"中图分类"_s, 80)
      << col(u"借阅日期"_s, 90) << col(returns ? u"归还日期"_s : u"应还日期"_s, 90)
      << col(u"书籍价格"_s, 80, HistoryFooter::Sum) << col(u"作者信息"_s, 120)
      << col(u"分类名称"_s, 100) << col(u"出版社名"_s, 120) << col(u"出版日期"_s, 80)
      << col(u"书籍页码"_s, 70);
    if (returns)
        c << col(u"借出天数"_s, 70) << col(u"租金金额"_s, 80, HistoryFooter::Sum)
          << col(u"超期天数"_s, 70) << col(u"罚款金额"_s, 80, HistoryFooter::Sum);
    c << col(u"操作员"_s, 80);
    return c;
}

QList<HistoryColumn> periodicalColumns(bool returns) {
    QList<HistoryColumn> c = readerColumns();
    c << col(u"期刊编号"_s, 90, HistoryFooter::Count) << col(u"期刊名称"_s, 200)
      << col(u"中图分类"_s, 80) << col(u"借阅日期"_s, 90)
      << col(returns ? u"归还日期"_s : u"应还日期"_s, 90)
      << col(u"期刊价格"_s, 80, HistoryFooter::Sum) << col(u"主编信息"_s, 120)
      << col(u"分类名称"_s, 100) << col(u"出版社名"_s, 120) << col(u"期刊刊次"_s, 70)
      << col(u"期刊页数"_s, 70);
    if (returns)
        c << col(u"借出天数"_s, 70) << col(u"租金金额"_s, 80, HistoryFooter::Sum)
          << col(u"超期天数"_s, 70) << col(u"罚款金额"_s, 80, HistoryFooter::Sum);
    c << col(u"操作员"_s, 80);
    return c;
}

QList<HistoryColumn> mediaColumns(bool returns) {
    QList<HistoryColumn> c = readerColumns();
    c << col(u"编号"_s, 90, HistoryFooter::Count) << col(u"名称"_s, 200) << col(u"分类名称"_s, 100)
      << col(u"借阅日期"_s, 130) << col(returns ? u"归还日期"_s : u"应还日期"_s, 130)
      << col(u"价格"_s, 80, HistoryFooter::Sum) << col(u"商品类型"_s, 80)
      << col(u"出版社名"_s, 120);
    if (returns)
        c << col(u"借出天数"_s, 70);
    c << col(u"操作员"_s, 80);
    return c;
}

QList<HistoryView> buildViews() {
    QList<HistoryView> v;
    HistoryView b;
    b.kind = HistoryKind::BookLoans;
    b.title = u"书籍借阅查询"_s;
    b.itemTable = u"书籍资料"_s;
    b.historyTable = u"书籍借阅清单"_s;
    b.itemKey = u"书籍索引"_s;
    b.itemNumberColumn = u"书籍编号"_s;
    b.itemNumberLabel = u"书籍编号："_s;
    b.itemNumberMessage = u"请输入书籍编号！"_s;
    b.dateColumn = u"借阅日期"_s;
    b.reportTitle = u"书籍借阅报表"_s;
    b.layoutName = u"bookLendfind"_s;
    b.todayTitle = u"借出图书"_s;
    b.overdue = true;
    b.columns = bookColumns(false);
    v << b;

    HistoryView br = b;
    br.kind = HistoryKind::BookReturns;
    br.title = u"书籍归还查询"_s;
    br.historyTable = u"书籍归还清单"_s;
    br.dateColumn = u"归还日期"_s;
    br.reportTitle = u"书籍归还报表"_s;
    br.layoutName = u"bookReturnfind"_s;
    br.todayTitle = u"归还图书"_s;
    br.overdue = false;
    br.columns = bookColumns(true);
    v << br;

    HistoryView p = b;
    p.kind = HistoryKind::PeriodicalLoans;
    p.title = u"期刊借阅查询"_s;
    p.itemTable = u"期刊资料"_s;
    p.historyTable = u"期刊借阅清单"_s;
    p.itemKey = u"期刊索引"_s;
    p.itemNumberColumn = u"期刊编号"_s;
    p.itemNumberLabel = u"期刊编号："_s;
    // The periodical windows keep the book window's message.
    p.itemNumberMessage = u"请输入书籍编号！"_s;
    p.reportTitle = u"期刊借阅报表"_s;
    p.layoutName = u"qkLendfind"_s;
    p.todayTitle = u"借出期刊"_s;
    p.columns = periodicalColumns(false);
    v << p;

    HistoryView pr = p;
    pr.kind = HistoryKind::PeriodicalReturns;
    pr.title = u"期刊归还查询"_s;
    pr.historyTable = u"期刊归还清单"_s;
    pr.dateColumn = u"归还日期"_s;
    pr.reportTitle = u"期刊归还报表"_s;
    pr.layoutName = u"qkReturnfind"_s;
    pr.todayTitle = u"归还期刊"_s;
    pr.overdue = false;
    pr.columns = periodicalColumns(true);
    v << pr;

    HistoryView m;
    m.kind = HistoryKind::MediaLoans;
    m.title = u"音像、资料、物品借出查询"_s;
    m.itemTable = u"音像制品"_s;
    m.historyTable = u"音像借阅清单"_s;
    m.itemKey = u"音像索引"_s;
    m.itemNumberColumn = u"编号"_s;
    m.itemNumberLabel = u"资料编号："_s;
    m.itemNumberMessage = u"请输入编号！"_s;
    m.dateColumn = u"借阅日期"_s;
    m.reportTitle = u"音像借阅报表"_s;
    m.orderedByReader = false;
    m.fullGrid = false;
    m.columns = mediaColumns(false);
    v << m;

    HistoryView mr = m;
    mr.kind = HistoryKind::MediaReturns;
    mr.title = u"音像、资料、物品归还查询"_s;
    mr.historyTable = u"音像归还清单"_s;
    mr.dateColumn = u"归还日期"_s;
    mr.reportTitle = u"音像归还报表"_s;
    mr.columns = mediaColumns(true);
    v << mr;
    return v;
}

// The footer of the whole list without joining each of its rows: the history grouped by
// item and joined with the items, less the rows whose reader is missing, which the list's
// join drops (读者编号 is unique, so a present reader matches once). The history's reader
// numbers are stepped through its reader index, one seek per distinct reader, to find
// the missing ones. Empty when a sum needs the reader table.
QString wholeListTotals(const HistoryView& v, const BuilderColumns& offered) {
    QStringList outer, grouped, perItem, dropped;
    for (const HistoryColumn& c : v.columns) {
        if (c.footer != HistoryFooter::Sum)
            continue;
        const QString s = u"s%1"_s.arg(outer.size());
        const QString owner = offered.owner.value(c.field);
        if (owner == v.historyTable) {
            grouped << u",sum([%1]) as %2"_s.arg(c.field, s);
            perItem << u",sum(g.%1) as %1"_s.arg(s);
            dropped << u",sum(h.[%1]) as %2"_s.arg(c.field, s);
        } else if (owner == v.itemTable) {
            perItem << u",sum(g.n*i.[%1]) as %2"_s.arg(c.field, s);
            dropped << u",sum(i.[%1]) as %2"_s.arg(c.field, s);
        } else {
            return {};
        }
        outer << u",coalesce(a.%1,0)-coalesce(o.%1,0)-coalesce(m.%1,0) as [%2]"_s.arg(s, c.field);
    }
    const QString byItem =
        u"select sum(g.n) as n%1 from (select [%2] as k,count(*) as n%3 from [%4] group by [%2]) g,"
        "[%5] i where i.[ID]=g.k"_s.arg(perItem.join(QString()), v.itemKey, grouped.join(QString()),
                                        v.historyTable, v.itemTable);
    auto droppedWhere = [&](const QString& readerTest) {
        return u"select count(*) as n%1 from [%2] h,[%3] i where i.[ID]=h.[%4] and "_s.arg(
                   dropped.join(QString()), v.historyTable, v.itemTable, v.itemKey) +
               readerTest;
    };
    const QString missingReaders =
        u"with recursive d(k) as (select min([读者索引]) from [%1] union all select (select "
        "min([读者索引]) from [%1] where [读者索引]>d.k) from d where d.k is not null) select k "
        "from d where k is not null and not exists (select 1 from [读者资料] r where "
        "r.[读者编号]=d.k)"_s.arg(v.historyTable);
    return u"select coalesce(a.n,0)-coalesce(o.n,0)-coalesce(m.n,0) as n%1 from (%2) a,(%3) o,"
           "(%4) m"_s.arg(outer.join(QString()), byItem, droppedWhere(u"h.[读者索引] is null"_s),
                          droppedWhere(u"h.[读者索引] in ("_s + missingReaders + u")"_s));
}

const QList<HistoryView>& views() {
    static const QList<HistoryView> all = buildViews();
    return all;
}

} // namespace

QString HistoryView::tableList() const {
    return itemTable + u","_s + u"读者资料"_s + u","_s + historyTable;
}

const HistoryView& historyView(HistoryKind kind) {
    for (const HistoryView& v : views())
        if (v.kind == kind)
            return v;
    return views().first();
}

const QList<HistoryKind>& historyKinds() {
    static const QList<HistoryKind> kinds{
        HistoryKind::BookLoans,         HistoryKind::BookReturns, HistoryKind::PeriodicalLoans,
        HistoryKind::PeriodicalReturns, HistoryKind::MediaLoans,  HistoryKind::MediaReturns};
    return kinds;
}

HistoryQueries::HistoryQueries(const Database& db, HistoryKind kind)
    : m_db(db), m_view(historyView(kind)) {
    // Every column the builder offers, taken from the table it offers it from, so that a
    // name found in two of the tables (拼音, 备注信息) is not ambiguous in a condition.
    const BuilderColumns offered = builderColumns(db, m_view.tableList());
    QStringList inner;
    for (const QString& name : offered.names) {
        // The reader number is taken from the history, where the join makes it equal, so
        // that the history's reader index serves the reader order and the reader search.
        if (name == u"读者编号"_s)
            inner << u"[%1].[读者索引] as [读者编号]"_s.arg(m_view.historyTable);
        else
            inner << u"[%1].[%2] as [%2]"_s.arg(offered.owner.value(name), name);
    }
    m_from = u"(select %1 from [%2],[读者资料],[%3] where [%2].[ID]=[%3].[%4] and "
             "[读者资料].[读者编号]=[%3].[读者索引]) as h"_s.arg(
                 inner.join(u','), m_view.itemTable, m_view.historyTable, m_view.itemKey);
    QStringList shown;
    for (const HistoryColumn& c : m_view.columns)
        shown << u"[%1]"_s.arg(c.field);
    m_columns = shown.join(u',');
    m_totals = wholeListTotals(m_view, offered);
}

HistoryQuery HistoryQueries::make(const QString& condition, const QVariantList& params,
                                  const QString& orderBy) const {
    HistoryQuery q;
    q.select = u"select %1 from %2"_s.arg(m_columns, m_from);
    if (!condition.isEmpty())
        q.select += u" where "_s + condition;
    q.params = params;
    q.orderBy = orderBy;
    return q;
}

QString HistoryQueries::readerOrder() const {
    return m_view.orderedByReader ? u"[读者编号]"_s : QString();
}

HistoryQuery HistoryQueries::byItemNumber(const QString& text) const {
    if (text.trimmed().isEmpty())
        return {Outcome::refused(m_view.itemNumberMessage, historyfocus::item), {}, {}, {}};
    return make(u"[%1]=?"_s.arg(m_view.itemNumberColumn), {text}, {});
}

HistoryQuery HistoryQueries::byReaderNumber(const QString& text) const {
    if (text.trimmed().isEmpty())
        return {Outcome::refused(u"请输入读者编号！"_s, historyfocus::reader), {}, {}, {}};
    return make(u"[读者编号]=?"_s, {text}, {});
}

HistoryQuery HistoryQueries::all() const {
    HistoryQuery q = make({}, {}, readerOrder());
    q.totals = m_totals;
    return q;
}

HistoryQuery HistoryQueries::overdue() const {
    return make(u"[应还日期]<?"_s, {m_db.today()}, u"[读者编号]"_s);
}

HistoryQuery HistoryQueries::withCondition(const QString& condition, const QString& orderBy) const {
    if (condition.trimmed().isEmpty())
        return {Outcome::refused(kEmptyCondition), {}, {}, {}};
    // The join sits inside the derived table and the condition in parentheses, so an "or"
    // of the condition never reaches rows outside the join.
    return make(u"("_s + condition + u")"_s, {}, orderBy);
}

HistoryQuery HistoryQueries::today() const {
    return make(u"[%1]=?"_s.arg(m_view.dateColumn), {m_db.today()}, readerOrder());
}

QString HistoryQueries::todayTitle() const {
    return u"【%1】 %2"_s.arg(m_db.today().toString(u"yyyy-MM-dd"_s), m_view.todayTitle);
}

} // namespace cangshu
