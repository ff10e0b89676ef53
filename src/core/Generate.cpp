#include "Generate.h"
#include "Numbering.h"
#include "Seed.h"
#include "TextRoutines.h"

#include <QHash>
#include <QScopeGuard>
#include <QSqlError>
#include <stdexcept>
#include <vector>

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

// splitmix64: small, fast and the same on every platform, so a seed always gives the same data.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next() {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    qint64 below(qint64 n) { return qint64(next() % quint64(n)); }

private:
    quint64 m_state;
};

// A word with its pinyin initials, worked out once instead of once per row.
struct Word {
    QString text;
    QString pinyin;
};

std::vector<Word> words(std::initializer_list<const char16_t*> list) {
    std::vector<Word> out;
    for (const char16_t* w : list) {
        const QString s = QString::fromUtf16(w);
        out.push_back({s, pinyinInitials(s)});
    }
    return out;
}

const std::vector<Word>& titleWords() {
    static const auto w =
        words({u"中国", u"现代", u"古代", u"文学", u"历史", u"数学", u"物理", u"化学", u"计算机",
               u"网络", u"程序", u"设计", u"原理", u"基础", u"导论", u"概论", u"教程", u"研究",
               u"方法", u"应用", u"管理", u"经济", u"社会", u"文化", u"艺术", u"音乐", u"教育",
               u"心理", u"哲学", u"科学", u"技术", u"工程", u"系统", u"数据", u"分析", u"实践",
               u"理论", u"世界", u"故事", u"小说", u"诗歌", u"散文", u"人生", u"城市", u"乡村",
               u"自然", u"生命", u"时代", u"青春", u"旅行"});
    return w;
}

const std::vector<Word>& surnames() {
    static const auto w =
        words({u"王", u"李", u"张", u"刘", u"陈", u"杨", u"黄", u"赵", u"吴", u"周",
               u"徐", u"孙", u"马", u"朱", u"胡", u"郭", u"何", u"高", u"林", u"罗"});
    return w;
}

const std::vector<Word>& givenNames() {
    static const auto w = words({u"伟", u"芳",   u"娜", u"敏", u"静", u"丽",   u"强",   u"磊",
                                 u"军", u"洋",   u"勇", u"艳", u"杰", u"娟",   u"涛",   u"明",
                                 u"超", u"秀兰", u"霞", u"平", u"刚", u"建华", u"晓东", u"文博"});
    return w;
}

struct Class {
    const char16_t* code;
    const char16_t* name;
};

const Class kClasses[] = {
    {u"I24", u"小说"},
    {u"I22", u"诗歌、韵文"},
    {u"I26", u"散文"},
    {u"K20", u"通史"},
    {u"O13", u"高等数学"},
    {u"O4", u"物理学"},
    {u"TP311", u"程序设计、软件工程"},
    {u"TP312", u"程序语言、算法语言"},
    {u"TP393", u"计算机网络"},
    {u"G25", u"图书馆学、图书馆事业"},
    {u"F27", u"企业经济"},
    {u"B84", u"心理学"},
    {u"J2", u"绘画"},
    {u"H31", u"英语"},
    {u"D9", u"法律"},
    {u"R1", u"预防医学、卫生学"},
};

struct Publisher {
    const char16_t* prefix;
    const char16_t* name;
    const char16_t* place;
};

const Publisher kPublishers[] = {
    {u"7-02", u"人民文学出版社", u"北京"},   {u"7-04", u"高等教育出版社", u"北京"},
    {u"7-101", u"中华书局", u"北京"},        {u"7-302", u"清华大学出版社", u"北京"},
    {u"7-5327", u"上海译文出版社", u"上海"}, {u"7-5447", u"译林出版社", u"南京"},
};

const char16_t* const kDepartments[] = {u"文学院", u"计算机学院", u"数学学院",
                                        u"图书馆", u"外国语学院", u"经济学院"};

struct ReaderType {
    QString name;
    int loanDays = 30;
    int renewals = 1;
    double dailyRent = 0;
    double dailyFine = 0.1;
};

