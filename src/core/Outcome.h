#pragma once
#include <QString>

namespace cangshu {

// What an operation tells its window (or the command line): done or refused, the message
// to show (the system's own words) and which field wants the focus afterwards.
struct Outcome {
    bool ok = true;
    QString message;
    QString focus; // a field name of the window that asked, empty when none

    static Outcome done(const QString& message = {}) { return {true, message, {}}; }
    static Outcome refused(const QString& message, const QString& focus = {}) {
        return {false, message, focus};
    }
};

} // namespace cangshu
