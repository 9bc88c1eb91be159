// The floor the program is measured against: only the work no implementation
// can avoid. It runs the same float loops as the program (the 2N calls of the
// power function of the equal-installment schedule included) and writes the
// same number of bytes, unformatted, to each report and then to standard
// output in 64 KiB blocks. The byte counts come from the command line:
//   loan_floor ECHO_BYTES DEBX_BYTES DEBJ_BYTES
// Each line but the last gets the same share of a report's bytes, the last
// line the rest, and the bytes of every row's three amounts are stored in the
// block, so that nothing computed can be optimized away. Only for the
// benchmark.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "schedule.h"

namespace {

constexpr std::size_t block_size = std::size_t{64} * 1024;

struct Blocks {
    std::FILE* fp;
    char block[block_size + 16]; // room for one row's amounts past the end
    std::size_t used;
};

// Moves on by `bytes`, writing out every full block.
void advance(Blocks* out, std::uint64_t bytes)
{
    out->used += static_cast<std::size_t>(bytes);
    while (out->used >= block_size) {
        std::fwrite(out->block, 1, block_size, out->fp);
        std::fwrite(out->block, 1, block_size, stdout);
        out->used -= block_size;
    }
}

void floor_schedule(const char* name, bool equal_installment, std::uint32_t sum, std::uint32_t year,
                    float rate_y, std::uint64_t bytes)
{
    static Blocks out;
    out.fp = std::fopen(name, "wb+");
    out.used = 0;
    if (out.fp == nullptr) {
        std::exit(1);
    }
    std::uint32_t periods = year * 12u;
    std::uint64_t line_bytes = bytes / (std::uint64_t{periods} + 3);
    advance(&out, 2 * line_bytes); // title and header
    run_schedule(
        equal_installment, sum, year, rate_y,
        [&](std::uint32_t, float f_a_x, float f_p_x, float f_i_x) {
            float row[3] = {f_a_x, f_p_x, f_i_x};
            std::memcpy(out.block + out.used, row, sizeof row);
            advance(&out, line_bytes);
        },
        [&](float f_a_sum, float f_p_sum, float f_i_sum) {
            float totals[3] = {f_a_sum, f_p_sum, f_i_sum};
            std::memcpy(out.block + out.used, totals, sizeof totals);
            advance(&out, bytes - (std::uint64_t{periods} + 2) * line_bytes);
        });
    std::fwrite(out.block, 1, out.used, out.fp);
    std::fwrite(out.block, 1, out.used, stdout);
    std::fclose(out.fp);
}

} // namespace

int main(int argc, char** argv)
{
    std::FILE* fp = std::fopen("cfg.txt", "rb");
    if (fp == nullptr || argc != 4) {
        return 1;
    }
    char buff[128] = {};
    std::fread(buff, 1, 127, fp);
    std::fclose(fp);
    // Three lines: principal, term, rate.
    char* year_line = std::strchr(buff, '\n');
    char* rate_line = year_line != nullptr ? std::strchr(year_line + 1, '\n') : nullptr;
    if (rate_line == nullptr) {
        return 1;
    }
    auto sum = static_cast<std::uint32_t>(std::atoi(buff));
    auto year = static_cast<std::uint32_t>(std::atoi(year_line + 1));
    auto rate = static_cast<float>(std::atof(rate_line + 1));
    std::uint64_t echo_bytes = std::strtoull(argv[1], nullptr, 10);
    char echo[256] = {};
    std::fwrite(echo, 1, echo_bytes < sizeof echo ? echo_bytes : sizeof echo, stdout);
    floor_schedule("debx.txt", true, sum, year, rate, std::strtoull(argv[2], nullptr, 10));
    floor_schedule("debj.txt", false, sum, year, rate, std::strtoull(argv[3], nullptr, 10));
    return 0;
}
