#include "loan.h"

#include <cstdio>
#include <string_view>

#include "console.h"
#include "power.h"
#include "text.h"

namespace {

// The report texts in GBK (code page 936), written as bytes so that the
// source stays plain UTF-8; each is shown in Chinese above it. Every report
// line ends in CR LF.

// 等额本息借款[
constexpr std::string_view title_debx = "\xB5\xC8\xB6\xEE\xB1\xBE\xCF\xA2\xBD\xE8\xBF\xEE[";
// 等额本金借款[
constexpr std::string_view title_debj = "\xB5\xC8\xB6\xEE\xB1\xBE\xBD\xF0\xBD\xE8\xBF\xEE[";
// " 元] ["
constexpr std::string_view title_yuan = " \xD4\xAA] [";
// " 年] [利率"
constexpr std::string_view title_years_rate = " \xC4\xEA] [\xC0\xFB\xC2\xCA";
// "分期   月供      本金      利息\r\n"
constexpr std::string_view header = "\xB7\xD6\xC6\xDA   \xD4\xC2\xB9\xA9      "
                                    "\xB1\xBE\xBD\xF0      \xC0\xFB\xCF\xA2\r\n";
// "全部还款: "
constexpr std::string_view totals_paid = "\xC8\xAB\xB2\xBF\xBB\xB9\xBF\xEE: ";
// ", 本金: "
constexpr std::string_view totals_principal = ", \xB1\xBE\xBD\xF0: ";
// ", 利息: "
constexpr std::string_view totals_interest = ", \xC0\xFB\xCF\xA2: ";

// Room checked before each line, report_line_size, holds the widest line any
// input can produce in each layout: a row has a period number of at most 7
// digits, three amounts and 13 bytes of text.
static_assert(periods_max < 10000000 && 7 + 13 + 3 * amount_max_chars <= report_line_size,
              "a row could be cut");
static_assert(title_debx.size() + title_yuan.size() + title_years_rate.size() +
                      2 * int32_max_chars + percent_max_chars + 4 <=
                  report_line_size,
              "a title could be cut");
static_assert(totals_paid.size() + totals_principal.size() + totals_interest.size() +
                      3 * amount_max_chars + 2 <=
                  report_line_size,
              "a totals line could be cut");

// "等额本息借款[%d 元] [%d 年] [利率%.02f%%]\r\n", or the same with the
// equal-principal title; the rate is shown in percent, scaled in double.
char* format_title(char* at, std::string_view title, std::uint32_t sum, std::uint32_t year,
                   float rate_y)
{
    at = put_text(at, title);
    at = put_int(at, static_cast<std::int32_t>(sum));
    at = put_text(at, title_yuan);
    at = put_int(at, static_cast<std::int32_t>(year));
    at = put_text(at, title_years_rate);
    at = put_fixed(at, static_cast<double>(rate_y) * 100.0, 2, 0);
    return put_text(at, "%]\r\n");
}

// "%03d : %5.02f ->[%5.02f] [%5.02f]\r\n": period, payment, principal, interest.
char* format_row(char* at, std::uint32_t period, float f_a_x, float f_p_x, float f_i_x)
{
    at = put_int(at, period, 3);
    at = put_text(at, " : ");
    at = put_fixed(at, f_a_x, 2, 5);
    at = put_text(at, " ->[");
    at = put_fixed(at, f_p_x, 2, 5);
    at = put_text(at, "] [");
    at = put_fixed(at, f_i_x, 2, 5);
    return put_text(at, "]\r\n");
}

// "全部还款: %.02f, 本金: %.02f, 利息: %.02f\r\n".
char* format_totals(char* at, float f_a_sum, float f_p_sum, float f_i_sum)
{
    at = put_text(at, totals_paid);
    at = put_fixed(at, f_a_sum, 2, 0);
    at = put_text(at, totals_principal);
    at = put_fixed(at, f_p_sum, 2, 0);
    at = put_text(at, totals_interest);
    at = put_fixed(at, f_i_sum, 2, 0);
    return put_text(at, "\r\n");
}

// Lines are gathered in a block of this size and handed to the report file
// and then to standard output a block at a time: the same bytes in the same
// order as line by line, in a few large writes instead of two per line.
constexpr std::size_t block_size = std::size_t{64} * 1024;

// Hands the gathered lines [block, end) to the report file and then to
// standard output. Errors stay in the streams' error state and are checked
// when the report is closed; a failing standard output never stops the
// report.
void write_block(std::FILE* fp, const char* block, const char* end)
{
    auto used = static_cast<std::size_t>(end - block);
    std::fwrite(block, 1, used, fp);
    write_console(block, used);
}

// Where the next line is formatted in the block: at `at`, after the gathered
// lines, or at the start once they have been written out to leave room for
// the widest line.
char* next_line_at(std::FILE* fp, char* block, char* at)
{
    if (at + report_line_size <= block + block_size) {
        return at;
    }
    write_block(fp, block, at);
    return block;
}

// Equal-installment principal part of the first month: the principal divided
// by the annuity factor, the sum of (1 + rate_m)^k for k = 0 .. periods - 1,
// accumulated term by term in single precision, each power correctly rounded
// (next_power()). The base stays in double and the principal enters the
// division as its exact integer value.
float installment_base_principal(std::uint32_t sum, std::uint32_t periods, float rate_m)
{
    double base = 1.0 + static_cast<double>(rate_m);
    double hi = 1.0;
    double lo = 0.0;
    int scale = 0;
    float f_tmp = 0.0f;
    for (std::uint32_t k = 0; k < periods; ++k) {
        f_tmp = static_cast<float>(f_tmp + next_power(base, k, &hi, &lo, &scale));
    }
    return static_cast<float>(static_cast<double>(sum) / f_tmp);
}

// Equal-principal part of every month: the exact principal divided by the
// unwrapped period count, in double.
float equal_principal_part(std::uint32_t sum, std::uint32_t year)
{
    return static_cast<float>(static_cast<double>(sum) / (static_cast<double>(year) * 12.0));
}

// Computes one row per period and then the totals line, gathering them in
// `block` from `at` on; returns the end of what is gathered. Interest is
// charged on the balance at the start of each month. With `principal_grows`
// the principal part of month cnt is f_p * (1 + rate_m)^cnt (equal
// installments); otherwise it is f_p every month (equal principal).
char* emit_rows(std::FILE* fp, char* block, char* at, std::uint32_t sum, std::uint32_t periods,
                float rate_m, float f_p, bool principal_grows)
{
    double base = 1.0 + static_cast<double>(rate_m);
    double hi = 1.0;
    double lo = 0.0;
    int scale = 0;
    float f_b_x = static_cast<float>(sum);
    float f_p_sum = 0.0f;
    float f_i_sum = 0.0f;
    float f_a_sum = 0.0f;
    for (std::uint32_t cnt = 0; cnt < periods; ++cnt) {
        float f_p_x = principal_grows
                          ? static_cast<float>(f_p * next_power(base, cnt, &hi, &lo, &scale))
                          : f_p;
        float f_i_x = f_b_x * rate_m;
        float f_a_x = f_p_x + f_i_x;
        at = format_row(next_line_at(fp, block, at), cnt + 1, f_a_x, f_p_x, f_i_x);
        f_p_sum += f_p_x;
        f_i_sum += f_i_x;
        f_a_sum += f_a_x;
        f_b_x -= f_p_x;
    }
    return format_totals(next_line_at(fp, block, at), f_a_sum, f_p_sum, f_i_sum);
}

// The frame both schedules share: bound the period count, open the report,
// emit title, header, rows and totals, and close it, reporting any failure
// under the report's name. Returns whether the report was written whole.
bool loan_schedule(const char* file_name, std::string_view title, bool equal_installment,
                   std::uint32_t sum, std::uint32_t year, float rate_y)
{
    float rate_m = rate_y / 12;
    std::uint32_t periods = year * 12u;
    if (periods > periods_max) {
        print_console("too many periods for <%s>: %u (at most %u)\r\n", file_name,
                      static_cast<unsigned>(periods), static_cast<unsigned>(periods_max));
        return false;
    }
    // For writing only: nothing reads a report back, and a report that is a
    // named pipe then waits for its reader and fails when the reader leaves.
    std::FILE* fp = std::fopen(file_name, "wb");
    if (fp == nullptr) {
        print_console("open file <%s> fail\r\n", file_name);
        return false;
    }
    const bool is_console = console_is_report(fp);
    char block[block_size];
    char* at = put_text(format_title(block, title, sum, year, rate_y), header);
    float f_p = equal_installment ? installment_base_principal(sum, periods, rate_m)
                                  : equal_principal_part(sum, year);
    write_block(fp, block, emit_rows(fp, block, at, sum, periods, rate_m, f_p, equal_installment));

    // What is still buffered is written out first: some runtimes' fclose()
    // does not report a failure to write it (Wine's).
    bool written = std::fflush(fp) == 0 && !std::ferror(fp);
    if (std::fclose(fp) != 0) {
        written = false;
    }
    if (!written) {
        print_console("write file <%s> fail\r\n", file_name);
    }
    // Told once the report is closed.
    if (is_console) {
        char message[sizeof "standard output is debx.txt\r\n"];
        char* end = put_text(put_text(put_text(message, "standard output is "), file_name), "\r\n");
        write_error(message, static_cast<std::size_t>(end - message));
        return false;
    }
    return written;
}

} // namespace

bool loan_debx(std::uint32_t sum, std::uint32_t year, float rate_y)
{
    return loan_schedule(report_names[0], title_debx, true, sum, year, rate_y);
}

bool loan_debj(std::uint32_t sum, std::uint32_t year, float rate_y)
{
    return loan_schedule(report_names[1], title_debj, false, sum, year, rate_y);
}
