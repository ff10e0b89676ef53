#include "Database.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <atomic>

namespace cangshu {

static QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("cangshu-%1").arg(++counter);
}

PostgresParams PostgresParams::fromServerName(const QString& serverName) {
    PostgresParams p;
    const QString s = serverName.trimmed();
    const int colon = s.lastIndexOf(u':');
    bool numericPort = false;
    if (colon > 0)
        s.mid(colon + 1).toInt(&numericPort);
    if (colon > 0 && numericPort) {
        p.host = s.left(colon);
        p.port = s.mid(colon + 1).toInt();
    } else {
        p.host = s;
    }
    if (p.port <= 0)
        p.port = 5432;
    return p;
}

PostgresParams PostgresParams::fromConnectionString(const QString& text) {
    PostgresParams p;
    p.database = QStringLiteral("postgres");
    for (const QString& part : text.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = part.left(eq), value = part.mid(eq + 1);
        if (key == QLatin1String("host"))
            p.host = value;
        else if (key == QLatin1String("port"))
            p.port = value.toInt();
        else if (key == QLatin1String("user"))
            p.user = value;
        else if (key == QLatin1String("password"))
            p.password = value;
        else if (key == QLatin1String("dbname"))
            p.database = value;
        else if (key == QLatin1String("connect_timeout"))
            p.connectTimeoutSeconds = value.toInt();
    }
    return p;
}

Database::Database(const QString& connectionName, Engine engine)
    : m_name(connectionName), m_dialect(engine) {}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Database::handle() const {
    return QSqlDatabase::database(m_name, false);
}

std::unique_ptr<Database> Database::openSqlite(const QString& path, bool create, QString* error) {
    if (!create && !QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("database file not found: %1").arg(path);
        return nullptr;
    }
    const QString name = nextConnectionName();
    std::unique_ptr<Database> db(new Database(name, Engine::SQLite));
    QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    h.setDatabaseName(path);
    h.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!h.open()) {
        if (error)
            *error = h.lastError().text();
        return nullptr;
    }
    // A file that is not a SQLite database opens fine and fails on the first read.
    QString e;
    if (!db->tryExecute(QStringLiteral("select count(*) from sqlite_master"), {}, &e)) {
        if (error)
            *error = e;
        return nullptr;
    }
    if (path != QLatin1String(":memory:")) {
        db->tryExecute(QStringLiteral("PRAGMA journal_mode=WAL"));
        db->tryExecute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return db;
}

std::unique_ptr<Database> Database::openMemory() {
    QString error;
    auto db = openSqlite(QStringLiteral(":memory:"), true, &error);
    if (!db)
        throw DatabaseError(error, {});
    return db;
}

std::unique_ptr<Database> Database::openPostgres(const PostgresParams& p, QString* error) {
    const QString name = nextConnectionName();
    std::unique_ptr<Database> db(new Database(name, Engine::PostgreSQL));
    QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    h.setHostName(p.host);
    h.setPort(p.port);
    h.setUserName(p.user);
    h.setPassword(p.password);
    h.setDatabaseName(p.database);
    h.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(p.connectTimeoutSeconds));
    if (!h.open()) {
        if (error)
            *error = h.lastError().text();
        return nullptr;
    }
    db->tryExecute(QStringLiteral("SET client_min_messages TO WARNING"));
    return db;
}

QSqlQuery Database::prepared(const QString& sql, const QVariantList& params, bool* ok,
                             QString* error) const {
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    const QString text = m_dialect.rewrite(sql);
    bool good;
    if (params.isEmpty()) {
        good = q.exec(text);
    } else {
        good = q.prepare(text);
        if (good) {
            for (const QVariant& v : params)
                q.addBindValue(v);
            good = q.exec();
        }
    }
    *ok = good;
    if (!good && error) {
        const QSqlError e = q.lastError();
        *error = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    }
    return q;
}

QSqlQuery Database::run(const QString& sql, const QVariantList& params) const {
    bool ok;
    QString error;
    QSqlQuery q = prepared(sql, params, &ok, &error);
    if (!ok)
        throw DatabaseError(error, sql);
    return q;
}

