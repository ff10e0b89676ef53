#include "DemoLibrary.h"
#include "Numbering.h"
#include "Seed.h"
#include "TextRoutines.h"

#include <QHash>

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

struct ClassRow {
    const char16_t* code;
    const char16_t* name;
    const char16_t* parent; // empty for a top-level class
};

const ClassRow kClasses[] = {
    {u"G", u"文化、科学、教育、体育", u""},
    {u"G2", u"信息与知识传播", u"G"},
    {u"G25", u"图书馆学、图书馆事业", u"G2"},
    {u"I", u"文学", u""},
    {u"I2", u"中国文学", u"I"},
    {u"I22", u"诗歌、韵文", u"I2"},
    {u"I24", u"小说", u"I2"},
    {u"I26", u"散文", u"I2"},
    {u"I3/7", u"各国文学", u"I"},
    {u"I561", u"英国文学", u"I3/7"},
    {u"I712", u"美国文学", u"I3/7"},
    {u"K", u"历史、地理", u""},
    {u"K2", u"中国史", u"K"},
    {u"K20", u"通史", u"K2"},
    {u"O", u"数理科学和化学", u""},
    {u"O1", u"数学", u"O"},
    {u"O13", u"高等数学", u"O1"},
    {u"O15", u"代数、数论、组合理论", u"O1"},
    {u"O4", u"物理学", u"O"},
    {u"TP", u"自动化技术、计算机技术", u""},
    {u"TP1", u"自动化基础理论", u"TP"},
    {u"TP18", u"人工智能理论", u"TP1"},
    {u"TP3", u"计算技术、计算机技术", u"TP"},
    {u"TP31", u"计算机软件", u"TP3"},
    {u"TP311", u"程序设计、软件工程", u"TP31"},
    {u"TP312", u"程序语言、算法语言", u"TP31"},
    {u"TP39", u"计算机的应用", u"TP3"},
    {u"TP393", u"计算机网络", u"TP39"},
};

struct PublisherRow {
    const char16_t* prefix; // "7-" and the publisher code
    const char16_t* name;
    const char16_t* place;
};

const PublisherRow kPublishers[] = {
    {u"7-02", u"人民文学出版社", u"北京"},   {u"7-101", u"中华书局", u"北京"},
    {u"7-04", u"高等教育出版社", u"北京"},   {u"7-302", u"清华大学出版社", u"北京"},
    {u"7-121", u"电子工业出版社", u"北京"},  {u"7-111", u"机械工业出版社", u"北京"},
    {u"7-301", u"北京大学出版社", u"北京"},  {u"7-5063", u"作家出版社", u"北京"},
    {u"7-5327", u"上海译文出版社", u"上海"}, {u"7-5447", u"译林出版社", u"南京"},
    {u"7-208", u"上海人民出版社", u"上海"},  {u"7-5013", u"国家图书馆出版社", u"北京"},
};

struct BookRow {
    const char16_t* title;
    const char16_t* volume;
    const char16_t* author;
    const char16_t* classCode;
    const char16_t* publisher; // prefix in kPublishers
    double price;
    int pages;
    const char16_t* published;
    const char16_t* format;
};

