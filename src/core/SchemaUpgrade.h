#pragma once
#include "Database.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cangshu {

// One thing the upgrade looked at: a table, a column, a column type, an index or the cover
// folder, and what became of it.
struct UpgradeItem {
    enum class Outcome { Applied, AlreadyThere, Failed };

    int step = 0;   // 1 to 29; 0 for the indexes and the cover folder
    QString target; // "书籍资料.馆藏地", "申请归还", "bookpic/x", ...
    Outcome outcome = Outcome::AlreadyThere;
    QString error; // the engine's text when it failed

    QString describe() const;
};

struct UpgradeReport {
    QList<UpgradeItem> items;

    // True when nothing failed: only then may the caller say "升级成功！".
    bool ok() const;
    QList<UpgradeItem> applied() const;
    QList<UpgradeItem> failures() const;
};

// Brings a database made by an earlier release up to the current schema: the 29 steps,
// each guarded on its own (a missing column is added on its own, with its back-fill only
// when it was added now), then the indexes of the current schema and the folder
// bookpic/x under the home (skipped when homeRoot is empty). Safe to run any number of
// times: what is already there is left alone.
UpgradeReport upgradeSchema(Database& db, const QString& homeRoot);

} // namespace cangshu
