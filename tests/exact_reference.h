// A slow, exact reference for the number writer: the decimal text of a value
// with a number of digits after the point, rounded half away from zero,
// worked out with integers from the value's bits alone.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace exact {

// Writes the decimal digits of `n` times 2^`shift` backwards, ending just
// before `end`, by long multiplication in base 10^9; returns where they start.
inline char* whole_digits(char* end, std::uint64_t n, int shift)
{
    constexpr std::uint64_t base = 1000000000;
    std::array<std::uint64_t, 8> limbs{n % base, n / base % base, n / base / base};
    std::size_t used = n >= base * base ? 3 : n >= base ? 2 : 1;
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
    // Nine digits a limb, the most significant without its leading zeros.
    char* start = end;
    for (std::size_t i = 0; i < used; ++i) {
        for (int digit = 0; digit < 9 && (i + 1 < used || digit == 0 || limbs[i] != 0); ++digit) {
            *--start = static_cast<char>('0' + limbs[i] % 10);
            limbs[i] /= 10;
        }
    }
    return start;
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
    if (significand != 0) {
        int zeros = std::countr_zero(significand);
        significand >>= zeros;
        exponent += zeros;
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
    if (exponent < 0) {
        int shift = -exponent;
        bool half_or_more = shift <= 64 && (scaled >> (shift - 1) & 1) != 0;
        scaled = (shift < 64 ? scaled >> shift : 0) + (half_or_more ? 1 : 0);
        exponent = 0;
    }
    char buffer[96];
    char* end = buffer + sizeof buffer;
    char* start = whole_digits(end, scaled, exponent);
    auto places = static_cast<std::ptrdiff_t>(decimals);
    while (end - start <= places) {
        *--start = '0';
    }
    std::string text = sign;
    text.append(start, end - places);
    if (places > 0) {
        text += '.';
        text.append(end - places, end);
    }
    return text;
}

// The same, right-aligned with spaces in at least `min_width` characters.
inline std::string padded(double value, int decimals, std::size_t min_width)
{
    std::string text = fixed(value, decimals);
    return text.size() < min_width ? std::string(min_width - text.size(), ' ') + text : text;
}

} // namespace exact
