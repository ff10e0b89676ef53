#include "shell/Login.h"
#include "ShellTables.h"
#include "core/Password.h"
#include "support/TestDatabase.h"

using namespace cangshu;

class LoginTest : public cangshu::test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createShellTables(db());
    }
    QString storedPassword(const QString& user) {
        return db()
            .scalar(QStringLiteral("select [密码] from [管理员] where [用户名]=?"), {user})
            .toString();
    }
};

TEST_P(LoginTest, LegacyPlainPasswordLogsInOnceAndIsReplacedByItsHash) {
    OperatorSession s;
    const Outcome first = logIn(&db(), QStringLiteral("admin"), QStringLiteral("61730"), &s);
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    EXPECT_EQ(s.operatorName, QStringLiteral("admin"));
    EXPECT_EQ(s.rights, Rights::all());
    EXPECT_TRUE(isPasswordHash(storedPassword(QStringLiteral("admin"))));

    OperatorSession again;
    EXPECT_TRUE(logIn(&db(), QStringLiteral("admin"), QStringLiteral("61730"), &again).ok);
    const Outcome wrong =
        logIn(&db(), QStringLiteral("admin"), QStringLiteral("61731"), &again);
    EXPECT_FALSE(wrong.ok);
    EXPECT_EQ(wrong.message, QStringLiteral("密码输入错误！"));
    EXPECT_EQ(wrong.focus, QStringLiteral("password"));
}

TEST_P(LoginTest, RefusalsCarryTheSystemMessages) {
    test::addOperator(db(), QStringLiteral("li"), QStringLiteral("pw"), false);
    struct Case {
        const char* user;
        const char* password;
        const char* message;
        const char* focus;
    } cases[] = {
        {"", "61730", "请选择用户名！", "user"},
        {"admin", "", "密码输入错误！", "password"},
        {"admin", " 61730", "密码输入错误！", "password"}, // typed text is not trimmed
        {"nobody", "61730", "密码输入错误！", "password"},
        {"li", "61730", "密码输入错误！", "password"},
    };
    for (const Case& c : cases) {
        OperatorSession s;
        const Outcome o =
            logIn(&db(), QString::fromUtf8(c.user), QString::fromUtf8(c.password), &s);
        EXPECT_FALSE(o.ok) << c.user << "/" << c.password;
        EXPECT_EQ(o.message, QString::fromUtf8(c.message)) << c.user << "/" << c.password;
        EXPECT_EQ(o.focus, QString::fromUtf8(c.focus));
        EXPECT_FALSE(s.loggedIn);
    }
    OperatorSession none;
    EXPECT_EQ(logIn(nullptr, QString(), QString(), &none).message,
              QStringLiteral("请选择用户名！"));
}

TEST_P(LoginTest, QuotesInNamesAndPasswordsWork) {
    const QString name = QStringLiteral("o'brien\"; --"),
                  password = QStringLiteral("it's' or '1'='1");
    test::addOperator(db(), name, password, false);
    OperatorSession s;
    EXPECT_FALSE(logIn(&db(), name, QStringLiteral("' or '1'='1"), &s).ok);
    ASSERT_TRUE(logIn(&db(), name, password, &s).ok);
    EXPECT_EQ(s.operatorName, name);
    EXPECT_EQ(s.rights, Rights{}); // no rights at all: every governed group stays closed
    EXPECT_TRUE(logIn(&db(), name, password, &s).ok); // and again against the hash
}

TEST_P(LoginTest, UserListHoldsEveryOperator) {
    test::addOperator(db(), QStringLiteral("zhang"), QStringLiteral("1"), false);
    test::addOperator(db(), QStringLiteral("bai"), QStringLiteral("2"), false);
    QStringList names = operatorNames(&db());
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("admin"), QStringLiteral("bai"),
                                  QStringLiteral("zhang")}));
    EXPECT_TRUE(operatorNames(nullptr).isEmpty());
    db().execute(QStringLiteral("delete from [管理员]"));
    EXPECT_TRUE(operatorNames(&db()).isEmpty());
}

TEST_P(LoginTest, SessionValuesComeFromTheSettingsTables) {
    OperatorSession s;
    loadSessionValues(&db(), QStringLiteral("back.jpg"), &s);
    EXPECT_EQ(s.libraryName, QStringLiteral("藏书示范图书馆"));
    EXPECT_EQ(s.backgroundFile, QStringLiteral("back.jpg"));
    EXPECT_EQ(s.showOverdue, QStringLiteral("否"));
    EXPECT_EQ(s.oneToOne, 1);
    EXPECT_EQ(s.cardYears, 3);
    EXPECT_EQ(s.kindColumns, QStringLiteral("书籍名称,作者信息"));
    EXPECT_EQ(s.returnMode, 0);

    // Null values of 种类条件 and 还书 fall back to their defaults.
    db().execute(QStringLiteral("update [参数设置] set [种类条件]=NULL, [还书]=NULL, [一对一]=0"));
    loadSessionValues(&db(), {}, &s);
    EXPECT_EQ(s.kindColumns, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    EXPECT_EQ(s.returnMode, 1);
    EXPECT_EQ(s.oneToOne, 0);
}

TEST_P(LoginTest, OlderParameterTableWithoutTheLaterColumns) {
    db().execute(QStringLiteral("drop table [参数设置]"));
    db().execute(QStringLiteral(
        "create table [参数设置] ([有效期] INTEGER, [显示超期] TEXT, [一对一] INTEGER)"));
    db().execute(QStringLiteral("insert into [参数设置] values (2, '是', 1)"));
    OperatorSession s;
    s.returnMode = 0;
    s.kindColumns = QStringLiteral("x");
    loadSessionValues(&db(), {}, &s);
    EXPECT_EQ(s.kindColumns, QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    EXPECT_EQ(s.returnMode, 1);
    EXPECT_EQ(s.showOverdue, QStringLiteral("是"));
    EXPECT_EQ(s.cardYears, 2);
}

CANGSHU_ENGINES(LoginTest);
