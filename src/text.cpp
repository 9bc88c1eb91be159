#include "text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Rounds |value| to a whole count of 10^-decimals. The scaled value is exact,
// so its integer part and the fraction left over are exact too: a fraction of
// one half or more (an exact tie included) rounds the magnitude up, away from
// zero. Returns false for infinities, not-a-number and counts of 2^63 or more.
bool round_units(double value, int decimals, std::uint64_t* units)
{
    double scaled = std::fabs(value) * powers_of_ten[decimals];
    // Below 2^63 the conversions are the processor's plain signed ones.
    constexpr double two_to_63 = 9223372036854775808.0;
    if (!(scaled < two_to_63)) {
        return false;
    }
    auto whole = static_cast<std::int64_t>(scaled);
    if (scaled - static_cast<double>(whole) >= 0.5) {
        ++whole;
    }
    *units = static_cast<std::uint64_t>(whole);
    return true;
}

// 10^0 .. 10^19.
constexpr std::array<std::uint64_t, 20> powers_of_ten_u64 = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 10;
    }
    return powers;
}();

// Decimal digits of `value` (1 for 0). The bit length times log10(2)
// (1233 / 4096) gives the count or one more, and one comparison settles it,
// with no loop whose branches depend on the value.
int count_digits(std::uint64_t value)
{
    value |= 1;
    int estimate = (static_cast<int>(std::bit_width(value)) * 1233) >> 12;
    return estimate - (value < powers_of_ten_u64[estimate] ? 1 : 0) + 1;
}

// Writes `count` copies of `c`; counts here are a few characters at most.
void fill(char* at, int count, char c)
{
    for (int i = 0; i < count; ++i) {
        at[i] = c;
    }
}

// "00", "01", ... "99": two digits are written at a time.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the `count` lowest digits of `*value` backwards, ending just before
// `end`, removes them from `*value` and returns where they start.
template <typename Unsigned> char* write_low_digits(char* end, Unsigned* value, int count)
{
    for (; count >= 2; count -= 2) {
        std::size_t pair = static_cast<std::size_t>(*value % 100) * 2;
        *value /= 100;
        *--end = digit_pairs[pair + 1];
        *--end = digit_pairs[pair];
    }
    if (count == 1) {
        *--end = static_cast<char>('0' + *value % 10);
        *value /= 10;
    }
    return end;
}

// Integer digits of a count of units written with `decimals` places: at
// least one, so that 5 hundredths print as 0.05.
int integer_digits(std::uint64_t units, int decimals)
{
    return std::max(count_digits(units) - decimals, 1);
}

// Characters that write_units() takes.
int units_width(int decimals, int integers)
{
    return decimals > 0 ? integers + 1 + decimals : integers;
}

// Writes `units` with `decimals` places and `integers` integer digits
// (padded with zeros) backwards, ending just before `end`.
template <typename Unsigned>
void write_units_as(char* end, Unsigned units, int decimals, int integers)
{
    if (decimals > 0) {
        end = write_low_digits(end, &units, decimals);
        *--end = '.';
    }
    write_low_digits(end, &units, integers);
}

// The same; counts that fit 32 bits, nearly all amounts, take the cheaper
// 32-bit divisions.
void write_units(char* end, std::uint64_t units, int decimals, int integers)
{
    if (units <= UINT32_MAX) {
        write_units_as(end, static_cast<std::uint32_t>(units), decimals, integers);
    } else {
        write_units_as(end, units, decimals, integers);
    }
}

// Appends `text` right-aligned with spaces in at least `min_width`
// characters; a short text is copied by hand rather than by a library call.
std::size_t put_padded(char* buff, std::size_t cap, std::size_t len, std::string_view text,
                       int min_width)
{
    int pad = std::max(min_width - static_cast<int>(text.size()), 0);
    std::size_t total = static_cast<std::size_t>(pad) + text.size();
    if (len > cap || total > cap - len) {
        constexpr std::string_view spaces = "                ";
        len = put_text(buff, cap, len, spaces.substr(0, static_cast<std::size_t>(pad)));
        return put_text(buff, cap, len, text);
    }
    fill(buff + len, pad, ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        buff[len + static_cast<std::size_t>(pad) + i] = text[i];
    }
    return len + total;
}

