#pragma once
#include <QString>

namespace cangshu {

enum class Engine { SQLite, PostgreSQL };

// Every difference between the two database engines lives here. SQL text in the code is
// written once, with identifiers in [brackets]; the dialect turns it into the engine's own.
class Dialect {
public:
    explicit Dialect(Engine engine) : m_engine(engine) {}
    Engine engine() const { return m_engine; }
    bool isPostgres() const { return m_engine == Engine::PostgreSQL; }

    // [name] becomes "name" on PostgreSQL, with ASCII letters folded to lower case so that
    // [ID] and an unquoted id name the same column. String literals are left untouched.
    QString rewrite(const QString& sql) const;

    // The identifier as the engine stores it (ASCII folded on PostgreSQL).
    QString storedName(const QString& identifier) const;

    // Case-insensitive pattern match: LIKE on SQLite, ILIKE on PostgreSQL.
    QString likeOperator() const {
        return isPostgres() ? QStringLiteral("ILIKE") : QStringLiteral("LIKE");
    }

    // Logical column types of the schema mapped to each engine's DDL.
    QString keyColumnType() const;
    QString textType(int length) const; // length 0 = unbounded
    QString memoType() const { return QStringLiteral("TEXT"); }
    QString integerType() const { return QStringLiteral("INTEGER"); }
    QString moneyType() const { return QStringLiteral("NUMERIC(14,2)"); }
    QString numberType() const {
        return isPostgres() ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
    }
    QString dateType() const {
        return isPostgres() ? QStringLiteral("DATE") : QStringLiteral("DATE");
    }
    QString dateTimeType() const {
        return isPostgres() ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
    }
    QString boolType() const { return QStringLiteral("BOOLEAN"); }
    QString imageType() const {
        return isPostgres() ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    }

    // True when an engine error text says that the table or column being created already exists.
    bool isAlreadyExistsError(const QString& errorText) const;

private:
    Engine m_engine;
};

} // namespace cangshu
