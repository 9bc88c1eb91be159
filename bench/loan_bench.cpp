// Benchmarks: the whole program against the floor of what any implementation
// must do (loan_floor) and against the straightforward snprintf
// implementation (loan_reference), run alternately on the same loan, and its
// peak memory at a short and at the longest term; plus the cost of
// formatting ordinary rows both ways.
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

#include <cmath>

#include "power.h"
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
Measured run_program(const fs::path& dir, const char* program, std::vector<std::string> args = {})
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
        std::vector<char*> argv{const_cast<char*>(program)};
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(program, argv.data());
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

// Each iteration runs the program, the floor and the reference on 1,200,000
// periods per schedule; the counters give the medians and their ratios. The
// floor writes as many bytes as the program's run before it.
void BM_WholeRuns(benchmark::State& state)
{
    fs::path dir = loan_dir("100000");
    std::vector<double> loan_seconds;
    std::vector<double> floor_seconds;
    std::vector<double> reference_seconds;
    for (auto _ : state) {
        Measured loan = run_program(dir, LOAN_EXE);
        const std::string echo = "sum: 300000, year: 100000, rate: 0.051500\r\n";
        std::vector<std::string> bytes = {std::to_string(echo.size()),
                                          std::to_string(fs::file_size(dir / "debx.txt")),
                                          std::to_string(fs::file_size(dir / "debj.txt"))};
        Measured floor = run_program(dir, FLOOR_EXE, bytes);
        Measured reference = run_program(dir, REFERENCE_EXE);
        loan_seconds.push_back(loan.seconds);
        floor_seconds.push_back(floor.seconds);
        reference_seconds.push_back(reference.seconds);
        state.SetIterationTime(loan.seconds + floor.seconds + reference.seconds);
    }
    double loan_median = median(loan_seconds);
    state.counters["loan_s"] = loan_median;
    state.counters["floor_s"] = median(floor_seconds);
    state.counters["reference_s"] = median(reference_seconds);
    state.counters["loan_per_floor"] = loan_median / median(floor_seconds);
    state.counters["loan_per_reference"] = loan_median / median(reference_seconds);
    fs::remove_all(dir);
}
BENCHMARK(BM_WholeRuns)->Iterations(7)->UseManualTime()->Unit(benchmark::kSecond);

// Peak resident memory of the program for a term of `years` (12 periods a
// year).
void BM_PeakRss(benchmark::State& state)
{
    fs::path dir = loan_dir(std::to_string(state.range(0)));
    long peak = 0;
    for (auto _ : state) {
        Measured loan = run_program(dir, LOAN_EXE);
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

// The rows of an ordinary loan (100000 yuan over 20 years at 4.9 %, the
// equal-principal schedule): payment, principal and interest of each month.
struct Row {
    float payment, principal, interest;
};

std::vector<Row> ordinary_rows()
{
    std::vector<Row> rows;
    float rate_m = 0.049f / 12;
    float f_p = static_cast<float>(100000.0 / 240.0);
    float f_b_x = 100000.0f;
    for (int cnt = 0; cnt < 240; ++cnt) {
        float f_i_x = f_b_x * rate_m;
        rows.push_back({f_p + f_i_x, f_p, f_i_x});
        f_b_x -= f_p;
    }
    return rows;
}

// Reports the time per row, `rows` rows an iteration.
void count_rows(benchmark::State& state, std::size_t rows)
{
    state.counters["ns_per_row"] =
        benchmark::Counter(static_cast<double>(state.iterations() * rows),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Those rows formatted by the program's own writer as the schedules do it:
// "%03d : %5.02f ->[%5.02f] [%5.02f]\r\n", the period number copied as text.
void BM_RowsInPlace(benchmark::State& state)
{
    std::vector<Row> rows = ordinary_rows();
    std::vector<char> block(rows.size() * 64);
    const char period[8] = "123";
    for (auto _ : state) {
        char* at = block.data();
        for (const Row& row : rows) {
            std::memcpy(at, period, sizeof period);
            at = put_text(at + 3, " : ");
            at = put_fixed(at, row.payment, 2, 5);
            at = put_text(at, " ->[");
            at = put_fixed(at, row.principal, 2, 5);
            at = put_text(at, "] [");
            at = put_fixed(at, row.interest, 2, 5);
            at = put_text(at, "]\r\n");
        }
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
    }
    count_rows(state, rows.size());
}
BENCHMARK(BM_RowsInPlace);

// The same rows through snprintf.
void BM_RowsSnprintf(benchmark::State& state)
{
    std::vector<Row> rows = ordinary_rows();
    std::vector<char> block(rows.size() * 64);
    for (auto _ : state) {
        char* at = block.data();
        for (const Row& row : rows) {
            at += std::snprintf(at, 128, "%03d : %5.02f ->[%5.02f] [%5.02f]\r\n", 123, row.payment,
                                row.principal, row.interest);
        }
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
    }
    count_rows(state, rows.size());
}
BENCHMARK(BM_RowsSnprintf);

// The powers of the longest equal-installment schedule at 5.15 %: the
// program's correctly rounded running product, then the C library's pow().
constexpr std::uint32_t powers_counted = 1200000;
const double power_base = 1.0 + static_cast<double>(0.0515f / 12);

void count_powers(benchmark::State& state)
{
    state.counters["ns_per_power"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * powers_counted,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PowersOwn(benchmark::State& state)
{
    for (auto _ : state) {
        double hi = 1.0, lo = 0.0, sum = 0.0;
        int scale = 0;
        for (std::uint32_t k = 0; k < powers_counted; ++k) {
            sum += next_power(power_base, k, &hi, &lo, &scale);
        }
        benchmark::DoNotOptimize(sum);
    }
    count_powers(state);
}
BENCHMARK(BM_PowersOwn)->Unit(benchmark::kMillisecond);

void BM_PowersLibrary(benchmark::State& state)
{
    for (auto _ : state) {
        double sum = 0.0;
        for (std::uint32_t k = 0; k < powers_counted; ++k) {
            sum += std::pow(power_base, static_cast<double>(k));
        }
        benchmark::DoNotOptimize(sum);
    }
    count_powers(state);
}
BENCHMARK(BM_PowersLibrary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
