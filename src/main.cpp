// Reads the loan from cfg.txt in the working directory, echoes it and writes
// both repayment schedules; answers --help and --version.
#include <cstdio>
#include <cstring>

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
        char line[echo_max_chars];
        write_console(line, static_cast<std::size_t>(format_echo(line, *sum, *year, *rate) - line));
    }
    return true;
}

// Reads cfg.txt and writes both schedules. Returns the exit status.
int run()
{
    // Values that cfg.txt does not supply stay zero.
    std::uint32_t sum = 0;
    std::uint32_t year = 0;
    float rate = 0.0f;
    if (!read_cfg(&sum, &year, &rate)) {
        return 1;
    }
    bool debx_written = loan_debx(sum, year, rate);
    bool debj_written = loan_debj(sum, year, rate);
    return debx_written && debj_written ? 0 : 1;
}

// What `loan --help` prints.
constexpr char help[] =
    "usage: loan [--help | --version]\r\n"
    "Reads the loan from cfg.txt in the working directory (three lines: the\r\n"
    "principal in yuan, the term in years, the annual rate as a fraction such as\r\n"
    "0.049) and writes its schedules there: debx.txt with equal installments,\r\n"
    "debj.txt with equal principal, in GBK with CR LF. Every report line is\r\n"
    "printed to standard output as well.\r\n"
    "Exit status: 0 when both reports were written, 1 after a failure, 2 after\r\n"
    "a wrong argument. More in `man loan`.\r\n";

// The reply to a lone argument, or nullptr where it is not one of ours.
const char* reply_to(const char* argument)
{
    return std::strcmp(argument, "--help") == 0      ? help
           : std::strcmp(argument, "--version") == 0 ? "loan " LOAN_VERSION "\r\n"
                                                     : nullptr;
}

// Answers --help or --version given alone; anything else is a usage error,
// and no file is read or written. Returns the exit status.
int answer(int argc, char** argv)
{
    const char* reply = reply_to(argv[1]);
    if (reply == nullptr || argc > 2) {
        // The first argument not understood, or the one after --help or --version.
        std::fprintf(stderr, "loan: unknown argument '%s'; usage: loan [--help | --version]\r\n",
                     reply == nullptr ? argv[1] : argv[2]);
        return 2;
    }
    write_console(reply, std::strlen(reply));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!prepare_standard_output()) {
        return 1;
    }
    int status = argc > 1 ? answer(argc, argv) : run();
    // Checked once the reports are closed, so that they never wait on it.
    if (!console_complete()) {
        std::fputs("write <stdout> fail\r\n", stderr);
        status = 1;
    }
    return status;
}
