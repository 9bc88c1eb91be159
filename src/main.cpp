// Reads the loan from cfg.txt in the working directory, echoes it and writes
// both repayment schedules.
#include <cstdio>

#include "cfg.h"
#include "console.h"
#include "loan.h"
#include "text.h"

namespace {

// Widest echo line.
constexpr std::size_t echo_max_chars =
    sizeof "sum: , year: , rate: \r\n" - 1 + 2 * int32_max_chars + float6_max_chars;

// "sum: %d, year: %d, rate: %f\r\n": the loan as read.
char* format_echo(char* at, std::uint32_t sum, std::uint32_t year, float rate)
{
    at = put_text(at, "sum: ");
    at = put_int(at, static_cast<std::int32_t>(sum));
    at = put_text(at, ", year: ");
    at = put_int(at, static_cast<std::int32_t>(year));
    at = put_text(at, ", rate: ");
    at = put_fixed(at, rate, 6, 0);
    return put_text(at, "\r\n");
}

// Reads cfg.txt into the three parameters and echoes them when all three were
// found. Returns false, after reporting it, when the file cannot be read.
bool read_cfg(std::uint32_t* sum, std::uint32_t* year, float* rate)
{
    // Binary mode: the reader does the text-mode translation itself, so that
    // every platform delivers the same bytes.
    std::FILE* fp = std::fopen("cfg.txt", "rb");
    if (fp == nullptr) {
        print_console("open <cfg.txt> fail\r\n");
        return false;
    }
    char buff[cfg_content_max + 1];
    std::size_t len = 0;
    bool read = read_cfg_content(fp, buff, &len);
    std::fclose(fp);
    if (!read) {
        // A cfg.txt that exists but cannot be read (a directory, say) is as
        // unusable as a missing one.
        print_console("open <cfg.txt> fail\r\n");
        return false;
    }
    // An empty cfg.txt is one empty field: no echo, and the values stay 0.
    if (split_fields(buff, len, sum, year, rate) == 3) {
        char line[echo_max_chars + store_slack];
        write_console(line, static_cast<std::size_t>(format_echo(line, *sum, *year, *rate) - line));
    }
    return true;
}

} // namespace

int main()
{
    if (!prepare_standard_output()) {
        return 1;
    }
    // Values that cfg.txt does not supply stay zero.
    std::uint32_t sum = 0;
    std::uint32_t year = 0;
    float rate = 0.0f;
    int status = 1;
    if (read_cfg(&sum, &year, &rate)) {
        bool debx_written = loan_debx(sum, year, rate);
        bool debj_written = loan_debj(sum, year, rate);
        status = debx_written && debj_written ? 0 : 1;
    }
    // Checked once the reports are closed, so that they never wait on it.
    if (!console_complete()) {
        std::fputs("write <stdout> fail\r\n", stderr);
        status = 1;
    }
    return status;
}
