// The number writers of text.h: integers and exact fixed-point decimals.
#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Widest text of an unsigned 64-bit integer.
constexpr std::size_t uint64_max_chars = 20;

// Writes the digits of `n`, at least `min_digits` of them, so that they end
// just before `end`; returns where they begin.
char* put_digits_before(char* end, std::uint64_t n, int min_digits)
{
    for (int i = 0; i < min_digits || n != 0; ++i) {
        *--end = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    return end;
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

// Writes [begin, end) right-aligned with spaces in at least `min_width`
// characters.
char* put_field(char* at, const char* begin, const char* end, int min_width)
{
    auto len = static_cast<int>(end - begin);
    if (len < min_width) {
        std::memset(at, ' ', static_cast<std::size_t>(min_width - len));
        at += min_width - len;
    }
    return put_text(at, std::string_view(begin, static_cast<std::size_t>(len)));
}

} // namespace

char* put_uint(char* at, std::uint64_t n, int min_digits)
{
    char text[uint64_max_chars];
    char* end = text + sizeof text;
    return put_field(at, put_digits_before(end, n, min_digits), end, 0);
}

char* put_int(char* at, std::int32_t value)
{
    if (value < 0) {
        *at++ = '-';
    }
    return put_uint(at, static_cast<std::uint64_t>(std::abs(std::int64_t{value})), 1);
}

char* put_fixed(char* at, double value, int decimals, int min_width)
{
    char text[float6_max_chars];
    char* end = text + sizeof text;
    char* begin = text;
    // Exact: a float has 24 significant bits and a float times 100 has 29;
    // 10^6 adds 14 more at most, well within the 53 of a double.
    double scaled = std::fabs(value) * (decimals == 2 ? 1e2 : 1e6);
    if (std::isnan(value)) {
        end = put_text(text, "nan");
    } else if (!(scaled < 0x1p52)) {
        // Infinite, or a whole number of units with nothing to round: the
        // library's conversion, exact for these.
        end = std::to_chars(text, end, value, std::chars_format::fixed, decimals).ptr;
    } else {
        std::uint64_t units = round_units(scaled);
        // Constant divisors, so that both become multiplications.
        std::uint64_t whole = decimals == 2 ? units / 100 : units / 1000000;
        begin = put_digits_before(end, units - whole * (decimals == 2 ? 100 : 1000000), decimals);
        *--begin = '.';
        begin = put_digits_before(begin, whole, 1);
        if (std::signbit(value)) {
            *--begin = '-';
        }
    }
    return put_field(at, begin, end, min_width);
}
