// The reading of cfg.txt: the translation, the fields, the numbers, and what
// is told of them.
#include "cfg.h"
#include "reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

struct Parsed {
    int flag;
    std::uint32_t sum;
    std::uint32_t year;
    float rate;
};

// What the real reader delivers of `raw` as the content of a file.
struct Content {
    char buff[cfg_content_max + 1];
    std::size_t len = 0;
    char past = '\0';
};

Content read_content(std::string_view raw)
{
    std::FILE* fp = std::tmpfile();
    std::fwrite(raw.data(), 1, raw.size(), fp);
    std::rewind(fp);
    Content content;
    EXPECT_TRUE(read_cfg_content(fp, content.buff, &content.len, &content.past));
    std::fclose(fp);
    return content;
}

// The file content through the real reader, from a file, and the splitter.
Parsed parse(std::string_view raw)
{
    Content c = read_content(raw);
    Parsed parsed{0, 0, 0, 0.0f};
    std::size_t ends[3];
    parsed.flag = split_fields(c.buff, c.len, &parsed.sum, &parsed.year, &parsed.rate, ends);
    return parsed;
}

// The same float, the sign of zero included.
bool same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct CfgCase {
    const char* name;
    std::string content;
    Parsed expected;
};

TEST(Cfg, FieldsTable)
{
    const std::string spaces(117, ' ');
    const CfgCase cases[] = {
        {"three lines", "120\n1\n0.12\n", {3, 120, 1, 0.12f}},
        {"no line end after the rate", "120\n1\n0.12", {3, 120, 1, 0.12f}},
        {"two lines ended: empty third field", "120\n1\n", {3, 120, 1, 0.0f}},
        {"two lines, the last unended", "120\n1", {2, 120, 1, 0.0f}},
        {"blank line shifts the fields", "120\n\n1\n", {3, 120, 0, 1.0f}},
        {"number followed by a word", "120 apples\n1\n0.12\n", {3, 120, 1, 0.12f}},
        {"term of -1 wraps", "120\n-1\n0.12\n", {3, 120, 4294967295u, 0.12f}},
        {"CR LF line ends", "120\r\n1\r\n0.12\r\n", {3, 120, 1, 0.12f}},
        {"lone CR ends a field", "120\r1\r0.12\r", {3, 120, 1, 0.12f}},
        {"CR CR LF is a field end and an empty field", "120\r\r\n1\n", {3, 120, 0, 1.0f}},
        {"Ctrl-Z ends the data",
         "120\n1\n0.12\n\x1A"
         "5\n6\n",
         {3, 120, 1, 0.12f}},
        {"Ctrl-Z inside a field ends it", "120\n1\x1A\n0.12\n", {2, 120, 1, 0.0f}},
        {"NUL ends the field and the scan", std::string("120\n1\0\n0.12\n"sv), {2, 120, 1, 0.0f}},
        {"fields after the third ignored", "120\n1\n0.12\n4\n5\n", {3, 120, 1, 0.12f}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "120\n1\n0.12\n",
         {3, 0, 1, 0.12f}},
        {"decimal comma", "120\n1\n0,12\n", {3, 120, 1, 0.0f}},
        {"rate as a percentage", "120\n1\n12\n", {3, 120, 1, 12.0f}},
        {"empty file: one empty field", "", {1, 0, 0, 0.0f}},
        {"only a Ctrl-Z", "\x1A", {1, 0, 0, 0.0f}},
        {"field cut at byte 127", "120\n1\n" + std::string(118, ' ') + "0.25\n", {3, 120, 1, 0.2f}},
        {"127 bytes counted after CR LF becomes LF",
         "120\r\n1\r\n" + spaces + "0.25",
         {3, 120, 1, 0.25f}},
        {"out-of-range integers saturate",
         "99999999999\n-99999999999\n0.1\n",
         {3, 2147483647u, 2147483648u, 0.1f}},
        {"rate overflowing float", "120\n1\n1e39\n", {3, 120, 1, HUGE_VALF}},
    };
    for (const CfgCase& c : cases) {
        Parsed got = parse(c.content);
        EXPECT_EQ(got.flag, c.expected.flag) << c.name;
        EXPECT_EQ(got.sum, c.expected.sum) << c.name;
        EXPECT_EQ(got.year, c.expected.year) << c.name;
        EXPECT_TRUE(same(got.rate, c.expected.rate)) << c.name;
    }
}

