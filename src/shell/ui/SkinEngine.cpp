#include "SkinEngine.h"

#include "shell/Commands.h"

#include <QApplication>

namespace cangshu {

void SkinEngine::apply(const QString& configuredFile) {
    const QString sheet = loadSkinStyleSheet(m_folder, configuredFile);
    if (sheet.isEmpty()) {
        deactivate();
        return;
    }
    m_current = configuredFile;
    qApp->setStyleSheet(sheet);
}

void SkinEngine::deactivate() {
    m_current.clear();
    qApp->setStyleSheet(QString());
}

} // namespace cangshu
