#include "text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Rounds |value| to a whole count of 10^-decimals. The scaled value is exact,
// so its integer part and the fraction left over are exact too: a fraction of
// one half or more (an exact tie included) rounds the magnitude up, away from
// zero. Returns false for infinities, not-a-number and counts of 2^64 or more.
bool round_units(double value, int decimals, std::uint64_t* units)
{
    double scaled = std::fabs(value) * powers_of_ten[decimals];
    constexpr double two_to_64 = 18446744073709551616.0;
    if (!(scaled < two_to_64)) {
        return false;
    }
    *units = static_cast<std::uint64_t>(scaled);
    if (scaled - static_cast<double>(*units) >= 0.5) {
        ++*units;
    }
    return true;
}

int count_digits(std::uint64_t value)
{
    int count = 1;
    while (value >= 10) {
        value /= 10;
        ++count;
    }
    return count;
}

// Characters of a count of units written with `decimals` places: at least one
// integer digit, then the point and the places.
int units_width(std::uint64_t units, int decimals)
{
    int width = count_digits(units);
    if (width <= decimals) {
        width = decimals + 1;
    }
    return decimals > 0 ? width + 1 : width;
}

// Writes `units` with `decimals` places backwards, ending just before `end`.
void write_units(char* end, std::uint64_t units, int decimals)
{
    for (int i = 0; i < decimals; ++i) {
        *--end = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) {
        *--end = '.';
    }
    do {
        *--end = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
}

std::size_t copy_word(char* out, std::size_t len, std::string_view word)
{
    std::memcpy(out + len, word.data(), word.size());
    return len + word.size();
}

// The places of a huge integer-valued count beyond 64 bits, from its exact
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
        std::size_t width = static_cast<std::size_t>(units_width(units, decimals));
        write_units(out + len + width, units, decimals);
        return len + width;
    }
    // Beyond 2^64 every double is an integer: nothing is left to round.
    return huge_units_text(out, len, std::fabs(value) * powers_of_ten[decimals], decimals);
}

std::size_t put_int(char* buff, std::size_t cap, std::size_t len, std::int32_t value, int min_width)
{
    std::uint64_t magnitude = static_cast<std::uint64_t>(std::abs(std::int64_t{value}));
    int sign_width = value < 0 ? 1 : 0;
    int width = std::max(count_digits(magnitude) + sign_width, min_width);
    char text[int32_max_chars + 16];
    char* end = text + width;
    write_units(end, magnitude, 0);
    // Zeros pad after the sign, which counts towards the width.
    std::memset(text, '0', static_cast<std::size_t>(width - count_digits(magnitude)));
    if (value < 0) {
        text[0] = '-';
    }
    return put_text(buff, cap, len, std::string_view(text, static_cast<std::size_t>(width)));
}

std::size_t put_fixed(char* buff, std::size_t cap, std::size_t len, double value, int decimals,
                      int min_width)
{
    std::uint64_t units = 0;
    if (round_units(value, decimals, &units)) {
        // The common case, written in place: padding, sign, digits.
        int sign_width = std::signbit(value) ? 1 : 0;
        int width = sign_width + units_width(units, decimals);
        int pad = std::max(min_width - width, 0);
        std::size_t total = static_cast<std::size_t>(pad + width);
        if (len <= cap && total <= cap - len) {
            char* at = buff + len;
            std::memset(at, ' ', static_cast<std::size_t>(pad));
            if (sign_width != 0) {
                at[pad] = '-';
            }
            write_units(at + total, units, decimals);
            return len + total;
        }
    }
    char text[fixed_text_size];
    std::size_t count = format_fixed(text, value, decimals);
    constexpr std::string_view spaces = "                ";
    std::size_t width = static_cast<std::size_t>(min_width);
    if (count < width) {
        len = put_text(buff, cap, len, spaces.substr(0, std::min(width - count, spaces.size())));
    }
    return put_text(buff, cap, len, std::string_view(text, count));
}
