#pragma once
#include "readers/ReaderLookup.h"

namespace cangshu {

// A loss or damage fine for a reader, recorded in 丢失罚款.
struct FineRequest {
    QString readerNumber; // the reader looked up
    QString amountText;   // as typed: a decimal number not below 0
    QString itemTitle;    // 书籍名称: the lost item, free text
    QDate date;           // 罚款日期; invalid = today
    QString note;
};

// The fine window's lookup: "请输入读者编号！", "没有找到该读者编号！" or the reader.
ReaderCheck lookupReaderForFine(const Database& db, const QString& numberText);

// The checks of saving and of handing the amount to the deposits, in the window's order.
Outcome checkFine(const FineRequest& request, Money* amount = nullptr);

// Saves the fine against the reader as stored (name, gender and type copied); "操作成功！".
Outcome recordFine(Database& db, const FineRequest& request);

} // namespace cangshu
