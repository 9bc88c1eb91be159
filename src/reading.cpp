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
//                           30年 gives 30, 0.049 a year gives 0.049; none
//                           after a letter, as in 1e6 or 0x10)
//   principal-saturated N   beyond the signed 32-bit range; N the limit it
//                           reads as, 2147483647 or -2147483648
//   principal-negative [N]  below zero; N the principal without its sign
//   term-zero               a term of 0 years: no rows
//   term-wraps N            year * 12 wraps at 2^32 to N periods (at most the
//                           limit), which the schedules then have
//   too-many-periods N      more periods than the limit N: no schedule
//   rate-percent [R]        a rate of 1 or more, or one with a % sign; R the
//                           fraction meant, the number's own digits with the
//                           point moved (4.12345 gives 0.0412345), where a
//                           percent below 100 % or the sign makes it clear
//   rate-comma [R]          a decimal comma, which ends the number; R the
//                           fraction meant (0,049 and 4,9 give 0.049)
//   rate-not-number         a rate with no digits
//   cut N                   the first N bytes end inside the line told, or
//                           before all three values
//   stopped B               a byte B, Ctrl-Z or NUL, ends the data there, as
//                           the limit does for cut
//   few-fields N            only N of the three values are there, and the
//                           data did not end early
//
// Where a fix is given, the line holding it reads with no finding; where
// none would, none is given.
#include "reading.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "cfg.h"
#include "loan.h"
#include "text.h"

