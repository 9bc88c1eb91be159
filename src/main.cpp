// Reads the loan from cfg.txt in the working directory, echoes it, tells what
// looks unintended in it and writes both repayment schedules; answers --help,
// --version and --check.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "cfg.h"
#include "console.h"
#include "loan.h"
#include "reading.h"
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

// Reads the content of cfg.txt into `buff` (cfg_content_max + 1 bytes), its
// length into `*len` and the byte past where it ended into `*past`. Returns
// false, after reporting it through `say`, when the file cannot be read.
bool read_cfg(char* buff, std::size_t* len, char* past, tell_line say)
{
    // Binary mode: the reader does the text-mode translation itself, so that
    // every platform delivers the same bytes.
    std::FILE* fp = std::fopen("cfg.txt", "rb");
    // A cfg.txt that exists but cannot be read (a directory, say) is as
    // unusable as a missing one.
    bool read = fp != nullptr && read_cfg_content(fp, buff, len, past);
    if (fp != nullptr) {
        std::fclose(fp);
    }
    if (!read) {
        constexpr char failed[] = "open <cfg.txt> fail\r\n";
        say(failed, sizeof failed - 1);
    }
    return read;
}

// Reads cfg.txt. With `checking` (`loan --check`), prints what the program
// reads from it and the findings on standard output, whatever file that is,
// and writes no report;
// otherwise echoes the loan when all three values were found, tells the
// findings on standard error and writes both schedules. Returns the exit
// status (for --check, 0 without a finding).
int run(bool checking)
{
    char buff[cfg_content_max + 1];
    std::size_t len = 0;
    char past = '\0';
    if (!read_cfg(buff, &len, &past, checking ? write_output : write_console)) {
        return 1;
    }
    if (checking) {
        return tell_reading(buff, len, past, true, write_output) == 0 ? 0 : 1;
    }
    // Values that cfg.txt does not supply stay zero; an empty cfg.txt is one
    // empty field.
    std::uint32_t sum = 0;
    std::uint32_t year = 0;
    float rate = 0.0f;
    std::size_t ends[3];
    if (split_fields(buff, len, &sum, &year, &rate, ends) == 3) {
        char line[echo_max_chars];
        write_console(line, static_cast<std::size_t>(format_echo(line, sum, year, rate) - line));
    }
    tell_reading(buff, len, past, false, write_error);
    bool debx_written = loan_debx(sum, year, rate);
    bool debj_written = loan_debj(sum, year, rate);
    return debx_written && debj_written ? 0 : 1;
}

// What `loan --help` prints.
constexpr char help[] =
    "usage: loan [--help | --version | --check]\r\n"
    "Reads the loan from cfg.txt in the working directory (three lines: the\r\n"
    "principal in yuan, the term in years, the annual rate as a fraction such as\r\n"
    "0.049) and writes its schedules there: debx.txt with equal installments,\r\n"
    "debj.txt with equal principal, in GBK with CR LF. Every report line is\r\n"
    "printed to standard output as well. What looks unintended in cfg.txt (a\r\n"
    "rate written in percent, a byte-order mark, text after a number) is told\r\n"
    "on standard error first, a line each, with what to write instead.\r\n"
    "--check prints what the program reads from cfg.txt and those lines, and\r\n"
    "writes no report: exit status 0 when nothing looks unintended, else 1.\r\n"
    "Exit status: 0 when both reports were written, 1 after a failure, 2 after\r\n"
    "a wrong argument. More in `man loan`.\r\n";

// The reply to a lone argument, or nullptr where it is not one of ours.
const char* reply_to(const char* argument)
{
    return std::strcmp(argument, "--help") == 0      ? help
           : std::strcmp(argument, "--version") == 0 ? "loan " LOAN_VERSION "\r\n"
                                                     : nullptr;
}

// Answers --help, --version or --check given alone; anything else is a usage
// error, and no file is read or written. Returns the exit status.
int answer(int argc, char** argv)
{
    const bool checking = std::strcmp(argv[1], "--check") == 0;
    const char* reply = checking ? "" : reply_to(argv[1]);
    if (reply == nullptr || argc > 2) {
        // The first argument not understood, or the one after it.
        // Told in pieces, the argument whole however long, and the usage as
        // the help's first line.
        const std::string_view pieces[] = {
            "loan: unknown argument '", reply == nullptr ? argv[1] : argv[2], "'; ",
            std::string_view(help, static_cast<std::size_t>(std::strchr(help, '\n') + 1 - help))};
        for (std::string_view piece : pieces) {
            write_error(piece.data(), piece.size());
        }
        return 2;
    }
    if (checking) {
        return run(true);
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
    int status = argc > 1 ? answer(argc, argv) : run(false);
    // Checked once the reports are closed, so that they never wait on it.
    if (!console_complete()) {
        constexpr std::string_view lost = "write <stdout> fail\r\n";
        write_error(lost.data(), lost.size());
        status = 1;
    }
    return status;
}
