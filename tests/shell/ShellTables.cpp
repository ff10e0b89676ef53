#include "ShellTables.h"

namespace cangshu::test {

void createShellTables(Database& db) {
    const Dialect& d = db.dialect();
    db.execute(
        QStringLiteral("create table [管理员] ([用户名] %1 unique, [密码] %2, [系统设置] %3, "
                       "[系统管理] %3, [基本操作] %3, [系统查询] %3, [统计分析] %3, [报表打印] %3)")
            .arg(d.textType(50), d.textType(0), d.boolType()));
    db.execute(
        QStringLiteral("create table [系统信息] ([图书馆名称] %1, [预约天数] %2, [编号宽度] %2, "
                       "[前置字符] %1, [后置字符] %1, [编号值] %2)")
            .arg(d.textType(100), d.integerType()));
    db.execute(QStringLiteral("create table [参数设置] ([有效期] %1, [显示超期] %2, [一对一] %1, "
                              "[种类条件] %2, [还书] %1)")
                   .arg(d.integerType(), d.textType(50)));
    for (const char* t : {"书籍归还清单", "期刊归还清单"})
        db.execute(QStringLiteral("create table [%1] ([序号] %2, [读者索引] %3, [归还日期] %4)")
                       .arg(QString::fromUtf8(t), d.keyColumnType(), d.textType(50), d.dateType()));
    db.execute(
        QStringLiteral("create index [ix_书籍归还清单_归还日期] on [书籍归还清单] ([归还日期])"));
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
    db.execute(QStringLiteral("insert into [管理员] values (?,?,?,?,?,?,?,?)"),
               {name, password, allRights, allRights, allRights, allRights, allRights, allRights});
}

} // namespace cangshu::test
