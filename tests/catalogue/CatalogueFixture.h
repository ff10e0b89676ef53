#pragma once
#include "support/TestDatabase.h"

#include <QDate>
#include <QVariantMap>

namespace cangshu::test {

// A library schema with its seed rows and a fixed today, and a builder for book rows.
class CatalogueTest : public EngineTest {
protected:
    static QDate today() { return {2024, 5, 10}; }
    void SetUp() override;
    // Inserts a book with the given columns (the others take their defaults); returns its ID.
    qint64 addBook(const QVariantMap& columns);
    qint64 addClass(qint64 parent, const QString& number, const QString& name,
                    const QString& table = QStringLiteral("图书类型"));
    qint64 count(const QString& sql, const QVariantList& params = {});
};

} // namespace cangshu::test
