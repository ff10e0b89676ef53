#pragma once
#include "core/Startup.h"
#include "shell/OperatorSession.h"

namespace cangshu {

// What the shell's windows share: the start-up's findings (home, configuration, library
// database, remote service) and the logged-in operator's session.
struct ShellContext {
    StartupState* startup = nullptr;
    OperatorSession session;

    Database* db() const { return startup ? startup->library.get() : nullptr; }
    const Home& home() const { return startup->home; }
    const Config& config() const { return startup->config; }
    bool plainShell() const { return startup->oemMode() == 1; }
};

} // namespace cangshu
