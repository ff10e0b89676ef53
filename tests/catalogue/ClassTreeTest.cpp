#include "catalogue/ClassTree.h"
#include "CatalogueFixture.h"
#include "core/Gbk.h"
#include "core/Home.h"

#include <QDir>
#include <QFile>

namespace cangshu::test {
namespace {

class ClassTreeTest : public CatalogueTest {
protected:
    // I (top) with I2 < I21, and the siblings stored out of order; K with a "*" in its name.
    void addSampleTree() {
        addClass(0, QStringLiteral("K"), QStringLiteral("历史*地理"));
        const qint64 i = addClass(0, QStringLiteral("I"), QStringLiteral("文学"));
        addClass(i, QStringLiteral("I3"), QStringLiteral("亚洲文学"));
        const qint64 i2 = addClass(i, QStringLiteral("I2"), QStringLiteral("中国文学"));
        addClass(i2, QStringLiteral("I21"), QStringLiteral("作品集"));
    }
    QString tempHome() {
        const QString root = temporaryFolder() + QStringLiteral("/home-%1").arg(++m_homes);
        QDir().mkpath(root);
        return root;
    }
    int m_homes = 0;
};

TEST_P(ClassTreeTest, CacheFileIsGbkCrLfWithOneTabPerLevelAndReadsBack) {
    addSampleTree();
    const QList<ClassNode> tree = buildClassTree(db(), ClassScheme::books());
    const QByteArray bytes = treeCacheBytes(tree);
    EXPECT_EQ(bytes, toGbk(QStringLiteral("I*文学\r\n\tI2*中国文学\r\n\t\tI21*作品集\r\n"
                                          "\tI3*亚洲文学\r\nK*历史*地理\r\n")));
    const QList<ClassNode> back = parseTreeCache(bytes);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0].children[0].children[0].text(), QStringLiteral("I21*作品集"));
    EXPECT_EQ(back[0].children[0].children[0].id, 0);
    // The first "*" splits: the name keeps its own asterisk.
    EXPECT_EQ(back[1].number, QStringLiteral("K"));
    EXPECT_EQ(back[1].name, QStringLiteral("历史*地理"));
    EXPECT_EQ(treeCacheBytes(back), bytes);
    // Leading spaces count as depth too.
    const QList<ClassNode> spaced =
        parseTreeCache(toGbk(QStringLiteral("A*a\r\n  B*b\r\nC*c\r\n")));
    ASSERT_EQ(spaced.size(), 2);
    EXPECT_EQ(spaced[0].children.size(), 1);
}

TEST_P(ClassTreeTest, DisplayTreeComesFromTheCacheUntilItIsRenewed) {
    addSampleTree();
    const Home home(tempHome());
    const QString file = home.path(QStringLiteral("excel/tree.txt"));
    EXPECT_EQ(loadClassTreeForDisplay(db(), home, ClassScheme::books()).size(), 2);
    ASSERT_TRUE(QFile::exists(file));
    addClass(0, QStringLiteral("A"), QStringLiteral("马列主义"));
    EXPECT_EQ(loadClassTreeForDisplay(db(), home, ClassScheme::books()).size(), 2);
    ASSERT_TRUE(renewTreeCache(db(), home, ClassScheme::books()));
    EXPECT_EQ(loadClassTreeForDisplay(db(), home, ClassScheme::books()).size(), 3);
    // The audio-visual tree has its own table and file.
    addClass(0, QStringLiteral("J"), QStringLiteral("影视"), QStringLiteral("音像制品类型"));
    const auto av = loadClassTreeForDisplay(db(), home, ClassScheme::audioVisual());
    ASSERT_EQ(av.size(), 1);
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("excel/treeyx.txt"))));
}

TEST_P(ClassTreeTest, MaintenanceAddsChangesAndDeletesWholeBranches) {
    ClassTreeStore store(db(), ClassScheme::books());
    EXPECT_EQ(store.addClass(0, QStringLiteral("  "), QStringLiteral("x")), 0);
    const qint64 top = store.addClass(0, QStringLiteral(" T "), QStringLiteral("顶"));
    const qint64 a = store.addClass(top, QStringLiteral("T1"), QStringLiteral("一"));
    const qint64 b = store.addClass(a, QStringLiteral("T11"), QStringLiteral("二"));
    store.addClass(b, QStringLiteral("T111"), QStringLiteral("三"));
    const qint64 other = store.addClass(0, QStringLiteral("U"), QStringLiteral("另"));
    EXPECT_EQ(store.parentOf(b), a);
    EXPECT_TRUE(store.changeClass(a, QStringLiteral("T1 "), QStringLiteral("壹")));
    EXPECT_FALSE(store.changeClass(a, QStringLiteral("T1"), QStringLiteral(" ")));
    EXPECT_EQ(buildClassTree(db(), ClassScheme::books())[0].children[0].text(),
              QStringLiteral("T1*壹"));

    EXPECT_EQ(store.deleteBranch(top), 4);
    const auto tree = buildClassTree(db(), ClassScheme::books());
    ASSERT_EQ(tree.size(), 1);
    EXPECT_EQ(tree[0].id, other);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [图书类型]")), 1);
}

TEST(ClassDialogCheck, NamesTheEmptyEdit) {
    EXPECT_TRUE(ClassTreeStore::checkDialog(QStringLiteral("A"), QStringLiteral("a")).ok);
    const Outcome noNumber = ClassTreeStore::checkDialog({}, QStringLiteral("a"));
    EXPECT_EQ(noNumber.message, QStringLiteral("分类号和分类名必须填写！"));
    EXPECT_EQ(noNumber.focus, QStringLiteral("number"));
    EXPECT_EQ(ClassTreeStore::checkDialog(QStringLiteral("A"), {}).focus, QStringLiteral("name"));
}

CANGSHU_ENGINES(ClassTreeTest);

} // namespace
} // namespace cangshu::test
