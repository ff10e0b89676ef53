#include "shell/Operators.h"
#include "ShellTables.h"
#include "core/Password.h"
#include "shell/Login.h"
#include "support/TestDatabase.h"

using namespace cangshu;

class OperatorsTest : public cangshu::test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createShellTables(db());
    }
    bool canLogIn(const QString& user, const QString& password) {
        OperatorSession s;
        return logIn(&db(), user, password, &s).ok;
    }
};

TEST_P(OperatorsTest, NewOperatorIsValidatedThenStoredHashedWithItsRights) {
    const Rights none;
    EXPECT_EQ(saveOperator(db(), {}, {}, QStringLiteral("x"), none).message,
              QStringLiteral("请输入用户名！"));
    EXPECT_EQ(saveOperator(db(), {}, {}, {}, none).focus,
              QStringLiteral("name")); // name checked first
    const Outcome noPassword = saveOperator(db(), {}, QStringLiteral("wang"), {}, none);
    EXPECT_EQ(noPassword.message, QStringLiteral("请输入密码！"));
    EXPECT_EQ(noPassword.focus, QStringLiteral("password"));
    const Outcome duplicate =
        saveOperator(db(), {}, QStringLiteral("admin"), QStringLiteral("x"), none);
    EXPECT_EQ(duplicate.message, QStringLiteral("该用户名已经存在！"));
    EXPECT_EQ(listOperators(db()).size(), 1);

    Rights some;
    some.queries = true;
    some.printing = true;
    EXPECT_EQ(saveOperator(db(), {}, QStringLiteral("wang"), QStringLiteral("w'1"), some).message,
              QStringLiteral("保存成功！"));
    const auto all = listOperators(db());
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[1].name, QStringLiteral("wang"));
    EXPECT_EQ(all[1].rights, some);
    EXPECT_TRUE(isPasswordHash(all[1].storedPassword));
    EXPECT_TRUE(canLogIn(QStringLiteral("wang"), QStringLiteral("w'1")));
}

TEST_P(OperatorsTest, EditingKeepsAnUnchangedPasswordAndRenames) {
    ASSERT_TRUE(canLogIn(QStringLiteral("admin"), QStringLiteral("61730"))); // now hashed
    const QString stored = listOperators(db())[0].storedPassword;
    Rights fewer;
    fewer.basicOperations = true;
    ASSERT_TRUE(
        saveOperator(db(), QStringLiteral("admin"), QStringLiteral("boss"), stored, fewer).ok);
    EXPECT_TRUE(canLogIn(QStringLiteral("boss"), QStringLiteral("61730")));
    EXPECT_FALSE(canLogIn(QStringLiteral("admin"), QStringLiteral("61730")));
    EXPECT_EQ(listOperators(db())[0].rights, fewer);

    ASSERT_TRUE(saveOperator(db(), QStringLiteral("boss"), QStringLiteral("boss"),
                             QStringLiteral("new"), fewer)
                    .ok);
    EXPECT_TRUE(canLogIn(QStringLiteral("boss"), QStringLiteral("new")));
    EXPECT_FALSE(canLogIn(QStringLiteral("boss"), QStringLiteral("61730")));
}

TEST_P(OperatorsTest, TheLastOperatorIsNeverDeleted) {
    test::addOperator(db(), QStringLiteral("li"), QStringLiteral("1"), false);
    EXPECT_TRUE(deleteOperator(db(), QStringLiteral("admin")));
    EXPECT_FALSE(deleteOperator(db(), QStringLiteral("li")));
    EXPECT_EQ(listOperators(db()).size(), 1);
}

TEST_P(OperatorsTest, PasswordChangeChecksInOrder) {
    const QString user = QStringLiteral("admin");
    struct Case {
        const char* old;
        const char* fresh;
        const char* confirm;
        const char* message;
        const char* focus;
    } refusals[] = {
        {"wrong", "", "", "旧密码错误！", "old"},
        {"61730", "", "", "密码不能为空！", "new"},
        {"61730", "abc", "abd", "确认密码不符！", "confirm"},
    };
    for (const Case& c : refusals) {
        const Outcome o =
            changePassword(db(), user, QString::fromUtf8(c.old), QString::fromUtf8(c.fresh),
                           QString::fromUtf8(c.confirm));
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.message, QString::fromUtf8(c.message));
        EXPECT_EQ(o.focus, QString::fromUtf8(c.focus));
    }
    EXPECT_TRUE(canLogIn(user, QStringLiteral("61730")));
    const Outcome done = changePassword(db(), user, QStringLiteral("61730"),
                                             QStringLiteral("n'q"), QStringLiteral("n'q"));
    EXPECT_EQ(done.message, QStringLiteral("密码修改成功！"));
    EXPECT_TRUE(canLogIn(user, QStringLiteral("n'q")));
    EXPECT_FALSE(canLogIn(user, QStringLiteral("61730")));
}

CANGSHU_ENGINES(OperatorsTest);
