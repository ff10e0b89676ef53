#include "ApplicationLook.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace cangshu {

void applyApplicationLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
}

} // namespace cangshu
