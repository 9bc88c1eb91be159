// Building lines of text in fixed buffers, with exact decimal numbers.
//
// Every appender takes the buffer, its capacity and the current length, and
// returns the new length. Nothing is ever written at or past `cap`: a text that
// does not fit is cut there (the line buffers are sized so that this never
// happens; see the widths below).
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

// Writes `value` with `decimals` digits after the point into `out` (at least
// fixed_text_size bytes) and returns the length; no terminator is written.
//
// The digits are exact: the value's exact decimal expansion rounded once, and
// an exact tie is rounded away from zero (1274.625 gives "1274.63"). A
// negative value or negative zero keeps its minus sign ("-0.00"). Infinities
// print as "inf" and "-inf", not-a-number as "nan".
//
// Exactness needs value * 10^decimals to be exact in double: true for a float
// with up to 6 decimals and for a float times 100 with 2 decimals, which is all
// this program prints. `decimals` is 0 to 9.
constexpr std::size_t fixed_text_size = 330;
std::size_t format_fixed(char* out, double value, int decimals);

// Appends `text`. Inline, so that copying a fixed text of known length
// compiles to a few moves.
inline std::size_t put_text(char* buff, std::size_t cap, std::size_t len, std::string_view text)
{
    if (len <= cap && text.size() <= cap - len) {
        std::memcpy(buff + len, text.data(), text.size());
        return len + text.size();
    }
    std::size_t count = len < cap ? cap - len : 0;
    std::memcpy(buff + len, text.data(), count);
    return len + count;
}

// Appends `value` in decimal as printf's "%0*d" would: at least `min_width`
// characters (at most 16), the sign counted, padded with zeros after the sign.
std::size_t put_int(char* buff, std::size_t cap, std::size_t len, std::int32_t value,
                    int min_width);

// Appends format_fixed(value, decimals), right-aligned with spaces in a field
// of at least `min_width` characters (at most 16; wider texts are never cut).
std::size_t put_fixed(char* buff, std::size_t cap, std::size_t len, double value, int decimals,
                      int min_width);
