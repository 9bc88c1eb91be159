// The number writers of text.h: integers and exact fixed-point decimals.
#include "text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Decimal digits of `n` below 10^19 (1 for 0).
int count_digits(std::uint64_t n)
{
    int count = 1;
    for (std::uint64_t limit = 10; limit <= n; limit *= 10) {
        ++count;
    }
    return count;
}

// Writes the lowest `count` digits of `n`, leading zeros included (the
// cents of `units` are its lowest two), from the last, two a division.
char* put_digits(char* at, std::uint64_t n, int count)
{
    for (int i = count - 1; i >= 0; i -= 2, n /= 100) {
        at[i] = static_cast<char>('0' + n % 10);
        if (i > 0) {
            at[i - 1] = static_cast<char>('0' + n / 10 % 10);
        }
    }
    return at + count;
}

// Starts a text of `width` characters right-aligned with spaces in a field of
// at least `min_width`: writes the spaces and returns where the text begins.
char* start_field(char* at, int width, int min_width)
{
    for (; width < min_width; ++width) {
        *at++ = ' ';
    }
    return at;
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

} // namespace

char* put_int(char* at, std::int64_t value, int min_digits)
{
    if (value < 0) {
        *at++ = '-';
    }
    auto magnitude = static_cast<std::uint64_t>(std::abs(value));
    return put_digits(at, magnitude, std::max(count_digits(magnitude), min_digits));
}

char* put_fixed(char* at, double value, int decimals, int min_width)
{
    if (!std::isfinite(value)) {
        std::string_view text = std::isnan(value) ? "nan" : std::signbit(value) ? "-inf" : "inf";
        return put_text(start_field(at, static_cast<int>(text.size()), min_width), text);
    }
    // Exact: a float has 24 significant bits and a float times 100 has 29;
    // 10^6 adds 14 more at most, well within the 53 of a double.
    double scaled = std::fabs(value) * (decimals == 2 ? 1e2 : 1e6);
    if (!(scaled < 0x1p52)) {
        // A whole number of units with nothing to round, at least 17
        // characters wide: the library's conversion, exact for these.
        return std::to_chars(at, at + float6_max_chars, value, std::chars_format::fixed, decimals)
            .ptr;
    }
    std::uint64_t units = round_units(scaled);
    // Constant divisors, so that either becomes a multiplication.
    std::uint64_t whole = decimals == 2 ? units / 100 : units / 1000000;
    bool negative = std::signbit(value);
    int digits = count_digits(whole);
    at = start_field(at, negative + digits + 1 + decimals, min_width);
    *at = '-'; // overwritten by the first digit when not negative
    at = put_digits(at + negative, whole, digits);
    *at = '.';
    return put_digits(at + 1, units, decimals);
}
