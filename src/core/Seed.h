#pragma once
#include "Database.h"

namespace cangshu {

// The rows a new library starts with: one row each in 系统信息 and 参数设置, the operator
// admin with every right, a few reader types, a few values in each dictionary, and the rows
// of the web pages' 联系我们 and userlogin. Only fills what is empty (admin only when no
// operator of that name exists), so running it again adds nothing. One transaction.
void seedNewDatabase(Database& db);

// The first row of the web pages' contact page and web administrator login; the web
// application reads userlogin's password as plain text.
void seedContactPage(Database& db);
void seedWebLogin(Database& db);

} // namespace cangshu
