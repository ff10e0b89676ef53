#include "SafeSelect.h"

#include <QSqlError>

namespace cangshu {

bool isSingleStatement(const QString& sql) {
    QChar closer;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!closer.isNull()) {
            if (c == closer)
                closer = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"')
            closer = c;
        else if (c == u'[')
            closer = u']';
        else if (c == u';')
            return false;
        else if (c == u'-' && i + 1 < sql.size() && sql.at(i + 1) == u'-')
            return false;
        else if (c == u'/' && i + 1 < sql.size() && sql.at(i + 1) == u'*')
            return false;
    }
    // An unterminated literal would swallow whatever follows; refuse it too.
    return closer.isNull();
}

QSqlQuery runSelect(const Database& db, const QString& sql, const QVariantList& params,
                    bool forwardOnly) {
    const QString trimmed = sql.trimmed();
    if (!trimmed.startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
        !isSingleStatement(trimmed))
        throw DatabaseError(QStringLiteral("only one SELECT statement is allowed"), sql);

    QSqlDatabase handle = db.handle();
    const bool ownTransaction = db.isPostgres() && handle.transaction();
    if (ownTransaction) {
        QSqlQuery ro(handle);
        if (!ro.exec(QStringLiteral("SET TRANSACTION READ ONLY"))) {
            handle.rollback();
            throw DatabaseError(ro.lastError().text(), sql);
        }
    }
    QSqlQuery q(handle);
    // A forward-only PostgreSQL query streams its rows from the open transaction, which ends
    // below; a scrollable one holds them all on the client.
    q.setForwardOnly(forwardOnly && !ownTransaction);
    const QString text = db.dialect().rewrite(trimmed);
    bool ok = q.prepare(text);
    if (ok) {
        for (const QVariant& v : params)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok) {
        const QSqlError e = q.lastError();
        if (ownTransaction)
            handle.rollback();
        throw DatabaseError(e.databaseText().isEmpty() ? e.text() : e.databaseText(), sql);
    }
    // The PostgreSQL driver holds the whole result on the client, so ending the
    // transaction keeps the rows readable.
    if (ownTransaction)
        handle.commit();
    return q;
}

} // namespace cangshu
