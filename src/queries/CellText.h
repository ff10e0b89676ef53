#pragma once
#include <QString>
#include <QVariant>

namespace cangshu {

// A database value as the grids show it and the exports write it: dates "yyyy-mm-dd",
// numbers without exponent or trailing zeros, yes/no as "是"/"否", null as empty.
QString cellText(const QVariant& value);

// Whole numbers in plain digits, other numbers with up to 15 significant digits.
QString numberText(double value);

// An amount of money as the lists show it: "￥1,234.50", "-￥3.00"; null as empty.
QString moneyText(const QVariant& value);

} // namespace cangshu
