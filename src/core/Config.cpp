#include "Config.h"

#include <QFileInfo>
#include <QSettings>

namespace cangshu {

Config Config::defaults() {
    Config c;
    c.remote = {
        QStringLiteral("QPSQL"), QStringLiteral("127.0.0.1"), 1888,      QStringLiteral("allmarc"),
        QStringLiteral("sa"),    QStringLiteral("594716"),    QString(), 3};
    c.master = {QStringLiteral("QPSQL"),
                QString(),
                0,
                QStringLiteral("masternew"),
                QString(),
                QString(),
                QString(),
                3};
    c.fallbackZ3950 = {QStringLiteral("z3950.cangshu.invalid"), QStringLiteral("210"),
                       QStringLiteral("biucc"), QStringLiteral("cangshu"),
                       QStringLiteral("tqkwrpsn768")};
    return c;
}

static void readExternal(QSettings& s, const QString& section, ExternalDatabase* d) {
    s.beginGroup(section);
    d->driver = s.value(QStringLiteral("driver"), d->driver).toString();
    d->host = s.value(QStringLiteral("host"), d->host).toString();
    d->port = s.value(QStringLiteral("port"), d->port).toInt();
    d->database = s.value(QStringLiteral("database"), d->database).toString();
    d->user = s.value(QStringLiteral("user"), d->user).toString();
    d->password = s.value(QStringLiteral("password"), d->password).toString();
    d->file = s.value(QStringLiteral("file"), d->file).toString();
    d->connectTimeoutSeconds = s.value(QStringLiteral("timeout"), d->connectTimeoutSeconds).toInt();
    s.endGroup();
}

static void writeExternal(QSettings& s, const QString& section, const ExternalDatabase& d) {
    s.beginGroup(section);
    s.setValue(QStringLiteral("driver"), d.driver);
    s.setValue(QStringLiteral("host"), d.host);
    s.setValue(QStringLiteral("port"), d.port);
    s.setValue(QStringLiteral("database"), d.database);
    s.setValue(QStringLiteral("user"), d.user);
    s.setValue(QStringLiteral("password"), d.password);
    s.setValue(QStringLiteral("file"), d.file);
    s.setValue(QStringLiteral("timeout"), d.connectTimeoutSeconds);
    s.endGroup();
}

bool Config::load(const QString& iniPath, Config* out) {
    const QFileInfo info(iniPath);
    if (!info.isFile() || !info.isReadable())
        return false;
    QSettings s(iniPath, QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return false;
    Config c = defaults();
    c.net = s.value(QStringLiteral("setnet/net"), c.net).toInt();
    c.serverName = s.value(QStringLiteral("setnet/sn"), c.serverName).toString();
    c.serverUser = s.value(QStringLiteral("setnet/sa"), c.serverUser).toString();
    c.serverPassword = s.value(QStringLiteral("setnet/pw"), c.serverPassword).toString();
    c.databaseName = s.value(QStringLiteral("setnet/dn"), c.databaseName).toString();
    c.cqb = s.value(QStringLiteral("setnet/cqb"), c.cqb).toInt();
    c.hh = s.value(QStringLiteral("setnet/hh"), c.hh).toInt();
    c.tc = s.value(QStringLiteral("SetUserInfo/tc"), c.tc).toInt();
    c.pass = s.value(QStringLiteral("pw/pass"), c.pass).toString();
    c.backgroundPicture =
        s.value(QStringLiteral("picturepath/pathstr"), c.backgroundPicture).toString();
    c.skin = s.value(QStringLiteral("skin/s"), c.skin).toString();
    c.comPort = s.value(QStringLiteral("SetCard/ComPost"), c.comPort).toInt();
    c.openCardAtLogin = s.value(QStringLiteral("OpenCard/IsOpenCard"), c.openCardAtLogin).toBool();
    readExternal(s, QStringLiteral("remote"), &c.remote);
    readExternal(s, QStringLiteral("master"), &c.master);
    s.beginGroup(QStringLiteral("z3950"));
    c.fallbackZ3950.host = s.value(QStringLiteral("host"), c.fallbackZ3950.host).toString();
    c.fallbackZ3950.port = s.value(QStringLiteral("port"), c.fallbackZ3950.port).toString();
    c.fallbackZ3950.database =
        s.value(QStringLiteral("database"), c.fallbackZ3950.database).toString();
    c.fallbackZ3950.user = s.value(QStringLiteral("user"), c.fallbackZ3950.user).toString();
    c.fallbackZ3950.password =
        s.value(QStringLiteral("password"), c.fallbackZ3950.password).toString();
    s.endGroup();
    *out = c;
    return true;
}

bool Config::save(const QString& iniPath) const {
    QSettings s(iniPath, QSettings::IniFormat);
    s.setValue(QStringLiteral("setnet/net"), net);
    s.setValue(QStringLiteral("setnet/sn"), serverName);
    s.setValue(QStringLiteral("setnet/sa"), serverUser);
    s.setValue(QStringLiteral("setnet/pw"), serverPassword);
    s.setValue(QStringLiteral("setnet/dn"), databaseName);
    s.setValue(QStringLiteral("setnet/cqb"), cqb);
    s.setValue(QStringLiteral("setnet/hh"), hh);
    s.setValue(QStringLiteral("SetUserInfo/tc"), tc);
    s.setValue(QStringLiteral("pw/pass"), pass);
    s.setValue(QStringLiteral("picturepath/pathstr"), backgroundPicture);
    s.setValue(QStringLiteral("skin/s"), skin);
    s.setValue(QStringLiteral("SetCard/ComPost"), comPort);
    s.setValue(QStringLiteral("OpenCard/IsOpenCard"), openCardAtLogin);
    writeExternal(s, QStringLiteral("remote"), remote);
    writeExternal(s, QStringLiteral("master"), master);
    s.beginGroup(QStringLiteral("z3950"));
    s.setValue(QStringLiteral("host"), fallbackZ3950.host);
    s.setValue(QStringLiteral("port"), fallbackZ3950.port);
    s.setValue(QStringLiteral("database"), fallbackZ3950.database);
    s.setValue(QStringLiteral("user"), fallbackZ3950.user);
    s.setValue(QStringLiteral("password"), fallbackZ3950.password);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

bool writeIniValue(const QString& iniPath, const QString& section, const QString& key,
                   const QVariant& value) {
    QSettings s(iniPath, QSettings::IniFormat);
    s.setValue(section + u'/' + key, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace cangshu
