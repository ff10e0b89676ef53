#include "ReaderRecord.h"

#include "Money.h"
#include "core/Numbering.h"
#include "core/TextRoutines.h"

namespace cangshu {

namespace {

const QString duplicate = QStringLiteral("读者编号已经存在！请重新输入！");

QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate));
}

QVariant imageOrNull(const QByteArray& bytes) {
    return bytes.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(bytes);
}

const QStringList& storedColumns() {
    static const QStringList columns{
        QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("拼音"),
        QStringLiteral("读者类型"), QStringLiteral("读者性别"), QStringLiteral("单位部门"),
        QStringLiteral("押金金额"), QStringLiteral("身份证号"), QStringLiteral("出生日期"),
        QStringLiteral("办证日期"), QStringLiteral("截止日期"), QStringLiteral("无限制"),
        QStringLiteral("联系电话"), QStringLiteral("电子邮件"), QStringLiteral("联系地址"),
        QStringLiteral("读者状态"), QStringLiteral("照片"),     QStringLiteral("Image"),
        QStringLiteral("备注信息")};
    return columns;
}

QVariantList storedValues(const ReaderRecord& r, const Money& deposit) {
    return {r.number,
            r.name,
            pinyinInitials(r.name.trimmed()),
            r.type,
            r.gender,
            r.department,
            deposit.toVariant(),
            r.idNumber,
            dateOrNull(r.birth),
            dateOrNull(r.registered),
            dateOrNull(r.expiry),
            r.unlimitedCard,
            r.phone,
            r.email,
            r.address,
            r.status,
            r.photoFile,
            imageOrNull(r.image),
            r.remarks};
}

// Validates the editor's input; on success the deposit as an amount.
std::optional<Money> checkRecord(const ReaderRecord& r, Outcome* refusal) {
    if (r.number.trimmed().isEmpty())
        *refusal = Outcome::refused(QStringLiteral("请输入读者编号！"), readerfield::number);
    else if (r.name.trimmed().isEmpty())
        *refusal = Outcome::refused(QStringLiteral("请输入读者名称！"), readerfield::name);
    else if (r.type.trimmed().isEmpty())
        *refusal = Outcome::refused(QStringLiteral("请选择读者类型！"), readerfield::type);
    else if (const auto deposit = r.deposit.trimmed().isEmpty() ? Money() : Money::parse(r.deposit))
        return deposit;
    else
        *refusal = Outcome::refused(QStringLiteral("押金金额必须是数字！"), readerfield::deposit);
    return std::nullopt;
}

bool numberTaken(const Database& db, const QString& number, qint64 exceptId) {
    return db.scalar(
                 QStringLiteral("select count(*) from [读者资料] where [读者编号]=? and [ID]<>?"),
                 {number, exceptId}, 0)
               .toInt() > 0;
}

// The tables that refer to a reader by number, and the column that holds it.
struct Reference {
    const char16_t* table;
    const char16_t* column;
};
const Reference references[] = {
    {u"书籍借阅清单", u"读者索引"}, {u"期刊借阅清单", u"读者索引"}, {u"音像借阅清单", u"读者索引"},
    {u"书籍归还清单", u"读者索引"}, {u"期刊归还清单", u"读者索引"}, {u"音像归还清单", u"读者索引"},
    {u"读者预定", u"读者编号"},     {u"申请归还", u"读者编号"},     {u"丢失罚款", u"读者编号"},
    {u"读者充押金", u"读者编号"},   {u"我的收藏", u"读者编号"},     {u"我的借书车", u"读者编号"},
    {u"我的评论", u"读者编号"},
};

// Runs the writes of a save; a unique-key violation is told apart from other errors by
// looking again, after the rollback, whether the number is taken.
Outcome storeOrExplain(Database& db, const ReaderRecord& r, const std::function<Outcome()>& write) {
    try {
        return write();
    } catch (const DatabaseError& e) {
        if (numberTaken(db, r.number, r.id))
            return Outcome::refused(duplicate, readerfield::number);
        return Outcome::refused(e.message());
    }
}

} // namespace

ReaderRecord newReaderRecord(const QDate& today) {
    ReaderRecord r;
    r.registered = today;
    return r;
}

