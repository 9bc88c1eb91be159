// Writing report lines in place, with exact decimal numbers.
//
// Every writer stores its text at `at`, nothing past it, and returns the end
// of it. The room is the caller's to provide, checked once per line: a line
// is started only where the widest line of its layout fits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

// Widest text of an amount: a float printed with two decimals. The largest
// finite float has 39 integer digits; add the sign, the point and the cents.
constexpr std::size_t amount_max_chars = 1 + (std::numeric_limits<float>::max_exponent10 + 1) + 3;

// Widest text of a float scaled by 100 (a rate shown in percent), two decimals.
constexpr std::size_t percent_max_chars = amount_max_chars + 2;

// Widest text of a float with six decimals.
constexpr std::size_t float6_max_chars = 1 + (std::numeric_limits<float>::max_exponent10 + 1) + 7;

// Widest text of a signed 32-bit integer: "-2147483648".
constexpr std::size_t int32_max_chars = 11;

inline char* put_text(char* at, std::string_view text)
{
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// "%0*d" for `value` above -2^63: its digits, at least `min_digits` of them,
// after a minus sign when it is negative.
char* put_int(char* at, std::int64_t value, int min_digits = 1);

// "%*.*f" for what this program prints: `value` is a float with `decimals`
// 2 or 6, or a float times 100 formed in double with 2. It is written
// right-aligned with spaces in at least `min_width` characters (at most 17,
// fewer than any value of 2^52 units has); wider texts are never cut.
//
// The digits are exact: the value's exact decimal expansion rounded once, and
// an exact tie is rounded away from zero (1274.625 gives "1274.63"). A
// negative value or negative zero keeps its minus sign ("-0.00"). Infinities
// print as "inf" and "-inf", not-a-number as "nan".
char* put_fixed(char* at, double value, int decimals, int min_width);
