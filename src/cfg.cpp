// Reading cfg.txt: the text-mode translation, the field split and the two
// number conversions.
#include "cfg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char ctrl_z = 0x1A;

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

const char* skip_digits(const char* p)
{
    while (is_digit(*p)) {
        ++p;
    }
    return p;
}

const char* skip_sign(const char* p)
{
    return *p == '+' || *p == '-' ? p + 1 : p;
}

// Stores a completed field into the parameter that its position selects.
void consume_field(int flag, const char* field, std::uint32_t* sum, std::uint32_t* year,
                   float* rate)
{
    if (flag == 0) {
        *sum = static_cast<std::uint32_t>(parse_int(field));
    } else if (flag == 1) {
        *year = static_cast<std::uint32_t>(parse_int(field));
    } else {
        *rate = static_cast<float>(parse_decimal(field));
    }
}

} // namespace

std::size_t translate_text_mode(const char* raw, std::size_t raw_len, char* out,
                                std::size_t out_max)
{
    std::size_t len = 0;
    for (std::size_t i = 0; i < raw_len && len < out_max; ++i) {
        if (raw[i] == ctrl_z) {
            break;
        }
        if (raw[i] == '\r' && i + 1 < raw_len && raw[i + 1] == '\n') {
            ++i;
        }
        out[len++] = raw[i];
    }
    return len;
}

bool read_cfg_content(std::FILE* fp, char* buff, std::size_t* len, char* past)
{
    // Every delivered byte takes at most two raw bytes (CR LF), so a CR
    // delivered last is always followed by the byte that says whether LF
    // comes next; one byte is delivered past the limit, to tell whether the
    // limit cut anything.
    // fread() itself reads on until it has them all or meets the end (a
    // cfg.txt that is a pipe delivers them in pieces).
    char raw[2 * (cfg_content_max + 1)];
    std::size_t raw_len = std::fread(raw, 1, sizeof raw, fp);
    *len = translate_text_mode(raw, raw_len, buff, cfg_content_max + 1);
    // A content that ends before the limit ended at a Ctrl-Z where the raw
    // bytes hold one: the first.
    const char* stop = static_cast<const char*>(std::memchr(raw, ctrl_z, raw_len));
    *past = stop != nullptr && stop + 1 < raw + raw_len ? stop[1] : '\0';
    if (*len > cfg_content_max) {
        *len = cfg_content_max;
        *past = buff[cfg_content_max];
    }
    buff[*len] = '\0';
    return !std::ferror(fp);
}

int split_fields(const char* buff, std::size_t len, std::uint32_t* sum, std::uint32_t* year,
                 float* rate, std::size_t* field_ends)
{
    // A field is copied out to be converted as a string of its own.
    char tmp[cfg_content_max + 1];
    int flag = 0;
    for (std::size_t cnt = 0; cnt <= len && flag < 3; ++cnt) {
        char c = buff[cnt];
        if (c != '\r' && c != '\n' && c != '\0') {
            continue;
        }
        std::size_t start = field_start(field_ends, flag);
        std::memcpy(tmp, buff + start, cnt - start);
        tmp[cnt - start] = '\0';
        consume_field(flag, tmp, sum, year, rate);
        field_ends[flag++] = cnt;
        if (c == '\0') {
            break;
        }
    }
    return flag;
}

const char* skip_space(const char* text)
{
    while (is_space(*text)) {
        ++text;
    }
    return text;
}

std::int32_t parse_int(const char* text)
{
    const char* p = skip_space(text);
    bool negative = *p == '-';
    p = skip_sign(p);
    // Accumulate the magnitude, stopping just past the 32-bit range.
    constexpr std::int64_t beyond = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; is_digit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > beyond) {
            magnitude = beyond;
        }
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        value = INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}

const char* int_end(const char* text)
{
    const char* digits = skip_sign(skip_space(text));
    const char* end = skip_digits(digits);
    return end != digits ? end : text;
}

double parse_decimal(const char* text)
{
    const char* end = decimal_end(text);
    if (end == text) {
        return 0.0;
    }
    const char* p = skip_space(text);
    bool negative = *p == '-';
    const char* begin = skip_sign(p);
    // The number alone, so that strtod() reads nothing past it (such as the
    // digits of "0x10"); it rounds correctly in the classic locale, which the
    // program never leaves.
    char number[cfg_content_max + 1];
    std::size_t len = std::min(static_cast<std::size_t>(end - begin), cfg_content_max);
    std::memcpy(number, begin, len);
    number[len] = '\0';
    double magnitude = std::strtod(number, nullptr);
    return negative ? -magnitude : magnitude;
}

const char* decimal_end(const char* text)
{
    const char* begin = skip_sign(skip_space(text));
    const char* p = skip_digits(begin);
    bool has_digits = p != begin;
    if (*p == '.') {
        const char* fraction = p + 1;
        p = skip_digits(fraction);
        has_digits = has_digits || p != fraction;
    }
    if (!has_digits) {
        return text;
    }
    if (*p == 'e' || *p == 'E') {
        const char* q = skip_sign(p + 1);
        if (is_digit(*q)) {
            p = skip_digits(q);
        }
    }
    return p;
}
