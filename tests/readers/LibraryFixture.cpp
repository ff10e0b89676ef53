#include "LibraryFixture.h"

#include "core/Schema.h"
#include "core/Seed.h"

namespace cangshu::test {

namespace {
QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate));
}
} // namespace

void LibraryTest::SetUp() {
    EngineTest::SetUp();
    createSchema(db());
    seedNewDatabase(db());
    db().clock().setToday(today());
    // The seeded types are replaced by the ones each test states.
    db().execute(QStringLiteral("delete from [读者类型]"));
    addType({QStringLiteral("学生")});
}

void LibraryTest::addType(const Type& t) {
    db().execute(
        QStringLiteral("insert into [读者类型] ([类型名称], [书籍借出册数], [书籍借出天数], "
                       "[书籍续借次数], [书籍续借天数], [书籍每日租金], [书籍超期罚款], "
                       "[杂志借出册数], [杂志借出天数], [期刊续借次数], [期刊续借天数], "
                       "[期刊每日租金], [期刊超期罚款], [无限制]) "
                       "values (?, ?, ?, ?, ?, ?, ?, 3, 14, 2, 7, 0.5, 0.25, ?)"),
        {t.name, t.books, t.bookDays, t.renewals, t.renewDays, t.rent, t.fine, t.unlimited});
}

void LibraryTest::addReader(const ReaderRow& r) {
    db().execute(QStringLiteral("insert into [读者资料] ([读者编号], [读者姓名], [读者类型], "
                                "[读者性别], [读者状态], [无限制], [截止日期], [押金金额], "
                                "[借阅次数]) values (?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                 {r.number, r.name.isEmpty() ? QStringLiteral("读者") + r.number : r.name, r.type,
                  QStringLiteral("男"), r.status, r.unlimitedCard, dateOrNull(r.expiry),
                  r.deposit});
}

qint64 LibraryTest::addBook(const QString& number, const QString& status, int stock,
                            const QString& title) {
    return db().insert(
        QStringLiteral("insert into [书籍资料] ([书籍编号], [书籍名称], [在馆状态], "
                       "[馆内剩余], [藏书总量], [借出次数]) values (?, ?, ?, ?, ?, 0)"),
        {number, title.isEmpty() ? QStringLiteral("书") + number : title, status, stock, stock},
        QStringLiteral("ID"));
}

void LibraryTest::addReservation(qint64 bookId, const QString& readerNumber) {
    db().execute(QStringLiteral("insert into [读者预定] ([书籍索引], [读者编号], [预定日期], "
                                "[终止日期]) values (?, ?, ?, ?)"),
                 {bookId, readerNumber, today(), today().addDays(7)});
}

void LibraryTest::setOneToOne(bool oneToOne) {
    db().execute(QStringLiteral("update [参数设置] set [一对一]=?"), {oneToOne ? 1 : 0});
}

void LibraryTest::setReturnMode(int mode) {
    db().execute(QStringLiteral("update [参数设置] set [还书]=?"), {mode});
}

qint64 LibraryTest::addLoan(const QString& reader, qint64 bookId, const QDate& lentOn,
                            const QDate& due, const QVariant& granted, const QVariant& taken) {
    return db().insert(QStringLiteral("insert into [书籍借阅清单] ([读者索引], [书籍索引], "
                                      "[借阅日期], [应还日期], [操作员], [允许续借], [已经续借]) "
                                      "values (?, ?, ?, ?, ?, ?, ?)"),
                       {reader, bookId, lentOn, due, QStringLiteral("admin"), granted, taken},
                       QStringLiteral("序号"));
}

int LibraryTest::count(const QString& sql, const QVariantList& params) {
    return db().scalar(sql, params, 0).toInt();
}

QVariant LibraryTest::value(const QString& sql, const QVariantList& params) {
    return db().scalar(sql, params);
}

} // namespace cangshu::test
