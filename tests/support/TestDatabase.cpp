#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

namespace cangshu::test {

namespace {

PostgresParams parseConnectionString(const QString& text) {
    return PostgresParams::fromConnectionString(text);
}

QString ownDatabaseName() {
    return QStringLiteral("cangshu_test_%1").arg(QCoreApplication::applicationPid());
}

void dropOwnDatabase() {
    QString error;
    auto admin = Database::openPostgres(
        parseConnectionString(qEnvironmentVariable("CANGSHU_TEST_PG")), &error);
    if (admin)
        admin->tryExecute(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(ownDatabaseName()));
}

bool ensureOwnDatabase() {
    static bool created = false;
    if (created)
        return true;
    QString error;
    auto admin = Database::openPostgres(
        parseConnectionString(qEnvironmentVariable("CANGSHU_TEST_PG")), &error);
    if (!admin)
        throw DatabaseError(QStringLiteral("cannot reach the PostgreSQL test server: ") + error,
                            {});
    admin->tryExecute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(ownDatabaseName()));
    admin->execute(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0")
                       .arg(ownDatabaseName()));
    std::atexit(dropOwnDatabase);
    created = true;
    return true;
}

} // namespace

std::vector<Engine> engines() {
    std::vector<Engine> out{Engine::SQLite};
    if (!qEnvironmentVariableIsEmpty("CANGSHU_TEST_PG"))
        out.push_back(Engine::PostgreSQL);
    return out;
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

PostgresParams postgresParams() {
    ensureOwnDatabase();
    PostgresParams p = parseConnectionString(qEnvironmentVariable("CANGSHU_TEST_PG"));
    p.database = ownDatabaseName();
    return p;
}

std::unique_ptr<Database> openEmpty(Engine engine) {
    if (engine == Engine::SQLite)
        return Database::openMemory();
    QString error;
    auto db = Database::openPostgres(postgresParams(), &error);
    if (!db)
        throw DatabaseError(error, {});
    db->execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
    db->execute(QStringLiteral("CREATE SCHEMA public"));
    return db;
}

QString temporaryFolder() {
    static QTemporaryDir dir; // removed when the process ends
    static int n = 0;
    const QString path = dir.path() + QStringLiteral("/t%1").arg(++n);
    QDir().mkpath(path);
    return path;
}

} // namespace cangshu::test
