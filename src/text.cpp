#include "text.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Writes the decimal digits of a non-negative integer-valued double.
std::size_t integer_digits(char* out, double units)
{
    constexpr double two_to_64 = 18446744073709551616.0;
    if (units < two_to_64) {
        return std::to_chars(out, out + fixed_text_size, static_cast<std::uint64_t>(units)).ptr -
               out;
    }
    // An integer-valued double has an exact decimal expansion, so printing it
    // with no decimals involves no rounding at all.
    return std::to_chars(out, out + fixed_text_size, units, std::chars_format::fixed, 0).ptr - out;
}

std::size_t copy_word(char* out, std::size_t len, std::string_view word)
{
    for (char c : word) {
        out[len++] = c;
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
    // The scaled value is exact, so round() sees the true number of
    // hundredths (or millionths) and takes an exact tie away from zero.
    double units = std::round(std::fabs(value) * powers_of_ten[decimals]);

    char digits[fixed_text_size];
    std::size_t count = integer_digits(digits, units);
    std::size_t places = static_cast<std::size_t>(decimals);
    // Below 1 the digits are padded with zeros so that there is always one
    // integer digit: 5 hundredths become "005", printed "0.05".
    std::size_t zeros = count <= places ? places + 1 - count : 0;
    std::size_t integer_count = zeros + count - places;
    for (std::size_t i = 0; i < zeros + count; ++i) {
        if (i == integer_count) {
            out[len++] = '.';
        }
        out[len++] = i < zeros ? '0' : digits[i - zeros];
    }
    return len;
}

std::size_t put_text(char* buff, std::size_t cap, std::size_t len, std::string_view text)
{
    for (char c : text) {
        if (len >= cap) {
            break;
        }
        buff[len++] = c;
    }
    return len;
}

std::size_t put_int(char* buff, std::size_t cap, std::size_t len, std::int32_t value, int min_width)
{
    char text[int32_max_chars];
    std::size_t count = 0;
    std::int64_t magnitude = value;
    if (magnitude < 0) {
        text[count++] = '-';
        magnitude = -magnitude;
    }
    char digits[int32_max_chars];
    std::size_t digit_count =
        std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(magnitude)).ptr -
        digits;
    std::size_t width = static_cast<std::size_t>(min_width);
    while (count + digit_count < width && count < sizeof text) {
        text[count++] = '0';
    }
    len = put_text(buff, cap, len, std::string_view(text, count));
    return put_text(buff, cap, len, std::string_view(digits, digit_count));
}

std::size_t put_fixed(char* buff, std::size_t cap, std::size_t len, double value, int decimals,
                      int min_width)
{
    char text[fixed_text_size];
    std::size_t count = format_fixed(text, value, decimals);
    for (std::size_t pad = count; pad < static_cast<std::size_t>(min_width); ++pad) {
        len = put_text(buff, cap, len, " ");
    }
    return put_text(buff, cap, len, std::string_view(text, count));
}
