#include "BenchHome.h"

#include "core/Config.h"
#include "core/Generate.h"
#include "core/Schema.h"
#include "core/Seed.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace cangshu::bench {

namespace {

// A library made before an index joined the schema gets it, so that runs measure the
// current schema; an index that is there costs nothing.
void addMissingIndexes(const Home& home) {
    QString error;
    auto db = Database::openSqlite(home.databaseFile(), false, &error);
    if (!db)
        return;
    for (const TableDef& t : schemaTables()) {
        if (!db->hasTable(t.name))
            continue;
        for (const IndexDef& i : t.indexes)
            if (std::all_of(i.columns.cbegin(), i.columns.cend(),
                            [&](const QString& c) { return db->hasColumn(t.name, c); }))
                db->execute(createIndexSql(t, i));
    }
}

} // namespace

Home libraryHome(int books, int readers, int loans, int history) {
    QString base = qEnvironmentVariable("CANGSHU_BENCH_DIR");
    if (base.isEmpty())
        base = QStringLiteral("/tmp/cangshu-bench");
    const Home home(QStringLiteral("%1/b%2-r%3-l%4-h%5")
                        .arg(base)
                        .arg(books)
                        .arg(readers)
                        .arg(loans)
                        .arg(history));
    if (QFileInfo::exists(home.databaseFile())) {
        addMissingIndexes(home);
        return home;
    }
    QDir().mkpath(home.path(QStringLiteral("set_ini")));
    QDir().mkpath(home.path(QStringLiteral("excel")));
    Config c = Config::defaults();
    c.remote.driver = QStringLiteral("none");
    c.save(home.iniFile());
    std::fprintf(stderr, "making a library of %d books in %s ...\n", books,
                 qPrintable(home.root()));
    const QString temp = home.databaseFile() + QStringLiteral(".part");
    QFile::remove(temp);
    {
        QString error;
        auto db = Database::openSqlite(temp, true, &error);
        {
            Transaction tx(*db);
            createSchema(*db);
            seedNewDatabase(*db);
            tx.commit();
        }
        GenerateOptions o;
        o.books = books;
        o.readers = readers;
        o.loans = loans;
        o.history = history;
        generateData(*db, o, {});
        db->execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::rename(temp, home.databaseFile());
    return home;
}

} // namespace cangshu::bench
