#include "WindowWiring.h"

namespace cangshu {

void wireWindows(WindowFactories& factories) {
    // Each subsystem adds its windows here as they are built.
    (void)factories;
}

} // namespace cangshu
