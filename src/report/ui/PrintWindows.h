#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu::report {

// The windows of the printing menu: "BookLabels", "PeriodicalLabels", "ReaderCards" and
// "CustomBarcodes".
void addPrintWindows(WindowFactories& factories);

} // namespace cangshu::report
