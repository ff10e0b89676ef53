#include "core/TextRoutines.h"
#include "core/Gbk.h"
#include "core/Password.h"

#include "support/TestDatabase.h"

using namespace cangshu;

TEST(TextRoutinesTest, NormalizeIsbn) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"7-5366-2133-1", "9787536621336"},     // ISBN-10, check digit recomputed
        {"978-7-5366-2133-6", "9787536621336"}, // the same book as ISBN-13
        {"7-111-07551-X", "9787111075516"},
        {"0-306-40615-2", "9780306406157"},
        {"7-5366-2135-X", "9787536621350"}, // remainder 0: check digit 0, never "10"
        {"7536621331", "7536621331"},       // 10 characters: unchanged
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalizeIsbn(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TextRoutinesTest, PinyinInitials) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"中国", "ZG"},
        {"图书馆管理", "TSGGL"},
        {"C++程序设计2版", "C++CXSJ2B"},
        {"阿", "A"}, // first level-1 character
        {"座", "Z"}, // last level-1 character
        {"亍", ""},  // level-2 character vanishes
        {"a中b", "aZb"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pinyinInitials(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TextRoutinesTest, GbkRoundTripAndBrokenInput) {
    const QString text = QStringLiteral("藏书 Library");
    EXPECT_EQ(fromGbk(toGbk(text)), text);
    EXPECT_EQ(toGbk(QStringLiteral("中")).toHex(), QByteArray("d6d0"));
    const QString cut = fromGbk(QByteArray("\xd6\xd0\xd6", 3)); // a character cut in half
    EXPECT_TRUE(cut.startsWith(QStringLiteral("中")));
}

TEST(TextRoutinesTest, SplitAtKeepsTrailingPiece) {
    EXPECT_EQ(splitAt(QStringLiteral("a,b,"), u','), (QStringList{"a", "b", ""}));
    EXPECT_EQ(splitAt(QStringLiteral("abc"), u','), QStringList{"abc"});
}

TEST(PasswordTest, HashesAndUpgradesLegacyPlainText) {
    const QString stored = hashPassword(QStringLiteral("61730"));
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_NE(stored, hashPassword(QStringLiteral("61730"))); // salted
    EXPECT_TRUE(checkPassword(QStringLiteral("61730"), stored).ok);
    EXPECT_FALSE(checkPassword(QStringLiteral("61731"), stored).ok);
    EXPECT_FALSE(checkPassword(QStringLiteral("61730"), stored).needsRehash);
    const auto legacy = checkPassword(QStringLiteral("abc"), QStringLiteral("abc"));
    EXPECT_TRUE(legacy.ok);
    EXPECT_TRUE(legacy.needsRehash);
    EXPECT_FALSE(checkPassword(QString(), QString()).ok); // an empty stored password never logs in
    EXPECT_FALSE(checkPassword(QStringLiteral("x"), QStringLiteral("pbkdf2-sha256$0$$")).ok);
}
