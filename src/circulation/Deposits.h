#pragma once
#include "readers/ReaderLookup.h"

namespace cangshu {

enum class DepositDirection { PayIn, Deduct }; // 充押金, 扣押金

struct DepositRequest {
    QString readerNumber;
    DepositDirection direction = DepositDirection::PayIn;
    QString amountText; // as typed: a decimal number not below 0
    QDate date;         // 充扣日期; invalid = today
    QString note;
    QString operatorName;
};

// The deposit window's reader query: the reader, or "没有找到该读者，请重新输入读者编号！".
ReaderCheck lookupReaderForDeposit(const Database& db, const QString& numberText);

// The checks before the confirmation, in the window's order; `amount` gets the signed value.
Outcome checkDeposit(const DepositRequest& request, Money* amount = nullptr);

// Writes the journal row and moves the balance (a null balance counts as 0) in one
// transaction; "操作成功！" when done.
Outcome recordDeposit(Database& db, const DepositRequest& request);

} // namespace cangshu
