#pragma once
#include "OperatorSession.h"
#include "core/Outcome.h"
#include "core/Database.h"

#include <QList>

namespace cangshu {

struct OperatorRow {
    QString name;
    QString storedPassword; // the stored value (a hash, or plain text in an older database)
    Rights rights;
};

QList<OperatorRow> listOperators(const Database& db);

// Stores an operator: a new one when originalName is empty, else the row of originalName.
// A password equal to the stored value is kept as it is; any other is stored as its hash.
// Refusals: "请输入用户名！" (focus "name"), "请输入密码！" (focus "password"),
// "该用户名已经存在！" (focus "name"). Success: "保存成功！".
Outcome saveOperator(Database& db, const QString& originalName, const QString& name,
                          const QString& password, const Rights& rights);

// Deletes the operator unless it is the last one; false when nothing was deleted.
bool deleteOperator(Database& db, const QString& name);

// The password change of the logged-in operator. Refusals: "旧密码错误！" (focus "old"),
// "密码不能为空！" (focus "new"), "确认密码不符！" (focus "confirm"). Success: "密码修改成功！".
Outcome changePassword(Database& db, const QString& user, const QString& oldPassword,
                            const QString& newPassword, const QString& confirmation);

} // namespace cangshu
