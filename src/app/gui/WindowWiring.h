#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

// Connects the windows of the subsystems to the main window's commands, by window key
// (see the command table): factories.add("BookLend", {create, prepare}).
void wireWindows(WindowFactories& factories);

} // namespace cangshu
