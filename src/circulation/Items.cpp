#include "Items.h"

namespace cangshu {

ItemRow itemFromRecord(const ItemKind& k, const QSqlRecord& r) {
    ItemRow x;
    x.id = r.value(QStringLiteral("ID")).toLongLong();
    x.number = r.value(k.numberColumn).toString();
    x.title = r.value(k.titleColumn).toString();
    if (!k.volumeColumn.isEmpty() && !r.value(k.volumeColumn).toString().trimmed().isEmpty())
        x.title += u' ' + r.value(k.volumeColumn).toString();
    x.category = r.value(k.categoryColumn).toString();
    x.price = r.value(k.priceColumn).toString();
    x.publisher = r.value(k.publisherColumn).toString();
    x.location = r.value(k.locationColumn).toString();
    x.secrecy = r.value(k.secrecyColumn).toString();
    x.status = r.value(k.statusColumn).toString();
    x.stock = r.value(k.stockColumn).toInt();
    return x;
}

// The columns the desks show; covers and long texts stay in the database.
QString itemColumns(const ItemKind& k, const QString& alias) {
    QStringList names{QStringLiteral("ID"), k.numberColumn,    k.titleColumn,    k.categoryColumn,
                      k.priceColumn,        k.publisherColumn, k.locationColumn, k.secrecyColumn,
                      k.statusColumn,       k.stockColumn};
    if (!k.volumeColumn.isEmpty())
        names << k.volumeColumn;
    const QString prefix = alias.isEmpty() ? QString() : alias + u'.';
    for (QString& n : names)
        n = prefix + u'[' + n + u']';
    return names.join(QStringLiteral(", "));
}

QList<ItemRow> findItems(const Database& db, const ItemKind& k, ItemSearch by,
                         const QString& text) {
    QString sql = QStringLiteral("select %1 from [%2] where ").arg(itemColumns(k), k.itemTable);
    QVariant value = text;
    if (by == ItemSearch::ByNumber) {
        sql += QStringLiteral("[%1]=?").arg(k.numberColumn);
    } else {
        sql += QStringLiteral("[%1] %2 ?")
                   .arg(by == ItemSearch::ByIsbn ? k.isbnColumn : k.titleColumn,
                        db.dialect().likeOperator());
        value = QStringLiteral("%") + text + QStringLiteral("%");
    }
    sql += QStringLiteral(" order by [%1], [ID]").arg(k.numberColumn);
    QList<ItemRow> out;
    for (const QSqlRecord& r : db.rows(sql, {value}))
        out << itemFromRecord(k, r);
    return out;
}

std::optional<ItemRow> findItemById(const Database& db, const ItemKind& k, qint64 id) {
    const auto r = db.row(
        QStringLiteral("select %1 from [%2] where [ID]=?").arg(itemColumns(k), k.itemTable), {id});
    if (!r)
        return std::nullopt;
    return itemFromRecord(k, *r);
}

} // namespace cangshu
