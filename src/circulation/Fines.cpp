#include "Fines.h"

namespace cangshu {

ReaderCheck lookupReaderForFine(const Database& db, const QString& numberText) {
    const QString number = numberText.trimmed();
    if (number.isEmpty())
        return {Outcome::refused(QStringLiteral("请输入读者编号！"), focus::reader), {}};
    std::optional<Reader> reader = findReader(db, number);
    if (!reader)
        return {Outcome::refused(QStringLiteral("没有找到该读者编号！"), focus::reader), {}};
    return {Outcome::done(), std::move(reader)};
}

Outcome checkFine(const FineRequest& r, Money* amount) {
    if (r.readerNumber.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    const QString text = r.amountText.trimmed();
    if (text.isEmpty() || text == QStringLiteral("0"))
        return Outcome::refused(QStringLiteral("请输入罚款金额！"), focus::amount);
    const std::optional<Money> value = Money::parse(text);
    if (!value || value->isNegative())
        return Outcome::refused(QStringLiteral("罚款金额输入错误！"), focus::amount);
    if (amount)
        *amount = *value;
    return Outcome::done();
}

Outcome recordFine(Database& db, const FineRequest& r) {
    Money amount;
    const Outcome checked = checkFine(r, &amount);
    if (!checked.ok)
        return checked;
    const std::optional<Reader> reader = findReader(db, r.readerNumber.trimmed());
    if (!reader)
        return Outcome::refused(QStringLiteral("请先输入读者编号！"), focus::reader);
    db.execute(QStringLiteral("insert into [丢失罚款] ([读者编号], [读者姓名], [读者性别], "
                              "[读者类型], [罚款金额], [书籍名称], [罚款日期], [备注]) "
                              "values (?, ?, ?, ?, ?, ?, ?, ?)"),
               {reader->number, reader->name, reader->gender, reader->type, amount.toVariant(),
                r.itemTitle, r.date.isValid() ? r.date : db.today(), r.note});
    return Outcome::done(QStringLiteral("操作成功！"));
}

} // namespace cangshu
