#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

// Connects the main window's commands to the circulation history lists (also the day's
// lists of the "today" menu), the fine window, the fines list and the fines statistics.
void addQueryWindows(WindowFactories& factories);

} // namespace cangshu