// Two titles are held in two copies: each copy is a row of its own with its own number.
const BookRow kBooks[] = {
    {u"红楼梦", u"", u"曹雪芹，高鹗", u"I24", u"7-02", 59.70, 1606, u"2008-07", u"大32开"},
    {u"红楼梦", u"", u"曹雪芹，高鹗", u"I24", u"7-02", 59.70, 1606, u"2008-07", u"大32开"},
    {u"西游记", u"", u"吴承恩", u"I24", u"7-02", 47.20, 1194, u"2010-05", u"大32开"},
    {u"水浒传", u"", u"施耐庵，罗贯中", u"I24", u"7-02", 50.00, 1339, u"2009-03", u"大32开"},
    {u"三国演义", u"", u"罗贯中", u"I24", u"7-02", 39.50, 990, u"2009-03", u"大32开"},
    {u"呐喊", u"", u"鲁迅", u"I24", u"7-02", 13.00, 152, u"2005-06", u"32开"},
    {u"骆驼祥子", u"", u"老舍", u"I24", u"7-02", 19.00, 245, u"2008-01", u"32开"},
    {u"家", u"", u"巴金", u"I24", u"7-02", 22.00, 328, u"2004-11", u"32开"},
    {u"围城", u"", u"钱钟书", u"I24", u"7-02", 39.00, 359, u"2017-05", u"32开"},
    {u"边城", u"", u"沈从文", u"I24", u"7-5063", 25.00, 198, u"2013-08", u"32开"},
    {u"活着", u"", u"余华", u"I24", u"7-5063", 20.00, 191, u"2012-08", u"32开"},
    {u"平凡的世界", u"第一部", u"路遥", u"I24", u"7-5063", 36.00, 461, u"2012-03", u"32开"},
    {u"平凡的世界", u"第一部", u"路遥", u"I24", u"7-5063", 36.00, 461, u"2012-03", u"32开"},
    {u"唐诗三百首", u"", u"蘅塘退士 编", u"I22", u"7-101", 26.00, 388, u"2016-01", u"32开"},
    {u"宋词三百首", u"", u"上彊村民 编", u"I22", u"7-101", 28.00, 412, u"2016-01", u"32开"},
    {u"朝花夕拾", u"", u"鲁迅", u"I26", u"7-02", 15.00, 118, u"2006-12", u"32开"},
    {u"傲慢与偏见", u"", u"简·奥斯汀 著；王科一 译", u"I561", u"7-5327", 32.00, 374, u"2010-10",
     u"32开"},
    {u"简·爱", u"", u"夏洛蒂·勃朗特 著；吴钧燮 译", u"I561", u"7-02", 29.00, 512, u"2009-01",
     u"32开"},
    {u"老人与海", u"", u"海明威 著；吴劳 译", u"I712", u"7-5327", 18.00, 126, u"2011-06", u"32开"},
    {u"史记", u"第一册", u"司马迁", u"K20", u"7-101", 45.00, 620, u"2014-08", u"大32开"},
    {u"资治通鉴", u"第一册", u"司马光 编著", u"K20", u"7-101", 48.00, 702, u"2011-01", u"大32开"},
    {u"中国通史", u"", u"吕思勉", u"K20", u"7-208", 58.00, 566, u"2015-04", u"16开"},
    {u"高等数学", u"上册", u"同济大学数学系 编", u"O13", u"7-04", 47.60, 412, u"2014-07", u"16开"},
    {u"高等数学", u"下册", u"同济大学数学系 编", u"O13", u"7-04", 41.40, 386, u"2014-07", u"16开"},
    {u"线性代数", u"", u"同济大学数学系 编", u"O15", u"7-04", 22.60, 198, u"2014-06", u"16开"},
    {u"大学物理学", u"第一册", u"张三慧 编著", u"O4", u"7-302", 39.00, 356, u"2008-09", u"16开"},
    {u"C程序设计", u"", u"谭浩强", u"TP312", u"7-302", 39.50, 390, u"2017-08", u"16开"},
    {u"数据结构（C语言版）", u"", u"严蔚敏，吴伟民 编著", u"TP311", u"7-302", 35.00, 334,
     u"2007-03", u"16开"},
    {u"软件工程导论", u"", u"张海藩，牟永敏 编著", u"TP311", u"7-302", 39.50, 355, u"2013-08",
     u"16开"},
    {u"计算机网络", u"", u"谢希仁 编著", u"TP393", u"7-121", 45.00, 468, u"2017-01", u"16开"},
    {u"人工智能导论", u"", u"王万良 编著", u"TP18", u"7-04", 38.00, 320, u"2017-09", u"16开"},
    {u"图书馆学基础", u"", u"吴慰慈，董焱 编著", u"G25", u"7-04", 28.00, 286, u"2004-05", u"16开"},
};

struct ReaderRow {
    const char16_t* name;
    const char16_t* gender;
    const char16_t* type;
    const char16_t* department;
    const char16_t* phone;
    int registeredDaysAgo;
    const char16_t* status;
};

const ReaderRow kReaders[] = {
    {u"张伟", u"男", u"教师", u"计算机学院", u"13800010001", 400, u"正常"},
    {u"王芳", u"女", u"学生", u"文学院", u"13800010002", 300, u"正常"},
    {u"李娜", u"女", u"学生", u"数学学院", u"13800010003", 280, u"正常"},
    {u"刘洋", u"男", u"学生", u"计算机学院", u"13800010004", 250, u"正常"},
    {u"陈静", u"女", u"教师", u"文学院", u"13800010005", 200, u"正常"},
    {u"杨帆", u"男", u"学生", u"计算机学院", u"13800010006", 120, u"正常"},
    {u"赵磊", u"男", u"临时读者", u"图书馆", u"13800010007", 90, u"正常"},
    {u"黄敏", u"女", u"学生", u"文学院", u"13800010008", 60, u"正常"},
    {u"周强", u"男", u"学生", u"数学学院", u"13800010009", 45, u"挂失"},
    {u"吴婷", u"女", u"临时读者", u"文学院", u"13800010010", 400, u"正常"},
};

