#pragma once
#include "core/Database.h"
#include "core/Outcome.h"

#include <QByteArray>
#include <QDate>
#include <functional>
#include <optional>

namespace cangshu {

// One row of 读者资料 as the reader editor edits it.
struct ReaderRecord {
    qint64 id = 0; // the row's ID; 0 for a reader not yet stored
    QString number;
    QString idNumber;
    QString name;
    QString type;
    QString gender;
    QString department;
    QString deposit = QStringLiteral("0"); // as typed; a plain decimal number
    QDate birth;
    QDate registered;
    QString unlimitedCard = QStringLiteral("是"); // "是": the card never expires
    QDate expiry;
    QString phone;
    QString email;
    QString address;
    QString status = QStringLiteral("正常");
    QString photoFile; // 照片: the file an ID-card reader wrote
    QByteArray image;  // JPEG bytes, empty for none
    QString remarks;
};

// The fields that outcomes of saving point the focus at (named after their columns).
namespace readerfield {
inline const QString number = QStringLiteral("读者编号");
inline const QString name = QStringLiteral("读者姓名");
inline const QString type = QStringLiteral("读者类型");
inline const QString deposit = QStringLiteral("押金金额");
} // namespace readerfield

// A new reader: registered today, "正常", deposit 0, a card without end; no number yet.
ReaderRecord newReaderRecord(const QDate& today);
std::optional<ReaderRecord> loadReaderRecord(const Database& db, const QString& number);

// The end of a card made valid today for the configured number of years.
QDate cardExpiryFrom(const QDate& today, int cardYears);

// Stores a new reader and advances the reader number counter, both in one transaction,
// whether the number was issued or typed. Refusals: the three required fields
// ("请输入读者编号！", "请输入读者名称！", "请选择读者类型！"), a deposit that is not a
// number, and a number another reader has ("读者编号已经存在！请重新输入！"); any other
// database error comes back with the engine's own text. Success: "读者保存成功！是否继续
// 添加新读者".
Outcome saveNewReader(Database& db, const ReaderRecord& record);

// Stores the changes of the reader in the row record.id, with the same checks. A changed
// number is carried over to the reader's loans, history, deposits, fines and reservations
// in the same transaction, so that they stay with the reader. Success: "读者资料修改成功！".
Outcome saveReaderChanges(Database& db, const ReaderRecord& record);

// The condition of "到期查询": cards that end before today.
SqlWithParams expiredReadersCondition(const QDate& today);

// Recomputes 拼音 of every reader with a name, in one transaction. `progress` is told the
// position (from 1), the count and the reader number of each row.
int refreshReaderPinyin(Database& db,
                        const std::function<void(int, int, const QString&)>& progress = {});

} // namespace cangshu
