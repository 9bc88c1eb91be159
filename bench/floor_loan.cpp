// The floor the program is measured against: only the work no implementation
// can avoid. It runs the same float loops as the program, with the same 2N
// correctly rounded powers of the equal-installment schedule, and writes the
// same number of bytes, unformatted, to each report and then to standard
// output in 64 KiB blocks with plain write() calls. The byte counts come from
// the command line:
//   loan_floor ECHO_BYTES DEBX_BYTES DEBJ_BYTES
// Every amount computed enters a checksum that is written at the end of each
// report, so that nothing can be optimized away. Only for the benchmark.
#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "schedule.h"

namespace {

constexpr std::size_t block_size = std::size_t{64} * 1024;

// Writes `bytes` from `block` to `fd` and then to standard output, a block at
// a time.
void write_out(int fd, const char* block, std::uint64_t bytes)
{
    while (bytes > 0) {
        std::size_t len = bytes < block_size ? static_cast<std::size_t>(bytes) : block_size;
        if (write(fd, block, len) < 0 || write(1, block, len) < 0) {
            std::exit(1);
        }
        bytes -= len;
    }
}

void floor_schedule(const char* name, bool equal_installment, std::uint32_t sum, std::uint32_t year,
                    float rate_y, std::uint64_t bytes)
{
    static char block[block_size];
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::exit(1);
    }
    std::uint32_t checksum = 0;
    auto add = [&](float a, float b, float c) {
        checksum =
            checksum * 31 + (std::bit_cast<std::uint32_t>(a) ^ std::bit_cast<std::uint32_t>(b) ^
                             std::bit_cast<std::uint32_t>(c));
    };
    run_schedule(
        equal_installment, sum, year, rate_y,
        [&](std::uint32_t, float f_a_x, float f_p_x, float f_i_x) { add(f_a_x, f_p_x, f_i_x); },
        [&](float f_a_sum, float f_p_sum, float f_i_sum) { add(f_a_sum, f_p_sum, f_i_sum); });
    // The checksum's bytes end the report: the values stay alive.
    std::uint64_t before = bytes > sizeof checksum ? bytes - sizeof checksum : 0;
    write_out(fd, block, before);
    std::memcpy(block, &checksum, sizeof checksum);
    write_out(fd, block, bytes - before);
    std::memset(block, 0, sizeof checksum);
    close(fd);
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
    static char echo[256];
    std::uint64_t echo_bytes = std::strtoull(argv[1], nullptr, 10);
    if (write(1, echo, echo_bytes < sizeof echo ? echo_bytes : sizeof echo) < 0) {
        return 1;
    }
    floor_schedule("debx.txt", true, sum, year, rate, std::strtoull(argv[2], nullptr, 10));
    floor_schedule("debj.txt", false, sum, year, rate, std::strtoull(argv[3], nullptr, 10));
    return 0;
}
