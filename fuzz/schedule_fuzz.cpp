// A whole schedule of both kinds for an arbitrary principal, a term of up to
// 255 years and an arbitrary rate bit pattern, written into a temporary
// directory: every line of both reports ends in CR LF and fits a line buffer,
// and a report has a title, a header, one row per month and a totals line.
// Long terms with absurd rates fill many blocks with the widest lines (the
// seed wide_lines_many_blocks does).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "loan.h"

namespace {

void check_report(const char* name, std::uint32_t periods)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    std::string text = content.str();
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos || end + 2 - start > report_line_size ||
            text.find('\n', start) != end + 1) {
            std::abort();
        }
        ++lines;
        start = end + 2;
    }
    if (lines != periods + 3) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Reports go to a directory of their own; the console copy is not needed.
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("loan-schedule-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9) {
        return 0;
    }
    std::uint32_t sum;
    float rate;
    std::memcpy(&sum, data, sizeof sum);
    std::uint32_t year = data[4];
    std::memcpy(&rate, data + 5, sizeof rate);
    if (!loan_debx(sum, year, rate) || !loan_debj(sum, year, rate)) {
        std::abort();
    }
    check_report("debx.txt", year * 12);
    check_report("debj.txt", year * 12);
    return 0;
}
