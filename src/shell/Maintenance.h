#pragma once
#include "core/Outcome.h"
#include "core/Database.h"

#include <QDate>
#include <QString>

namespace cangshu {

// The exit dialog's answers, in the order of its buttons.
enum class ExitAnswer { BackupAndExit, Exit, SwitchOperator, Cancel };
QString exitAnswerCaption(ExitAnswer answer); // "备份退出", "直接退出", "切换用户", "取消退出"

struct BackupResult {
    bool ok = false;
    QString path;    // the backup file written
    QString message; // the text for the operator
};

// A consistent copy of the live database into <folder>/<yyyy-mm-dd>.sqlite (SQLite, VACUUM
// INTO) or <folder>/<yyyy-mm-dd>.dump (PostgreSQL, pg_dump of the connected database). One
// file per day: a second backup of the same day replaces the first, and only once it is
// complete. The folder is created when missing.
BackupResult backupDatabase(const Database& db, const QString& folder, const QDate& day);

// Restores a file written by backupDatabase into the live database. A file that is not such
// a backup is refused before anything changes; the restore itself lands whole or not at
// all. Messages: "还原成功！", "不是本系统的备份文件！", "还原失败：<reason>".
Outcome restoreDatabase(Database& db, const QString& file);

// Old return history: removes the returns of books (书籍归还清单) or periodicals
// (期刊归还清单) with 归还日期 between from and to, both included; returns the rows removed.
enum class HistoryKind { Books, Periodicals };
int clearReturnHistory(Database& db, HistoryKind kind, const QDate& from, const QDate& to);

} // namespace cangshu
