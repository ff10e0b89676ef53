#include "ShellTables.h"

#include "core/Schema.h"

namespace cangshu::test {

void createShellTables(Database& db) {
    createSchema(db);
    db.execute(
        QStringLiteral("insert into [系统信息] ([图书馆名称],[预约天数],[编号宽度],[编号值]) "
                       "values (?,?,?,?)"),
        {QStringLiteral("藏书示范图书馆"), 7, 6, 1});
    db.execute(
        QStringLiteral("insert into [参数设置] ([有效期],[显示超期],[一对一],[种类条件],[还书]) "
                       "values (?,?,?,?,?)"),
        {3, QStringLiteral("否"), 1, QStringLiteral("书籍名称,作者信息"), 0});
    addOperator(db, QStringLiteral("admin"), QStringLiteral("61730"), true);
}

void addOperator(Database& db, const QString& name, const QString& password, bool allRights) {
    db.execute(
        QStringLiteral("insert into [管理员] ([用户名],[密码],[系统设置],[系统管理],[基本操作],"
                       "[系统查询],[统计分析],[报表打印]) values (?,?,?,?,?,?,?,?)"),
        {name, password, allRights, allRights, allRights, allRights, allRights, allRights});
}

} // namespace cangshu::test
