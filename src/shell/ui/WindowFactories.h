#pragma once
#include "ShellContext.h"
#include "shell/Commands.h"

#include <QHash>
#include <functional>

class QWidget;

namespace cangshu {

// How the main window makes the window of a command: `create` builds it once (it is kept
// and reused for the rest of the run); `prepare` runs before every showing with the command
// that opens it (several commands may share one window: title, hidden buttons ...).
// A QDialog opened modal runs its own loop; any other widget opened modal is shown
// application-modal.
struct WindowFactory {
    std::function<QWidget*(ShellContext& context, QWidget* parent)> create;
    std::function<void(ShellContext& context, QWidget* window, const Command& command)> prepare;
};

class WindowFactories {
public:
    void add(const QString& windowKey, WindowFactory factory) {
        m_factories.insert(windowKey, factory);
    }
    const WindowFactory* find(const QString& windowKey) const {
        auto it = m_factories.constFind(windowKey);
        return it == m_factories.constEnd() ? nullptr : &*it;
    }

private:
    QHash<QString, WindowFactory> m_factories;
};

// The shell's own windows: numbering settings, operators, password change, history clearing.
void addShellWindows(WindowFactories& factories);

} // namespace cangshu
