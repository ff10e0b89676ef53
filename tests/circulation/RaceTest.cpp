#include "circulation/LendingDesk.h"
#include "circulation/ReturnDesk.h"
#include "core/Schema.h"
#include "core/Seed.h"
#include "support/TestDatabase.h"

#include <atomic>
#include <thread>

using namespace cangshu;
using namespace cangshu::test;

// Several connections to one database (a SQLite file, or the PostgreSQL test database), as
// several workstations would have.
class RaceTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (GetParam() == Engine::SQLite)
            m_file = temporaryFolder() + QStringLiteral("/excel.cab");
        else
            openEmpty(Engine::PostgreSQL); // empties the test database
        m_db = open();
        createSchema(*m_db);
        seedNewDatabase(*m_db);
        m_db->execute(QStringLiteral("insert into [读者类型] ([类型名称], [书籍借出册数], "
                                     "[书籍借出天数], [书籍续借次数], [无限制]) "
                                     "values ('任意', 100, 30, 1, '否')"));
        for (const char* r : {"R1", "R2"})
            m_db->execute(QStringLiteral("insert into [读者资料] ([读者编号], [读者姓名], "
                                         "[读者类型], [借阅次数]) values (?, 'x', '任意', 0)"),
                          {QString::fromLatin1(r)});
    }
    std::unique_ptr<Database> open() const {
        QString error;
        auto db = GetParam() == Engine::SQLite ? Database::openSqlite(m_file, true, &error)
                                               : Database::openPostgres(postgresParams(), &error);
        if (!db)
            throw DatabaseError(error, {});
        db->clock().setToday({2024, 5, 10});
        return db;
    }
    LendingDesk desk(Database& db) {
        return LendingDesk(db, ItemKind::books(), loadDeskSettings(db, QStringLiteral("admin")));
    }
    int count(const QString& sql) { return m_db->scalar(sql, {}, 0).toInt(); }

    QString m_file;
    std::unique_ptr<Database> m_db;
};

TEST_P(RaceTest, TwoDesksPendingTheLastCopy) {
    auto other = open();
    for (bool oneToOne : {true, false}) {
        m_db->execute(QStringLiteral("update [参数设置] set [一对一]=?"), {oneToOne ? 1 : 0});
        const QString number = oneToOne ? QStringLiteral("COPY") : QStringLiteral("TITLE");
        m_db->execute(
            QStringLiteral("insert into [书籍资料] ([书籍编号], [书籍名称], [在馆状态], "
                           "[馆内剩余], [借出次数]) values (?, '最后一本', '在馆', 1, 0)"),
            {number});
        LendingDesk a = desk(*m_db), b = desk(*other);
        ASSERT_TRUE(a.identifyReader(QStringLiteral("R1")).ok);
        ASSERT_TRUE(b.identifyReader(QStringLiteral("R2")).ok);
        ASSERT_TRUE(a.addItem(ItemSearch::ByNumber, number).outcome.ok);
        ASSERT_TRUE(b.addItem(ItemSearch::ByNumber, number).outcome.ok);
        ASSERT_TRUE(a.commit().ok);
        const Outcome late = b.commit();
        EXPECT_FALSE(late.ok);
        EXPECT_EQ(late.message, number + QStringLiteral("《最后一本》：") +
                                    (oneToOne ? QStringLiteral("此书不在馆内或者不允许借出！")
                                              : QStringLiteral("此书馆内剩余不足！")));
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单]")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单] where [读者索引]='R2'")),
              0);
    EXPECT_EQ(count(QStringLiteral("select [馆内剩余] from [书籍资料] where [书籍编号]='TITLE'")),
              0);
    EXPECT_EQ(count(QStringLiteral("select [借阅次数] from [读者资料] where [读者编号]='R2'")), 0);
}

TEST_P(RaceTest, ConcurrentDesksNeverLendACopyTwice) {
    constexpr int books = 15;
    for (int i = 0; i < books; ++i)
        m_db->execute(QStringLiteral("insert into [书籍资料] ([书籍编号], [书籍名称], [在馆状态], "
                                     "[馆内剩余], [借出次数]) values (?, 't', '在馆', 1, 0)"),
                      {QStringLiteral("B%1").arg(i)});
    std::atomic<int> lent{0}, errors{0};
    auto work = [&](const QString& reader) {
        try {
            auto db = open();
            LendingDesk d = desk(*db);
            for (int i = 0; i < books; ++i) {
                if (!d.identifyReader(reader).ok)
                    continue;
                if (!d.addItem(ItemSearch::ByNumber, QStringLiteral("B%1").arg(i)).outcome.ok)
                    continue;
                if (d.commit().ok)
                    ++lent;
            }
        } catch (const DatabaseError&) {
            ++errors;
        }
    };
    std::thread t1(work, QStringLiteral("R1")), t2(work, QStringLiteral("R2"));
    t1.join();
    t2.join();
    EXPECT_EQ(errors.load(), 0);
    EXPECT_EQ(lent.load(), books);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍借阅清单]")), books);
    EXPECT_EQ(count(QStringLiteral("select count(distinct [书籍索引]) from [书籍借阅清单]")),
              books);
    EXPECT_EQ(count(QStringLiteral("select count(*) from [书籍资料] where [在馆状态]='借出'")),
              books);
}

INSTANTIATE_TEST_SUITE_P(Engines, RaceTest, ::testing::ValuesIn(engines()), engineName);
