#include "Login.h"

#include "core/Password.h"

#include <QSqlRecord>

namespace cangshu {

namespace {

QVariant valueOf(const QSqlRecord& r, const QString& column) {
    const int i = r.indexOf(column);
    return i < 0 ? QVariant() : r.value(i);
}

bool flag(const QSqlRecord& r, const QString& column) {
    const QVariant v = valueOf(r, column);
    if (v.isNull())
        return false;
    const QString s = v.toString().trimmed().toLower();
    return s == QLatin1String("1") || s == QLatin1String("true") || s == QLatin1String("t") ||
           s == QLatin1String("-1");
}

} // namespace

QStringList operatorNames(const Database* db) {
    QStringList names;
    if (!db)
        return names;
    for (const QSqlRecord& r : db->rows(QStringLiteral("select * from [管理员]")))
        names << r.value(QStringLiteral("用户名")).toString();
    return names;
}

void loadSessionValues(const Database* db, const QString& backgroundFile, OperatorSession* s) {
    s->backgroundFile = backgroundFile;
    if (!db)
        return;
    if (const auto info = db->row(QStringLiteral("select * from [系统信息]")))
        s->libraryName = valueOf(*info, QStringLiteral("图书馆名称")).toString();
    const auto p = db->row(QStringLiteral("select * from [参数设置]"));
    if (!p)
        return;
    s->showOverdue = valueOf(*p, QStringLiteral("显示超期")).toString();
    s->oneToOne = valueOf(*p, QStringLiteral("一对一")).toInt();
    s->cardYears = valueOf(*p, QStringLiteral("有效期")).toInt();
    const QVariant kinds = valueOf(*p, QStringLiteral("种类条件"));
    s->kindColumns = kinds.isNull() ? OperatorSession::defaultKindColumns() : kinds.toString();
    const QVariant mode = valueOf(*p, QStringLiteral("还书"));
    s->returnMode = mode.isNull() ? 1 : mode.toInt();
}

Rights rightsOf(const QSqlRecord& r) {
    Rights rights;
    rights.systemSettings = flag(r, QStringLiteral("系统设置"));
    rights.management = flag(r, QStringLiteral("系统管理"));
    rights.basicOperations = flag(r, QStringLiteral("基本操作"));
    rights.queries = flag(r, QStringLiteral("系统查询"));
    rights.statistics = flag(r, QStringLiteral("统计分析"));
    rights.printing = flag(r, QStringLiteral("报表打印"));
    return rights;
}

Outcome logIn(Database* db, const QString& user, const QString& password,
                   OperatorSession* session) {
    if (user.isEmpty() || !db)
        return Outcome::refused(QStringLiteral("请选择用户名！"), QStringLiteral("user"));
    const QString wrong = QStringLiteral("密码输入错误！");
    const auto rows = db->rows(QStringLiteral("select * from [管理员] where [用户名]=?"), {user});
    for (const QSqlRecord& r : rows) {
        const QString stored = valueOf(r, QStringLiteral("密码")).toString();
        const PasswordCheck check = checkPassword(password, stored);
        if (!check.ok)
            continue;
        if (check.needsRehash) {
            // Only the row still holding the plain text is changed, so a concurrent change
            // of the password by another workstation is not overwritten.
            db->execute(
                QStringLiteral("update [管理员] set [密码]=? where [用户名]=? and [密码]=?"),
                {hashPassword(password), user, stored});
        }
        session->operatorName = user;
        session->rights = rightsOf(r);
        session->loggedIn = true;
        return Outcome::done();
    }
    return Outcome::refused(wrong, QStringLiteral("password"));
}

} // namespace cangshu
