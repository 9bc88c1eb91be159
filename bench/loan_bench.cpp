// Benchmarks of the program's own number writer and powers, and of the built
// program on a 30-year loan and on 1,200,000 periods, beside a printf-per-line
// program of the same loops (this benchmark run as `loan_bench --printf`).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cfg.h"
#include "power.h"
#include "text.h"

// The double next to `value` away from zero: printed as `value`, but for an
// exact tie, rounded away from zero as by the program (no float is nearer).
static double away(double value)
{
    return std::nextafter(value, std::copysign(HUGE_VAL, value));
}

// A schedule of the printf-per-line program: the program's loops and powers,
// each line printed by fprintf to the report and by printf to standard output.
static void schedule(bool grows, std::uint32_t sum, std::uint32_t year, float rate_y)
{
    std::FILE* fp = std::fopen(grows ? "debx.txt" : "debj.txt", "wb");
    auto line = [fp](const char* format, auto... values) {
        std::fprintf(fp, format, values...);
        std::printf(format, values...);
    };
    line("\xB5\xC8\xB6\xEE\xB1\xBE%s\xBD\xE8\xBF\xEE[%d \xD4\xAA] [%d \xC4\xEA] "
         "[\xC0\xFB\xC2\xCA%.02f%%]\r\n",
         grows ? "\xCF\xA2" : "\xBD\xF0", static_cast<int>(sum), static_cast<int>(year),
         away(static_cast<double>(rate_y) * 100.0));
    line("\xB7\xD6\xC6\xDA   \xD4\xC2\xB9\xA9      \xB1\xBE\xBD\xF0      \xC0\xFB\xCF\xA2\r\n");
    float rate_m = rate_y / 12, f_tmp = 0.0f;
    double base = 1.0 + static_cast<double>(rate_m), hi = 1.0, lo = 0.0;
    int scale = 0;
    for (std::uint32_t k = 0; grows && k < year * 12u; ++k) {
        f_tmp = static_cast<float>(f_tmp + next_power(base, k, &hi, &lo, &scale));
    }
    auto f_p = static_cast<float>(sum / (grows ? f_tmp : year * 12.0));
    hi = 1.0, lo = 0.0, scale = 0;
    float f_b_x = static_cast<float>(sum), f_p_sum = 0.0f, f_i_sum = 0.0f, f_a_sum = 0.0f;
    for (std::uint32_t cnt = 0; cnt < year * 12u; ++cnt) {
        float f_p_x =
            grows ? static_cast<float>(f_p * next_power(base, cnt, &hi, &lo, &scale)) : f_p;
        float f_i_x = f_b_x * rate_m, f_a_x = f_p_x + f_i_x;
        line("%03d : %5.02f ->[%5.02f] [%5.02f]\r\n", static_cast<int>(cnt + 1), away(f_a_x),
             away(f_p_x), away(f_i_x));
        f_p_sum += f_p_x, f_i_sum += f_i_x, f_a_sum += f_a_x, f_b_x -= f_p_x;
    }
    line("\xC8\xAB\xB2\xBF\xBB\xB9\xBF\xEE: %.02f, \xB1\xBE\xBD\xF0: %.02f, \xC0\xFB\xCF\xA2: "
         "%.02f\r\n",
         away(f_a_sum), away(f_p_sum), away(f_i_sum));
    std::fclose(fp);
}

// An ordinary row's payment.
static void BM_PutFixed(benchmark::State& state)
{
    char text[amount_max_chars];
    for (auto _ : state) {
        benchmark::DoNotOptimize(put_fixed(text, 1243.17f, 2, 5));
    }
}
BENCHMARK(BM_PutFixed);

// The 1,200,000 powers of the longest schedule at the rate 0.0001.
static void BM_NextPower(benchmark::State& state)
{
    for (auto _ : state) {
        double hi = 1.0, lo = 0.0, sum = 0.0;
        int scale = 0;
        for (std::uint32_t k = 0; k < 1200000; ++k) {
            sum += next_power(1.0 + static_cast<double>(0.0001f / 12), k, &hi, &lo, &scale);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_NextPower)->Unit(benchmark::kMillisecond);

// Runs `exe` (with `arg`, or none) on `cfg` here, its standard output this one's.
static void BM_Program(benchmark::State& state, const char* exe, const char* arg, const char* cfg)
{
    std::ofstream("cfg.txt") << cfg;
    char* argv[] = {const_cast<char*>(exe), const_cast<char*>(arg), nullptr};
    for (auto _ : state) {
        state.PauseTiming(); // each run from a directory without reports, written back
        std::remove("debx.txt"), std::remove("debj.txt"), sync();
        state.ResumeTiming();
        pid_t pid = 0;
        int status = 1;
        if (posix_spawn(&pid, exe, nullptr, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid || status != 0) {
            state.SkipWithError("the program failed");
        }
    }
}
static const char* const longest = "300000\n100000\n0.0001\n";
BENCHMARK_CAPTURE(BM_Program, loan_30y, LOAN_EXE, nullptr, "300000\n30\n0.049\n")->UseRealTime();
BENCHMARK_CAPTURE(BM_Program, loan_1200000, LOAN_EXE, nullptr, longest)->UseRealTime();
BENCHMARK_CAPTURE(BM_Program, printf_1200000, "/proc/self/exe", "--printf", longest)->UseRealTime();

int main(int argc, char** argv)
{
    std::uint32_t sum = 0, year = 0;
    float rate = 0.0f;
    if (argc == 2 && std::strcmp(argv[1], "--printf") == 0) { // with the program's reading
        std::FILE* fp = std::fopen("cfg.txt", "rb");
        char buff[cfg_content_max + 1], past = 0;
        std::size_t len = 0, ends[3];
        if (fp == nullptr || !read_cfg_content(fp, buff, &len, &past) ||
            split_fields(buff, len, &sum, &year, &rate, ends) != 3) {
            return 1;
        }
        std::printf("sum: %d, year: %d, rate: %f\r\n", static_cast<int>(sum),
                    static_cast<int>(year), away(rate));
        schedule(true, sum, year, rate);
        schedule(false, sum, year, rate);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
