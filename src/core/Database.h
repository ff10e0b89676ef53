#pragma once
#include "Clock.h"
#include "Dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <stdexcept>

namespace cangshu {

// A failed statement. QtSql throws nothing, so Database checks every statement and turns
// a failure into this exception; an open Transaction then rolls back on unwinding.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(const QString& message, const QString& sql)
        : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql) {}
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};

struct PostgresParams {
    QString host; // host name, or a folder holding the server's unix socket
    int port = 5432;
    QString user;
    QString password;
    QString database;
    int connectTimeoutSeconds = 5;

    // "host[:port]" as the configuration writes it.
    static PostgresParams fromServerName(const QString& serverName);
    // A libpq key=value connection string ("host=/tmp/pg port=5432 user=postgres dbname=x").
    static PostgresParams fromConnectionString(const QString& text);
};

// One connection to the library database (or another database of the system) over QtSql.
// SQL is written with [bracketed] identifiers and ? placeholders; values are always bound.
class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing SQLite file; with create=true a missing file is created.
    static std::unique_ptr<Database> openSqlite(const QString& path, bool create, QString* error);
    static std::unique_ptr<Database> openPostgres(const PostgresParams& params, QString* error);
    // A private in-memory SQLite database, for tests.
    static std::unique_ptr<Database> openMemory();

    const Dialect& dialect() const { return m_dialect; }
    Engine engine() const { return m_dialect.engine(); }
    bool isPostgres() const { return m_dialect.isPostgres(); }
    QSqlDatabase handle() const;
    QString connectionName() const { return m_name; }

    Clock& clock() { return m_clock; }
    const Clock& clock() const { return m_clock; }
    QDate today() const { return m_clock.today(); }

    // Runs a statement and returns the active query; throws DatabaseError on failure.
    QSqlQuery run(const QString& sql, const QVariantList& params = {}) const;
    // Runs a statement that returns no rows; returns the number of rows it changed.
    int execute(const QString& sql, const QVariantList& params = {}) const;
    // Runs a statement; on failure returns false and the engine's error text.
    bool tryExecute(const QString& sql, const QVariantList& params = {},
                    QString* error = nullptr) const;
    // Inserts one row and returns the new key of the given key column.
    qint64 insert(const QString& sql, const QVariantList& params, const QString& keyColumn) const;

    // First column of the first row, or the fallback when there is no row or it is null.
    QVariant scalar(const QString& sql, const QVariantList& params = {},
                    const QVariant& fallback = {}) const;
    std::optional<QSqlRecord> row(const QString& sql, const QVariantList& params = {}) const;
    QList<QSqlRecord> rows(const QString& sql, const QVariantList& params = {}) const;

    bool hasTable(const QString& table) const;
    bool hasColumn(const QString& table, const QString& column) const;
    // The table's columns as the engine names them; empty when the table is missing.
    QStringList columns(const QString& table) const;
    QStringList tables() const;

    // Runs a batch of statements separated by ";" at line ends (schema scripts).
    void executeScript(const QString& script) const;

private:
    friend class Transaction;
    Database(const QString& connectionName, Engine engine);
    QSqlQuery prepared(const QString& sql, const QVariantList& params, bool* ok,
                       QString* error) const;

    QString m_name;
    Dialect m_dialect;
    Clock m_clock;
    int m_txDepth = 0;
    bool m_rollbackOnly = false; // an inner transaction gave up: the outer one must not commit
};

// RAII transaction: commit() makes the writes land; leaving the scope without it rolls them
// back. Nested transactions join the outermost one.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

// A SQL text with values to bind, built up piece by piece (search conditions and the like).
struct SqlWithParams {
    QString sql;
    QVariantList params;
};

} // namespace cangshu
