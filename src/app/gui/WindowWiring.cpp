#include "WindowWiring.h"

#include "queries/ui/QueryWindows.h"
#include "readers/ui/ReaderWindows.h"

namespace cangshu {

void wireWindows(WindowFactories& factories) {
    // Each subsystem adds its windows here as they are built.
    addReaderWindows(factories);
    addQueryWindows(factories);
}

} // namespace cangshu