struct LoanRow {
    int reader; // index in kReaders
    int book;   // index in kBooks
    int lentDaysAgo;
};

// Open loans: 呐喊 and 数据结构 are overdue.
const LoanRow kLoans[] = {
    {1, 0, 10}, {1, 5, 45}, {0, 26, 20}, {3, 27, 35}, {5, 29, 3},
};

struct ReturnRow {
    int reader;
    int book;
    int lentDaysAgo;
    int daysLent;
};

const ReturnRow kReturns[] = {
    {1, 6, 90, 20},
    {2, 9, 80, 40},
    {0, 19, 120, 20},
    {7, 10, 60, 32},
};

struct DepositRow {
    int reader;
    double amount;
    int daysAgo;
    const char16_t* note;
};

const DepositRow kDeposits[] = {
    {0, 100, 400, u"办证押金"},
    {1, 50, 300, u"办证押金"},
    {6, 100, 90, u"办证押金"},
    {6, -20, 30, u"图书污损扣款"},
};

const int kReservedBook = 11; // the first copy of 平凡的世界
const int kReservingReader = 2;

QString str(const char16_t* s) {
    return QString::fromUtf16(s);
}

// A believable ISBN-13 for the publisher: written as a hyphenated ISBN-10 and normalised,
// which supplies the 978 prefix and the check digit.
QString isbnFor(const QString& publisherPrefix, int item) {
    const QString code = publisherPrefix.mid(2);
    const int itemDigits = 8 - int(code.size());
    const QString isbn10 = u"7-%1-%2-0"_s.arg(code).arg(item, itemDigits, 10, QChar(u'0'));
    return normalizeIsbn(isbn10);
}

struct ReaderType {
    int loanDays = 30;
    int renewals = 1;
    double dailyRent = 0;
    double dailyFine = 0.1;
};

class DemoBuilder {
public:
    DemoBuilder(Database& db, const QDate& today) : m_db(db), m_today(today) {}

    DemoSummary build() {
        addClasses();
        addPublishers();
        loadReaderTypes();
        addReaders();
        addBooks();
        addLoans();
        addReturns();
        addDeposits();
        addReservation();
        return m_summary;
    }

private:
    void addClasses() {
        QHash<QString, qint64> ids;
        for (const ClassRow& c : kClasses) {
            const qint64 parent = ids.value(str(c.parent), 0);
            ids[str(c.code)] =
                m_db.insert(u"insert into [图书类型] ([父号],[分类号],[分类名称]) values (?,?,?)"_s,
                            {parent, str(c.code), str(c.name)}, u"ID"_s);
            m_db.execute(u"insert into [ztfl] ([ztcode],[ztname]) values (?,?)"_s,
                         {str(c.code), str(c.name)});
            m_classNames[str(c.code)] = str(c.name);
            ++m_summary.classes;
        }
        const std::pair<const char16_t*, const char16_t*> avClasses[] = {
            {u"J6", u"音乐"}, {u"J9", u"电影、电视艺术"}, {u"H3", u"外语学习"}};
        for (const auto& [code, name] : avClasses)
            m_db.execute(
                u"insert into [音像制品类型] ([父号],[分类号],[分类名称]) values (0,?,?)"_s,
                {str(code), str(name)});
    }

    void addPublishers() {
        for (const PublisherRow& p : kPublishers) {
            m_db.execute(u"insert into [出版社] ([ISBN],[出版社名称],[出版地]) values (?,?,?)"_s,
                         {str(p.prefix), str(p.name), str(p.place)});
            m_publishers[str(p.prefix)] = {str(p.name), str(p.place)};
            ++m_summary.publishers;
        }
    }

    void loadReaderTypes() {
        for (const QSqlRecord& r : m_db.rows(u"select * from [读者类型]"_s)) {
            ReaderType t;
            t.loanDays = r.value(u"书籍借出天数"_s).toInt();
            t.renewals = r.value(u"书籍续借次数"_s).toInt();
            t.dailyRent = r.value(u"书籍每日租金"_s).toDouble();
            t.dailyFine = r.value(u"书籍超期罚款"_s).toDouble();
            m_types[r.value(u"类型名称"_s).toString()] = t;
        }
    }

