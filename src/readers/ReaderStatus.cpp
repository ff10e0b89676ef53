#include "ReaderStatus.h"

namespace cangshu {

namespace {

const QString notFound = QStringLiteral("没有找到该读者，请重新输入读者编号！");

struct LoanTable {
    const char16_t* table;
    const char16_t* refusal;
};

const LoanTable loanTables[] = {
    {u"书籍借阅清单", u"此读者有书籍未归还，不能删除！"},
    {u"期刊借阅清单", u"此读者有期刊未归还，不能删除！"},
    {u"音像借阅清单", u"此读者有音像制品未归还，不能删除！"},
};

} // namespace

ReaderCheck lookupReaderForStatus(const Database& db, const QString& numberText) {
    std::optional<Reader> reader = findReader(db, numberText.trimmed());
    if (!reader)
        return {Outcome::refused(notFound, focus::reader), {}};
    return {Outcome::done(), std::move(reader)};
}

QString openLoansRefusal(const Database& db, const QString& number) {
    for (const LoanTable& t : loanTables) {
        const QString table = QString::fromUtf16(t.table);
        if (!db.hasTable(table))
            continue;
        const int open =
            db.scalar(QStringLiteral("select count(*) from [%1] where [读者索引]=?").arg(table),
                      {number}, 0)
                .toInt();
        if (open > 0)
            return QString::fromUtf16(t.refusal);
    }
    return {};
}

Outcome applyStatusOperation(Database& db, StatusOperation operation, const QString& numberText,
                             const QString& shownName, const QString& shownType) {
    const QString number = numberText.trimmed();
    if (number.isEmpty() || shownName.isEmpty() || shownType.isEmpty())
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);

    Transaction tx(db);
    int changed = 0;
    QString success;
    switch (operation) {
    case StatusOperation::Lose:
    case StatusOperation::Found:
    case StatusOperation::Cancel: {
        const QString status = operation == StatusOperation::Lose    ? QStringLiteral("挂失")
                               : operation == StatusOperation::Found ? QStringLiteral("正常")
                                                                     : QStringLiteral("注销");
        changed =
            db.execute(QStringLiteral("update [读者资料] set [读者状态]=? where [读者编号]=?"),
                       {status, number});
        success = operation == StatusOperation::Lose    ? QStringLiteral("挂失操作成功！")
                  : operation == StatusOperation::Found ? QStringLiteral("解挂操作成功！")
                                                        : QStringLiteral("读者注销成功！");
        break;
    }
    case StatusOperation::Refund: {
        const QString refusal = openLoansRefusal(db, number);
        if (!refusal.isEmpty())
            return Outcome::refused(refusal, focus::reader);
        changed = db.execute(QStringLiteral("delete from [读者资料] where [读者编号]=?"), {number});
        success = QStringLiteral("读者退卡成功！");
        break;
    }
    }
    if (changed == 0)
        return Outcome::refused(notFound, focus::reader);
    tx.commit();
    return Outcome::done(success);
}

Outcome deleteReader(Database& db, const QString& number) {
    Transaction tx(db);
    const QString refusal = openLoansRefusal(db, number);
    if (!refusal.isEmpty())
        return Outcome::refused(refusal);
    if (db.execute(QStringLiteral("delete from [读者资料] where [读者编号]=?"), {number}) == 0)
        return Outcome::refused(notFound);
    tx.commit();
    return Outcome::done();
}

Outcome deleteMarkedReaders(Database& db) {
    Transaction tx(db);
    const auto marked = db.rows(QStringLiteral(
        "select [读者编号], [读者姓名] from [读者资料] where [选中]=TRUE order by [读者编号]"));
    for (const QSqlRecord& r : marked) {
        const QString number = r.value(0).toString();
        const QString refusal = openLoansRefusal(db, number);
        if (!refusal.isEmpty())
            return Outcome::refused(
                QStringLiteral("%1（%2）：%3").arg(number, r.value(1).toString(), refusal));
    }
    db.execute(QStringLiteral("delete from [读者资料] where [选中]=TRUE"));
    tx.commit();
    return Outcome::done();
}

} // namespace cangshu
