#pragma once
#include "Money.h"
#include "core/Database.h"

#include <QString>

namespace cangshu {

// The loan rules of a reader type come in one set of columns per item kind.
enum class RuleSet {
    Books, // 书籍借出册数, 书籍借出天数, 书籍续借次数, 书籍续借天数, 书籍每日租金, 书籍超期罚款
    Periodicals, // 杂志借出册数, 杂志借出天数, 期刊续借次数, 期刊续借天数, 期刊每日租金,
                 // 期刊超期罚款
    None,        // items lent without consulting reader types
};

// What a reader type allows for one item kind, as every circulation window applies it.
struct LoanRules {
    // Used for every limit of an unlimited type, of a reader whose type row is missing, and
    // of item kinds that consult no types.
    static constexpr int Unlimited = 1000;

    bool typeFound = false; // a row of 读者类型 has the reader's type name
    bool unlimited = false; // its 无限制 is "是" (or no row, or no rules consulted)
    int maxItems = 0;       // items on loan at once
    int loanDays = 0;       // loan period
    int renewals = 0;       // renewals granted per loan
    int renewalDays = 0;    // renewal period
    Money dailyRent;        // per day lent; 0 when missing
    Money overdueFine;      // per overdue day; 0 when missing

    static LoanRules unlimitedRules();
};

// The rules of the named type for one item kind. The four limits are 1000 when the type is
// unlimited or missing; a limit that is null or not a number reads as 0, so nothing is lent
// on it; rates read as 0 when the row is missing or the value null.
LoanRules loanRules(const Database& db, const QString& typeName, RuleSet set);

} // namespace cangshu