// The translation reads no raw byte past the count it is given, even when
// the bytes after it would change what it delivers, and delivers no byte past
// the count asked for.
TEST(Cfg, TranslationEndsWithTheRawBytes)
{
    const struct {
        std::string_view raw;
        std::size_t raw_len;
        std::size_t out_max;
        const char* delivered;
    } cases[] = {
        {"12", 1, 9, "1"}, {"1\r\n", 2, 9, "1\r"}, {"1\r\n", 3, 9, "1\n"}, {"123", 3, 2, "12"}};
    for (const auto& c : cases) {
        char out[cfg_content_max];
        std::size_t len = translate_text_mode(c.raw.data(), c.raw_len, out, c.out_max);
        EXPECT_EQ(std::string(out, len), c.delivered) << c.raw;
    }
}

TEST(Cfg, ParseIntTable)
{
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"120", 120},
        {"  \t+42x", 42},
        {"\n\v\f\r7", 7},
        {"-7", -7},
        {"", 0},
        {"abc", 0},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999", INT32_MAX},
        {"0000000000000000000000012", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_int(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(Cfg, ParseDecimalTable)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"0.12", 0.12},
        {"  -1.5e2", -150.0},
        {"\t\n\v\f\r.5", 0.5},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"2E-1x", 0.2},
        {"0x10", 0.0},
        {"inf", 0.0},
        {"nan", 0.0},
        {"-infinity", 0.0},
        {".e1", 0.0},
        {"", 0.0},
        {"-", 0.0},
        {"-0", -0.0},
        {"-1e-999", -0.0},
        {"1e999", HUGE_VAL},
        {"-1e999", -HUGE_VAL},
        {"1e-999", 0.0},
        {"1e-310", 1e-310},
        {"0.0000000000000000000000000000000000000000001e400", HUGE_VAL},
        {"100000000000000000000000000000000000000000e-400", 0.0},
        {"1e99999999999999999999", HUGE_VAL},
        {"0.1000000000000000055511151231257827", 0.1},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(same(parse_decimal(c.text), c.expected)) << '"' << c.text << '"';
    }
}

// The lines told, gathered.
std::string told;

void gather(const char* text, std::size_t len)
{
    told.append(text, len);
}

// The findings told about `raw` as cfg.txt, each as the line it names (0
// for the file) and its code with its parameter ("1 bom 1000000; 0
// few-fields 2"); every line a finding's.
std::string findings(std::string_view raw)
{
    Content c = read_content(raw);
    told.clear();
    int count = tell_reading(c.buff, c.len, c.past, false, gather);
    std::string codes;
    int lines = 0;
    for (std::size_t at = 0; at < told.size(); ++lines) {
        std::size_t end = told.find("]\r\n", at);
        std::size_t open = told.rfind(" [", end);
        EXPECT_EQ(told.compare(at, 13, "loan: cfg.txt"), 0) << told;
        // The line it names, 0 for none, and its code.
        std::string line = told.compare(at + 13, 6, " line ") == 0
                               ? told.substr(at + 19, told.find(':', at + 19) - at - 19)
                               : "0";
        codes += (codes.empty() ? "" : "; ") + line + " " + told.substr(open + 2, end - open - 2);
        at = end + 3;
    }
    EXPECT_EQ(count, lines) << told;
    return codes;
}

