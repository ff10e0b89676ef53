#include "WindowWiring.h"

#include "catalogue/ui/CatalogueWindows.h"
#include "circulation/ui/CirculationWindows.h"
#include "marc/ui/MarcWindows.h"
#include "queries/ui/QueryWindows.h"
#include "readers/ui/ReaderWindows.h"
#include "report/ui/PrintWindows.h"

namespace cangshu {

void wireWindows(WindowFactories& factories) {
    // Each subsystem adds its windows here as they are built.
    addCatalogueWindows(factories);
    addReaderWindows(factories);
    addCirculationWindows(factories);
    addMarcWindows(factories);
    report::addPrintWindows(factories);
    addQueryWindows(factories);
}

} // namespace cangshu
