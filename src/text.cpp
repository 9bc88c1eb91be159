#include "text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

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

} // namespace

char* put_int(char* at, std::int32_t value)
{
    if (value < 0) {
        *at++ = '-';
    }
    auto magnitude = static_cast<std::uint64_t>(std::abs(std::int64_t{value}));
    return put_digits(at, magnitude, count_digits(magnitude));
}

char* put_any_fixed(char* at, double value, int decimals, int min_width)
{
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
