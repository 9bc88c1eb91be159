// What the program's writers are measured against: the program's loops with
// each line printed by fprintf to the report and by printf to standard
// output; the reading of cfg.txt and the powers are the program's own.
#include <cmath>
#include <cstdio>

#include "cfg.h"
#include "power.h"

namespace {

// The double just past `value`, away from zero: printed with the same digits
// as `value`, but for an exact tie, which then rounds away from zero, as the
// program's own writer does (a float or a float times 100 lies further than
// that from every tie it is not on).
double away(double value)
{
    return std::nextafter(value, std::copysign(HUGE_VAL, value));
}

void schedule(const char* name, const char* title, bool grows, std::uint32_t sum,
              std::uint32_t year, float rate_y)
{
    std::FILE* fp = std::fopen(name, "wb");
    auto line = [fp](const char* format, auto... values) {
        std::fprintf(fp, format, values...);
        std::printf(format, values...);
    };
    line("%s[%d \xD4\xAA] [%d \xC4\xEA] [\xC0\xFB\xC2\xCA%.02f%%]\r\n", title,
         static_cast<int>(sum), static_cast<int>(year), away(static_cast<double>(rate_y) * 100.0));
    line("\xB7\xD6\xC6\xDA   \xD4\xC2\xB9\xA9      \xB1\xBE\xBD\xF0      \xC0\xFB\xCF\xA2\r\n");
    float rate_m = rate_y / 12;
    double base = 1.0 + static_cast<double>(rate_m);
    double hi = 1.0, lo = 0.0;
    int scale = 0;
    float f_tmp = 0.0f;
    for (std::uint32_t k = 0; grows && k < year * 12u; ++k) {
        f_tmp = static_cast<float>(f_tmp + next_power(base, k, &hi, &lo, &scale));
    }
    auto f_p = static_cast<float>(static_cast<double>(sum) /
                                  (grows ? f_tmp : static_cast<double>(year) * 12.0));
    hi = 1.0, lo = 0.0, scale = 0;
    float f_b_x = static_cast<float>(sum), f_p_sum = 0.0f, f_i_sum = 0.0f, f_a_sum = 0.0f;
    for (std::uint32_t cnt = 0; cnt < year * 12u; ++cnt) {
        float f_p_x =
            grows ? static_cast<float>(f_p * next_power(base, cnt, &hi, &lo, &scale)) : f_p;
        float f_i_x = f_b_x * rate_m;
        float f_a_x = f_p_x + f_i_x;
        line("%03d : %5.02f ->[%5.02f] [%5.02f]\r\n", static_cast<int>(cnt + 1), away(f_a_x),
             away(f_p_x), away(f_i_x));
        f_p_sum += f_p_x;
        f_i_sum += f_i_x;
        f_a_sum += f_a_x;
        f_b_x -= f_p_x;
    }
    line("\xC8\xAB\xB2\xBF\xBB\xB9\xBF\xEE: %.02f, \xB1\xBE\xBD\xF0: %.02f, \xC0\xFB\xCF\xA2: "
         "%.02f\r\n",
         away(f_a_sum), away(f_p_sum), away(f_i_sum));
    std::fclose(fp);
}

} // namespace

int main()
{
    std::FILE* fp = std::fopen("cfg.txt", "rb");
    char buff[cfg_content_max + 1];
    std::size_t len = 0;
    std::uint32_t sum = 0, year = 0;
    float rate = 0.0f;
    if (fp == nullptr || !read_cfg_content(fp, buff, &len) ||
        split_fields(buff, len, &sum, &year, &rate) != 3) {
        return 1;
    }
    std::printf("sum: %d, year: %d, rate: %f\r\n", static_cast<int>(sum), static_cast<int>(year),
                static_cast<double>(rate));
    schedule("debx.txt", "\xB5\xC8\xB6\xEE\xB1\xBE\xCF\xA2\xBD\xE8\xBF\xEE", true, sum, year, rate);
    schedule("debj.txt", "\xB5\xC8\xB6\xEE\xB1\xBE\xBD\xF0\xBD\xE8\xBF\xEE", false, sum, year,
             rate);
}
