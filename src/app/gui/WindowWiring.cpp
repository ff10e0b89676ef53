#include "WindowWiring.h"

#include "circulation/ui/CirculationWindows.h"
#include "marc/ui/MarcWindows.h"
#include "queries/ui/QueryWindows.h"
#include "readers/ui/ReaderWindows.h"

namespace cangshu {

void wireWindows(WindowFactories& factories) {
    // Each subsystem adds its windows here as they are built.
    addReaderWindows(factories);
    addCirculationWindows(factories);
    addMarcWindows(factories);
    addQueryWindows(factories);
}

} // namespace cangshu
