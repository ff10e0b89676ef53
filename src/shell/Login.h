#pragma once
#include "OperatorSession.h"
#include "core/Outcome.h"
#include "core/Database.h"

#include <QStringList>

namespace cangshu {

// The user names of 管理员 in the order the database returns them; empty without a database.
QStringList operatorNames(const Database* db);

// The values the login loads at every showing of the login window: library name and the
// circulation parameters (with their defaults for missing columns) and the background file.
void loadSessionValues(const Database* db, const QString& backgroundFile, OperatorSession* session);

// Checks user name and password against 管理员 with bound values (quotes are harmless). On
// success the session gets the operator's name and rights; a legacy plain-text password is
// replaced by its hash. Refusals: "请选择用户名！" (focus "user"), "密码输入错误！"
// (focus "password").
Outcome logIn(Database* db, const QString& user, const QString& password,
                   OperatorSession* session);

Rights rightsOf(const QSqlRecord& operatorRow);

} // namespace cangshu
