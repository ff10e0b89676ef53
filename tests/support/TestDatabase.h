#pragma once
#include "core/Database.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable QString values in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace cangshu::test {

// The engines a database test runs on: SQLite always, PostgreSQL when CANGSHU_TEST_PG holds a
// libpq-style connection string ("host=/tmp/pg port=5432 user=postgres dbname=postgres").
std::vector<Engine> engines();
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

// An empty database of the engine: SQLite in memory, or a freshly emptied schema in this
// test process's own PostgreSQL database.
std::unique_ptr<Database> openEmpty(Engine engine);

// The PostgreSQL connection of this test process's own database (for tests that open
// the database the way the application does).
PostgresParams postgresParams();

// A folder removed when the test process ends.
QString temporaryFolder();

} // namespace cangshu::test

// Declares a test suite that runs once per engine:
//   class FooTest : public cangshu::test::EngineTest {};
//   TEST_P(FooTest, Works) { db().execute(...); }
//   CANGSHU_ENGINES(FooTest);
namespace cangshu::test {
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override { m_db = openEmpty(GetParam()); }
    void TearDown() override { m_db.reset(); }
    Database& db() { return *m_db; }
    std::unique_ptr<Database> m_db;
};
} // namespace cangshu::test

#define CANGSHU_ENGINES(Suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(cangshu::test::engines()),        \
                             cangshu::test::engineName)
