#include "ShippedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace cangshu {

QString shippedDataDir() {
    const QString env = qEnvironmentVariable("CANGSHU_DATA_DIR");
    if (!env.isEmpty())
        return env;
    if (QCoreApplication::instance()) {
        const QString installed =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/cangshu");
        if (QFileInfo(installed).isDir())
            return QDir::cleanPath(installed);
    }
    return QStringLiteral(CANGSHU_SOURCE_DIR);
}

} // namespace cangshu
