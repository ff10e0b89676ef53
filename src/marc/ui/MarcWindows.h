#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

// The MARC import windows of the main window's commands: "MarcImport" (导入Marc_图书数据)
// and "MarcImportPeriodicals" (导入Marc_期刊数据).
void addMarcWindows(WindowFactories& factories);

} // namespace cangshu
