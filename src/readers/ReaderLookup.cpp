#include "ReaderLookup.h"

namespace cangshu {

bool Reader::isExpired(const QDate& today) const {
    return unlimitedCard == QStringLiteral("否") && expiry.isValid() && expiry < today;
}

Reader readerFromRecord(const QSqlRecord& r) {
    Reader x;
    x.number = r.value(QStringLiteral("读者编号")).toString();
    x.name = r.value(QStringLiteral("读者姓名")).toString();
    x.gender = r.value(QStringLiteral("读者性别")).toString();
    x.type = r.value(QStringLiteral("读者类型")).toString();
    x.idNumber = r.value(QStringLiteral("身份证号")).toString();
    x.status = r.value(QStringLiteral("读者状态")).toString();
    x.unlimitedCard = r.value(QStringLiteral("无限制")).toString();
    x.expiry = r.value(QStringLiteral("截止日期")).toDate();
    x.deposit = Money::fromVariant(r.value(QStringLiteral("押金金额")));
    x.photo = r.value(QStringLiteral("Image")).toByteArray();
    x.lendCount = r.value(QStringLiteral("借阅次数")).toInt();
    return x;
}

std::optional<Reader> findReader(const Database& db, const QString& number) {
    const auto row =
        db.row(QStringLiteral("select * from [读者资料] where [读者编号]=?"), {number});
    if (!row)
        return std::nullopt;
    return readerFromRecord(*row);
}

std::optional<Reader> findReaderByIdNumber(const Database& db, const QString& idNumber) {
    const QString id = idNumber.trimmed();
    if (id.isEmpty())
        return std::nullopt;
    const auto row = db.row(
        QStringLiteral("select * from [读者资料] where [身份证号]=? order by [读者编号] limit 1"),
        {id});
    if (!row)
        return std::nullopt;
    return readerFromRecord(*row);
}

ReaderCheck vetReader(const Database& db, const QString& numberText, ExpiryRule expiry) {
    const QString number = numberText.trimmed();
    if (number.isEmpty())
        return {Outcome::refused(QStringLiteral("请输入读者编号！"), focus::reader), {}};
    std::optional<Reader> reader = findReader(db, number);
    if (!reader)
        return {Outcome::refused(QStringLiteral("没有找到该读者编号！"), focus::reader), {}};
    if (reader->status == QStringLiteral("挂失"))
        return {Outcome::refused(QStringLiteral("该读者已经挂失！"), focus::reader), {}};
    if (reader->status == QStringLiteral("注销"))
        return {Outcome::refused(QStringLiteral("该读者已经注销！"), focus::reader), {}};
    if (expiry == ExpiryRule::Checked && reader->isExpired(db.today()))
        return {Outcome::refused(QStringLiteral("该读者已经过期！"), focus::reader), {}};
    return {Outcome::done(), std::move(reader)};
}

} // namespace cangshu