// Readers of these types join the seeded ones, so the readers spread over several rules.
void ensureExtraReaderTypes(Database& db) {
    const std::tuple<const char16_t*, int, int> extra[] = {{u"研究生", 8, 45}, {u"职工", 6, 30}};
    for (const auto& [name, count, days] : extra) {
        const QString n = QString::fromUtf16(name);
        if (db.scalar(u"select count(*) from [读者类型] where [类型名称]=?"_s, {n}, 0).toInt() > 0)
            continue;
        db.execute(
            u"insert into [读者类型] ([类型名称],[书籍借出册数],[书籍借出天数],[书籍续借次数],"
            "[书籍续借天数],[杂志借出册数],[杂志借出天数],[期刊续借次数],[期刊续借天数],"
            "[书籍每日租金],[书籍超期罚款],[期刊每日租金],[期刊超期罚款],[无限制]) "
            "values (?,?,?,1,?,3,14,1,14,0,0.1,0,0.1,'否')"_s,
            {n, count, days, days});
    }
}

std::vector<ReaderType> loadReaderTypes(const Database& db) {
    std::vector<ReaderType> out;
    for (const QSqlRecord& r : db.rows(u"select * from [读者类型] order by [类型名称]"_s)) {
        ReaderType t;
        t.name = r.value(u"类型名称"_s).toString();
        t.loanDays = std::max(1, r.value(u"书籍借出天数"_s).toInt());
        t.renewals = r.value(u"书籍续借次数"_s).toInt();
        t.dailyRent = r.value(u"书籍每日租金"_s).toDouble();
        t.dailyFine = r.value(u"书籍超期罚款"_s).toDouble();
        out.push_back(t);
    }
    return out;
}

// Rows go to the database a batch at a time: one multi-row INSERT prepared once and executed
// for every full batch (and one more for the rest), which saves a round trip per row.
class BatchInserter {
public:
    using Returned = std::function<void(const QSqlQuery&)>;

    // `returning` names columns to read back from each inserted row, handed to `onReturned`
    // in whatever order the engine gives them.
    BatchInserter(const Database& db, const QString& table, const QStringList& columns,
                  const QString& returning = {}, Returned onReturned = {})
        : m_db(db), m_columnCount(int(columns.size())), m_returning(returning),
          m_onReturned(std::move(onReturned)) {
        QStringList names;
        for (const QString& c : columns)
            names << u'[' + c + u']';
        m_head = u"insert into [%1] (%2) values "_s.arg(table, names.join(u','));
        m_batchRows = std::max(1, std::min(100, 2000 / m_columnCount));
        m_full = prepare(m_batchRows);
    }

    void add(const QVariantList& row) {
        m_pending += row;
        if (++m_pendingRows == m_batchRows)
            flush(m_full);
    }

    void finish() {
        if (m_pendingRows == 0)
            return;
        QSqlQuery rest = prepare(m_pendingRows);
        flush(rest);
    }

private:
    QSqlQuery prepare(int rows) {
        const QString one = u'(' + QString(u"?,"_s).repeated(m_columnCount).chopped(1) + u')';
        QString sql = m_head + QString(one + u',').repeated(rows).chopped(1);
        if (!m_returning.isEmpty())
            sql += u" RETURNING "_s + m_returning;
        QSqlQuery q(m_db.handle());
        q.setForwardOnly(true);
        if (!q.prepare(m_db.dialect().rewrite(sql)))
            fail(q, sql);
        return q;
    }

    void flush(QSqlQuery& q) {
        for (int i = 0; i < m_pending.size(); ++i)
            q.bindValue(i, m_pending[i]);
        if (!q.exec())
            fail(q, m_head);
        while (m_onReturned && q.next())
            m_onReturned(q);
        m_pending.clear();
        m_pendingRows = 0;
    }

    [[noreturn]] static void fail(const QSqlQuery& q, const QString& sql) {
        const QSqlError e = q.lastError();
        throw DatabaseError(e.databaseText().isEmpty() ? e.text() : e.databaseText(), sql);
    }

