// The straightforward implementation that the program is measured against:
// the same two schedules with the same arithmetic, each line formatted with
// snprintf into a 128-byte buffer, fwrite()n to the report file and printf()ed
// with "%s". Only for the benchmark; its cents follow the C library's tie rule.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "schedule.h"

namespace {

void emit(std::FILE* fp, const char* buff)
{
    std::fwrite(buff, 1, std::strlen(buff), fp);
    std::printf("%s", buff);
}

void reference_schedule(const char* name, const char* title, bool equal_installment,
                        std::uint32_t sum, std::uint32_t year, float rate_y)
{
    std::FILE* fp = std::fopen(name, "wb+");
    if (fp == nullptr) {
        std::printf("open file <%s> fail\r\n", name);
        return;
    }
    char buff[128];
    std::snprintf(buff, sizeof buff, "%s[%d \xD4\xAA] [%d \xC4\xEA] [\xC0\xFB\xC2\xCA%.02f%%]\r\n",
                  title, static_cast<int>(sum), static_cast<int>(year),
                  static_cast<double>(rate_y) * 100.0);
    emit(fp, buff);
    std::snprintf(buff, sizeof buff,
                  "\xB7\xD6\xC6\xDA   \xD4\xC2\xB9\xA9      \xB1\xBE\xBD\xF0      "
                  "\xC0\xFB\xCF\xA2\r\n");
    emit(fp, buff);
    run_schedule(
        equal_installment, sum, year, rate_y,
        [&](std::uint32_t period, float f_a_x, float f_p_x, float f_i_x) {
            std::snprintf(buff, sizeof buff, "%03d : %5.02f ->[%5.02f] [%5.02f]\r\n",
                          static_cast<int>(period), f_a_x, f_p_x, f_i_x);
            emit(fp, buff);
        },
        [&](float f_a_sum, float f_p_sum, float f_i_sum) {
            std::snprintf(buff, sizeof buff,
                          "\xC8\xAB\xB2\xBF\xBB\xB9\xBF\xEE: %.02f, \xB1\xBE\xBD\xF0: %.02f, "
                          "\xC0\xFB\xCF\xA2: %.02f\r\n",
                          f_a_sum, f_p_sum, f_i_sum);
            emit(fp, buff);
        });
    std::fclose(fp);
}

} // namespace

int main()
{
    std::FILE* fp = std::fopen("cfg.txt", "rb");
    if (fp == nullptr) {
        std::printf("open <cfg.txt> fail\r\n");
        return 1;
    }
    char buff[128] = {};
    std::size_t len = std::fread(buff, 1, 127, fp);
    std::fclose(fp);
    // Three lines: principal, term, rate.
    char* year_line = std::strchr(buff, '\n');
    char* rate_line = year_line != nullptr ? std::strchr(year_line + 1, '\n') : nullptr;
    if (len == 0 || rate_line == nullptr) {
        return 1;
    }
    auto sum = static_cast<std::uint32_t>(std::atoi(buff));
    auto year = static_cast<std::uint32_t>(std::atoi(year_line + 1));
    auto rate = static_cast<float>(std::atof(rate_line + 1));
    std::printf("sum: %d, year: %d, rate: %f\r\n", static_cast<int>(sum), static_cast<int>(year),
                static_cast<double>(rate));
    reference_schedule("debx.txt", "\xB5\xC8\xB6\xEE\xB1\xBE\xCF\xA2\xBD\xE8\xBF\xEE", true, sum,
                       year, rate);
    reference_schedule("debj.txt", "\xB5\xC8\xB6\xEE\xB1\xBE\xBD\xF0\xBD\xE8\xBF\xEE", false, sum,
                       year, rate);
    return 0;
}
