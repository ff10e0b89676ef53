#include "queries/Layouts.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

using namespace cangshu;

namespace {
Home freshHome() {
    static int n = 0;
    const QString root = test::temporaryFolder() + QStringLiteral("/home%1").arg(++n);
    QDir().mkpath(root + QStringLiteral("/database"));
    return Home(root);
}
QList<ColumnLayout> sample(int width) {
    return {{QStringLiteral("读者编号"), QStringLiteral("编号"), width, true},
            {QStringLiteral("押金金额"), QStringLiteral("押金金额"), 60, false}};
}
QList<ColumnLayout> load(const QString& file) {
    QList<ColumnLayout> l;
    EXPECT_TRUE(loadLayout(file, &l)) << file.toStdString();
    return l;
}
} // namespace

TEST(Layouts, SavedLayoutIsTakenThenMovedBackAtTheEnd) {
    const Home home = freshHome();
    const LayoutFiles reader(home, QStringLiteral("reader"));
    QList<ColumnLayout> got;
    EXPECT_FALSE(reader.takeSavedLayout(&got));

    ASSERT_TRUE(saveLayout(reader.layoutFile(), sample(80)));
    ASSERT_TRUE(reader.takeSavedLayout(&got));
    EXPECT_EQ(got, sample(80));
    EXPECT_FALSE(QFile::exists(reader.layoutFile()));
    EXPECT_EQ(load(reader.workingFile()), sample(80));

    // The column chooser replaces the working file.
    ASSERT_TRUE(reader.saveWorking(sample(120)));
    EXPECT_EQ(load(reader.workingFile()), sample(120));

    restoreLayoutFiles(home);
    EXPECT_FALSE(QFile::exists(reader.workingFile()));
    EXPECT_EQ(load(reader.layoutFile()), sample(120));
}

TEST(Layouts, AMoveOntoAnExistingNameLeavesBothFiles) {
    const Home home = freshHome();
    const LayoutFiles book(home, QStringLiteral("book"));
    const LayoutFiles other(home, QStringLiteral("bookLendfind"));
    ASSERT_TRUE(saveLayout(book.layoutFile(), sample(1)));
    ASSERT_TRUE(saveLayout(book.workingFile(), sample(2)));
    ASSERT_TRUE(saveLayout(other.workingFile(), sample(3)));
    // A name that is not one of the ten is never moved.
    const LayoutFiles stray(home, QStringLiteral("stray"));
    ASSERT_TRUE(saveLayout(stray.workingFile(), sample(4)));

    restoreLayoutFiles(home);
    EXPECT_EQ(load(book.layoutFile()), sample(1));
    EXPECT_EQ(load(book.workingFile()), sample(2));
    EXPECT_EQ(load(other.layoutFile()), sample(3));
    EXPECT_TRUE(QFile::exists(stray.workingFile()));

    // On show the older layout stays in use and the working file is left alone.
    QList<ColumnLayout> got;
    ASSERT_TRUE(book.takeSavedLayout(&got));
    EXPECT_EQ(got, sample(1));
    EXPECT_EQ(load(book.workingFile()), sample(2));
    EXPECT_EQ(layoutNames().size(), 10);
}