int Database::execute(const QString& sql, const QVariantList& params) const {
    QSqlQuery q = run(sql, params);
    return q.numRowsAffected();
}

bool Database::tryExecute(const QString& sql, const QVariantList& params, QString* error) const {
    bool ok;
    prepared(sql, params, &ok, error);
    return ok;
}

qint64 Database::insert(const QString& sql, const QVariantList& params,
                        const QString& keyColumn) const {
    QSqlQuery q = run(sql + QStringLiteral(" RETURNING [%1]").arg(keyColumn), params);
    if (!q.next())
        throw DatabaseError(QStringLiteral("insert returned no key"), sql);
    return q.value(0).toLongLong();
}

QVariant Database::scalar(const QString& sql, const QVariantList& params,
                          const QVariant& fallback) const {
    QSqlQuery q = run(sql, params);
    if (!q.next() || q.value(0).isNull())
        return fallback;
    return q.value(0);
}

std::optional<QSqlRecord> Database::row(const QString& sql, const QVariantList& params) const {
    QSqlQuery q = run(sql, params);
    if (!q.next())
        return std::nullopt;
    return q.record();
}

QList<QSqlRecord> Database::rows(const QString& sql, const QVariantList& params) const {
    QSqlQuery q = run(sql, params);
    QList<QSqlRecord> out;
    while (q.next())
        out.append(q.record());
    return out;
}

QStringList Database::columns(const QString& table) const {
    bool ok;
    QSqlQuery q =
        prepared(QStringLiteral("select * from [%1] where 1=0").arg(table), {}, &ok, nullptr);
    QStringList out;
    if (!ok)
        return out;
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i)
        out << r.fieldName(i);
    return out;
}

bool Database::hasTable(const QString& table) const {
    const QString sql = isPostgres()
                            ? QStringLiteral("select count(*) from information_schema.tables where "
                                             "table_schema=current_schema() and table_name=?")
                            : QStringLiteral("select count(*) from sqlite_master where "
                                             "type='table' and name=? collate nocase");
    return scalar(sql, {m_dialect.storedName(table)}, 0).toInt() > 0;
}

bool Database::hasColumn(const QString& table, const QString& column) const {
    const QString want = m_dialect.storedName(column);
    for (const QString& c : columns(table))
        if (c.compare(want, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList Database::tables() const {
    const QString sql = isPostgres()
                            ? QStringLiteral("select table_name from information_schema.tables "
                                             "where table_schema=current_schema() order by 1")
                            : QStringLiteral("select name from sqlite_master where type='table' "
                                             "and name not like 'sqlite_%' order by 1");
    QStringList out;
    QSqlQuery q = run(sql);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

void Database::executeScript(const QString& script) const {
    for (const QString& stmt : script.split(QRegularExpression(QStringLiteral(";\\s*\\n")))) {
        const QString s = stmt.trimmed();
        if (!s.isEmpty())
            execute(s);
    }
}

Transaction::Transaction(Database& db) : m_db(db) {
    if (m_db.m_txDepth++ == 0 && !m_db.handle().transaction()) {
        --m_db.m_txDepth;
        throw DatabaseError(m_db.handle().lastError().text(), QStringLiteral("BEGIN"));
    }
}

Transaction::~Transaction() {
    if (m_done)
        return;
    if (--m_db.m_txDepth == 0) {
        m_db.handle().rollback();
        m_db.m_rollbackOnly = false;
    } else {
        m_db.m_rollbackOnly = true;
    }
}

void Transaction::commit() {
    if (m_done)
        return;
    m_done = true;
    if (--m_db.m_txDepth > 0)
        return;
    if (m_db.m_rollbackOnly) {
        m_db.m_rollbackOnly = false;
        m_db.handle().rollback();
        throw DatabaseError(QStringLiteral("an inner transaction was rolled back"),
                            QStringLiteral("COMMIT"));
    }
    if (!m_db.handle().commit()) {
        const QString e = m_db.handle().lastError().text();
        m_db.handle().rollback();
        throw DatabaseError(e, QStringLiteral("COMMIT"));
    }
}

} // namespace cangshu