    const Database& m_db;
    int m_columnCount;
    QString m_returning;
    Returned m_onReturned;
    QString m_head;
    int m_batchRows = 1;
    QSqlQuery m_full;
    QVariantList m_pending;
    int m_pendingRows = 0;
};

class Generator {
public:
    Generator(Database& db, const GenerateOptions& o, const GenerateProgress& progress)
        : m_db(db), m_o(o), m_progress(progress), m_random(o.seed), m_today(db.today()) {}

    GenerateSummary run() {
        ensureExtraReaderTypes(m_db);
        m_types = loadReaderTypes(m_db);
        const Numbering numbering(m_db);
        m_readerShape = numbering.shape(NumberKind::Reader);
        m_bookShape = numbering.shape(NumberKind::Book);

        plan();
        insertReaders();
        insertBooks();
        insertLoans();
        insertHistory();

        m_db.execute(u"update [系统信息] set [编号值]=?, [读者编号值]=?"_s,
                     {m_bookShape.counter + m_o.books, m_readerShape.counter + m_o.readers});
        m_summary.books = m_o.books;
        m_summary.readers = m_o.readers;
        m_summary.readerTypes = int(m_types.size());
        m_summary.loans = m_o.loans;
        m_summary.history = m_o.history;
        return m_summary;
    }

private:
    struct Loan {
        qint64 book;
        qint64 reader;
        int lentDaysAgo;
    };
    struct Return {
        qint64 book;
        qint64 reader;
    };

    // Everything that ties rows together is decided first, so each row is written once with
    // its final status and counts.
    void plan() {
        m_readerType.resize(size_t(m_o.readers));
        for (auto& t : m_readerType)
            t = int(m_random.below(qint64(m_types.size())));
        m_readerLendings.assign(size_t(m_o.readers), 0);
        m_bookLendings.assign(size_t(m_o.books), 0);
        m_lent.assign(size_t(m_o.books), false);
        m_loans.reserve(size_t(m_o.loans));
        for (qint64 i = 0; i < m_o.loans; ++i) {
            qint64 book = m_random.below(m_o.books);
            while (m_lent[size_t(book)]) // a copy is lent to one reader at a time
                book = (book + 1) % m_o.books;
            m_lent[size_t(book)] = true;
            const qint64 reader = m_random.below(m_o.readers);
            m_loans.push_back({book, reader, int(m_random.below(60))});
            ++m_bookLendings[size_t(book)];
            ++m_readerLendings[size_t(reader)];
        }
        m_returns.reserve(size_t(m_o.history));
        for (qint64 i = 0; i < m_o.history; ++i) {
            const Return r{m_random.below(m_o.books), m_random.below(m_o.readers)};
            m_returns.push_back(r);
            ++m_bookLendings[size_t(r.book)];
            ++m_readerLendings[size_t(r.reader)];
        }
    }

    QString readerNumber(qint64 i) const {
        NumberShape s = m_readerShape;
        s.counter += i;
        return Numbering::format(s);
    }

    void report(const QString& table, qint64 done, qint64 total) {
        if (m_progress && (done % 10000 == 0 || done == total))
            m_progress(table, done, total);
    }

    void insertReaders() {
        BatchInserter insert(m_db, u"读者资料"_s,
                             {u"读者编号"_s, u"读者姓名"_s, u"拼音"_s, u"读者类型"_s, u"读者性别"_s,
                              u"单位部门"_s, u"押金金额"_s, u"办证日期"_s, u"截止日期"_s,
                              u"无限制"_s, u"联系电话"_s, u"读者状态"_s, u"借阅次数"_s, u"选中"_s});
        const auto& sn = surnames();
        const auto& gn = givenNames();
        for (qint64 i = 0; i < m_o.readers; ++i) {
            const Word& s = sn[size_t(m_random.below(qint64(sn.size())))];
            const Word& g = gn[size_t(m_random.below(qint64(gn.size())))];
            const QDate registered = m_today.addDays(-m_random.below(1500));
            insert.add({readerNumber(i), s.text + g.text, s.pinyin + g.pinyin,
                        m_types[size_t(m_readerType[size_t(i)])].name,
                        m_random.below(2) ? u"男"_s : u"女"_s,
                        QString::fromUtf16(kDepartments[m_random.below(std::size(kDepartments))]),
                        0, registered, registered.addDays(3 * 365), u"是"_s,
                        u"139%1"_s.arg(i % 100000000, 8, 10, QChar(u'0')), u"正常"_s,
                        m_readerLendings[size_t(i)], false});
            report(u"读者资料"_s, i + 1, m_o.readers);
        }
        insert.finish();
    }

