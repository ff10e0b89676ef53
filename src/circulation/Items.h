#pragma once
#include "ItemKind.h"

#include <QList>

namespace cangshu {

// One catalogue row as the desks list it.
struct ItemRow {
    qint64 id = 0;
    QString number;
    QString title; // the title, a blank and the volume when there is one
    QString category;
    QString price;
    QString publisher;
    QString location;
    QString secrecy;
    QString status;
    int stock = 0; // null reads as 0
};

ItemRow itemFromRecord(const ItemKind& kind, const QSqlRecord& record);
// The select list of those columns, optionally qualified by a table alias ("b.[ID], ...").
QString itemColumns(const ItemKind& kind, const QString& alias = {});

enum class ItemSearch {
    ByNumber, // the number exactly
    ByIsbn,   // ISBN containing the text
    ByTitle,  // title containing the text
};

// The rows a desk's item field finds, in number order.
QList<ItemRow> findItems(const Database& db, const ItemKind& kind, ItemSearch by,
                         const QString& text);
std::optional<ItemRow> findItemById(const Database& db, const ItemKind& kind, qint64 id);

} // namespace cangshu