std::optional<ReaderRecord> loadReaderRecord(const Database& db, const QString& number) {
    const auto row =
        db.row(QStringLiteral("select * from [读者资料] where [读者编号]=?"), {number});
    if (!row)
        return std::nullopt;
    const auto text = [&](const char16_t* c) {
        return row->value(QString::fromUtf16(c)).toString();
    };
    ReaderRecord r;
    r.id = row->value(QStringLiteral("ID")).toLongLong();
    r.number = text(u"读者编号");
    r.idNumber = text(u"身份证号");
    r.name = text(u"读者姓名");
    r.type = text(u"读者类型");
    r.gender = text(u"读者性别");
    r.department = text(u"单位部门");
    r.deposit = Money::fromVariant(row->value(QStringLiteral("押金金额"))).toString();
    r.birth = row->value(QStringLiteral("出生日期")).toDate();
    r.registered = row->value(QStringLiteral("办证日期")).toDate();
    r.unlimitedCard = text(u"无限制");
    r.expiry = row->value(QStringLiteral("截止日期")).toDate();
    r.phone = text(u"联系电话");
    r.email = text(u"电子邮件");
    r.address = text(u"联系地址");
    r.status = text(u"读者状态");
    r.photoFile = text(u"照片");
    r.image = row->value(QStringLiteral("Image")).toByteArray();
    r.remarks = text(u"备注信息");
    return r;
}

QDate cardExpiryFrom(const QDate& today, int cardYears) {
    return today.addDays(365 * qint64(cardYears));
}

Outcome saveNewReader(Database& db, const ReaderRecord& input) {
    Outcome refusal;
    const auto deposit = checkRecord(input, &refusal);
    if (!deposit)
        return refusal;
    ReaderRecord r = input;
    r.id = 0;
    return storeOrExplain(db, r, [&] {
        Transaction tx(db);
        if (numberTaken(db, r.number, 0))
            return Outcome::refused(duplicate, readerfield::number);
        QStringList marks;
        for (int i = 0; i < storedColumns().size(); ++i)
            marks << QStringLiteral("?");
        db.execute(QStringLiteral("insert into [读者资料] ([%1], [借阅次数], [选中]) "
                                  "values (%2, 0, FALSE)")
                       .arg(storedColumns().join(QStringLiteral("], [")),
                            marks.join(QStringLiteral(", "))),
                   storedValues(r, *deposit));
        Numbering(db).advance(NumberKind::Reader);
        tx.commit();
        return Outcome::done(QStringLiteral("读者保存成功！是否继续添加新读者"));
    });
}

Outcome saveReaderChanges(Database& db, const ReaderRecord& r) {
    Outcome refusal;
    const auto deposit = checkRecord(r, &refusal);
    if (!deposit)
        return refusal;
    return storeOrExplain(db, r, [&] {
        Transaction tx(db);
        const QString oldNumber =
            db.scalar(QStringLiteral("select [读者编号] from [读者资料] where [ID]=?"), {r.id})
                .toString();
        if (oldNumber.isEmpty())
            return Outcome::refused(QStringLiteral("没有找到该读者，请重新输入读者编号！"));
        if (numberTaken(db, r.number, r.id))
            return Outcome::refused(duplicate, readerfield::number);
        QStringList sets;
        for (const QString& c : storedColumns())
            sets << QStringLiteral("[%1]=?").arg(c);
        QVariantList params = storedValues(r, *deposit);
        params << r.id;
        db.execute(QStringLiteral("update [读者资料] set %1 where [ID]=?")
                       .arg(sets.join(QStringLiteral(", "))),
                   params);
        if (oldNumber != r.number) {
            for (const Reference& ref : references) {
                const QString table = QString::fromUtf16(ref.table);
                const QString column = QString::fromUtf16(ref.column);
                if (db.hasTable(table) && db.hasColumn(table, column))
                    db.execute(
                        QStringLiteral("update [%1] set [%2]=? where [%2]=?").arg(table, column),
                        {r.number, oldNumber});
            }
        }
        tx.commit();
        return Outcome::done(QStringLiteral("读者资料修改成功！"));
    });
}

SqlWithParams expiredReadersCondition(const QDate& today) {
    return {QStringLiteral("[无限制]='否' and [截止日期]<?"), {today}};
}

int refreshReaderPinyin(Database& db,
                        const std::function<void(int, int, const QString&)>& progress) {
    Transaction tx(db);
    const auto rows = db.rows(
        QStringLiteral("select [ID], [读者编号], [读者姓名] from [读者资料] order by [读者编号]"));
    int changed = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const QString number = rows[i].value(1).toString();
        if (progress)
            progress(i + 1, int(rows.size()), number);
        const QString name = rows[i].value(2).toString();
        if (name.isEmpty())
            continue;
        db.execute(QStringLiteral("update [读者资料] set [拼音]=? where [ID]=?"),
                   {pinyinInitials(name.trimmed()), rows[i].value(0)});
        ++changed;
    }
    tx.commit();
    return changed;
}

} // namespace cangshu
