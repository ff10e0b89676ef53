#include "Deposits.h"

namespace cangshu {

namespace {
const QString notFound = QStringLiteral("没有找到该读者，请重新输入读者编号！");
}

ReaderCheck lookupReaderForDeposit(const Database& db, const QString& numberText) {
    std::optional<Reader> reader = findReader(db, numberText.trimmed());
    if (!reader)
        return {Outcome::refused(notFound, focus::reader), {}};
    return {Outcome::done(), std::move(reader)};
}

Outcome checkDeposit(const DepositRequest& r, Money* amount) {
    if (r.readerNumber.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    const QString text = r.amountText.trimmed();
    if (text.isEmpty() || text == QStringLiteral("0"))
        return Outcome::refused(QStringLiteral("请输入充扣金额！"), focus::amount);
    const std::optional<Money> value = Money::parse(text);
    if (!value || value->isNegative())
        return Outcome::refused(QStringLiteral("金额输入错误！"), focus::amount);
    if (amount)
        *amount = r.direction == DepositDirection::Deduct ? -*value : *value;
    return Outcome::done();
}

Outcome recordDeposit(Database& db, const DepositRequest& r) {
    Money amount;
    const Outcome checked = checkDeposit(r, &amount);
    if (!checked.ok)
        return checked;
    const QString number = r.readerNumber.trimmed();
    Transaction tx(db);
    if (db.execute(QStringLiteral("update [读者资料] set [押金金额]=coalesce([押金金额],0)+? "
                                  "where [读者编号]=?"),
                   {amount.toVariant(), number}) != 1)
        return Outcome::refused(notFound, focus::reader);
    const std::optional<Reader> reader = findReader(db, number);
    db.execute(
        QStringLiteral("insert into [读者充押金] ([读者编号], [读者姓名], [读者类型], "
                       "[充押金额], [充值日期], [操作员], [备注]) values (?, ?, ?, ?, ?, ?, ?)"),
        {reader->number, reader->name, reader->type, amount.toVariant(),
         r.date.isValid() ? r.date : db.today(), r.operatorName, r.note});
    tx.commit();
    return Outcome::done(QStringLiteral("操作成功！"));
}

} // namespace cangshu
