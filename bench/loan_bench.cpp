// Benchmarks of the program's own functions, the number writer and the
// powers, and of the built program as a whole: on a 30-year loan and on
// 1,200,000 periods, beside the printf-per-line program (printf_loan.cpp).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "power.h"
#include "text.h"

namespace {

// Amounts of an ordinary row, a short one and the widest ordinary one.
void BM_PutFixed(benchmark::State& state)
{
    const float amounts[] = {1243.17f, 416.67f, 826.5f, 0.25f, 999999.94f};
    char text[amount_max_chars];
    for (auto _ : state) {
        for (float amount : amounts) {
            benchmark::DoNotOptimize(amount);
            benchmark::DoNotOptimize(put_fixed(text, amount, 2, 5));
        }
    }
    state.SetItemsProcessed(state.iterations() * std::size(amounts));
}
BENCHMARK(BM_PutFixed);

// The 1,200,000 powers of the longest schedule at a rate of 0.0001.
void BM_NextPower(benchmark::State& state)
{
    const double base = 1.0 + static_cast<double>(0.0001f / 12);
    for (auto _ : state) {
        double hi = 1.0, lo = 0.0, sum = 0.0;
        int scale = 0;
        for (std::uint32_t k = 0; k < 1200000; ++k) {
            sum += next_power(base, k, &hi, &lo, &scale);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1200000);
}
BENCHMARK(BM_NextPower)->Unit(benchmark::kMillisecond);

// Runs `program` on `cfg` in a directory of its own, standard output to
// /dev/null.
void BM_Program(benchmark::State& state, const char* program, const char* cfg)
{
    auto dir = std::filesystem::temp_directory_path() / "loan-bench";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "cfg.txt") << cfg;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 1;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid || status != 0) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(dir);
}
BENCHMARK_CAPTURE(BM_Program, loan_30_years, LOAN_EXE, "300000\n30\n0.049\n")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Program, loan_1200000_periods, LOAN_EXE, "300000\n100000\n0.0001\n")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Program, printf_1200000_periods, PRINTF_EXE, "300000\n100000\n0.0001\n")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
