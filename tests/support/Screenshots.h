#pragma once
// For the tools that draw windows offscreen into PNG files under docs/.
#include "widgets/ApplicationLook.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace cangshu::test {

// The folder named by the tool's first argument (made when missing), else the current one.
inline QString screenshotFolder(int argc, char** argv) {
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    return out;
}

// Shows the window, lets it lay itself out and writes folder/name.png.
inline bool saveScreenshot(QWidget* w, const QString& folder, const QString& name) {
    w->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (w->grab().save(path))
        return true;
    qWarning("cannot write %s", qPrintable(path));
    return false;
}

} // namespace cangshu::test
