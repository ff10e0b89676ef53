#include "Maintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDriver>
#include <QStandardPaths>

namespace cangshu {

namespace {

const QByteArray kSqliteMagic("SQLite format 3\0", 16);
const QByteArray kPgDumpMagic("PGDMP");
// Every database of ours has these; a file without them is not one of our backups.
const QStringList kMarkTables = {QStringLiteral("管理员"), QStringLiteral("系统信息")};

QByteArray fileStart(const QString& file, int n) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(n);
}

struct ToolRun {
    bool ok = false;
    QByteArray output;
    QString error;
};

// Runs one of the PostgreSQL client programs against the connected database.
ToolRun runPgTool(const Database& db, const QString& program, QStringList args) {
    ToolRun r;
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) {
        r.error = QStringLiteral("找不到程序 %1").arg(program);
        return r;
    }
    const QSqlDatabase h = db.handle();
    QStringList conn;
    if (!h.hostName().isEmpty())
        conn << QStringLiteral("--host=") + h.hostName();
    if (h.port() > 0)
        conn << QStringLiteral("--port=") + QString::number(h.port());
    if (!h.userName().isEmpty())
        conn << QStringLiteral("--username=") + h.userName();
    conn << QStringLiteral("--no-password");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!h.password().isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), h.password());
    p.setProcessEnvironment(env);
    p.start(exe, conn + args);
    if (!p.waitForFinished(30 * 60 * 1000)) {
        p.kill();
        p.waitForFinished();
        r.error = QStringLiteral("%1 未能完成").arg(program);
        return r;
    }
    r.output = p.readAllStandardOutput();
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!r.ok)
        r.error = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

// Moves the finished part file onto the day's name, replacing an older backup of that day.
bool putInPlace(const QString& part, const QString& target, QString* error) {
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        *error = QStringLiteral("无法覆盖文件 %1").arg(target);
        return false;
    }
    if (!QFile::rename(part, target)) {
        *error = QStringLiteral("无法写入文件 %1").arg(target);
        return false;
    }
    return true;
}

QString quoted(const QString& identifier) {
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

Outcome failed(const QString& reason) {
    return Outcome::refused(QStringLiteral("还原失败：") + reason);
}

Outcome notOurs() {
    return Outcome::refused(QStringLiteral("不是本系统的备份文件！"));
}

Outcome restoreSqlite(Database& db, const QString& file) {
    if (fileStart(file, 16) != kSqliteMagic)
        return notOurs();
    {
        QString error;
        auto probe = Database::openSqlite(file, false, &error);
        if (!probe)
            return notOurs();
        for (const QString& t : kMarkTables)
            if (!probe->hasTable(t))
                return notOurs();
    }
    QString error;
    if (!db.tryExecute(QStringLiteral("ATTACH DATABASE ? AS [backup_source]"), {file}, &error))
        return failed(error);
    Outcome result = Outcome::done(QStringLiteral("还原成功！"));
    try {
        Transaction tx(db);
        const auto live = db.rows(QStringLiteral("select [name] from main.sqlite_master where "
                                                 "[type]='table' and [name] not like 'sqlite_%'"));
        for (const QSqlRecord& r : live)
            db.execute(QStringLiteral("DROP TABLE main.") + quoted(r.value(0).toString()));
        // Tables first, then their rows, then the indexes (faster than indexing row by row).
        const auto objects = db.rows(QStringLiteral(
            "select [type],[name],[sql] from backup_source.sqlite_master where [sql] is not null "
            "and [name] not like 'sqlite_%' and [type] in ('table','index') "
            "order by case [type] when 'table' then 0 else 1 end"));
        for (const QSqlRecord& r : objects) {
            const QString type = r.value(0).toString(), name = r.value(1).toString();
            db.execute(r.value(2).toString());
            if (type == QLatin1String("table"))
                db.execute(QStringLiteral("INSERT INTO main.%1 SELECT * FROM backup_source.%1")
                               .arg(quoted(name)));
        }
        tx.commit();
    } catch (const DatabaseError& e) {
        result = failed(e.message());
    }
    db.tryExecute(QStringLiteral("DETACH DATABASE [backup_source]"));
    return result;
}

Outcome restorePostgres(Database& db, const QString& file) {
    if (fileStart(file, 5) != kPgDumpMagic)
        return notOurs();
    const ToolRun list =
        runPgTool(db, QStringLiteral("pg_restore"), {QStringLiteral("--list"), file});
    if (!list.ok)
        return notOurs();
    const QString toc = QString::fromUtf8(list.output);
    for (const QString& t : kMarkTables)
        if (!toc.contains(QStringLiteral(" TABLE public ") + t + u' '))
            return notOurs();
    const QString database = db.handle().databaseName();
    // One transaction: on the first error everything is rolled back.
    const ToolRun run =
        runPgTool(db, QStringLiteral("pg_restore"),
                  {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                   QStringLiteral("--single-transaction"), QStringLiteral("--exit-on-error"),
                   QStringLiteral("--no-owner"), QStringLiteral("--no-privileges"),
                   QStringLiteral("--dbname=") + database, file});
    if (!run.ok)
        return failed(run.error);
    return Outcome::done(QStringLiteral("还原成功！"));
}

} // namespace

