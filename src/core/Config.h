#pragma once
#include <QString>
#include <QVariant>

namespace cangshu {

// Where the remote catalogue service or the master catalogue lives. The driver is QPSQL
// (a server) or QSQLITE (a file, relative to the home when not absolute); "none" disables it.
struct ExternalDatabase {
    QString driver;
    QString host;
    int port = 0;
    QString database;
    QString user;
    QString password;
    QString file;
    int connectTimeoutSeconds = 3;
};

struct Z3950Server {
    QString host;
    QString port;
    QString database;
    QString user;
    QString password;
};

// The settings of set_ini/init_ini.ini, each with the default used when its key is missing.
struct Config {
    // [setnet]
    int net = 0;            // 0 local SQLite file, 1 PostgreSQL server, other values: no database
    QString serverName;     // sn: host[:port] or a socket folder
    QString serverUser;     // sa
    QString serverPassword; // pw
    QString databaseName;   // dn
    int cqb = 0;            // 1: open the master catalogue
    int hh = 0;             // 1: title search against the remote catalogue
    // [SetUserInfo]
    int tc = 1; // 1: plain shell
    // [pw]
    QString pass = QStringLiteral("61730"); // "61730" full display, "0" reduced
    // [picturepath]
    QString backgroundPicture; // pathstr
    // [skin]
    QString skin = QStringLiteral("无");
    // [SetCard] / [OpenCard]
    int comPort = 0;
    bool openCardAtLogin = false;

    // Sections of our own: the remote catalogue service, the master catalogue and the
    // Z39.50 server used when the remote service cannot be reached.
    ExternalDatabase remote;
    ExternalDatabase master;
    Z3950Server fallbackZ3950;

    static Config defaults();
    // Reads the file; returns false when it cannot be opened (missing or unreadable).
    static bool load(const QString& iniPath, Config* out);
    // Writes every key with its value (a new home's configuration).
    bool save(const QString& iniPath) const;
};

// Writes one key of the configuration file, keeping the rest of it.
bool writeIniValue(const QString& iniPath, const QString& section, const QString& key,
                   const QVariant& value);

} // namespace cangshu
