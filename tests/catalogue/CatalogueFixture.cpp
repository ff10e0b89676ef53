#include "CatalogueFixture.h"

#include "core/Schema.h"
#include "core/Seed.h"

namespace cangshu::test {

void CatalogueTest::SetUp() {
    EngineTest::SetUp();
    createSchema(db());
    seedNewDatabase(db());
    db().clock().setToday(today());
}

qint64 CatalogueTest::addBook(const QVariantMap& columns) {
    QStringList names, marks;
    QVariantList values;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        names << u'[' + it.key() + u']';
        marks << QStringLiteral("?");
        values << it.value();
    }
    return db().insert(QStringLiteral("insert into [书籍资料] (%1) values (%2)")
                           .arg(names.join(u','), marks.join(u',')),
                       values, QStringLiteral("ID"));
}

qint64 CatalogueTest::addClass(qint64 parent, const QString& number, const QString& name,
                               const QString& table) {
    return db().insert(
        QStringLiteral("insert into [%1] ([父号],[分类号],[分类名称]) values (?,?,?)").arg(table),
        {parent, number, name}, QStringLiteral("ID"));
}

qint64 CatalogueTest::count(const QString& sql, const QVariantList& params) {
    return db().scalar(sql, params, 0).toLongLong();
}

} // namespace cangshu::test
