#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

// The book desks and the deposit windows of the main window's commands: "BookLend" (F1),
// "BookRenew" (F2), "BookReturn" (F3), "Deposit" (充扣押金) and "DepositList" (the journal,
// managed from 系统管理, looked up from 系统查询).
void addCirculationWindows(WindowFactories& factories);

} // namespace cangshu