    void insertBooks() {
        // New keys come back with their numbers, which are distinct within a batch.
        QHash<QString, qint64> batchIndex;
        BatchInserter insert(
            m_db, u"书籍资料"_s,
            {u"书籍编号"_s, u"书籍名称"_s, u"标准ISBN"_s, u"作者信息"_s, u"书籍价格"_s,
             u"中图分类"_s, u"分类名称"_s, u"种次号"_s,   u"索书号"_s,   u"出版社名"_s,
             u"出版地点"_s, u"出版日期"_s, u"书籍页码"_s, u"藏书总量"_s, u"馆内剩余"_s,
             u"存放位置"_s, u"馆藏地"_s,   u"所属语种"_s, u"入库时间"_s, u"在馆状态"_s,
             u"借出次数"_s, u"拼音"_s,     u"选中"_s,     u"收藏次数"_s},
            u"[ID], [书籍编号]"_s, [&](const QSqlQuery& q) {
                m_bookIds[size_t(batchIndex.take(q.value(1).toString()))] = q.value(0).toLongLong();
            });
        const auto& tw = titleWords();
        const auto& sn = surnames();
        const auto& gn = givenNames();
        std::vector<int> sequence(std::size(kClasses), 0);
        m_bookIds.resize(size_t(m_o.books));
        NumberShape number = m_bookShape;
        for (qint64 i = 0; i < m_o.books; ++i, ++number.counter) {
            const Word& a = tw[size_t(m_random.below(qint64(tw.size())))];
            const Word& b = tw[size_t(m_random.below(qint64(tw.size())))];
            const Word& s = sn[size_t(m_random.below(qint64(sn.size())))];
            const Word& g = gn[size_t(m_random.below(qint64(gn.size())))];
            const qint64 c = m_random.below(std::size(kClasses));
            const Publisher& p = kPublishers[m_random.below(std::size(kPublishers))];
            const QString classCode = QString::fromUtf16(kClasses[c].code);
            const QString seq = QString::number(++sequence[size_t(c)]);
            const QString prefix = QString::fromUtf16(p.prefix);
            const int itemDigits = 8 - int(prefix.size() - 2);
            qint64 itemLimit = 1;
            for (int d = 0; d < itemDigits; ++d)
                itemLimit *= 10;
            const QString isbn = normalizeIsbn(
                u"7-%1-%2-0"_s.arg(prefix.mid(2)).arg(i % itemLimit, itemDigits, 10, QChar(u'0')));
            const bool lent = m_lent[size_t(i)];
            const QString bookNumber = Numbering::format(number);
            batchIndex.insert(bookNumber, i);
            insert.add({bookNumber,
                        a.text + b.text,
                        isbn,
                        s.text + g.text,
                        10 + m_random.below(9000) / 100.0,
                        classCode,
                        QString::fromUtf16(kClasses[c].name),
                        seq,
                        classCode + u'/' + seq,
                        QString::fromUtf16(p.name),
                        QString::fromUtf16(p.place),
                        QString::number(1990 + m_random.below(35)),
                        QString::number(80 + m_random.below(900)),
                        1,
                        lent ? 0 : 1,
                        u"一楼书库"_s,
                        u"总馆"_s,
                        u"中文"_s,
                        m_today.addDays(-m_random.below(3650)),
                        lent ? u"借出"_s : u"在馆"_s,
                        m_bookLendings[size_t(i)],
                        a.pinyin + b.pinyin,
                        false,
                        0});
            report(u"书籍资料"_s, i + 1, m_o.books);
        }
        insert.finish();
        if (!batchIndex.isEmpty())
            throw DatabaseError(u"inserted books did not all return their keys"_s, {});
    }

