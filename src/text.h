// Writing report lines in place, with exact decimal numbers.
//
// Every writer stores its text at `at` and returns the end of it. The room is
// the caller's to provide, checked once per line: a line is started only
// where the widest line of its layout fits, plus `store_slack` bytes, because
// writers store whole words and may leave bytes past the end of their text
// (the next text overwrites them).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
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

// Bytes a writer may store past the end of its text.
constexpr std::size_t store_slack = 16;

inline char* put_text(char* at, std::string_view text)
{
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// "%d".
char* put_int(char* at, std::int32_t value);

// Stores the eight bytes of `word`, lowest first.
inline void store_word(char* at, std::uint64_t word)
{
    static_assert(std::endian::native == std::endian::little, "digits are stored as words");
    std::memcpy(at, &word, sizeof word);
}

// The digits of 0 .. 9999, four a word, a digit a byte (0 to 9, not yet
// ASCII), the first digit in the lowest byte: 40 KB, built at compile time.
inline constexpr auto four_digits = [] {
    std::array<std::uint32_t, 10000> table{};
    for (std::uint32_t i = 0; i < 10000; ++i) {
        table[i] = i / 1000 | (i / 100 % 10) << 8 | (i / 10 % 10) << 16 | (i % 10) << 24;
    }
    return table;
}();

// The eight digits of `n` below 10^8, leading zeros included, laid out as
// four_digits: one division and two loads.
inline std::uint64_t eight_digits(std::uint32_t n)
{
    return four_digits[n / 10000] | std::uint64_t{four_digits[n % 10000]} << 32;
}

// Turns a word of digits into ASCII.
constexpr std::uint64_t ascii_zeros = 0x3030303030303030;

// Starts a text of `width` characters right-aligned with spaces in a field of
// at least `min_width` (at most 8): stores the spaces in one word and returns
// where the text begins. The text is written in place once its width is
// known, so that nothing is moved after it is stored.
inline char* start_field(char* at, int width, int min_width)
{
    std::memcpy(at, "        ", 8);
    return at + std::max(min_width - width, 0);
}

// The one place where an amount is rounded: `scaled`, a magnitude times
// 10^decimals below 2^52, plus one half, truncated, so that an exact tie
// rounds away from zero. The sum is exact, or so close to exact that it never
// crosses a whole number: `scaled` has at most 38 significant bits (24 of a
// float and 14 of 10^6, or 10 of 100 times 100), a double 53.
inline std::uint64_t round_units(double scaled)
{
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled + 0.5));
}

// put_fixed() for every value but not-a-number, without its fast case.
char* put_any_fixed(char* at, double value, int decimals, int min_width);

// "%*.*f" for what this program prints: `value` is a float with `decimals`
// 2 or 6, or a float times 100 formed in double with 2. It is written
// right-aligned with spaces in at least `min_width` characters (0 to 8);
// wider texts are never cut.
//
// The digits are exact: the value's exact decimal expansion rounded once, and
// an exact tie is rounded away from zero (1274.625 gives "1274.63"). A
// negative value or negative zero keeps its minus sign ("-0.00"). Infinities
// print as "inf" and "-inf", not-a-number as "nan".
//
// Inline, with a fast case for positive amounts below a million yuan, nearly
// every one printed: the cents' eight digits in one word, the leading zeros
// counted from it (keeping "0.cc"), the digits stored at once and the point
// and the cents after them: about 45 instructions a number, inlined into the
// rows, where the call of the general path took about 75. Not-a-number, as
// long schedules at absurd rates print it in every row, is written here too.
inline char* put_fixed(char* at, double value, int decimals, int min_width)
{
    // Positive doubles order as their bits do, and a minus sign sets the top
    // bit: one unsigned comparison of the bits takes the fast case for
    // positive amounts below 999999.99 only, never for -0.0 or not-a-number.
    constexpr auto fast_limit = std::bit_cast<std::uint64_t>(999999.99);
    double cents = value * 100.0;
    if (decimals != 2 || std::bit_cast<std::uint64_t>(value) >= fast_limit) {
        if (std::isnan(value)) {
            return put_text(start_field(at, 3, min_width), "nan");
        }
        return put_any_fixed(at, value, decimals, min_width);
    }
    std::uint64_t digits = eight_digits(static_cast<std::uint32_t>(round_units(cents)));
    int skipped = std::countr_zero(digits | std::uint64_t{1} << 40) / 8;
    int count = 8 - skipped;
    at = start_field(at, count + 1, min_width);
    std::uint64_t text = digits | ascii_zeros;
    store_word(at, text >> (8 * skipped));
    store_word(at + count - 2, '.' | text >> 48 << 8);
    return at + count + 1;
}
