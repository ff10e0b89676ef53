#include "Startup.h"

#include <QDir>
#include <QFileInfo>

namespace cangshu {

namespace {

const QString kIniError = QStringLiteral("INI文件连接错误！");
const QString kDatabaseError = QStringLiteral("数据库连接错误！");
const QString kMasterError = QStringLiteral("超强版数据库连接错误！");

QString homePath(const Home& home, const QString& file) {
    return QDir::isAbsolutePath(file) ? file : home.path(file);
}

// Opens one of the further databases (remote catalogue service, master catalogue).
std::unique_ptr<Database> openExternal(const Home& home, const ExternalDatabase& d,
                                       QString* error) {
    if (d.driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) == 0)
        return Database::openSqlite(homePath(home, d.file), false, error);
    if (d.driver.compare(QLatin1String("QPSQL"), Qt::CaseInsensitive) == 0) {
        PostgresParams p = PostgresParams::fromServerName(d.host);
        if (d.port > 0)
            p.port = d.port;
        p.user = d.user;
        p.password = d.password;
        p.database = d.database;
        p.connectTimeoutSeconds = d.connectTimeoutSeconds > 0 ? d.connectTimeoutSeconds : 3;
        return Database::openPostgres(p, error);
    }
    if (error)
        *error = QStringLiteral("no connection configured");
    return nullptr;
}

// The Z39.50 server as the remote catalogue service publishes it in its table z39.
bool readZ3950Settings(const Database& remote, Z3950Server* out) {
    try {
        const auto r = remote.row(
            QStringLiteral("select ip1,db1,port1,user1,pass1,ip2,db2,port2,user2,pass2 from z39"));
        if (!r)
            return false;
        out->host = r->value(QStringLiteral("ip1")).toString().trimmed();
        out->port = r->value(QStringLiteral("port1")).toString().trimmed();
        out->database = r->value(QStringLiteral("db1")).toString().trimmed();
        out->user = r->value(QStringLiteral("user1")).toString().trimmed();
        out->password = r->value(QStringLiteral("pass1")).toString().trimmed();
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

ExternalDatabase masterConnection(const Config& c) {
    ExternalDatabase m = c.master;
    // By default the master catalogue sits on the library's own server.
    if (m.driver.compare(QLatin1String("QPSQL"), Qt::CaseInsensitive) == 0) {
        if (m.host.isEmpty())
            m.host = c.serverName;
        if (m.user.isEmpty())
            m.user = c.serverUser;
        if (m.password.isEmpty())
            m.password = c.serverPassword;
    }
    return m;
}

} // namespace

std::unique_ptr<Database> openLibraryDatabase(const Home& home, const Config& config,
                                              QString* error) {
    if (config.net == 0)
        return Database::openSqlite(home.databaseFile(), false, error);
    if (config.net == 1) {
        PostgresParams p = PostgresParams::fromServerName(config.serverName);
        p.user = config.serverUser;
        p.password = config.serverPassword;
        p.database = config.databaseName;
        return Database::openPostgres(p, error);
    }
    if (error)
        *error = QStringLiteral("setnet/net=%1 names no database").arg(config.net);
    return nullptr;
}

int expireReservations(Database& db) {
    const QDate today = db.today();
    Transaction tx(db);
    // Only a copy held by nothing but expired reservations goes back on the shelf: a lent
    // copy keeps its status, and so does one another reader still holds.
    db.execute(
        QStringLiteral("update [书籍资料] set [在馆状态]='在馆' where [在馆状态]='已被预定'"
                       " and [ID] in (select [书籍索引] from [读者预定] where [终止日期]<?)"
                       " and [ID] not in (select [书籍索引] from [读者预定] where [终止日期]>=?"
                       " and [书籍索引] is not null)"),
        {today, today});
    const int removed =
        db.execute(QStringLiteral("delete from [读者预定] where [终止日期]<?"), {today});
    tx.commit();
    return removed;
}

StartupState startUp(const Home& home, const QDate& today) {
    StartupState s;
    s.home = home;
    s.z3950 = s.config.fallbackZ3950;
    if (!Config::load(home.iniFile(), &s.config)) {
        s.errors << kIniError;
        return s;
    }
    s.iniOk = true;
    s.z3950 = s.config.fallbackZ3950;

    QString error;
    s.library = openLibraryDatabase(home, s.config, &error);
    if (!s.library) {
        s.errors << kDatabaseError;
        // Without the local file nothing further is tried; a server library still gets its
        // remote and master connections, as an operator can fix the server and retry.
        if (s.config.net != 1)
            return s;
    } else if (today.isValid()) {
        s.library->clock().setToday(today);
    }

    if (auto remote = openExternal(home, s.config.remote, &error)) {
        Z3950Server z;
        if (readZ3950Settings(*remote, &z)) {
            s.remoteOnline = true;
            s.z3950 = z;
            s.remote = std::move(remote);
        }
    }

    if (s.config.cqb == 1) {
        s.master = openExternal(home, masterConnection(s.config), &error);
        if (!s.master)
            s.errors << kMasterError;
    }

    if (!s.library)
        return s;
    try {
        s.expiredReservations = expireReservations(*s.library);
    } catch (const DatabaseError& e) {
        s.errors << e.message();
    }
    return s;
}

} // namespace cangshu
