#include "text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

static_assert(std::endian::native == std::endian::little, "digits are stored as words");

// Stores the eight bytes of `word`, lowest first.
void store_word(char* at, std::uint64_t word)
{
    std::memcpy(at, &word, sizeof word);
}

// The digits of 0 .. 9999, four a word, a digit a byte (0 to 9, not yet
// ASCII), the first digit in the lowest byte: 40 KB, built at compile time.
constexpr auto four_digits = [] {
    std::array<std::uint32_t, 10000> table{};
    for (std::uint32_t i = 0; i < 10000; ++i) {
        table[i] = i / 1000 | (i / 100 % 10) << 8 | (i / 10 % 10) << 16 | (i % 10) << 24;
    }
    return table;
}();

// The eight digits of `n` below 10^8, leading zeros included, in one word
// laid out as four_digits: one division and two loads.
std::uint64_t eight_digits(std::uint32_t n)
{
    return four_digits[n / 10000] | std::uint64_t{four_digits[n % 10000]} << 32;
}

// Turns a word of digits into ASCII.
constexpr std::uint64_t ascii_zeros = 0x3030303030303030;

// 10^0 .. 10^16.
constexpr auto powers_of_ten = [] {
    std::array<std::uint64_t, 17> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 10;
    }
    return powers;
}();

// Decimal digits of `n` below 10^16 (1 for 0). The bit length times log10(2)
// (1233 / 4096) gives the count or one less, and one comparison settles it.
int count_digits(std::uint64_t n)
{
    n |= 1;
    int estimate = (static_cast<int>(std::bit_width(n)) * 1233) >> 12;
    return estimate + (n >= powers_of_ten[estimate] ? 1 : 0);
}

// Writes the lowest `count` digits of `n` (below 10^16), leading zeros
// included, eight a word.
char* put_digits(char* at, std::uint64_t n, int count)
{
    constexpr std::uint32_t ten_to_8 = 100000000;
    if (count > 8) {
        put_digits(at, n / ten_to_8, count - 8);
        n %= ten_to_8;
        at += count - 8;
        count = 8;
    }
    store_word(at,
               (eight_digits(static_cast<std::uint32_t>(n)) | ascii_zeros) >> (8 * (8 - count)));
    return at + count;
}

// Starts a text of `width` characters right-aligned with spaces in a field of
// at least `min_width` (at most 8): stores the spaces in one word and returns
// where the text begins. The text is written in place once its width is
// known, so that nothing is moved after it is stored.
char* start_field(char* at, int width, int min_width)
{
    std::memcpy(at, "        ", 8);
    return at + std::max(min_width - width, 0);
}

// The one place where an amount is rounded: `scaled`, a magnitude times
// 10^decimals below 2^52, plus one half, truncated, so that an exact tie
// rounds away from zero. The sum is exact, or so close to exact that it never
// crosses a whole number: `scaled` has at most 38 significant bits (24 of a
// float and 14 of 10^6, or 10 of 100 times 100), a double 53.
std::uint64_t round_units(double scaled)
{
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled + 0.5));
}

// put_fixed() for every value but the fast case. Out of line, so that the
// fast case needs no stack frame.
[[gnu::noinline]] char* put_any_fixed(char* at, double value, int decimals, int min_width)
{
    if (std::isnan(value)) {
        return put_text(start_field(at, 3, min_width), "nan");
    }
    // Exact: a float has 24 significant bits and a float times 100 has 29;
    // 10^6 adds 14 more at most, well within the 53 of a double.
    double scaled = std::fabs(value) * (decimals == 2 ? 1e2 : 1e6);
    if (!(scaled < 0x1p52)) {
        // Infinite, or a whole number of units with nothing to round: the
        // library's conversion, exact for these.
        char text[float6_max_chars];
        auto len = static_cast<std::size_t>(
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr -
            text);
        return put_text(start_field(at, static_cast<int>(len), min_width),
                        std::string_view(text, len));
    }
    std::uint64_t units = round_units(scaled);
    // Constant divisors, so that both become multiplications.
    std::uint64_t whole = decimals == 2 ? units / 100 : units / 1000000;
    auto fraction = static_cast<std::uint32_t>(units - whole * (decimals == 2 ? 100 : 1000000));
    bool negative = std::signbit(value);
    int digits = count_digits(whole);
    at = start_field(at, negative + digits + 1 + decimals, min_width);
    *at = '-'; // overwritten by the first digit when not negative
    at = put_digits(at + negative, whole, digits);
    *at = '.';
    return put_digits(at + 1, fraction, decimals);
}

} // namespace

char* put_int(char* at, std::int32_t value)
{
    if (value < 0) {
        *at++ = '-';
    }
    auto magnitude = static_cast<std::uint64_t>(std::abs(std::int64_t{value}));
    return put_digits(at, magnitude, count_digits(magnitude));
}

char* put_fixed(char* at, double value, int decimals, int min_width)
{
    // Fast case for positive amounts below a million yuan, nearly every one
    // printed: the cents' eight digits in one word, the leading zeros counted
    // from it (keeping "0.cc"), the digits stored at once and the point and
    // the cents after them. About 20 instructions a number fewer than the
    // general path.
    double cents = value * 100.0;
    if (decimals != 2 || std::signbit(value) || !(cents < 99999999.5)) {
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
