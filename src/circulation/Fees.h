#pragma once
#include "readers/Money.h"

#include <QDate>
#include <QString>

namespace cangshu {

// What a return charges for one loan.
struct Fee {
    int daysLent = 0;
    Money rent;
    int overdueDays = 0; // 0 = not overdue
    Money fine;

    bool overdue() const { return overdueDays > 0; }
    // "未超期" or the whole number of days, as 超期天数 stores it.
    QString overdueText() const;
};

// Days lent, rent, overdue days and fine of a loan taken back today:
//  - overdue (due before today): lent up to the due date, rent for those days, and a fine
//    for every calendar day after it;
//  - not overdue: lent until today, at least one day (a loan returned the day it was lent
//    counts one day's rent), and no fine.
Fee computeFee(const QDate& lentOn, const QDate& due, const QDate& today, Money dailyRent,
               Money overdueFine);

} // namespace cangshu
