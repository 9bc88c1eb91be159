// A slow, exact reference for the number writer: the decimal text of a value
// with a number of digits after the point, rounded half away from zero,
// worked out with integers from the value's bits alone.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace exact {

// Decimal digits of `n` times 2^`shift`, by long multiplication in base 10^9.
inline std::string whole_digits(std::uint64_t n, int shift)
{
    constexpr std::uint64_t base = 1000000000;
    std::array<std::uint64_t, 8> limbs{n % base, n / base % base, n / base / base};
    std::size_t used = 3;
    for (; shift > 0; shift -= 29) {
        int step = shift < 29 ? shift : 29;
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < used; ++i) {
            std::uint64_t product = (limbs[i] << step) + carry;
            limbs[i] = product % base;
            carry = product / base;
        }
        if (carry != 0) {
            if (used == limbs.size()) {
                std::abort(); // beyond anything the program prints
            }
            limbs[used++] = carry;
        }
    }
    while (used > 1 && limbs[used - 1] == 0) {
        --used;
    }
    std::string text = std::to_string(limbs[used - 1]);
    for (std::size_t i = used - 1; i-- > 0;) {
        std::string limb = std::to_string(limbs[i]);
        text += std::string(9 - limb.size(), '0') + limb;
    }
    return text;
}

// "%.*f" of `value` with an exact tie rounded away from zero, "nan", "inf"
// and "-inf". `value` must be a float or a float times 100, so that its
// significand times 10^decimals fits 64 bits.
inline std::string fixed(double value, int decimals)
{
    if (std::isnan(value)) {
        return "nan";
    }
    std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) {
        return sign + "inf";
    }
    // |value| = significand * 2^exponent, the significand odd or zero.
    int exponent = 0;
    auto significand =
        static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(value), &exponent), 53));
    exponent -= 53;
    while (significand != 0 && significand % 2 == 0) {
        significand /= 2;
        ++exponent;
    }
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    if (significand > UINT64_MAX / scale) {
        std::abort();
    }
    // The magnitude in units of 10^-decimals: exact when the exponent is not
    // negative, else the first bit shifted out says whether at least one half
    // is left over.
    std::uint64_t scaled = significand * scale;
    std::string digits;
    if (exponent >= 0) {
        digits = whole_digits(scaled, exponent);
    } else {
        int shift = -exponent;
        std::uint64_t units = shift < 64 ? scaled >> shift : 0;
        bool half_or_more = shift <= 64 && (scaled >> (shift - 1) & 1) != 0;
        digits = std::to_string(units + (half_or_more ? 1 : 0));
    }
    if (digits.size() < static_cast<std::size_t>(decimals) + 1) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - decimals, ".");
    }
    return sign + digits;
}

// The same, right-aligned with spaces in at least `min_width` characters.
inline std::string padded(double value, int decimals, std::size_t min_width)
{
    std::string text = fixed(value, decimals);
    return text.size() < min_width ? std::string(min_width - text.size(), ' ') + text : text;
}

} // namespace exact
