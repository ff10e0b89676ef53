#pragma once
#include <QDate>
#include <QDateTime>

namespace cangshu {

// The source of "today". Tests and `cangshu-admin --today` fix the date so that due
// dates, fines and expiries are reproducible.
class Clock {
public:
    QDate today() const { return m_fixed.isValid() ? m_fixed : QDate::currentDate(); }
    QDateTime now() const {
        return m_fixed.isValid() ? QDateTime(m_fixed, QTime::currentTime())
                                 : QDateTime::currentDateTime();
    }
    void setToday(const QDate& date) { m_fixed = date; }
    bool isFixed() const { return m_fixed.isValid(); }

private:
    QDate m_fixed;
};

} // namespace cangshu
