#include "core/Startup.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

using namespace cangshu;

namespace {

const QDate kToday(2024, 5, 10);

// A home with a configuration (defaults, then the given overrides) and, optionally, an empty
// SQLite library file.
Home makeHome(bool withDatabase, const std::function<void(Config&)>& adjust = {}) {
    const Home home(test::temporaryFolder());
    QDir().mkpath(home.path(QStringLiteral("set_ini")));
    QDir().mkpath(home.path(QStringLiteral("excel")));
    Config c = Config::defaults();
    c.remote.driver = QStringLiteral("none");
    if (adjust)
        adjust(c);
    c.save(home.iniFile());
    if (withDatabase) {
        QString error;
        auto db = Database::openSqlite(home.databaseFile(), true, &error);
        db->execute(
            QStringLiteral("create table [书籍资料] ([ID] INTEGER PRIMARY KEY, [在馆状态] TEXT)"));
        db->execute(
            QStringLiteral("create table [读者预定] ([书籍索引] INTEGER, [终止日期] DATE)"));
    }
    return home;
}

} // namespace

TEST(StartupTest, MissingConfigurationStopsEverything) {
    const Home home(test::temporaryFolder());
    const StartupState s = startUp(home);
    EXPECT_FALSE(s.iniOk);
    EXPECT_EQ(s.errors, QStringList{QStringLiteral("INI文件连接错误！")});
    EXPECT_FALSE(s.library);
}