    void insertLoans() {
        BatchInserter insert(m_db, u"书籍借阅清单"_s,
                             {u"读者索引"_s, u"书籍索引"_s, u"借阅日期"_s, u"应还日期"_s,
                              u"操作员"_s, u"允许续借"_s, u"已经续借"_s});
        qint64 done = 0;
        for (const Loan& l : m_loans) {
            const ReaderType& t = m_types[size_t(m_readerType[size_t(l.reader)])];
            const QDate lent = m_today.addDays(-l.lentDaysAgo);
            const QDate due = lent.addDays(t.loanDays);
            insert.add({readerNumber(l.reader), m_bookIds[size_t(l.book)], lent, due, u"admin"_s,
                        t.renewals, 0});
            m_summary.overdueLoans += due < m_today;
            report(u"书籍借阅清单"_s, ++done, m_o.loans);
        }
        insert.finish();
    }

    void insertHistory() {
        BatchInserter insert(m_db, u"书籍归还清单"_s,
                             {u"读者索引"_s, u"书籍索引"_s, u"借阅日期"_s, u"归还日期"_s,
                              u"借出天数"_s, u"租金金额"_s, u"超期天数"_s, u"罚款金额"_s,
                              u"操作员"_s});
        qint64 done = 0;
        for (const Return& r : m_returns) {
            const ReaderType& t = m_types[size_t(m_readerType[size_t(r.reader)])];
            const QDate lent = m_today.addDays(-(60 + m_random.below(1400)));
            const int days = 1 + int(m_random.below(t.loanDays + 20));
            const int overdue = std::max(0, days - t.loanDays);
            insert.add({readerNumber(r.reader), m_bookIds[size_t(r.book)], lent, lent.addDays(days),
                        days, days * t.dailyRent,
                        overdue > 0 ? QString::number(overdue) : u"未超期"_s, overdue * t.dailyFine,
                        u"admin"_s});
            report(u"书籍归还清单"_s, ++done, m_o.history);
        }
        insert.finish();
    }

    Database& m_db;
    const GenerateOptions& m_o;
    const GenerateProgress& m_progress;
    Random m_random;
    QDate m_today;
    std::vector<ReaderType> m_types;
    NumberShape m_readerShape, m_bookShape;
    std::vector<int> m_readerType;
    std::vector<int> m_readerLendings, m_bookLendings;
    std::vector<bool> m_lent;
    std::vector<Loan> m_loans;
    std::vector<Return> m_returns;
    std::vector<qint64> m_bookIds;
    GenerateSummary m_summary;
};

} // namespace

QString checkGenerateOptions(const GenerateOptions& o) {
    if (o.books < 0 || o.readers < 0 || o.loans < 0 || o.history < 0)
        return u"数量不能为负数"_s;
    if (o.loans > o.books)
        return u"借阅数量不能多于书籍数量"_s;
    if ((o.loans > 0 || o.history > 0) && (o.books == 0 || o.readers == 0))
        return u"生成借阅和归还记录需要书籍和读者"_s;
    return {};
}

GenerateSummary generateData(Database& db, const GenerateOptions& options,
                             const GenerateProgress& progress) {
    const QString problem = checkGenerateOptions(options);
    if (!problem.isEmpty())
        throw std::invalid_argument(problem.toStdString());
    // A large page cache keeps SQLite from spilling the one big transaction to disk half-way.
    std::optional<int> cachePages;
    if (!db.isPostgres()) {
        cachePages = db.scalar(u"PRAGMA cache_size"_s).toInt();
        db.execute(u"PRAGMA cache_size=-262144"_s);
    }
    const auto restoreCache = qScopeGuard([&] {
        if (cachePages)
            db.tryExecute(u"PRAGMA cache_size=%1"_s.arg(*cachePages));
    });
    Transaction tx(db);
    seedNewDatabase(db);
    const GenerateSummary summary = Generator(db, options, progress).run();
    tx.commit();
    return summary;
}

} // namespace cangshu
