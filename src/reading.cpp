// What the program reads from cfg.txt, told in words: the values with their
// lines for `loan --check`, and the findings every run tells first.
//
// `loan --check` writes, each line ending in CR LF:
//
//     cfg.txt: 19 bytes, 3 fields
//     principal: 1000000 (line 1 "1000000")
//     term: 30 years, 360 periods (line 2 "30")
//     rate: 0.049000 a year, 4.90 % (line 3 "0.049")
//
// then the findings. The bytes are the content as read (after the text-mode
// translation and the 127-byte limit), the fields those consumed (0 to 3).
// Each value is printed as the echo line prints it, the periods as the
// unsigned count year * 12 wrapped to 32 bits, the rate also in percent as the
// title prints it; then the field's line and its text as read, or
// "(not in cfg.txt)". A line is a field: each CR, LF or CR LF ends one. The
// text is quoted: printable ASCII as it is but `"` and `\` as `\"` and `\\`,
// every other byte as \xHH.
//
// A finding is one line, `loan: cfg.txt line N: <sentence> [<code>]` or
// `[<code> <parameter>]` (`loan: cfg.txt: ...` where it is about the whole
// file), in the order of the fields. Its parameter is one token: where the
// fix is clear, the text probably meant, as cfg.txt would hold it;
// otherwise a number the sentence needs. The codes:
//
//   utf16                   UTF-16 text; nothing else is told about it
//   bom N                   a UTF-8 byte-order mark before the principal; N the
//                           principal without it
//   empty                   a principal, term or rate line that is empty
//   not-number              a principal or term with no digits
//   one-line                several values on line 1 and no term on line 2;
//                           nothing more is told
//   text-after-number [T]   text after a number, which ends it; T what was
//                           probably meant (1,000,000 and 100万 give 1000000,
//                           30年 gives 30, 0.049 a year gives 0.049)
//   principal-saturated N   beyond the signed 32-bit range; N the largest read
//   principal-negative N    below zero; N the principal without its sign
//   term-zero               a term of 0 years: no rows
//   term-wraps N            year * 12 wraps at 2^32 to N periods (at most the
//                           limit), which the schedules then have
//   too-many-periods N      more periods than the limit N: no schedule
//   rate-percent [R]        a rate of 1 or more, or one with a % sign; R the
//                           fraction meant (4.9 gives 0.049), where a percent
//                           below 100 % or the sign makes it clear
//   rate-comma [R]          a decimal comma, which ends the number; R the
//                           fraction meant (0,049 and 4,9 give 0.049)
//   rate-not-number         a rate with no digits
//   cut N                   the first N bytes end inside the line told, or
//                           before all three values
//   few-fields N            only N of the three values are there
#include "reading.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "cfg.h"
#include "loan.h"
#include "text.h"

