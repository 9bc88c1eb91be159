// Benchmarks: the whole program against the straightforward snprintf
// implementation (loan_reference), run alternately in pairs on the same
// loan, and its peak memory at a short and at the longest term; plus the
// cost of formatting one row both ways.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text.h"

namespace fs = std::filesystem;

namespace {

struct Measured {
    double seconds;
    long peak_rss_kib;
};

// Runs `program` in `dir` with standard output to /dev/null; returns its wall
// time and peak resident memory. Every run starts alike, as in a fresh
// directory: the previous run's reports are removed and the disk is synced
// beforehand, outside the time measured, so that neither program pays for
// freeing or writing back the other's 80 MB.
Measured run_program(const char* program, const fs::path& dir)
{
    fs::remove(dir / "debx.txt");
    fs::remove(dir / "debj.txt");
    sync();
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null_fd = open("/dev/null", O_WRONLY);
        if (null_fd < 0 || dup2(null_fd, 1) < 0 || chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed with status %d\n", program, status);
    }
    return {elapsed.count(), usage.ru_maxrss};
}

fs::path loan_dir(const std::string& years)
{
    fs::path dir = fs::temp_directory_path() / ("loan-bench-" + years);
    fs::create_directories(dir);
    std::ofstream(dir / "cfg.txt") << "300000\n" << years << "\n0.0515\n";
    return dir;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Each iteration runs the program and then the reference on 1,200,000
// periods per schedule; the counters give the medians and their ratio.
void BM_WholeRunPairs(benchmark::State& state)
{
    fs::path dir = loan_dir("100000");
    std::vector<double> loan_seconds;
    std::vector<double> reference_seconds;
    for (auto _ : state) {
        Measured loan = run_program(LOAN_EXE, dir);
        Measured reference = run_program(REFERENCE_EXE, dir);
        loan_seconds.push_back(loan.seconds);
        reference_seconds.push_back(reference.seconds);
        state.SetIterationTime(loan.seconds + reference.seconds);
    }
    double loan_median = median(loan_seconds);
    double reference_median = median(reference_seconds);
    state.counters["loan_s"] = loan_median;
    state.counters["reference_s"] = reference_median;
    state.counters["ratio"] = loan_median / reference_median;
    fs::remove_all(dir);
}
BENCHMARK(BM_WholeRunPairs)->Iterations(7)->UseManualTime()->Unit(benchmark::kSecond);

// Peak resident memory of the program for a term of `years` (12 periods a
// year).
void BM_PeakRss(benchmark::State& state)
{
    fs::path dir = loan_dir(std::to_string(state.range(0)));
    long peak = 0;
    for (auto _ : state) {
        Measured loan = run_program(LOAN_EXE, dir);
        peak = std::max(peak, loan.peak_rss_kib);
        state.SetIterationTime(loan.seconds);
    }
    state.counters["periods"] = static_cast<double>(state.range(0) * 12);
    state.counters["peak_rss_kib"] = static_cast<double>(peak);
    fs::remove_all(dir);
}
BENCHMARK(BM_PeakRss)
    ->Arg(1)
    ->Arg(100000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Ordinary rows, positive amounts below a million yuan, formatted by the
// program's own writer as the schedules do: "%03d : %5.02f ->[%5.02f]
// [%5.02f]\r\n", one after the other in a buffer.
void BM_RowInPlace(benchmark::State& state)
{
    char buff[1024];
    float payment = 2274.625f;
    float principal = 1000.0f;
    float interest = 1274.625f;
    for (auto _ : state) {
        char* at = buff;
        for (int row = 0; row < 4; ++row) {
            at = put_text(at, "004 : ");
            at = put_fixed(at, payment, 2, 5);
            at = put_text(at, " ->[");
            at = put_fixed(at, principal, 2, 5);
            at = put_text(at, "] [");
            at = put_fixed(at, interest, 2, 5);
            at = put_text(at, "]\r\n");
        }
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
        payment += 0.01f;
        interest -= 0.01f;
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_RowInPlace);

// The same row through snprintf.
void BM_RowSnprintf(benchmark::State& state)
{
    char buff[128];
    float amount = 2274.625f;
    for (auto _ : state) {
        int len = std::snprintf(buff, sizeof buff, "%03d : %5.02f ->[%5.02f] [%5.02f]\r\n", 4,
                                amount, 1000.0f, 1274.625f);
        benchmark::DoNotOptimize(len);
        benchmark::DoNotOptimize(amount);
    }
}
BENCHMARK(BM_RowSnprintf);

} // namespace

BENCHMARK_MAIN();
