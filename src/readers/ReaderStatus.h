#pragma once
#include "ReaderLookup.h"

namespace cangshu {

// The operations of the loss report, cancellation and card refund windows.
enum class StatusOperation {
    Lose,   // 挂失
    Found,  // 解挂
    Cancel, // 注销
    Refund, // 退卡: deletes the reader
};

// The lookup of those windows ("查询"): the reader or "没有找到该读者，请重新输入读者编号！".
ReaderCheck lookupReaderForStatus(const Database& db, const QString& numberText);

// Runs the operation on the reader shown: number, name and type must all be filled (else
// "请先输入读者编号！"). A number that matches no reader changes nothing and says so; a
// refund is refused while the reader has open loans. On success the system's message
// ("挂失操作成功！", "解挂操作成功！", "读者注销成功！", "读者退卡成功！").
Outcome applyStatusOperation(Database& db, StatusOperation operation, const QString& numberText,
                             const QString& shownName, const QString& shownType);

// Why a reader may not be deleted: "此读者有书籍未归还，不能删除！", "此读者有期刊未归还，
// 不能删除！", "此读者有音像制品未归还，不能删除！", or empty when nothing is out.
QString openLoansRefusal(const Database& db, const QString& number);

// Deletes one reader, unless loans are open. Return history, deposits and fines stay.
Outcome deleteReader(Database& db, const QString& number);

// Deletes the marked readers (选中) in one transaction; refused, deleting nothing, while any
// of them has open loans, naming the first such reader.
Outcome deleteMarkedReaders(Database& db);

} // namespace cangshu