TEST(Cfg, FindingsTable)
{
    const std::string spaces(117, ' ');
    const struct {
        const char* name;
        std::string content;
        const char* codes;
    } cases[] = {
        {"a plain loan", "1000000\n30\n0.049\n", ""},
        {"CR LF, spaces after the numbers, no line end at last", "120 \r\n1\t\r\n0.12 ", ""},
        {"the largest principal read as it is", "2147483647\n1\n0.99\n", ""},
        {"the largest principal with a sign", "+2147483647\n1\n0.99\n", ""},
        {"the largest principal after zeros", "0002147483647\n1\n0.99\n", ""},
        {"the longest term computed", "120\n100000\n0\n", ""},
        {"Ctrl-Z after the rate",
         "120\n1\n0.12\n\x1A"
         "5\n",
         ""},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1000000\n30\n0.049\n",
         "1 bom 1000000"},
        {"UTF-16 with its mark",
         std::string("\xFF\xFE"
                     "1\0\n\0"sv),
         "0 utf16"},
        {"UTF-16 big-endian, no mark",
         std::string("\0"
                     "1\0\n"sv),
         "0 utf16"},
        {"an empty file", "", "0 few-fields 0"},
        {"the principal alone", "120\n", "0 few-fields 1"},
        {"one byte, no second to be UTF-16's", "7", "0 few-fields 1"},
        {"no line end after the term", "120\n1", "0 few-fields 2"},
        {"a NUL ends the data after the term", std::string("120\n1\0\n0.12\n"sv), "2 stopped NUL"},
        {"a NUL at the end after the term: nothing lost", std::string("120\n1\0"sv),
         "0 few-fields 2"},
        {"a NUL inside the principal",
         std::string("10\0"
                     "00000\n30\n0.049\n"sv),
         "1 stopped NUL"},
        {"a NUL inside the rate",
         std::string("120\n1\n0.0\0"
                     "49\n"sv),
         "3 stopped NUL"},
        {"a Ctrl-Z inside the rate",
         "120\r\n1\r\n0.0\x1A"
         "49\r\n",
         "3 stopped Ctrl-Z"},
        {"a Ctrl-Z inside the term",
         "120\n3\x1A"
         "0\n0.049\n",
         "2 stopped Ctrl-Z"},
        {"a Ctrl-Z right after the rate, its line end after it", "120\n1\n0.12\x1A\r\n", ""},
        {"no rate after the line end", "120\n1\n", "3 empty"},
        {"blank lines", "\n \n0.05\n", "1 empty; 2 empty"},
        {"no digits", "abc\n-\ninf\n", "1 not-number; 2 not-number; 3 rate-not-number"},
        {"three values on one line", "1000000 30 0.049\n", "1 one-line"},
        {"three values on one line, tabs, no line end", "1000000\t30\t0.049", "1 one-line"},
        {"digit groups", "1 000 000\n30\xE5\xB9\xB4\n0.049\n",
         "1 text-after-number 1000000; 2 text-after-number 30"},
        {"digit groups and ten thousands in GBK", "1,000,000\n1\xCD\xF2\n0\n",
         "1 text-after-number 1000000; 2 text-after-number 10000"},
        {"digit groups and a character that is not 10000, no term after them",
         "1,000,000\xE4\xB8\x80\n\n0.049\n", "1 text-after-number 1000000; 2 empty"},
        {"three digit groups", "1,000,000,000\n30 1\n0.049\n",
         "1 text-after-number 1000000000; 2 text-after-number 30"},
        {"a decimal comma in the term", "120\n1,5\n0.049\n", "2 text-after-number"},
        {"a decimal part, no whole number meant", "1,000,000.00\n30.5\n0.049\n",
         "1 text-after-number; 2 text-after-number"},
        {"text after a principal beyond the range", "3000000000\xD4\xAA\n1\n0.1\n",
         "1 text-after-number; 1 principal-saturated 2147483647"},
        {"ten thousands beyond the range", "999999\xCD\xF2\n30\n0.049\n", "1 text-after-number"},
        {"digit groups beyond the range", "1,000,000,000,000\n1,000,000\n0.049\n",
         "1 text-after-number; 2 text-after-number"},
        {"a negative principal beyond the range", "-99999999999\n30\n0.049\n",
         "1 principal-saturated -2147483648; 1 principal-negative"},
        {"a negative principal with text: one fix", "-5000abc\n30\n0.049\n",
         "1 text-after-number; 1 principal-negative"},
        {"a negative principal in digit groups", "-5,000\n30\n0.049\n",
         "1 text-after-number; 1 principal-negative 5000"},
        {"a letter after the number: no fix", "1e6\n0x10\n0.049\n",
         "1 text-after-number; 2 text-after-number; 2 term-zero"},
        {"negative principal", "-5\n1\n0.1\n", "1 principal-negative 5"},
        {"term of 0", "120\n0\n0.05\n", "2 term-zero"},
        {"terms that wrap", "120\n357913942\n0.05\n", "2 term-wraps 8"},
        {"a term that wraps to no period", "120\n1073741824\n0.05\n", "2 term-wraps 0"},
        {"one period too many", "120\n100001\n0.05\n", "2 too-many-periods 1200000"},
        {"term of -1", "120\n-1\n0.05\n", "2 too-many-periods 1200000"},
        {"rate in percent", "120\n1\n4.9\n", "3 rate-percent 0.049"},
        {"rate of 1", "120\n1\n1\n", "3 rate-percent 0.01"},
        {"a percent sign", "120\n1\n0.049 %\n", "3 rate-percent 0.00049"},
        {"a rate beyond any percent", "120\n1\n120\n", "3 rate-percent"},
        {"an infinite rate", "120\n1\n1e39\n", "3 rate-percent"},
        {"a tiny percent, its fix exact", "120\n1\n0.00000001%\n", "3 rate-percent 0.0000000001"},
        {"a percent's fix exact", "120\n1\n4.12345%\n", "3 rate-percent 0.0412345"},
        {"a percent without a whole part", "120\n1\n.5%\n", "3 rate-percent 0.005"},
        {"a negative percent keeps its sign", "120\n1\n-4.9%\n", "3 rate-percent -0.049"},
        {"a percent of 100 or more: no fix", "120\n1\n150%\n", "3 rate-percent"},
        {"a percent with an exponent: no fix", "120\n1\n1e1%\n", "3 rate-percent"},
        {"a decimal comma in a percent of 100 or more: no fix", "120\n1\n100,5\n", "3 rate-comma"},
        {"a decimal comma", "120\n1\n0,049\n", "3 rate-comma 0.049"},
        {"a decimal comma in a percent", "120\n1\n4,9\n", "3 rate-comma 0.049"},
        {"a decimal comma in a rate of 1", "120\n1\n1,0\n", "3 rate-comma 0.01"},
        {"text after the rate", "120\n1\n0.049 a year\n", "3 text-after-number 0.049"},
        {"the widest line, each byte escaped", "1 2" + std::string(124, '\x80'), "1 one-line"},
        {"the rate cut at byte 127", "120\n1\n" + spaces + " 0.25\n", "3 cut 127"},
        {"the limit before the rate", "120\n" + std::string(122, ' ') + "1\n0.05", "2 cut 127"},
        {"the limit just after the rate", "120\n1\n" + spaces + "0.25\n", ""},
        {"the limit after the third line", "120\n1\n0.2\n" + std::string(200, 'x'), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findings(c.content), c.codes) << c.name;
        // Each fix written in place of its line leaves that line no finding.
        std::istringstream told_codes(c.codes);
        int line = 0;
        std::string code;
        std::string param;
        while (told_codes >> line >> code && std::getline(told_codes, param, ';')) {
            if (param.empty() ||
                std::string(" bom text-after-number principal-negative rate-percent "
                            "rate-comma ")
                        .find(" " + code + " ") == std::string::npos) {
                continue;
            }
            std::size_t start = 0;
            for (int k = 1; k < line; ++k) {
                start = c.content.find('\n', start) + 1;
            }
            std::string fixed = c.content;
            fixed.replace(start, fixed.find_first_of("\r\n", start) - start, param.substr(1));
            EXPECT_EQ(("; " + findings(fixed)).find("; " + std::to_string(line) + " "),
                      std::string::npos)
                << c.name << ": " << fixed;
        }
    }
}

} // namespace
