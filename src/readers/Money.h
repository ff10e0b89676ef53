#pragma once
#include <QString>
#include <QVariant>
#include <optional>

namespace cangshu {

// An amount of yuan held exactly, in millionths, so that rents and fines add up without the
// residue of binary fractions (0.1 × 3 is 0.3, not 0.30000000000000004).
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromMicros(qint64 micros) { return Money(micros); }
    static Money fromYuan(int yuan) { return Money(qint64(yuan) * Scale); }

    // A plain decimal number ("12", "-3.5", "+0.25", ".5"); digits beyond the sixth decimal
    // are rounded. Anything else (blank, letters, exponents, thousands separators) is nullopt.
    static std::optional<Money> parse(const QString& text);
    // A database value: null, or anything that does not read as a number, counts as 0.
    static Money fromVariant(const QVariant& value);

    qint64 micros() const { return m_micros; }
    bool isZero() const { return m_micros == 0; }
    bool isNegative() const { return m_micros < 0; }

    // Without trailing zeros: "0.3", "12.5", "3", "-30".
    QString toString() const;
    // With exactly two decimals, rounded half away from zero: "0.30".
    QString toFixed2() const;
    // The value to bind for a money column: the exact decimal text.
    QVariant toVariant() const { return toString(); }

    Money operator+(Money o) const { return Money(m_micros + o.m_micros); }
    Money operator-(Money o) const { return Money(m_micros - o.m_micros); }
    Money operator-() const { return Money(-m_micros); }
    Money operator*(qint64 n) const { return Money(m_micros * n); }
    Money& operator+=(Money o) {
        m_micros += o.m_micros;
        return *this;
    }
    auto operator<=>(const Money&) const = default;

private:
    static constexpr qint64 Scale = 1000000;
    constexpr explicit Money(qint64 micros) : m_micros(micros) {}
    qint64 m_micros = 0;
};

} // namespace cangshu
