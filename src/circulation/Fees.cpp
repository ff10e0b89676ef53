#include "Fees.h"

namespace cangshu {

QString Fee::overdueText() const {
    return overdue() ? QString::number(overdueDays) : QStringLiteral("未超期");
}

Fee computeFee(const QDate& lentOn, const QDate& due, const QDate& today, Money dailyRent,
               Money overdueFine) {
    Fee f;
    if (due.isValid() && due < today) {
        f.daysLent = lentOn.isValid() ? int(lentOn.daysTo(due)) : 0;
        f.rent = dailyRent * f.daysLent;
        f.overdueDays = int(due.daysTo(today));
        f.fine = overdueFine * f.overdueDays;
        return f;
    }
    const qint64 lent = lentOn.isValid() ? lentOn.daysTo(today) : 0;
    f.daysLent = lent > 0 ? int(lent) : 1;
    f.rent = dailyRent * f.daysLent;
    return f;
}

} // namespace cangshu
