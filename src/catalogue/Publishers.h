#pragma once
#include "core/Database.h"
#include "core/Outcome.h"

#include <optional>

namespace cangshu {

struct Publisher {
    qint64 id = 0;
    QString isbnPrefix; // "7-" and the publisher code
    QString name;       // 出版社名称
    QString place;      // 出版地
};

// The publisher list (出版社), always in ISBN order.
class Publishers {
public:
    explicit Publishers(const Database& db) : m_db(db) {}

    // Which filter the operator changed last decides: the ISBN filter or the name filter.
    enum class Filter { Isbn, Name };
    // The list's statement: all publishers for an empty filter text.
    SqlWithParams listSql(Filter filter, const QString& text) const;
    QList<Publisher> list(Filter filter = Filter::Isbn, const QString& text = {}) const;

    // The dialog's check: "请输入ISBN！" (focus "isbn"), "请输入出版社名称！" (focus "name").
    static Outcome check(const Publisher& p);
    // Stores a new publisher (id 0) or changes one; refused by check() first.
    Outcome save(Publisher& p) const;
    void remove(qint64 id) const;

private:
    const Database& m_db;
};

// The key of the ISBN-prefix lookup: "7-" and the publisher code cut from a hyphen-free
// ISBN of 13 or 10 characters (trimmed). Other lengths give no key at all.
std::optional<QString> publisherKeyOfIsbn(const QString& isbn);
// The publisher whose ISBN column holds exactly that key.
std::optional<Publisher> publisherOfIsbn(const Database& db, const QString& isbn);

} // namespace cangshu
