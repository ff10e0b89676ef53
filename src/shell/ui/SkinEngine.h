#pragma once
#include <QString>

namespace cangshu {

// Applies a skin (a style sheet of skin/) to the whole application, so that every window,
// also one created later, carries it.
class SkinEngine {
public:
    explicit SkinEngine(const QString& skinFolder) : m_folder(skinFolder) {}

    // The configured skin file name ("DiamondBlue.ssk"); "无" or an unknown name: plain style.
    void apply(const QString& configuredFile);
    void deactivate();
    QString current() const { return m_current; }
    bool active() const { return !m_current.isEmpty(); }

private:
    QString m_folder;
    QString m_current;
};

} // namespace cangshu
