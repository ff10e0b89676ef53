#include "shell/Commands.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace cangshu;

TEST(CommandTable, IdsAreUniqueAndEveryToolBarEntryNamesACommand) {
    const CommandTable& t = CommandTable::instance();
    QSet<QString> ids;
    for (const Command& c : t.commands())
        EXPECT_TRUE(!ids.contains(c.id) && (ids.insert(c.id), true)) << c.id.toStdString();
    ASSERT_EQ(t.toolBar().size(), 15);
    for (const ToolBarEntry& e : t.toolBar())
        for (const QString& id : e.commands)
            EXPECT_NE(t.find(id), nullptr) << id.toStdString();
}

TEST(CommandTable, FunctionKeysRunTheCirculationAndEntryCommandsInOrder) {
    const QStringList expected = {"书籍借阅", "书籍续借", "书籍归还", "期刊借阅",
                                  "期刊续借", "期刊归还", "新增书籍", "新增期刊",
                                  "新增读者", "书籍注销", "期刊注销", "丢失罚款"};
    for (int k = 1; k <= 12; ++k) {
        const Command* c = CommandTable::instance().forFunctionKey(k);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->id, expected[k - 1]);
        EXPECT_EQ(c->gate, Gate::BasicOperations);
    }
}

TEST(CommandTable, GatesThatDifferFromTheirMenu) {
    const CommandTable& t = CommandTable::instance();
    EXPECT_EQ(t.find(QStringLiteral("读者充押扣金查询"))->gate, Gate::Management);
    EXPECT_EQ(t.find(QStringLiteral("读者充押扣金查询"))->menu, QStringLiteral("系统查询"));
    EXPECT_EQ(t.find(QStringLiteral("书籍类型统计"))->gate, Gate::None);
    EXPECT_EQ(t.find(QStringLiteral("今日归还期刊"))->gate, Gate::Queries);
    EXPECT_EQ(t.find(QStringLiteral("旧数据清理"))->gate, Gate::Management);
    EXPECT_EQ(t.find(QStringLiteral("期刊资料分类统计/按出版社名统计"))->gate, Gate::Statistics);
    Rights r;
    r.queries = true;
    EXPECT_TRUE(gateOpen(Gate::Queries, r));
    EXPECT_FALSE(gateOpen(Gate::Management, r));
    EXPECT_TRUE(gateOpen(Gate::None, Rights{}));
}

TEST(Skins, EveryConfiguredSkinHasAStyleSheetAndNoSkinHasNone) {
    const QString noFolder = QStringLiteral("/nonexistent");
    for (const Skin& s : skins()) {
        EXPECT_FALSE(loadSkinStyleSheet(noFolder, s.file).isEmpty()) << s.file.toStdString();
        EXPECT_EQ(skinItemForFile(s.file), s.item);
    }
    EXPECT_TRUE(loadSkinStyleSheet(noFolder, QStringLiteral("无")).isEmpty());
    EXPECT_TRUE(loadSkinStyleSheet(noFolder, QStringLiteral("../../etc/passwd")).isEmpty());
    EXPECT_EQ(CommandTable::instance().skinCommands().size(), 8);
}
