#include "shell/Maintenance.h"
#include "ShellTables.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace cangshu;

class MaintenanceTest : public cangshu::test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createShellTables(db());
    }
    int count(const QString& table) {
        return db().scalar(QStringLiteral("select count(*) from [%1]").arg(table)).toInt();
    }
    void addReturn(const QString& table, const QDate& day) {
        db().execute(
            QStringLiteral("insert into [%1] ([读者索引],[归还日期]) values (?,?)").arg(table),
            {QStringLiteral("R1"), day});
    }
    const QDate day{2026, 3, 14};
};

TEST_P(MaintenanceTest, BackupThenRestoreRoundTripsTheRows) {
    test::addOperator(db(), QStringLiteral("li"), QStringLiteral("x"), false);
    addReturn(QStringLiteral("书籍归还清单"), day);
    const QString folder = test::temporaryFolder() + QStringLiteral("/backup");
    const BackupResult b = backupDatabase(db(), folder, day);
    ASSERT_TRUE(b.ok) << b.message.toStdString();
    EXPECT_TRUE(QFileInfo(b.path).fileName().startsWith(QStringLiteral("2026-03-14.")));
    EXPECT_TRUE(QFileInfo::exists(b.path));
    EXPECT_FALSE(QFileInfo::exists(b.path + QStringLiteral(".part")));

    // Changes after the backup, including a new table, are undone by the restore.
    db().execute(QStringLiteral("delete from [管理员] where [用户名]='li'"));
    db().execute(QStringLiteral("update [系统信息] set [图书馆名称]='改名'"));
    db().execute(QStringLiteral("delete from [书籍归还清单]"));

    const Outcome r = restoreDatabase(db(), b.path);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.message, QStringLiteral("还原成功！"));
    EXPECT_EQ(count(QStringLiteral("管理员")), 2);
    EXPECT_EQ(count(QStringLiteral("书籍归还清单")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select [图书馆名称] from [系统信息]")).toString(),
              QStringLiteral("藏书示范图书馆"));
    // Keys and indexes came back with the tables.
    db().execute(
        QStringLiteral("insert into [书籍归还清单] ([读者索引],[归还日期]) values ('R2', ?)"),
        {day});
    EXPECT_EQ(count(QStringLiteral("书籍归还清单")), 2);
}

TEST_P(MaintenanceTest, SecondBackupOfTheDayReplacesTheFirst) {
    const QString folder = test::temporaryFolder();
    const BackupResult first = backupDatabase(db(), folder, day);
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    test::addOperator(db(), QStringLiteral("late"), QStringLiteral("x"), false);
    const BackupResult second = backupDatabase(db(), folder, day);
    ASSERT_TRUE(second.ok) << second.message.toStdString();
    EXPECT_EQ(first.path, second.path);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);

    db().execute(QStringLiteral("delete from [管理员] where [用户名]='late'"));
    ASSERT_TRUE(restoreDatabase(db(), second.path).ok);
    EXPECT_EQ(count(QStringLiteral("管理员")), 2);
}

TEST_P(MaintenanceTest, BackupIntoAnUnusableFolderSaysSo) {
    const QString blocker = test::temporaryFolder() + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const BackupResult b = backupDatabase(db(), blocker + QStringLiteral("/backup"), day);
    EXPECT_FALSE(b.ok);
    EXPECT_TRUE(b.message.startsWith(QStringLiteral("备份失败："))) << b.message.toStdString();
}

TEST_P(MaintenanceTest, RestoreRefusesFilesThatAreNotOurBackupsAndChangesNothing) {
    const QString folder = test::temporaryFolder();
    const QString text = folder + QStringLiteral("/notes.sqlite");
    QFile t(text);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("SQLite format 3 but not really, PGDMP neither");
    t.close();

    // A genuine database of some other program: right format, none of our tables.
    const QString foreign = folder + QStringLiteral("/foreign.sqlite");
    {
        QString e;
        auto other = Database::openSqlite(foreign, true, &e);
        ASSERT_TRUE(other);
        other->execute(QStringLiteral("create table t (a int)"));
    }
    for (const QString& file : {text, foreign}) {
        const Outcome r = restoreDatabase(db(), file);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QStringLiteral("不是本系统的备份文件！"));
    }
    EXPECT_FALSE(restoreDatabase(db(), folder + QStringLiteral("/missing")).ok);
    EXPECT_EQ(count(QStringLiteral("管理员")), 1);
}

TEST_P(MaintenanceTest, ClearingReturnHistoryRemovesOnlyThePeriodOfTheChosenTable) {
    const QString books = QStringLiteral("书籍归还清单"),
                  periodicals = QStringLiteral("期刊归还清单");
    for (int offset : {-1, 0, 0, 1}) {
        addReturn(books, day.addDays(offset));
        addReturn(periodicals, day.addDays(offset));
    }
    EXPECT_EQ(clearReturnHistory(db(), HistoryKind::Books, day.addDays(1), day),
              0); // from after to
    EXPECT_EQ(clearReturnHistory(db(), HistoryKind::Books, day, day), 2);
    EXPECT_EQ(count(books), 2);
    EXPECT_EQ(count(periodicals), 4);
    EXPECT_EQ(clearReturnHistory(db(), HistoryKind::Periodicals, day.addDays(-1), day.addDays(1)),
              4);
    EXPECT_EQ(count(periodicals), 0);
}

CANGSHU_ENGINES(MaintenanceTest);

TEST(SqliteFileBackup, LiveFileInWalModeRoundTrips) {
    const QString folder = test::temporaryFolder();
    QString error;
    auto db = Database::openSqlite(folder + QStringLiteral("/excel.cab"), true, &error);
    ASSERT_TRUE(db) << error.toStdString();
    test::createShellTables(*db);
    const BackupResult b =
        backupDatabase(*db, folder + QStringLiteral("/backup"), QDate(2026, 1, 2));
    ASSERT_TRUE(b.ok) << b.message.toStdString();
    db->execute(QStringLiteral("delete from [管理员]"));
    const Outcome r = restoreDatabase(*db, b.path);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from [管理员]")).toInt(), 1);
    // The backup itself is a database of ours that opens on its own.
    auto copy = Database::openSqlite(b.path, false, &error);
    ASSERT_TRUE(copy) << error.toStdString();
    EXPECT_TRUE(copy->hasTable(QStringLiteral("系统信息")));
}
