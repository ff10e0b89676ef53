#pragma once
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace cangshu {

// The shell's own pictures, drawn in code: tool-bar badges, the login banner and the
// default background of the main window.
QIcon badgeIcon(const QString& glyph, const QColor& color, int size = 40);
QPixmap loginBanner(const QSize& size, const QString& title);
QPixmap defaultBackground(const QSize& size, const QString& libraryName);

} // namespace cangshu
