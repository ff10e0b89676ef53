#include "Publishers.h"

namespace cangshu {

SqlWithParams Publishers::listSql(Filter filter, const QString& text) const {
    const QString base = QStringLiteral("select [ID],[ISBN],[出版社名称],[出版地] from [出版社]");
    const QString order = QStringLiteral(" order by [ISBN]");
    if (text.isEmpty())
        return {base + order, {}};
    const QString column =
        filter == Filter::Isbn ? QStringLiteral("ISBN") : QStringLiteral("出版社名称");
    return {base + QStringLiteral(" where [%1] %2 ?").arg(column, m_db.dialect().likeOperator()) +
                order,
            {u'%' + text + u'%'}};
}

QList<Publisher> Publishers::list(Filter filter, const QString& text) const {
    const SqlWithParams s = listSql(filter, text);
    QList<Publisher> out;
    QSqlQuery q = m_db.run(s.sql, s.params);
    while (q.next())
        out.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                    q.value(3).toString()});
    return out;
}

Outcome Publishers::check(const Publisher& p) {
    if (p.isbnPrefix.isEmpty())
        return Outcome::refused(QStringLiteral("请输入ISBN！"), QStringLiteral("isbn"));
    if (p.name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入出版社名称！"), QStringLiteral("name"));
    return Outcome::done();
}

Outcome Publishers::save(Publisher& p) const {
    const Outcome checked = check(p);
    if (!checked.ok)
        return checked;
    if (p.id == 0)
        p.id = m_db.insert(
            QStringLiteral("insert into [出版社] ([ISBN],[出版社名称],[出版地]) values (?,?,?)"),
            {p.isbnPrefix, p.name, p.place}, QStringLiteral("ID"));
    else
        m_db.execute(
            QStringLiteral("update [出版社] set [ISBN]=?,[出版社名称]=?,[出版地]=? where [ID]=?"),
            {p.isbnPrefix, p.name, p.place, p.id});
    return Outcome::done();
}

void Publishers::remove(qint64 id) const {
    m_db.execute(QStringLiteral("delete from [出版社] where [ID]=?"), {id});
}

std::optional<QString> publisherKeyOfIsbn(const QString& isbn) {
    const QString text = isbn.trimmed();
    qsizetype start;
    if (text.size() == 13)
        start = 4; // after "978" and the group digit 7
    else if (text.size() == 10)
        start = 1; // after the group digit
    else
        return std::nullopt;
    int length = 0;
    switch (text[start].unicode()) {
    case u'0':
        length = 2;
        break;
    case u'1':
    case u'2':
    case u'3':
        length = 3;
        break;
    case u'5':
        length = 4;
        break;
    case u'8':
        length = 5;
        break;
    default:
        length = 0;
    }
    return QStringLiteral("7-") + text.mid(start, length);
}

std::optional<Publisher> publisherOfIsbn(const Database& db, const QString& isbn) {
    const auto key = publisherKeyOfIsbn(isbn);
    if (!key)
        return std::nullopt;
    const auto r = db.row(
        QStringLiteral("select [ID],[ISBN],[出版社名称],[出版地] from [出版社] where [ISBN]=?"),
        {*key});
    if (!r)
        return std::nullopt;
    return Publisher{r->value(0).toLongLong(), r->value(1).toString(), r->value(2).toString(),
                     r->value(3).toString()};
}

} // namespace cangshu