namespace {

// Room for the longest line: at most 256 bytes of fixed text, a field quoted
// (each byte at most four characters), two parameters or field numbers of at
// most a field and four more digits each, three values and what the writers
// may store past their end. A rate's fix is told with the percent it comes
// from, three numbers of its n digits and three more characters each, but
// those are printable bytes of the field, quoted as one character each:
// 3 * (n + 3) + 4 * (127 - n) + n stays within the room of the field and two.
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

// The pieces one after the other.
char* put_all(char* at, std::initializer_list<std::string_view> pieces)
{
    for (std::string_view piece : pieces) {
        at = put_text(at, piece);
    }
    return at;
}

// `value` in decimal, written in `room` (int32_max_chars at least).
std::string_view int_text(char* room, std::int64_t value)
{
    return between(room, put_int(room, value));
}

// `text` between double quotes: printable ASCII as it is but `"` and `\`
// escaped, every other byte as \xHH.
char* put_quoted(char* at, const char* text)
{
    constexpr char hex[] = "0123456789ABCDEF";
    *at++ = '"';
    for (; *text != '\0'; ++text) {
        auto c = static_cast<unsigned char>(*text);
        if (c >= 0x20 && c <= 0x7E) {
            at = put_all(at, {c == '"' || c == '\\' ? "\\" : "", {text, 1}});
        } else {
            at = put_all(at, {"\\x", {&hex[c >> 4], 1}, {&hex[c & 15], 1}});
        }
    }
    *at++ = '"';
    return at;
}

// "0.049" for "4.9" or "4,9" and `places` 2: the decimal number `number`
// with its point (or comma) moved `places` places to the left (2, 0 or -2,
// to the right), its minus sign kept, without the zeros that neither end
// needs. Writes nothing where it has an exponent.
char* put_moved_point(char* at, std::string_view number, int places)
{
    if (number.find_first_of("eE") != std::string_view::npos) {
        return at;
    }
    at = put_text(at, number[0] == '-' ? "-" : "");
    number.remove_prefix(number[0] == '-' || number[0] == '+' ? 1 : 0);
    // Its digits after three zeros and before two more, so that the point
    // moved has a digit before it and all digits after it.
    char digits[cfg_content_max + 5] = {'0', '0', '0'};
    std::size_t count = 3;
    for (char c : number) {
        digits[count] = c;
        count += is_digit(c) ? 1 : 0;
    }
    digits[count++] = '0';
    digits[count++] = '0';
    const std::size_t whole =
        static_cast<std::size_t>(3 - places) + std::min(number.find_first_of(".,"), number.size());
    std::size_t first = 0;
    while (first + 1 < whole && digits[first] == '0') {
        ++first;
    }
    while (count > whole && digits[count - 1] == '0') {
        --count;
    }
    at = put_text(at, between(digits + first, digits + whole));
    return count > whole ? put_all(at, {".", between(digits + whole, digits + count)}) : at;
}

// "4.90": `rate` in percent, as the titles print it.
char* put_percent(char* at, float rate)
{
    return put_fixed(at, static_cast<double>(rate) * 100.0, 2, 0);
}

// "0.049000, 4.90 % a year": the rate as the echo and the titles print it.
char* put_rate(char* at, float rate)
{
    at = put_text(put_fixed(at, rate, 6, 0), ", ");
    return put_text(put_percent(at, rate), " % a year");
}

// "loan: cfg.txt line 2: " (line 0: "loan: cfg.txt: ").
char* start_finding(char* at, int line)
{
    at = put_text(at, "loan: cfg.txt");
    return put_text(line == 0 ? at : put_int(put_text(at, " line "), line), ": ");
}

// "the term \"30 years\"".
char* put_field(char* at, int k, const char* text)
{
    return put_quoted(put_all(at, {"the ", field_names[k], " "}), text);
}

// Ends the finding in `line` with " [code param]\r\n" (no parameter where
// `param` is empty) and tells it. Returns 1, a finding told.
int tell_finding(char* line, char* at, std::string_view code, std::string_view param,
                 tell_line tell)
{
    at = put_all(at, {" [", code, param.empty() ? "" : " ", param, "]\r\n"});
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
// where a decimal part follows, which no whole number holds, or a letter
// (1e6, 0x10), which leaves what was meant unclear.
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
    const bool decimal = (*p == '.' || *p == ',') && is_digit(p[1]);
    return decimal || std::isalpha(static_cast<unsigned char>(*p)) != 0 ? begin : at;
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

// Whether a principal that reads as `value`, 2147483647 or -2147483648, had
// more in its digits.
bool beyond_int32(const char* text, std::int32_t value)
{
    const char* p = skip_space(text);
    p += *p == '+' || *p == '-' ? 1 : 0;
    while (*p == '0') {
        ++p;
    }
    return between(p, int_end(text)) != (value > 0 ? "2147483647" : "2147483648");
}

// Where a told line goes when only the count of findings matters.
void ignore_line(const char*, std::size_t) {}

int tell_principal(const char* text, std::uint32_t sum, bool alone, tell_line tell);
int tell_term(const char* text, std::uint32_t year, tell_line tell);
int tell_rate(const char* text, float rate, tell_line tell);

// The whole number that principal (k 0) or term (k 1) `text` probably meant
// (put_meant_int()), from byte `skip` of it on (1: without its minus sign),
// written in `room` (cfg_content_max + 8 bytes); empty where it is unclear or
// would itself give a finding.
std::string_view meant_int(char* room, int k, const char* text, std::size_t skip)
{
    char* end = put_meant_int(room, text);
    *end = '\0';
    const char* meant = std::min(room + skip, end);
    const auto value = static_cast<std::uint32_t>(parse_int(meant));
    const int told = k == 0 ? tell_principal(meant, value, false, ignore_line)
                            : tell_term(meant, value, ignore_line);
    return told == 0 ? between(meant, end) : "";
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
        at = put_all(at, {"the line is empty, so the ", field_names[k], " reads as ", zero[k],
                          "; write the ", field_names[k], " here ", advice[k]});
        return tell_finding(line, at, "empty", "", tell);
    }
    at = put_all(put_field(at, k, text),
                 {" is not a number and reads as ", zero[k], "; write it in digits ", advice[k]});
    return tell_finding(line, at, k == 2 ? "rate-not-number" : "not-number", "", tell);
}

// "the principal \"100万\" reads as 100 yuan, as a number ends where its
// digits do; write 1000000", or the rate's, with what was probably meant in
// `meant` (no fix where it is empty).
int tell_text_after(int k, const char* text, std::string_view shown, std::string_view meant,
                    tell_line tell)
{
    char line[line_size];
    char* at = put_all(put_field(start_finding(line, k + 1), k, text),
                       {" reads as ", shown, ", as a number ends where its digits do"});
    at = put_all(at, {"; write ", meant.empty() ? "the number alone" : meant});
    return tell_finding(line, at, "text-after-number", meant, tell);
}

// Text after the number of a principal or term (`shown` what it reads as).
int tell_int_text_after(int k, const char* text, std::string_view shown, tell_line tell)
{
    if (is_blank(int_end(text))) {
        return 0;
    }
    char meant[cfg_content_max + 8];
    return tell_text_after(k, text, shown, meant_int(meant, k, text, 0), tell);
}

// Line 1, the principal. `alone`: no term on line 2. Returns the count
// told, or -1 after one-line, which explains the rest.
int tell_principal(const char* text, std::uint32_t sum, bool alone, tell_line tell)
{
    const auto value = static_cast<std::int32_t>(sum);
    char line[line_size];
    char number[int32_max_chars];
    char* const head = start_finding(line, 1);
    if (std::strncmp(text, "\xEF\xBB\xBF", 3) == 0) {
        std::string_view meant = int_text(number, parse_int(text + 3));
        char* at =
            put_all(head, {"the file starts with a byte-order mark, so the principal reads as "
                           "0 yuan; save cfg.txt without it (as ANSI, or UTF-8 without BOM) "
                           "and it reads as ",
                           meant});
        return tell_finding(line, at, "bom", meant, tell);
    }
    const char* end = int_end(text);
    if (end == text) {
        return tell_no_number(0, text, tell);
    }
    char shown[int32_max_chars + 5];
    const std::string_view yuan = between(shown, put_text(put_int(shown, value), " yuan"));
    if (alone && holds_more_values(end)) {
        char* at =
            put_all(put_quoted(head, text),
                    {" holds more than one value, and only the first is read, as a "
                     "principal of ",
                     yuan, "; put the principal, the term and the rate on lines of their own"});
        tell_finding(line, at, "one-line", "", tell);
        return -1;
    }
    int told = tell_int_text_after(0, text, yuan, tell);
    if ((value == INT32_MAX || value == INT32_MIN) && beyond_int32(text, value)) {
        const std::string_view limit = int_text(number, value);
        char* at = put_all(put_field(head, 0, text),
                           {value > 0 ? " is more than " : " is less than ", limit, " yuan, the ",
                            value > 0 ? "most" : "least", " the program reads, and reads as ",
                            limit, " yuan"});
        told += tell_finding(line, at, "principal-saturated", limit, tell);
    }
    if (value < 0) {
        char* at = put_all(put_field(head, 0, text),
                           {" is negative: the titles show ", yuan, " and the schedules compute ",
                            int_text(number, sum), " yuan; write it without the minus sign"});
        char meant[cfg_content_max + 8];
        told += tell_finding(line, at, "principal-negative", meant_int(meant, 0, text, 1), tell);
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
    const std::string_view years =
        between(shown, put_text(put_int(shown, static_cast<std::int32_t>(year)), " years"));
    int told = tell_int_text_after(1, text, years, tell);
    char line[line_size];
    char* at = put_all(put_field(start_finding(line, 2), 1, text), {" reads as ", years});
    const std::uint32_t periods = year * 12u;
    char number[int32_max_chars];
    if (year == 0) {
        at = put_text(at, ", so the schedules have no rows");
        return told + tell_finding(line, at, "term-zero", "", tell);
    }
    if (periods > periods_max) {
        const std::string_view most = int_text(number, periods_max);
        at = put_int(put_text(at, ", "), periods);
        at = put_all(at, {" periods, more than the ", most,
                          " the program computes, so it writes no schedule"});
        return told + tell_finding(line, at, "too-many-periods", most, tell);
    }
    if (std::uint64_t{year} * 12 != periods) {
        const std::string_view wrapped = int_text(number, periods);
        at = put_all(at, {", whose months wrap at 2^32 to ", wrapped,
                          " periods, the rows the schedules have"});
        return told + tell_finding(line, at, "term-wraps", wrapped, tell);
    }
    return told;
}

// Ends the rate's finding in `line` with `reason` and what to write for the
// rate `number` meant in percent (`percent`) or as a fraction written with a
// comma, "; for 4.9 % write 0.049" (the fraction also its parameter), or the
// advice where no such fraction reads without a finding (`number` empty:
// none meant); tells it with `code`.
int tell_percent(char* line, char* at, std::string_view reason, std::string_view number,
                 bool percent, std::string_view code, tell_line tell)
{
    char fix[cfg_content_max + 8];
    char* end = number.empty() ? fix : put_moved_point(fix, number, percent ? 2 : 0);
    *end = '\0';
    at = put_text(at, reason);
    if (end == fix || tell_rate(fix, static_cast<float>(parse_decimal(fix)), ignore_line) != 0) {
        at = put_text(at, "; write the rate as a fraction, 0.049 for 4.9 %");
        return tell_finding(line, at, code, "", tell);
    }
    at = put_text(put_moved_point(put_text(at, "; for "), number, percent ? 0 : -2), " % write ");
    return tell_finding(line, put_text(at, fix), code, between(fix, end), tell);
}

// Line 3, the rate.
int tell_rate(const char* text, float rate, tell_line tell)
{
    const char* end = decimal_end(text);
    if (end == text) {
        return tell_no_number(2, text, tell);
    }
    char shown[float6_max_chars + percent_max_chars + 12];
    const std::string_view read = between(shown, put_rate(shown, rate));
    char line[line_size];
    char* at = put_all(put_field(start_finding(line, 3), 2, text), {" reads as ", read});
    if (*end == ',' && is_digit(end[1])) {
        // Read again with a decimal point: what was meant.
        char pointed[cfg_content_max + 1];
        std::strcpy(pointed, text);
        pointed[end - text] = '.';
        const std::string_view meant = between(skip_space(pointed), decimal_end(pointed));
        return tell_percent(line, at, ", as a decimal comma ends the number", meant,
                            parse_decimal(pointed) >= 1.0, "rate-comma", tell);
    }
    const bool percent_sign = *skip_space(end) == '%';
    const std::string_view number = between(skip_space(text), end);
    if (percent_sign || rate >= 1.0f) {
        // A rate of 100 or more is no percent written as such, unless it says so.
        return tell_percent(line, at,
                            percent_sign ? ", as the % sign is not read"
                                         : ", as the rate is a fraction (1 is 100 %)",
                            percent_sign || rate < 100.0f ? number : "", true, "rate-percent",
                            tell);
    }
    if (is_blank(end)) {
        return 0;
    }
    return tell_text_after(2, text, read, number, tell);
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
    at = put_text(put_fixed(at, rate, 6, 0), "; save cfg.txt as plain text (ANSI or UTF-8)");
    return tell_finding(line, at, "utf16", "", tell);
}

// The data ends early inside line `line_no`, read as `text`: at the byte
// `stop` ("Ctrl-Z" or "NUL"), or where it is empty, at the limit of 127
// bytes.
int tell_cut(int line_no, const char* text, std::string_view stop, tell_line tell)
{
    char line[line_size];
    char number[int32_max_chars];
    const std::string_view limit = int_text(number, cfg_content_max);
    char* at = start_finding(line, line_no);
    at = stop.empty() ? put_all(at, {"only the first ", limit,
                                     " bytes of cfg.txt are read, and "
                                     "they end"})
                      : put_all(at, {"a ", stop, " byte ends the data"});
    at = put_quoted(put_text(at, " in this line, read as "), text);
    at = put_text(at, "; the rest of the file is not read");
    return tell_finding(line, at, stop.empty() ? "cut" : "stopped", stop.empty() ? limit : stop,
                        tell);
}

int tell_few_fields(int found, tell_line tell)
{
    char line[line_size];
    char number[int32_max_chars];
    const std::string_view count = int_text(number, found);
    char* at = put_all(start_finding(line, 0),
                       {"it holds ", count,
                        " of the 3 values (the principal, the term and the rate, a line each): "
                        "the others read as 0, and the values are not echoed"});
    return tell_finding(line, at, "few-fields", count, tell);
}

// Ends the value line in `line` with " (line 2 \"30\")\r\n", or " (not in
// cfg.txt)\r\n", and tells it.
void tell_value(char* line, char* at, int k, int flag, const char* text, tell_line tell)
{
    if (k >= flag) {
        at = put_text(at, " (not in cfg.txt)\r\n");
    } else {
        at = put_int(put_text(at, " (line "), k + 1);
        at = put_text(put_quoted(put_text(at, " "), text), ")\r\n");
    }
    tell(line, static_cast<std::size_t>(at - line));
}

// The four lines of `loan --check` before its findings.
void tell_values(std::size_t len, int flag, char fields[][cfg_content_max + 1], std::uint32_t sum,
                 std::uint32_t year, float rate, tell_line tell)
{
    char line[line_size];
    char* at = put_int(put_text(line, "cfg.txt: "), len);
    at = put_text(put_int(put_text(at, " bytes, "), flag), " fields\r\n");
    tell(line, static_cast<std::size_t>(at - line));
    at = put_int(put_text(line, "principal: "), static_cast<std::int32_t>(sum));
    tell_value(line, at, 0, flag, fields[0], tell);
    at = put_int(put_text(line, "term: "), static_cast<std::int32_t>(year));
    at = put_text(put_int(put_text(at, " years, "), year * 12u), " periods");
    tell_value(line, at, 1, flag, fields[1], tell);
    at = put_text(put_fixed(put_text(line, "rate: "), rate, 6, 0), " a year, ");
    tell_value(line, put_text(put_percent(at, rate), " %"), 2, flag, fields[2], tell);
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
    // The data ended early in the last field read, at a NUL, a Ctrl-Z or the
    // limit, where a byte other than a line end (for the third value) came
    // after where it ended.
    const std::size_t end = ends[flag - 1];
    const bool nul = end < len && buff[end] == '\0';
    const char after = nul ? buff[end + 1] : end == len ? past : '\0';
    const bool cut = after != '\0' && (flag < 3 || (after != '\r' && after != '\n'));
    const std::string_view stop = nul ? "NUL" : len < cfg_content_max ? "Ctrl-Z" : "";
    int told = 0;
    for (int k = 0; k < flag; ++k) {
        if (cut && k == flag - 1) {
            told += tell_cut(k + 1, fields[k], stop, tell);
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
