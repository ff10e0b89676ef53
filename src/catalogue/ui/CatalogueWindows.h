#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

// The cataloguing windows of the main window's commands: "Books" (书籍资料管理),
// "BookEditor" (新增书籍, F7), "BookClasses" (图书类型设置) and "Publishers" (出版社内容设置).
void addCatalogueWindows(WindowFactories& factories);

} // namespace cangshu
