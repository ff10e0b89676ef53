#include "queries/CellText.h"

#include <gtest/gtest.h>

using namespace cangshu;

TEST(CellText, MoneyAsTheListsShowIt) {
    const QList<std::pair<QVariant, QString>> cases{
        {QVariant(), QString()},
        {QVariant(0), QStringLiteral("￥0.00")},
        {QVariant(1234.5), QStringLiteral("￥1,234.50")},
        {QVariant(QStringLiteral("1234567.891")), QStringLiteral("￥1,234,567.89")},
        {QVariant(QStringLiteral("-30")), QStringLiteral("-￥30.00")},
        {QVariant(0.1 + 0.2), QStringLiteral("￥0.30")},
        {QVariant(-0.001), QStringLiteral("￥0.00")},
        {QVariant(999.995), QStringLiteral("￥1,000.00")},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(moneyText(value), text) << value.toString().toStdString();
}
