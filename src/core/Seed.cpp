#include "Seed.h"
#include "Password.h"

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

bool isEmpty(const Database& db, const QString& table) {
    return db.scalar(u"select count(*) from [%1]"_s.arg(table), {}, 0).toInt() == 0;
}

void seedSystemInfo(Database& db) {
    if (!isEmpty(db, u"系统信息"_s))
        return;
    db.execute(
        u"insert into [系统信息] ([图书馆名称], [预约天数], [编号宽度], [前置字符], "
        "[后置字符], [编号值], [期刊编号宽度], [期刊前置字符], [期刊后置字符], [期刊编号值], "
        "[读者编号宽度], [读者前置字符], [读者后置字符], [读者编号值]) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
        {u"藏书图书馆"_s, 7, 8, QString(), QString(), 1, 8, QString(), QString(), 1, 8, QString(),
         QString(), 1});
}

void seedParameters(Database& db) {
    if (!isEmpty(db, u"参数设置"_s))
        return;
    db.execute(u"insert into [参数设置] ([有效期], [书籍罚款], [期刊罚款], [分页记录], [种类条件], "
               "[显示超期], [一对一], [还书]) values (?, ?, ?, ?, ?, ?, ?, ?)"_s,
               {3, 0.1, 0.1, 100, u"书籍名称,出版社名,作者信息,标准ISBN"_s, u"否"_s, 1, 1});
}

void seedOperator(Database& db) {
    if (db.scalar(u"select count(*) from [管理员] where [用户名]=?"_s, {u"admin"_s}, 0).toInt() > 0)
        return;
    db.execute(
        u"insert into [管理员] ([用户名], [密码], [系统设置], [系统管理], [基本操作], "
        "[系统查询], [统计分析], [报表打印]) values (?, ?, TRUE, TRUE, TRUE, TRUE, TRUE, TRUE)"_s,
        {u"admin"_s, hashPassword(u"61730"_s)});
}

struct ReaderTypeSeed {
    QString name;
    int books, bookDays, bookRenewals, bookRenewDays;
    int periodicals, periodicalDays, periodicalRenewals, periodicalRenewDays;
    QString unlimited;
};

void seedReaderTypes(Database& db) {
    if (!isEmpty(db, u"读者类型"_s))
        return;
    const ReaderTypeSeed types[] = {
        {u"学生"_s, 5, 30, 1, 30, 3, 14, 1, 14, u"否"_s},
        {u"教师"_s, 10, 60, 2, 60, 5, 30, 1, 30, u"是"_s},
        {u"临时读者"_s, 2, 14, 0, 0, 1, 7, 0, 0, u"否"_s},
    };
    for (const ReaderTypeSeed& t : types)
        db.execute(
            u"insert into [读者类型] ([类型名称], [书籍借出册数], [书籍借出天数], "
            "[书籍续借次数], [书籍续借天数], [杂志借出册数], [杂志借出天数], [期刊续借次数], "
            "[期刊续借天数], [书籍每日租金], [书籍超期罚款], [期刊每日租金], [期刊超期罚款], "
            "[无限制]) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {t.name, t.books, t.bookDays, t.bookRenewals, t.bookRenewDays, t.periodicals,
             t.periodicalDays, t.periodicalRenewals, t.periodicalRenewDays, 0, 0.1, 0, 0.1,
             t.unlimited});
}

void seedDictionaries(Database& db) {
    const QList<std::pair<QString, QStringList>> values{
        {u"馆藏地"_s, {u"总馆"_s, u"东区分馆"_s, u"西区分馆"_s}},
        {u"存放位置"_s, {u"一楼书库"_s, u"二楼阅览室"_s, u"三楼期刊室"_s}},
        {u"所属语种"_s, {u"中文"_s, u"英文"_s, u"日文"_s}},
        {u"书籍开本"_s, {u"16开"_s, u"32开"_s, u"大32开"_s, u"64开"_s}},
        {u"印刷版面"_s, {u"平装"_s, u"精装"_s}},
        {u"单位部门"_s, {u"文学院"_s, u"计算机学院"_s, u"数学学院"_s, u"图书馆"_s}},
        {u"区域类型"_s, {u"内地"_s, u"港台"_s, u"欧美"_s, u"日韩"_s}},
        {u"商品类型"_s, {u"光盘"_s, u"磁带"_s, u"电子书"_s, u"实物"_s}},
        {u"密级"_s, {u"公开"_s, u"内部"_s, u"秘密"_s}},
    };
    for (const auto& [table, list] : values) {
        if (!isEmpty(db, table))
            continue;
        for (const QString& v : list)
            db.execute(u"insert into [%1] ([%1]) values (?)"_s.arg(table), {v});
    }
}

} // namespace

void seedContactPage(Database& db) {
    if (isEmpty(db, u"联系我们"_s))
        db.execute(u"insert into [联系我们] ([联系我们]) values (?)"_s, {u"图书馆"_s});
}

void seedWebLogin(Database& db) {
    if (db.scalar(u"select count(*) from [userlogin] where [username]=?"_s, {u"超级用户"_s}, 0)
            .toInt() == 0)
        db.execute(u"insert into [userlogin] ([username], [userpass]) values (?, ?)"_s,
                   {u"超级用户"_s, u"61730"_s});
}

void seedNewDatabase(Database& db) {
    Transaction tx(db);
    seedSystemInfo(db);
    seedParameters(db);
    seedOperator(db);
    seedReaderTypes(db);
    seedDictionaries(db);
    seedContactPage(db);
    seedWebLogin(db);
    tx.commit();
}

} // namespace cangshu
