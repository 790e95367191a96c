#pragma once
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

// An amount of money in ten-thousandths of a yuan: exact sums, one display form.
class Money {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units) { return Money(units); }
    static Money fromYuan(std::int64_t yuan) { return Money(yuan * Scale); }

    // Typed text: optional minus, digits, optional point with at most four decimals.
    static std::optional<Money> tryParse(const QString& text);
    // As tryParse, but a bad text is a DbError naming it.
    static Money parse(const QString& text);
    // Reads a stored value: NULL and empty read as zero.
    static Money fromVariant(const QVariant& v);

    std::int64_t units() const { return units_; }
    QString toString() const; // 1250, 99.5, 0.25, -3
    QVariant toVariant() const { return QVariant::fromValue<qlonglong>(units_); }

    Money operator+(Money o) const { return Money(units_ + o.units_); }
    Money operator-(Money o) const { return Money(units_ - o.units_); }
    Money& operator+=(Money o) {
        units_ += o.units_;
        return *this;
    }
    auto operator<=>(const Money&) const = default;
    bool isZero() const { return units_ == 0; }

private:
    explicit constexpr Money(std::int64_t u) : units_(u) {}
    std::int64_t units_ = 0;
};
