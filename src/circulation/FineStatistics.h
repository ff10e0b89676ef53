#pragma once
#include "core/Database.h"
#include "readers/Money.h"

#include <QDate>

namespace cangshu {

// Rents and fines taken at returns, and loss fines, within a period (both ends included).
struct FineStatistics {
    Money bookFines;       // 书籍超期罚款
    Money periodicalFines; // 期刊超期罚款
    Money bookRents;       // 书籍租金金额
    Money periodicalRents; // 期刊租金金额
    Money lossFines;       // 丢失罚款金额

    Money totalFines() const { return bookFines + periodicalFines; } // 共计超期罚款
    Money totalRents() const { return bookRents + periodicalRents; } // 共计租金金额
    Money grandTotal() const { return totalFines() + totalRents() + lossFines; } // 合计金额
};

// Sums computed by the database; a period without rows gives 0 everywhere.
FineStatistics fineStatistics(const Database& db, const QDate& from, const QDate& to);

} // namespace cangshu