TEST(StartupTest, MissingOrUnknownDatabaseIsAConnectionErrorAndCreatesNothing) {
    const Home noFile = makeHome(false);
    StartupState s = startUp(noFile);
    EXPECT_EQ(s.errors, QStringList{QStringLiteral("数据库连接错误！")});
    EXPECT_FALSE(QFile::exists(noFile.databaseFile()));

    const Home net2 = makeHome(true, [](Config& c) { c.net = 2; });
    s = startUp(net2);
    EXPECT_EQ(s.errors, QStringList{QStringLiteral("数据库连接错误！")});
    EXPECT_FALSE(s.library);

    const Home notSqlite = makeHome(false);
    QFile f(notSqlite.databaseFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a database file, just text that happens to sit there");
    f.close();
    EXPECT_EQ(startUp(notSqlite).errors, QStringList{QStringLiteral("数据库连接错误！")});
}

TEST(StartupTest, LocalFileWithRemoteServiceOfflineUsesFallbackZ3950) {
    const Home home = makeHome(true, [](Config& c) {
        c.remote.driver = QStringLiteral("QSQLITE");
        c.remote.file = QStringLiteral("missing.db");
    });
    const StartupState s = startUp(home, kToday);
    ASSERT_TRUE(s.library);
    EXPECT_TRUE(s.iniOk);
    EXPECT_TRUE(s.errors.isEmpty()) << s.errors.join(u'|').toStdString();
    EXPECT_EQ(s.library->engine(), Engine::SQLite);
    EXPECT_EQ(s.library->today(), kToday);
    EXPECT_FALSE(s.remoteOnline);
    EXPECT_EQ(s.z3950.port, QStringLiteral("210"));
    EXPECT_EQ(s.z3950.database, QStringLiteral("biucc"));
    EXPECT_EQ(s.z3950.password, QStringLiteral("tqkwrpsn768"));
}

TEST(StartupTest, ReachableRemoteServiceGivesItsZ3950SettingsTrimmed) {
    const Home home = makeHome(true, [](Config& c) {
        c.remote.driver = QStringLiteral("QSQLITE");
        c.remote.file = QStringLiteral("remote.db");
    });
    {
        QString error;
        auto remote = Database::openSqlite(home.path(QStringLiteral("remote.db")), true, &error);
        remote->execute(QStringLiteral(
            "create table z39 (ip1 TEXT, db1 TEXT, port1 TEXT, user1 TEXT, pass1 TEXT, "
            "ip2 TEXT, db2 TEXT, port2 TEXT, user2 TEXT, pass2 TEXT)"));
        remote->execute(QStringLiteral("insert into z39 values (' 127.0.0.1 ','Default ',' "
                                       "9999','u1 ',' p1','','','','','')"));
    }
    const StartupState s = startUp(home);
    EXPECT_TRUE(s.remoteOnline);
    EXPECT_EQ(s.z3950.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(s.z3950.port, QStringLiteral("9999"));
    EXPECT_EQ(s.z3950.database, QStringLiteral("Default"));
    EXPECT_EQ(s.z3950.user, QStringLiteral("u1"));
    EXPECT_EQ(s.z3950.password, QStringLiteral("p1"));
}

TEST(StartupTest, MasterCatalogueFailureIsReportedAndStartContinues) {
    const Home home = makeHome(true, [](Config& c) {
        c.cqb = 1;
        c.master.driver = QStringLiteral("QSQLITE");
        c.master.file = QStringLiteral("no-master.db");
    });
    const StartupState s = startUp(home);
    EXPECT_TRUE(s.library);
    EXPECT_EQ(s.errors, QStringList{QStringLiteral("超强版数据库连接错误！")});
}

TEST(StartupTest, ServerDatabaseFromConfiguration) {
    if (qEnvironmentVariableIsEmpty("CANGSHU_TEST_PG"))
        GTEST_SKIP() << "no PostgreSQL test server";
    const PostgresParams p = test::postgresParams();
    const Home home = makeHome(false, [&](Config& c) {
        c.net = 1;
        c.serverName = QStringLiteral("%1:%2").arg(p.host).arg(p.port);
        c.serverUser = p.user;
        c.databaseName = p.database;
    });
    {
        auto db = test::openEmpty(Engine::PostgreSQL);
        db->execute(
            QStringLiteral("create table [书籍资料] ([ID] INTEGER PRIMARY KEY, [在馆状态] TEXT)"));
        db->execute(
            QStringLiteral("create table [读者预定] ([书籍索引] INTEGER, [终止日期] DATE)"));
    }
    const StartupState s = startUp(home, kToday);
    ASSERT_TRUE(s.library) << s.errors.join(u'|').toStdString();
    EXPECT_EQ(s.library->engine(), Engine::PostgreSQL);
    EXPECT_TRUE(s.errors.isEmpty());
}

class ReservationExpiryTest : public test::EngineTest {};

TEST_P(ReservationExpiryTest, OnlyCopiesHeldByNothingButExpiredReservationsReturnToShelf) {
    db().execute(
        QStringLiteral("create table [书籍资料] ([ID] INTEGER PRIMARY KEY, [在馆状态] TEXT)"));
    db().execute(QStringLiteral("create table [读者预定] ([书籍索引] INTEGER, [终止日期] DATE)"));
    const struct {
        int id;
        const char* status;
        const char* statusAfter;
    } books[] = {
        {1, "已被预定", "在馆"},     // its only reservation ended yesterday
        {2, "已被预定", "已被预定"}, // ends today: still valid
        {3, "借出", "借出"},         // lent while an old reservation lingered: stays lent
        {4, "已被预定", "已被预定"}, // one expired, one still running
    };
    for (const auto& b : books)
        db().execute(QStringLiteral("insert into [书籍资料] values (?,?)"),
                     {b.id, QString::fromUtf8(b.status)});
    const QDate yesterday = kToday.addDays(-1);
    for (const auto& [id, end] : std::vector<std::pair<int, QDate>>{
             {1, yesterday}, {2, kToday}, {3, yesterday}, {4, yesterday}, {4, kToday.addDays(3)}})
        db().execute(QStringLiteral("insert into [读者预定] values (?,?)"), {id, end});
    db().execute(QStringLiteral("insert into [读者预定] values (NULL,?)"), {kToday.addDays(1)});

    db().clock().setToday(kToday);
    EXPECT_EQ(expireReservations(db()), 3);
    for (const auto& b : books)
        EXPECT_EQ(
            db().scalar(QStringLiteral("select [在馆状态] from [书籍资料] where [ID]=?"), {b.id})
                .toString(),
            QString::fromUtf8(b.statusAfter))
            << b.id;
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from [读者预定]")).toInt(), 3);
    EXPECT_EQ(expireReservations(db()), 0); // nothing left to expire today
}

CANGSHU_ENGINES(ReservationExpiryTest);
