// The arithmetic of both schedules as the program does it, with the same
// correctly rounded powers, shared by the benchmark's own programs (the floor
// and the snprintf reference): `row` is called with the period number,
// payment, principal and interest of each month, then `totals` with the three
// totals.
#pragma once

#include <cstdint>

#include "power.h"

template <typename Row, typename Totals>
void run_schedule(bool equal_installment, std::uint32_t sum, std::uint32_t year, float rate_y,
                  Row row, Totals totals)
{
    float rate_m = rate_y / 12;
    std::uint32_t periods = year * 12u;
    double base = 1.0 + static_cast<double>(rate_m);
    float f_p;
    double hi = 1.0, lo = 0.0;
    int scale = 0;
    if (equal_installment) {
        float f_tmp = 0.0f;
        for (std::uint32_t k = 0; k < periods; ++k) {
            f_tmp = static_cast<float>(f_tmp + next_power(base, k, &hi, &lo, &scale));
        }
        f_p = static_cast<float>(static_cast<double>(sum) / f_tmp);
    } else {
        f_p = static_cast<float>(static_cast<double>(sum) / (static_cast<double>(year) * 12.0));
    }
    hi = 1.0;
    lo = 0.0;
    scale = 0;
    float f_b_x = static_cast<float>(sum);
    float f_p_sum = 0.0f, f_i_sum = 0.0f, f_a_sum = 0.0f;
    for (std::uint32_t cnt = 0; cnt < periods; ++cnt) {
        float f_p_x = equal_installment
                          ? static_cast<float>(f_p * next_power(base, cnt, &hi, &lo, &scale))
                          : f_p;
        float f_i_x = f_b_x * rate_m;
        float f_a_x = f_p_x + f_i_x;
        row(cnt + 1, f_a_x, f_p_x, f_i_x);
        f_p_sum += f_p_x;
        f_i_sum += f_i_x;
        f_a_sum += f_a_x;
        f_b_x -= f_p_x;
    }
    totals(f_a_sum, f_p_sum, f_i_sum);
}
