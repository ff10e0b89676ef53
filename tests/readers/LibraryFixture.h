#pragma once
#include "readers/Money.h"
#include "support/TestDatabase.h"

#include <QDate>

namespace cangshu::test {

// A library schema with the seeded rows and a fixed today, plus small builders for the rows
// a circulation case needs.
class LibraryTest : public EngineTest {
protected:
    static QDate today() { return {2024, 5, 10}; }
    void SetUp() override;

    struct Type {
        QString name;
        QVariant books = 5, bookDays = 30, renewals = 1, renewDays = 15;
        QString rent = QStringLiteral("0"), fine = QStringLiteral("0");
        QString unlimited = QStringLiteral("否");
    };
    void addType(const Type& type);

    struct ReaderRow {
        QString number;
        QString type = QStringLiteral("学生");
        QString status = QStringLiteral("正常");
        QString unlimitedCard = QStringLiteral("是");
        QDate expiry;
        QVariant deposit = 0;
        QString name;
    };
    void addReader(const ReaderRow& reader);
    void addReader(const QString& number, const QString& type = QStringLiteral("学生")) {
        addReader(ReaderRow{number, type});
    }

    // Returns the new book's ID.
    qint64 addBook(const QString& number, const QString& status = QStringLiteral("在馆"),
                   int stock = 1, const QString& title = {});
    void addReservation(qint64 bookId, const QString& readerNumber);
    void setOneToOne(bool oneToOne);
    void setReturnMode(int mode);

    // An open loan written directly, as an older desk or the web application would have.
    qint64 addLoan(const QString& reader, qint64 bookId, const QDate& lentOn, const QDate& due,
                   const QVariant& granted = 1, const QVariant& taken = 0);

    int count(const QString& sql, const QVariantList& params = {});
    QVariant value(const QString& sql, const QVariantList& params = {});
    Money money(const QString& sql, const QVariantList& params = {}) {
        return Money::fromVariant(value(sql, params));
    }
};

} // namespace cangshu::test