namespace {

// Room for the longest line: at most 256 bytes of fixed text, a field quoted
// (each byte at most four characters), two parameters or field numbers of at
// most a field and four more digits each, three values and what the writers
// may store past their end.
constexpr std::size_t line_size = 256 + (2 + 4 * cfg_content_max) + 2 * (cfg_content_max + 4) +
                                  float6_max_chars + 2 * percent_max_chars;

constexpr std::string_view field_names[] = {"principal", "term", "rate"};

// The text from `begin` to `end`.
std::string_view between(const char* begin, const char* end)
{
    return {begin, static_cast<std::size_t>(end - begin)};
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_blank(const char* text)
{
    return *skip_space(text) == '\0';
}

// "%u".
char* put_unsigned(char* at, std::uint32_t value)
{
    // put_int() takes the leading digits (below 2^31) and the last one.
    return value < 10 ? put_int(at, static_cast<std::int32_t>(value))
                      : put_int(put_int(at, static_cast<std::int32_t>(value / 10)),
                                static_cast<std::int32_t>(value % 10));
}

// `text` between double quotes: printable ASCII as it is but `"` and `\`
// escaped, every other byte as \xHH.
char* put_quoted(char* at, const char* text)
{
    constexpr char hex[] = "0123456789ABCDEF";
    *at++ = '"';
    for (; *text != '\0'; ++text) {
        auto c = static_cast<unsigned char>(*text);
        if (c == '"' || c == '\\') {
            *at++ = '\\';
            *at++ = *text;
        } else if (c >= 0x20 && c <= 0x7E) {
            *at++ = *text;
        } else {
            at = put_text(at, "\\x");
            *at++ = hex[c >> 4];
            *at++ = hex[c & 15];
        }
    }
    *at++ = '"';
    return at;
}

// "%f" without the zeros that end its fraction: 0.049 for 0.049000.
char* put_short(char* at, float value)
{
    char* end = put_fixed(at, value, 6, 0);
    while (end[-1] == '0') {
        --end;
    }
    return end[-1] == '.' ? end - 1 : end;
}

// "0.049000, 4.90 % a year": the rate as the echo and the titles print it.
char* put_rate(char* at, float rate)
{
    at = put_text(put_fixed(at, rate, 6, 0), ", ");
    return put_text(put_fixed(at, static_cast<double>(rate) * 100.0, 2, 0), " % a year");
}

// "loan: cfg.txt line 2: " (line 0: "loan: cfg.txt: ").
char* start_finding(char* at, int line)
{
    if (line == 0) {
        return put_text(at, "loan: cfg.txt: ");
    }
    at = put_int(put_text(at, "loan: cfg.txt line "), line);
    return put_text(at, ": ");
}

// "the term \"30 years\"".
char* put_field(char* at, int k, const char* text)
{
    at = put_text(put_text(at, "the "), field_names[k]);
    return put_quoted(put_text(at, " "), text);
}

// Ends the finding in `line` with " [code param]\r\n" (no parameter where
// `param` is empty) and tells it. Returns 1, a finding told.
int tell_finding(char* line, char* at, std::string_view code, std::string_view param,
                 tell_line tell)
{
    at = put_text(put_text(at, " ["), code);
    if (!param.empty()) {
        at = put_text(put_text(at, " "), param);
    }
    at = put_text(at, "]\r\n");
    tell(line, static_cast<std::size_t>(at - line));
    return 1;
}

// Where the digit groups after a number's digits at `p` end (",000,000" or
// " 000 000", one separator throughout), or `p` where none follow.
const char* groups_end(const char* p)
{
    const char sep = *p;
    if (sep != ',' && sep != ' ') {
        return p;
    }
    while (p[0] == sep && is_digit(p[1]) && is_digit(p[2]) && is_digit(p[3]) && !is_digit(p[4])) {
        p += 4;
    }
    return p;
}

// The whole number that a principal or term with text after its number
// probably meant: its digits with the digit groups after them and, after
// 万 (ten thousand, in GBK or in UTF-8), four zeros more. Returns `at` itself
// where a decimal part follows, which no whole number holds.
char* put_meant_int(char* at, const char* text)
{
    const char* p = skip_space(text);
    const char* end = int_end(text);
    char* begin = at;
    at = put_text(at, between(p, end));
    const char* groups = groups_end(end);
    for (p = end; p < groups; p += 4) {
        at = put_text(at, std::string_view(p + 1, 3));
    }
    if (std::strncmp(p, "\xCD\xF2", 2) == 0 || std::strncmp(p, "\xE4\xB8\x87", 3) == 0) {
        return put_text(at, "0000");
    }
    return (*p == '.' || *p == ',') && is_digit(p[1]) ? begin : at;
}

// Whether another number follows the principal's number ending at `end`,
// after white space, commas or semicolons: "1000000 30 0.049".
bool holds_more_values(const char* end)
{
    const char* p = end;
    while (*p == ' ' || *p == '\t' || *p == ',' || *p == ';') {
        ++p;
    }
    return p != end && groups_end(end) == end && decimal_end(p) != p;
}

// Whether a principal that reads as 2147483647 had more in its digits.
bool beyond_int32(const char* text)
{
    const char* p = skip_space(text);
    p += *p == '+' ? 1 : 0;
    while (*p == '0') {
        ++p;
    }
    return between(p, int_end(text)) != "2147483647";
}

// The finding of line k + 1 where it holds no number: empty, or text without
// digits.
int tell_no_number(int k, const char* text, tell_line tell)
{
    constexpr std::string_view advice[] = {"in yuan, such as 1000000", "in years, such as 30",
                                           "as a fraction, 0.049 for 4.9 %"};
    constexpr std::string_view zero[] = {"0 yuan", "0 years", "0.000000, 0.00 % a year"};
    char line[line_size];
    char* at = start_finding(line, k + 1);
    if (is_blank(text)) {
        at = put_text(put_text(put_text(at, "the line is empty, so the "), field_names[k]),
                      " reads as ");
        at = put_text(put_text(put_text(at, zero[k]), "; write the "), field_names[k]);
        at = put_text(put_text(at, " here "), advice[k]);
        return tell_finding(line, at, "empty", "", tell);
    }
    at = put_text(put_text(put_field(at, k, text), " is not a number and reads as "), zero[k]);
    at = put_text(put_text(at, "; write it in digits "), advice[k]);
    return tell_finding(line, at, k == 2 ? "rate-not-number" : "not-number", "", tell);
}

// "the principal \"100万\" reads as 100 yuan, as a number ends where its
// digits do; write 1000000", or the rate's, with what was probably meant in
// `meant` (no fix where it is empty).
int tell_text_after(int k, const char* text, char* value, char* value_end, std::string_view meant,
                    tell_line tell)
{
    char line[line_size];
    char* at = put_text(put_field(start_finding(line, k + 1), k, text), " reads as ");
    at = put_text(at, between(value, value_end));
    at = put_text(at, ", as a number ends where its digits do");
    at = meant.empty() ? put_text(at, "; write the number alone")
                       : put_text(put_text(at, "; write "), meant);
    return tell_finding(line, at, "text-after-number", meant, tell);
}

// Text after the number of a principal or term (`value` what it reads as).
int tell_int_text_after(int k, const char* text, char* value, char* value_end, tell_line tell)
{
    if (is_blank(int_end(text))) {
        return 0;
    }
    char meant[cfg_content_max + 8];
    char* meant_end = put_meant_int(meant, text);
    return tell_text_after(k, text, value, value_end, between(meant, meant_end), tell);
}

// Line 1, the principal. `alone`: no term on line 2. Returns the count
// told, or -1 after one-line, which explains the rest.
int tell_principal(const char* text, std::uint32_t sum, bool alone, tell_line tell)
{
    const auto value = static_cast<std::int32_t>(sum);
    char line[line_size];
    char param[int32_max_chars];
    char* const head = start_finding(line, 1);
    if (std::strncmp(text, "\xEF\xBB\xBF", 3) == 0) {
        char* at =
            put_text(head, "the file starts with a byte-order mark, so the principal reads as "
                           "0 yuan; save cfg.txt without it (as ANSI, or UTF-8 without BOM) "
                           "and it reads as ");
        char* end = put_int(param, parse_int(text + 3));
        at = put_text(at, between(param, end));
        return tell_finding(line, at, "bom", between(param, end), tell);
    }
    const char* end = int_end(text);
    if (end == text) {
        return tell_no_number(0, text, tell);
    }
    char shown[int32_max_chars + 5];
    char* shown_end = put_text(put_int(shown, value), " yuan");
    if (alone && holds_more_values(end)) {
        char* at =
            put_text(put_quoted(head, text), " holds more than one value, and only the first is "
                                             "read, as a principal of ");
        at = put_text(at, between(shown, shown_end));
        at = put_text(at, "; put the principal, the term and the rate on lines of their own");
        tell_finding(line, at, "one-line", "", tell);
        return -1;
    }
    int told = tell_int_text_after(0, text, shown, shown_end, tell);
    if (value == INT32_MAX && beyond_int32(text)) {
        char* at =
            put_text(put_field(head, 0, text), " is more than 2147483647 yuan, the most the "
                                               "program reads, and reads as 2147483647 yuan");
        told += tell_finding(line, at, "principal-saturated", "2147483647", tell);
    }
    if (value < 0) {
        char* at = put_text(put_field(head, 0, text), " is negative: the titles show ");
        at = put_text(at, between(shown, shown_end));
        at = put_text(put_unsigned(put_text(at, " and the schedules compute "), sum), " yuan");
        at = put_text(at, "; write it without the minus sign");
        const char* digits = skip_space(text) + 1;
        told += tell_finding(line, at, "principal-negative", between(digits, end), tell);
    }
    return told;
}

// Line 2, the term.
int tell_term(const char* text, std::uint32_t year, tell_line tell)
{
    if (int_end(text) == text) {
        return tell_no_number(1, text, tell);
    }
    char shown[int32_max_chars + 6];
    char* shown_end = put_text(put_int(shown, static_cast<std::int32_t>(year)), " years");
    int told = tell_int_text_after(1, text, shown, shown_end, tell);
    char line[line_size];
    char* at = put_text(put_field(start_finding(line, 2), 1, text), " reads as ");
    at = put_text(at, between(shown, shown_end));
    const std::uint32_t periods = year * 12u;
    char param[int32_max_chars];
    if (year == 0) {
        at = put_text(at, ", so the schedules have no rows");
        return told + tell_finding(line, at, "term-zero", "", tell);
    }
    if (periods > periods_max) {
        at = put_unsigned(put_text(at, ", "), periods);
        char* end = put_unsigned(param, periods_max);
        at = put_text(at, " periods, more than the ");
        at = put_text(at, between(param, end));
        at = put_text(at, " the program computes, so it writes no schedule");
        return told + tell_finding(line, at, "too-many-periods", between(param, end), tell);
    }
    if (std::uint64_t{year} * 12 != periods) {
        char* end = put_unsigned(param, periods);
        at = put_text(at, ", whose months wrap at 2^32 to ");
        at = put_text(at, between(param, end));
        at = put_text(at, " periods, the rows the schedules have");
        return told + tell_finding(line, at, "term-wraps", between(param, end), tell);
    }
    return told;
}

// The rate meant as `percent` %: " % write 0.049", and the fraction in
// `fix` (empty where it rounds to 0 or is not finite).
char* put_percent_fix(char* at, float percent, char* fix, std::size_t* fix_len)
{
    float fraction = percent / 100.0f;
    char* fix_end = put_short(fix, fraction);
    *fix_len = std::isfinite(fraction) && between(fix, fix_end) != "0"
                   ? static_cast<std::size_t>(fix_end - fix)
                   : 0;
    if (*fix_len == 0) {
        return put_text(at, "; write the rate as a fraction, 0.049 for 4.9 %");
    }
    at = put_text(put_short(put_text(at, "; for "), percent), " % write ");
    return put_text(at, std::string_view(fix, *fix_len));
}

// Line 3, the rate.
int tell_rate(const char* text, float rate, tell_line tell)
{
    const char* end = decimal_end(text);
    if (end == text) {
        return tell_no_number(2, text, tell);
    }
    char shown[float6_max_chars + percent_max_chars + 12];
    char* shown_end = put_rate(shown, rate);
    char line[line_size];
    char* at = put_text(put_field(start_finding(line, 3), 2, text), " reads as ");
    at = put_text(at, between(shown, shown_end));
    char fix[float6_max_chars];
    std::size_t fix_len = 0;
    if (*end == ',' && is_digit(end[1])) {
        // Read again with a decimal point: what was meant.
        char pointed[cfg_content_max + 1];
        std::strcpy(pointed, text);
        pointed[end - text] = '.';
        auto meant = static_cast<float>(parse_decimal(pointed));
        at = put_text(at, ", as a decimal comma ends the number");
        at = put_percent_fix(at, meant >= 1.0f ? meant : meant * 100.0f, fix, &fix_len);
        return tell_finding(line, at, "rate-comma", std::string_view(fix, fix_len), tell);
    }
    const bool percent_sign = *skip_space(end) == '%';
    if (percent_sign || rate >= 1.0f) {
        at = put_text(at, percent_sign ? ", as the % sign is not read"
                                       : ", as the rate is a fraction (1 is 100 %)");
        // A rate of 100 or more is no percent written as such, unless it says so.
        at = put_percent_fix(at, percent_sign || rate < 100.0f ? rate : INFINITY, fix, &fix_len);
        return tell_finding(line, at, "rate-percent", std::string_view(fix, fix_len), tell);
    }
    if (is_blank(end)) {
        return 0;
    }
    const char* number = skip_space(text);
    return tell_text_after(2, text, shown, shown_end, between(number, end), tell);
}

// UTF-16 text: a byte-order mark of UTF-16, or a NUL in the first two bytes
// (the high byte of an ASCII character).
bool is_utf16(const char* buff, std::size_t len)
{
    return len >= 2 &&
           (std::strncmp(buff, "\xFF\xFE", 2) == 0 || std::strncmp(buff, "\xFE\xFF", 2) == 0 ||
            buff[0] == '\0' || buff[1] == '\0');
}

int tell_utf16(std::uint32_t sum, std::uint32_t year, float rate, tell_line tell)
{
    char line[line_size];
    char* at = put_text(start_finding(line, 0), "the file is UTF-16 text, which reads as a "
                                                "principal of ");
    at = put_text(put_int(at, static_cast<std::int32_t>(sum)), " yuan, a term of ");
    at = put_text(put_int(at, static_cast<std::int32_t>(year)), " years and a rate of ");
    at = put_fixed(at, rate, 6, 0);
    at = put_text(at, "; save cfg.txt as plain text (ANSI or UTF-8)");
    return tell_finding(line, at, "utf16", "", tell);
}

// The limit of 127 bytes ends the content inside line `line`, read as `text`.
int tell_cut(int line_no, const char* text, tell_line tell)
{
    char line[line_size];
    char param[int32_max_chars];
    char* param_end = put_int(param, static_cast<std::int32_t>(cfg_content_max));
    char* at = put_text(start_finding(line, line_no), "only the first ");
    at = put_text(at, between(param, param_end));
    at = put_quoted(put_text(at, " bytes of cfg.txt are read, and they end in this line, read as "),
                    text);
    at = put_text(at, "; the rest of the file is not read");
    return tell_finding(line, at, "cut", between(param, param_end), tell);
}

int tell_few_fields(int found, tell_line tell)
{
    char line[line_size];
    char* at = put_int(put_text(start_finding(line, 0), "it holds "), found);
    at = put_text(at, " of the 3 values (the principal, the term and the rate, a line each): "
                      "the others read as 0, and the values are not echoed");
    char param[int32_max_chars];
    char* end = put_int(param, found);
    return tell_finding(line, at, "few-fields", between(param, end), tell);
}

// " (line 2 \"30\")\r\n", or " (not in cfg.txt)\r\n".
char* put_source(char* at, int k, int flag, const char* text)
{
    if (k >= flag) {
        return put_text(at, " (not in cfg.txt)\r\n");
    }
    at = put_int(put_text(at, " (line "), k + 1);
    return put_text(put_quoted(put_text(at, " "), text), ")\r\n");
}

// The four lines of `loan --check` before its findings.
void tell_values(std::size_t len, int flag, char fields[][cfg_content_max + 1], std::uint32_t sum,
                 std::uint32_t year, float rate, tell_line tell)
{
    char line[line_size];
    char* at = put_int(put_text(line, "cfg.txt: "), static_cast<std::int32_t>(len));
    at = put_text(put_int(put_text(at, " bytes, "), flag), " fields\r\n");
    tell(line, static_cast<std::size_t>(at - line));
    at = put_int(put_text(line, "principal: "), static_cast<std::int32_t>(sum));
    at = put_source(at, 0, flag, fields[0]);
    tell(line, static_cast<std::size_t>(at - line));
    at = put_int(put_text(line, "term: "), static_cast<std::int32_t>(year));
    at = put_text(put_unsigned(put_text(at, " years, "), year * 12u), " periods");
    at = put_source(at, 1, flag, fields[1]);
    tell(line, static_cast<std::size_t>(at - line));
    at = put_text(put_fixed(put_text(line, "rate: "), rate, 6, 0), " a year, ");
    at = put_text(put_fixed(at, static_cast<double>(rate) * 100.0, 2, 0), " %");
    at = put_source(at, 2, flag, fields[2]);
    tell(line, static_cast<std::size_t>(at - line));
}

} // namespace

int tell_reading(const char* buff, std::size_t len, char past, bool values, tell_line tell)
{
    // The one reading of the program, with the same defaults for what is not found.
    std::uint32_t sum = 0;
    std::uint32_t year = 0;
    float rate = 0.0f;
    std::size_t ends[3] = {};
    const int flag = split_fields(buff, len, &sum, &year, &rate, ends);
    char fields[3][cfg_content_max + 1] = {};
    for (int k = 0; k < flag; ++k) {
        std::size_t start = field_start(ends, k);
        std::memcpy(fields[k], buff + start, ends[k] - start);
    }
    if (values) {
        tell_values(len, flag, fields, sum, year, rate, tell);
    }
    if (is_utf16(buff, len)) {
        return tell_utf16(sum, year, rate, tell);
    }
    // Fewer than three fields: the last one, ended by the end of the data,
    // holds nothing when a line end came just before it (or the file is
    // empty), and then no value was written there.
    const bool last_missing = flag < 3 && fields[flag - 1][0] == '\0';
    const int found = last_missing ? flag - 1 : flag;
    const bool cut =
        past != '\0' && ends[flag - 1] == len && (flag < 3 || (past != '\r' && past != '\n'));
    int told = 0;
    for (int k = 0; k < flag; ++k) {
        if (cut && k == flag - 1) {
            told += tell_cut(k + 1, fields[k], tell);
        }
        if (k >= found) {
            break;
        }
        if (k == 0) {
            int principal = tell_principal(fields[0], sum, is_blank(fields[1]), tell);
            if (principal < 0) {
                return told + 1;
            }
            told += principal;
        } else if (k == 1) {
            told += tell_term(fields[1], year, tell);
        } else {
            told += tell_rate(fields[2], rate, tell);
        }
    }
    if (found < 3 && !cut) {
        told += tell_few_fields(found, tell);
    }
    return told;
}
