#pragma once
#include <QString>

namespace cangshu {

// What an operation of the shell tells its window: done or refused, the message to show
// (the system's own words) and which field wants the focus afterwards.
struct ShellOutcome {
    bool ok = true;
    QString message;
    QString focus; // a field name of the window that asked, empty when none

    static ShellOutcome done(const QString& message = {}) { return {true, message, {}}; }
    static ShellOutcome refused(const QString& message, const QString& focus = {}) {
        return {false, message, focus};
    }
};

} // namespace cangshu
