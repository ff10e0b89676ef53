#pragma once
#include <QString>

namespace cangshu {

// The folder that holds the configuration, the database file, layouts, pictures, skins,
// templates and backups. Every relative path of the system is relative to it.
class Home {
public:
    explicit Home(const QString& root = {}) : m_root(root) {}

    // --home DIR, else $CANGSHU_HOME, else $XDG_DATA_HOME/cangshu (~/.local/share/cangshu).
    static Home resolve(const QString& commandLineHome = {});

    QString root() const { return m_root; }
    QString path(const QString& relative) const { return m_root + u'/' + relative; }

    QString iniFile() const { return path(QStringLiteral("set_ini/init_ini.ini")); }
    QString databaseFile() const { return path(QStringLiteral("excel/excel.cab")); }
    QString layoutFolder() const { return path(QStringLiteral("database")); }
    QString photoFolder() const { return path(QStringLiteral("photo")); }
    QString skinFolder() const { return path(QStringLiteral("skin")); }
    QString coverFolder() const { return path(QStringLiteral("bookpic")); }
    QString backupFolder() const { return path(QStringLiteral("backup")); }
    QString reportFolder() const { return path(QStringLiteral("report")); }

private:
    QString m_root;
};

} // namespace cangshu
