#pragma once
#include "core/Database.h"

namespace cangshu::test {

// The library schema with one row each in 系统信息 and 参数设置 and the
// operator admin/61730 holding every right (stored in plain text, as an older database has it).
void createShellTables(Database& db);
void addOperator(Database& db, const QString& name, const QString& password, bool allRights);

} // namespace cangshu::test