std::size_t copy_word(char* out, std::size_t len, std::string_view word)
{
    std::memcpy(out + len, word.data(), word.size());
    return len + word.size();
}

// The text of a huge integer-valued count of 2^63 or more, from its exact
// decimal expansion (printing an integer involves no rounding).
std::size_t huge_units_text(char* out, std::size_t len, double units, int decimals)
{
    char digits[fixed_text_size];
    std::size_t count =
        std::to_chars(digits, digits + sizeof digits, units, std::chars_format::fixed, 0).ptr -
        digits;
    std::size_t places = static_cast<std::size_t>(decimals);
    len = copy_word(out, len, std::string_view(digits, count - places));
    if (places > 0) {
        out[len++] = '.';
        len = copy_word(out, len, std::string_view(digits + count - places, places));
    }
    return len;
}

} // namespace

std::size_t format_fixed(char* out, double value, int decimals)
{
    if (std::isnan(value)) {
        return copy_word(out, 0, "nan");
    }
    std::size_t len = 0;
    if (std::signbit(value)) {
        out[len++] = '-';
    }
    if (std::isinf(value)) {
        return copy_word(out, len, "inf");
    }
    std::uint64_t units = 0;
    if (round_units(value, decimals, &units)) {
        int integers = integer_digits(units, decimals);
        std::size_t width = static_cast<std::size_t>(units_width(decimals, integers));
        write_units(out + len + width, units, decimals, integers);
        return len + width;
    }
    // Beyond 2^63 every double is an integer: nothing is left to round.
    return huge_units_text(out, len, std::fabs(value) * powers_of_ten[decimals], decimals);
}

std::size_t put_int(char* buff, std::size_t cap, std::size_t len, std::int32_t value, int min_width)
{
    std::uint64_t magnitude = static_cast<std::uint64_t>(std::abs(std::int64_t{value}));
    int digits = count_digits(magnitude);
    int sign_width = value < 0 ? 1 : 0;
    int width = std::max(digits + sign_width, min_width);
    std::size_t total = static_cast<std::size_t>(width);
    if (len > cap || total > cap - len) {
        // Too long for what is left: format aside and cut.
        char text[int32_max_chars + 16];
        std::size_t count = put_int(text, sizeof text, 0, value, min_width);
        return put_text(buff, cap, len, std::string_view(text, count));
    }
    // Zeros pad after the sign, which counts towards the width: they are the
    // leading digits of the magnitude written to the full width.
    char* at = buff + len;
    if (value < 0) {
        at[0] = '-';
    }
    write_units(at + total, magnitude, 0, width - sign_width);
    return len + total;
}

std::size_t put_fixed(char* buff, std::size_t cap, std::size_t len, double value, int decimals,
                      int min_width)
{
    std::uint64_t units = 0;
    if (round_units(value, decimals, &units)) {
        // The common case, written in place: padding, sign, digits.
        int sign_width = std::signbit(value) ? 1 : 0;
        int integers = integer_digits(units, decimals);
        int width = sign_width + units_width(decimals, integers);
        int pad = std::max(min_width - width, 0);
        std::size_t total = static_cast<std::size_t>(pad) + static_cast<std::size_t>(width);
        if (len <= cap && total <= cap - len) {
            char* at = buff + len;
            fill(at, pad, ' ');
            if (sign_width != 0) {
                at[pad] = '-';
            }
            write_units(at + total, units, decimals, integers);
            return len + total;
        }
    }
    // Infinities, not-a-number, huge values and texts longer than the room
    // left: formatted aside, then copied as far as they fit.
    char text[fixed_text_size];
    std::size_t count = format_fixed(text, value, decimals);
    return put_padded(buff, cap, len, std::string_view(text, count), min_width);
}
