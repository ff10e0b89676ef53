#pragma once
#include "Config.h"
#include "Database.h"
#include "Home.h"

#include <QDate>
#include <QStringList>
#include <memory>

namespace cangshu {

// What the start-up found: the configuration, the library database and the optional
// remote catalogue and master catalogue connections, with the Z39.50 server to use.
struct StartupState {
    Home home;
    bool iniOk = false;
    Config config = Config::defaults();
    std::unique_ptr<Database> library; // null when no database could be opened
    std::unique_ptr<Database> remote;  // the remote catalogue service, when reachable
    std::unique_ptr<Database> master;  // the master catalogue, when configured and reachable
    bool remoteOnline = false;
    Z3950Server z3950;
    // Messages for error boxes, in the order they arose: "INI文件连接错误！",
    // "数据库连接错误！", "超强版数据库连接错误！", or a failure of the house-keeping.
    QStringList errors;
    int expiredReservations = 0;

    // The configuration's display values.
    int oemMode() const { return config.tc; }
    int masterLookup() const { return config.cqb; }
    int titleSearch() const { return config.hh; }
    QString viewMode() const { return config.pass; }
};

// The whole start-up in its order: configuration, library database, remote catalogue
// service with its Z39.50 settings, master catalogue, reservation house-keeping. `today`
// fixes the library database's clock when valid.
StartupState startUp(const Home& home, const QDate& today = {});

// Expired reservations: books held only by them go back on the shelf, the rows are
// deleted; both in one transaction. Returns how many reservations were removed.
int expireReservations(Database& db);

// Opens the database that the configuration names (net=0: the SQLite file of the home,
// net=1: PostgreSQL); null with an error text otherwise.
std::unique_ptr<Database> openLibraryDatabase(const Home& home, const Config& config,
                                              QString* error);

} // namespace cangshu
