// An exact fraction of 1024ths of a quarter note. Tuplets make onsets that whole numbers cannot
// hold (a triplet eighth lasts 341 1/3), and onsets of different staves must compare equal
// exactly when they coincide, so time in the score is never rounded.
#pragma once

#include <compare>
#include <cstdint>
#include <numeric>

namespace simhost {

class Rational {
public:
    constexpr Rational() = default;
    // Implicit, so that a whole count of 1024ths reads as itself: Rational d = 1024.
    constexpr Rational(std::int64_t whole) : num_(whole) {}  // NOLINT(google-explicit-constructor)
    constexpr Rational(std::int64_t num, std::int64_t den) : num_(num), den_(den) { Reduce(); }

    constexpr std::int64_t Num() const { return num_; }
    constexpr std::int64_t Den() const { return den_; }
    constexpr double ToDouble() const {
        return static_cast<double>(num_) / static_cast<double>(den_);
    }

    friend constexpr Rational operator+(Rational a, Rational b) {
        return Rational(a.num_ * b.den_ + b.num_ * a.den_, a.den_ * b.den_);
    }
    friend constexpr Rational operator-(Rational a, Rational b) {
        return Rational(a.num_ * b.den_ - b.num_ * a.den_, a.den_ * b.den_);
    }
    friend constexpr Rational operator*(Rational a, Rational b) {
        return Rational(a.num_ * b.num_, a.den_ * b.den_);
    }
    constexpr Rational& operator+=(Rational other) { return *this = *this + other; }

    friend constexpr bool operator==(Rational a, Rational b) {
        return a.num_ == b.num_ && a.den_ == b.den_;
    }
    friend constexpr std::strong_ordering operator<=>(Rational a, Rational b) {
        return a.num_ * b.den_ <=> b.num_ * a.den_;
    }

private:
    constexpr void Reduce() {
        if (den_ < 0) {
            num_ = -num_;
            den_ = -den_;
        }
        const std::int64_t divisor = std::gcd(num_, den_);
        if (divisor > 1) {
            num_ /= divisor;
            den_ /= divisor;
        }
    }

    std::int64_t num_ = 0;
    std::int64_t den_ = 1;
};

}  // namespace simhost