    ReaderType typeOf(int reader) const { return m_types.value(str(kReaders[reader].type)); }

    int readerLendings(int reader) const {
        int n = 0;
        for (const LoanRow& l : kLoans)
            n += l.reader == reader;
        for (const ReturnRow& r : kReturns)
            n += r.reader == reader;
        return n;
    }

    int bookLendings(int book) const {
        int n = 0;
        for (const LoanRow& l : kLoans)
            n += l.book == book;
        for (const ReturnRow& r : kReturns)
            n += r.book == book;
        return n;
    }

    double depositOf(int reader) const {
        double sum = 0;
        for (const DepositRow& d : kDeposits)
            if (d.reader == reader)
                sum += d.amount;
        return sum;
    }

    void addReaders() {
        const Numbering numbering(m_db);
        const int cardYears = m_db.scalar(u"select [有效期] from [参数设置]"_s, {}, 3).toInt();
        int i = 0;
        for (const ReaderRow& r : kReaders) {
            const QString number = numbering.nextNumber(NumberKind::Reader);
            const QDate registered = m_today.addDays(-r.registeredDaysAgo);
            // Temporary readers' cards expire after a year; the others never do.
            const bool temporary = str(r.type) == u"临时读者"_s;
            const QDate expires = registered.addDays((temporary ? 1 : cardYears) * 365);
            m_db.execute(
                u"insert into [读者资料] ([读者编号],[读者姓名],[拼音],[读者类型],[读者性别],"
                "[单位部门],[押金金额],[出生日期],[办证日期],[截止日期],[无限制],[联系电话],"
                "[电子邮件],[联系地址],[读者状态],[借阅次数],[选中]) "
                "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,FALSE)"_s,
                {number, str(r.name), pinyinInitials(str(r.name)), str(r.type), str(r.gender),
                 str(r.department), depositOf(i), QDate(1990 + i % 12, 1 + i % 12, 1 + i * 2),
                 registered, expires, temporary ? u"否"_s : u"是"_s, str(r.phone),
                 u"reader%1@example.edu.cn"_s.arg(i + 1), u"校园路%1号"_s.arg(i + 1), str(r.status),
                 readerLendings(i)});
            numbering.advance(NumberKind::Reader);
            m_readerNumbers << number;
            ++m_summary.readers;
            ++i;
        }
    }

    void addBooks() {
        const Numbering numbering(m_db);
        QHash<QString, int> sequenceInClass;
        QHash<QString, QString> callNumberOfTitle, isbnOfTitle;
        int i = 0;
        for (const BookRow& b : kBooks) {
            const QString title = str(b.title), classCode = str(b.classCode);
            const QString titleKey = title + u'|' + str(b.volume);
            // Copies of one title share its call number and ISBN.
            if (!callNumberOfTitle.contains(titleKey)) {
                callNumberOfTitle[titleKey] = QString::number(++sequenceInClass[classCode]);
                isbnOfTitle[titleKey] = isbnFor(str(b.publisher), 1200 + i * 37);
            }
            const QString sequence = callNumberOfTitle[titleKey];
            const auto [publisher, place] = m_publishers.value(str(b.publisher));
            bool lent = false;
            for (const LoanRow& l : kLoans)
                lent = lent || l.book == i;
            const QString status = lent                 ? u"借出"_s
                                   : i == kReservedBook ? u"已被预定"_s
                                                        : u"在馆"_s;
            // The last two arrived today; the others over the past year.
            const QDate accession =
                i >= int(std::size(kBooks)) - 2 ? m_today : m_today.addDays(-(365 - i * 9));
            const QString number = numbering.nextNumber(NumberKind::Book);
            const qint64 id = m_db.insert(
                u"insert into [书籍资料] ([书籍编号],[书籍名称],[当前本数],[标准ISBN],[作者信息],"
                "[书籍价格],[中图分类],[分类名称],[种次号],[索书号],[出版社名],[出版地点],["
                "出版日期],"
                "[书籍页码],[藏书总量],[馆内剩余],[存放位置],[馆藏地],[书籍开本],[所属语种],["
                "印刷版面],"
                "[密级],[书籍版次],[入库时间],[在馆状态],[借出次数],[拼音],[选中],[收藏次数]) "
                "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,?,?,?,?,?,?,?,?,FALSE,0)"_s,
                {number,           title,
                 str(b.volume),    isbnOfTitle[titleKey],
                 str(b.author),    b.price,
                 classCode,        m_classNames.value(classCode),
                 sequence,         classCode + u'/' + sequence,
                 publisher,        place,
                 str(b.published), QString::number(b.pages),
                 lent ? 0 : 1,     classCode.startsWith(u'I') ? u"一楼书库"_s : u"二楼阅览室"_s,
                 u"总馆"_s,        str(b.format),
                 u"中文"_s,        u"平装"_s,
                 u"公开"_s,        u"第1版"_s,
                 accession,        status,
                 bookLendings(i),  pinyinInitials(title)},
                u"ID"_s);
            numbering.advance(NumberKind::Book);
            m_bookIds << id;
            ++m_summary.books;
            ++i;
        }
    }

