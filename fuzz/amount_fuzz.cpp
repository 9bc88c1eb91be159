// Arbitrary float bit patterns through the amount formatter, as amounts, as
// rates in percent (a float times 100 in double) and with six decimals,
// against a slow exact reference; and the widest texts fit their buffers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "loan.h"
#include "text.h"

namespace {

// The exact decimal expansion from snprintf (exact for these values on
// glibc), rounded half away from zero by hand on the digit string.
std::string reference(double value, int decimals)
{
    if (std::isnan(value)) {
        return "nan";
    }
    std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) {
        return sign + "inf";
    }
    char text[1200];
    std::snprintf(text, sizeof text, "%.1100f", std::fabs(value));
    std::string digits(text);
    std::size_t point = digits.find('.');
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, decimals);
    if (digits[point + 1 + decimals] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') {
            kept[--i] = '0';
        }
        if (i == 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i - 1];
        }
    }
    std::string result = kept.substr(0, kept.size() - decimals);
    if (decimals > 0) {
        result += '.';
        result += kept.substr(kept.size() - decimals);
    }
    return sign + result;
}

void check(double value, int decimals, std::size_t widest)
{
    char out[fixed_text_size];
    std::size_t len = format_fixed(out, value, decimals);
    if (len > widest || std::string(out, len) != reference(value, decimals)) {
        std::fprintf(stderr, "%a with %d decimals: got %.*s, want %s\n", value, decimals,
                     static_cast<int>(len), out, reference(value, decimals).c_str());
        std::abort();
    }
    // In a line buffer, padded to five, the text is the same and stays inside.
    char line[report_line_size + 1];
    line[report_line_size] = '#';
    std::size_t put = put_fixed(line, report_line_size, 0, value, decimals, 5);
    std::size_t pad = len < 5 ? 5 - len : 0;
    if (put != pad + len || std::memcmp(line + pad, out, len) != 0 ||
        line[report_line_size] != '#') {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(float)) {
        return 0;
    }
    float value;
    std::memcpy(&value, data, sizeof value);
    check(value, 2, amount_max_chars);
    check(static_cast<double>(value) * 100.0, 2, percent_max_chars);
    check(value, 6, float6_max_chars);
    return 0;
}