QString exitAnswerCaption(ExitAnswer answer) {
    switch (answer) {
    case ExitAnswer::BackupAndExit:
        return QStringLiteral("备份退出");
    case ExitAnswer::Exit:
        return QStringLiteral("直接退出");
    case ExitAnswer::SwitchOperator:
        return QStringLiteral("切换用户");
    case ExitAnswer::Cancel:
        return QStringLiteral("取消退出");
    }
    return {};
}

BackupResult backupDatabase(const Database& db, const QString& folder, const QDate& day) {
    BackupResult r;
    auto fail = [&r](const QString& reason) {
        r.ok = false;
        r.message = QStringLiteral("备份失败：") + reason;
        return r;
    };
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("无法建立文件夹 %1").arg(folder));
    const QString base = QDir(folder).absoluteFilePath(day.toString(QStringLiteral("yyyy-MM-dd")));
    r.path = base + (db.isPostgres() ? QStringLiteral(".dump") : QStringLiteral(".sqlite"));
    const QString part = r.path + QStringLiteral(".part");
    QFile::remove(part);

    if (db.isPostgres()) {
        const ToolRun run =
            runPgTool(db, QStringLiteral("pg_dump"),
                      {QStringLiteral("--format=custom"), QStringLiteral("--file=") + part,
                       QStringLiteral("--dbname=") + db.handle().databaseName()});
        if (!run.ok) {
            QFile::remove(part);
            return fail(run.error);
        }
    } else {
        QString error;
        if (!db.tryExecute(QStringLiteral("VACUUM INTO ?"), {part}, &error)) {
            QFile::remove(part);
            return fail(error);
        }
    }
    QString error;
    if (!putInPlace(part, r.path, &error)) {
        QFile::remove(part);
        return fail(error);
    }
    r.ok = true;
    r.message = QStringLiteral("备份成功！\n") + QDir::toNativeSeparators(r.path);
    return r;
}

Outcome restoreDatabase(Database& db, const QString& file) {
    if (!QFileInfo(file).isFile())
        return failed(QStringLiteral("找不到文件 %1").arg(file));
    return db.isPostgres() ? restorePostgres(db, file) : restoreSqlite(db, file);
}

int clearReturnHistory(Database& db, HistoryKind kind, const QDate& from, const QDate& to) {
    const QString table = kind == HistoryKind::Books ? QStringLiteral("书籍归还清单")
                                                     : QStringLiteral("期刊归还清单");
    return db.execute(
        QStringLiteral("delete from [%1] where [归还日期]>=? and [归还日期]<=?").arg(table),
        {from, to});
}

} // namespace cangshu