    void addLoans() {
        for (const LoanRow& l : kLoans) {
            const ReaderType t = typeOf(l.reader);
            const QDate lent = m_today.addDays(-l.lentDaysAgo);
            const QDate due = lent.addDays(t.loanDays);
            m_db.execute(
                u"insert into [书籍借阅清单] ([读者索引],[书籍索引],[借阅日期],[应还日期],"
                "[操作员],[允许续借],[已经续借]) values (?,?,?,?,?,?,0)"_s,
                {m_readerNumbers[l.reader], m_bookIds[l.book], lent, due, u"admin"_s, t.renewals});
            ++m_summary.loans;
            m_summary.overdueLoans += due < m_today;
        }
    }

    void addReturns() {
        for (const ReturnRow& r : kReturns) {
            const ReaderType t = typeOf(r.reader);
            const QDate lent = m_today.addDays(-r.lentDaysAgo);
            const int overdue = std::max(0, r.daysLent - t.loanDays);
            m_db.execute(u"insert into [书籍归还清单] ([读者索引],[书籍索引],[借阅日期],[归还日期],"
                         "[借出天数],[租金金额],[超期天数],[罚款金额],[操作员]) "
                         "values (?,?,?,?,?,?,?,?,?)"_s,
                         {m_readerNumbers[r.reader], m_bookIds[r.book], lent,
                          lent.addDays(r.daysLent), r.daysLent, r.daysLent * t.dailyRent,
                          overdue > 0 ? QString::number(overdue) : u"未超期"_s,
                          overdue * t.dailyFine, u"admin"_s});
            ++m_summary.returns;
        }
    }

    void addDeposits() {
        for (const DepositRow& d : kDeposits) {
            const ReaderRow& r = kReaders[d.reader];
            m_db.execute(u"insert into [读者充押金] ([读者编号],[读者姓名],[读者类型],[充押金额],"
                         "[充值日期],[操作员],[备注]) values (?,?,?,?,?,?,?)"_s,
                         {m_readerNumbers[d.reader], str(r.name), str(r.type), d.amount,
                          m_today.addDays(-d.daysAgo), u"admin"_s, str(d.note)});
            ++m_summary.deposits;
        }
    }

    void addReservation() {
        const BookRow& b = kBooks[kReservedBook];
        const ReaderRow& r = kReaders[kReservingReader];
        const int holdDays = m_db.scalar(u"select [预约天数] from [系统信息]"_s, {}, 7).toInt();
        m_db.execute(u"insert into [读者预定] ([书籍索引],[读者编号],[读者姓名],[联系电话],"
                     "[书籍名称],[当前本数],[中图分类],[预定日期],[终止日期]) "
                     "values (?,?,?,?,?,?,?,?,?)"_s,
                     {m_bookIds[kReservedBook], m_readerNumbers[kReservingReader], str(r.name),
                      str(r.phone), str(b.title), str(b.volume), str(b.classCode), m_today,
                      m_today.addDays(holdDays)});
        ++m_summary.reservations;
    }

    Database& m_db;
    QDate m_today;
    DemoSummary m_summary;
    QHash<QString, QString> m_classNames;
    QHash<QString, std::pair<QString, QString>> m_publishers;
    QHash<QString, ReaderType> m_types;
    QStringList m_readerNumbers;
    QList<qint64> m_bookIds;
};

} // namespace

bool addDemoLibrary(Database& db, const QDate& today, DemoSummary* summary) {
    Transaction tx(db);
    seedNewDatabase(db);
    if (db.scalar(u"select count(*) from [书籍资料]"_s, {}, 0).toInt() > 0)
        return false;
    const DemoSummary s = DemoBuilder(db, today).build();
    tx.commit();
    if (summary)
        *summary = s;
    return true;
}

} // namespace cangshu
