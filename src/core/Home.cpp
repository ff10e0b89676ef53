#include "Home.h"

#include <QDir>
#include <QStandardPaths>

namespace cangshu {

Home Home::resolve(const QString& commandLineHome) {
    QString root = commandLineHome;
    if (root.isEmpty())
        root = qEnvironmentVariable("CANGSHU_HOME");
    if (root.isEmpty()) {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty())
            data = QDir::homePath() + QStringLiteral("/.local/share");
        root = data + QStringLiteral("/cangshu");
    }
    return Home(QDir::cleanPath(QDir(root).absolutePath()));
}

} // namespace cangshu
