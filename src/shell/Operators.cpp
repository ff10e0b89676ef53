#include "Operators.h"

#include "Login.h"
#include "core/Password.h"

#include <QSqlRecord>

namespace cangshu {

QList<OperatorRow> listOperators(const Database& db) {
    QList<OperatorRow> out;
    for (const QSqlRecord& r : db.rows(QStringLiteral("select * from [管理员]")))
        out.append({r.value(QStringLiteral("用户名")).toString(),
                    r.value(QStringLiteral("密码")).toString(), rightsOf(r)});
    return out;
}

Outcome saveOperator(Database& db, const QString& originalName, const QString& name,
                          const QString& password, const Rights& rights) {
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入用户名！"), QStringLiteral("name"));
    if (password.isEmpty())
        return Outcome::refused(QStringLiteral("请输入密码！"), QStringLiteral("password"));

    Transaction tx(db);
    if (name != originalName &&
        db.scalar(QStringLiteral("select count(*) from [管理员] where [用户名]=?"), {name}, 0)
                .toInt() > 0)
        return Outcome::refused(QStringLiteral("该用户名已经存在！"), QStringLiteral("name"));

    QString stored;
    if (!originalName.isEmpty())
        stored = db.scalar(QStringLiteral("select [密码] from [管理员] where [用户名]=?"),
                           {originalName})
                     .toString();
    const QString value =
        (!stored.isEmpty() && password == stored) ? stored : hashPassword(password);
    const QVariantList flags = {rights.systemSettings, rights.management, rights.basicOperations,
                                rights.queries,        rights.statistics, rights.printing};
    if (originalName.isEmpty()) {
        db.execute(
            QStringLiteral("insert into [管理员] ([用户名],[密码],[系统设置],[系统管理],[基本操作],"
                           "[系统查询],[统计分析],[报表打印]) values (?,?,?,?,?,?,?,?)"),
            QVariantList{name, value} + flags);
    } else {
        db.execute(
            QStringLiteral("update [管理员] set [用户名]=?,[密码]=?,[系统设置]=?,[系统管理]=?,"
                           "[基本操作]=?,[系统查询]=?,[统计分析]=?,[报表打印]=? where [用户名]=?"),
            QVariantList{name, value} + flags + QVariantList{originalName});
    }
    tx.commit();
    return Outcome::done(QStringLiteral("保存成功！"));
}

bool deleteOperator(Database& db, const QString& name) {
    // The count is part of the statement so two workstations cannot remove the last two.
    return db.execute(QStringLiteral("delete from [管理员] where [用户名]=? and "
                                     "(select count(*) from [管理员]) > 1"),
                      {name}) > 0;
}

Outcome changePassword(Database& db, const QString& user, const QString& oldPassword,
                            const QString& newPassword, const QString& confirmation) {
    bool oldOk = false;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("select [密码] from [管理员] where [用户名]=?"), {user}))
        oldOk = oldOk || checkPassword(oldPassword, r.value(0).toString()).ok;
    if (!oldOk)
        return Outcome::refused(QStringLiteral("旧密码错误！"), QStringLiteral("old"));
    if (newPassword.isEmpty())
        return Outcome::refused(QStringLiteral("密码不能为空！"), QStringLiteral("new"));
    if (newPassword != confirmation)
        return Outcome::refused(QStringLiteral("确认密码不符！"), QStringLiteral("confirm"));
    db.execute(QStringLiteral("update [管理员] set [密码]=? where [用户名]=?"),
               {hashPassword(newPassword), user});
    return Outcome::done(QStringLiteral("密码修改成功！"));
}

} // namespace cangshu
