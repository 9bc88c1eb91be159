// Runs the real program as a process in a fresh temporary directory, the way a
// user does, and checks the report files, standard output and exit status.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <iconv.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What the program's standard output is connected to.
// A slow pipe is non-blocking, as some parents hand it over, and its reader
// takes 4 KiB a millisecond into stdout.txt. A small disk has 16 KiB. The
// last two are the reports as `> debx.txt` and `>> debj.txt 2>&1` open them.
enum class Output {
    file,
    closed_pipe,
    slow_pipe,
    full_disk,
    closed,
    tcp_reset,
    small_disk,
    debx,
    debj_and_stderr
};

// A fresh working directory, removed with its contents afterwards.
struct WorkDir {
    fs::path path;
    WorkDir()
    {
        char name[] = "/tmp/loan-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~WorkDir()
    {
        fs::remove_all(path);
    }
    std::string read(const char* name) const
    {
        std::ifstream in(path / name, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    void write(const char* name, const std::string& content) const
    {
        std::ofstream(path / name, std::ios::binary) << content;
    }
    bool has(const char* name) const
    {
        return fs::exists(fs::symlink_status(path / name));
    }
};

// A program to run: its path, and the program that starts it (such as wine
// for a Windows build) or nullptr.
struct Program {
    const char* runner;
    const char* path;
};

// This build's program, or the one named by LOAN_PROGRAM, started through
// LOAN_RUNNER when that is set.
Program program_under_test()
{
    const char* path = std::getenv("LOAN_PROGRAM");
    return path != nullptr ? Program{std::getenv("LOAN_RUNNER"), path} : Program{nullptr, LOAN_EXE};
}

// The writer's end of a TCP connection over loopback that its reader has
// reset (closed at once, lingering for nothing).
int reset_connection()
{
    sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t len = sizeof addr;
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    bind(listener, reinterpret_cast<sockaddr*>(&addr), len);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    int writer = socket(AF_INET, SOCK_STREAM, 0);
    connect(writer, reinterpret_cast<sockaddr*>(&addr), len);
    int reader = accept(listener, nullptr, nullptr);
    linger reset{1, 0};
    setsockopt(reader, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(reader);
    close(listener);
    return writer;
}

// Mounts an empty file system at `target` (with the mount options `options`)
// in a mount namespace of the process's own, or exits with 125.
void mount_private_tmpfs(const char* target, const char* options)
{
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", target, "tmpfs", 0, options) != 0) {
        _exit(125);
    }
}

// Runs the program in `dir` with `argument` (when given), standard error to
// stderr.txt there, after `in_child` (when given) has set the child process
// up; returns its exit status, or 128 + the signal that killed it.
int run_loan(const WorkDir& dir, Output output = Output::file,
             Program program = program_under_test(), void (*in_child)() = nullptr,
             const char* argument = nullptr)
{
    int pipe_fds[2] = {-1, -1};
    if (output == Output::closed_pipe || output == Output::slow_pipe) {
        EXPECT_EQ(pipe(pipe_fds), 0);
    }
    if (output == Output::closed_pipe) {
        close(pipe_fds[0]); // the reader is gone before the first write
        pipe_fds[0] = -1;
    } else if (output == Output::slow_pipe) {
        fcntl(pipe_fds[1], F_SETFL, O_NONBLOCK);
    } else if (output == Output::tcp_reset) {
        pipe_fds[1] = reset_connection();
    }
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path.c_str()) != 0) {
            _exit(126);
        }
        int fd = -1;
        if (output == Output::file) {
            fd = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        } else if (pipe_fds[1] >= 0) {
            close(pipe_fds[0]);
            fd = pipe_fds[1];
        } else if (output == Output::full_disk) {
            fd = open("/dev/full", O_WRONLY);
        } else if (output == Output::small_disk) {
            mount_private_tmpfs("/mnt", "size=16k");
            fd = open("/mnt/stdout.txt", O_WRONLY | O_CREAT, 0644);
        } else if (output >= Output::debx) {
            fd = output == Output::debx ? open("debx.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644)
                                        : open("debj.txt", O_WRONLY | O_APPEND);
        }
        if (fd >= 0) {
            dup2(fd, 1);
            close(fd);
        } else {
            close(1);
        }
        int err_fd = output == Output::debj_and_stderr
                         ? dup(1)
                         : open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err_fd, 2);
        close(err_fd);
        std::signal(SIGPIPE, SIG_DFL); // as a shell starts it
        alarm(60);                     // a program that hangs is killed
        if (in_child != nullptr) {
            in_child();
        }
        if (program.runner != nullptr) {
            execl(program.runner, program.runner, program.path, argument,
                  static_cast<char*>(nullptr));
        } else {
            execl(program.path, program.path, argument, static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    if (pipe_fds[1] >= 0) {
        close(pipe_fds[1]);
    }
    if (output == Output::slow_pipe) {
        std::ofstream copy(dir.path / "stdout.txt", std::ios::binary);
        char chunk[4096];
        for (ssize_t got; (got = read(pipe_fds[0], chunk, sizeof chunk)) > 0; usleep(1000)) {
            copy.write(chunk, got);
        }
        close(pipe_fds[0]);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// Compares long texts without printing them whole: the first difference.
::testing::AssertionResult same_text(const std::string& got, const std::string& expected)
{
    if (got == expected) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) {
        ++at;
    }
    return ::testing::AssertionFailure()
           << "lengths " << got.size() << " and " << expected.size() << ", first difference at "
           << at << ": got \"" << got.substr(at, 40) << "\", expected \"" << expected.substr(at, 40)
           << "\"";
}

// The expected report text: UTF-8 lines converted to GBK, each ended by CR LF.
std::string gbk_lines(const std::vector<std::string>& lines)
{
    std::string utf8;
    for (const std::string& line : lines) {
        utf8 += line + "\r\n";
    }
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in_ptr = utf8.data();
    std::size_t in_left = utf8.size();
    char* out_ptr = out.data();
    std::size_t out_left = out.size();
    EXPECT_NE(iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left), static_cast<std::size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}

std::string cfg(const std::string& sum, const std::string& year, const std::string& rate)
{
    return sum + "\r\n" + year + "\r\n" + rate + "\r\n";
}

struct ScheduleCase {
    const char* name;
    std::string cfg;
    const char* report;
    bool whole; // the lines are the whole report, else lines it must contain
    std::vector<std::string> lines;
};

std::vector<ScheduleCase> schedule_cases()
{
    const std::string header = "分期   月供      本金      利息";
    return {
        {"equal installment, 120 over 1 year at 12%",
         cfg("120", "1", "0.12"),
         "debx.txt",
         true,
         {"等额本息借款[120 元] [1 年] [利率12.00%]", header, "001 : 10.66 ->[ 9.46] [ 1.20]",
          "002 : 10.66 ->[ 9.56] [ 1.11]", "003 : 10.66 ->[ 9.65] [ 1.01]",
          "004 : 10.66 ->[ 9.75] [ 0.91]", "005 : 10.66 ->[ 9.85] [ 0.82]",
          "006 : 10.66 ->[ 9.94] [ 0.72]", "007 : 10.66 ->[10.04] [ 0.62]",
          "008 : 10.66 ->[10.14] [ 0.52]", "009 : 10.66 ->[10.25] [ 0.42]",
          "010 : 10.66 ->[10.35] [ 0.31]", "011 : 10.66 ->[10.45] [ 0.21]",
          "012 : 10.66 ->[10.56] [ 0.11]", "全部还款: 127.94, 本金: 120.00, 利息: 7.94"}},
        {"equal principal, 120 over 1 year at 7%: single-precision half cents",
         cfg("120", "1", "0.07"),
         "debj.txt",
         true,
         {"等额本金借款[120 元] [1 年] [利率7.00%]", header, "001 : 10.70 ->[10.00] [ 0.70]",
          "002 : 10.64 ->[10.00] [ 0.64]", "003 : 10.58 ->[10.00] [ 0.58]",
          "004 : 10.52 ->[10.00] [ 0.52]", "005 : 10.47 ->[10.00] [ 0.47]",
          "006 : 10.41 ->[10.00] [ 0.41]", "007 : 10.35 ->[10.00] [ 0.35]",
          "008 : 10.29 ->[10.00] [ 0.29]", "009 : 10.23 ->[10.00] [ 0.23]",
          "010 : 10.18 ->[10.00] [ 0.17]", "011 : 10.12 ->[10.00] [ 0.12]",
          "012 : 10.06 ->[10.00] [ 0.06]", "全部还款: 124.55, 本金: 120.00, 利息: 4.55"}},
        {"equal principal, 100000 over 20 years: single-precision totals",
         cfg("100000", "20", "0.049"),
         "debj.txt",
         false,
         {"等额本金借款[100000 元] [20 年] [利率4.90%]", "001 : 825.00 ->[416.67] [408.33]",
          "002 : 823.30 ->[416.67] [406.63]", "240 : 418.37 ->[416.67] [ 1.70]",
          "全部还款: 149204.27, 本金: 99999.87, 利息: 49204.29"}},
        {"equal installment, 100000 over 20 years: base of the power kept in double",
         cfg("100000", "20", "0.049"),
         "debx.txt",
         false,
         {"等额本息借款[100000 元] [20 年] [利率4.90%]", "001 : 654.44 ->[246.11] [408.33]",
          "240 : 654.44 ->[651.78] [ 2.66]",
          "全部还款: 157066.48, 本金: 100000.02, 利息: 57066.54"}},
        {"equal principal, a principal beyond float: divided as an integer",
         cfg("30000001", "10", "0.05"),
         "debj.txt",
         false,
         {"001 : 375000.03 ->[250000.02] [125000.01]", "120 : 251041.69 ->[250000.02] [1041.67]",
          "全部还款: 37562508.00, 本金: 30000002.00, 利息: 7562500.00"}},
        {"an exact tie rounds away from zero",
         cfg("300000", "25", "0.0515"),
         "debj.txt",
         false,
         {"004 : 2274.63 ->[1000.00] [1274.63]"}},
        {"a power whose last bit decides a cent",
         cfg("1276956", "24", "0.0229"),
         "debx.txt",
         false,
         {"252 : 5767.48 ->[5374.66] [392.83]"}},
        {"no periods",
         cfg("120", "0", "0.12"),
         "debx.txt",
         true,
         {"等额本息借款[120 元] [0 年] [利率12.00%]", header,
          "全部还款: 0.00, 本金: 0.00, 利息: 0.00"}},
        {"no periods, equal principal dividing by zero",
         cfg("0", "0", "0"),
         "debj.txt",
         true,
         {"等额本金借款[0 元] [0 年] [利率0.00%]", header,
          "全部还款: 0.00, 本金: 0.00, 利息: 0.00"}},
        {"a negative principal, shown negative, computed as its 32-bit wrap",
         cfg("-1294967296", "1", "0"),
         "debj.txt",
         false,
         {"等额本金借款[-1294967296 元] [1 年] [利率0.00%]",
          "001 : 250000000.00 ->[250000000.00] [ 0.00]"}},
        {"period numbers beyond 999 in full",
         cfg("1008", "84", "0"),
         "debj.txt",
         false,
         {"999 :  1.00 ->[ 1.00] [ 0.00]", "1000 :  1.00 ->[ 1.00] [ 0.00]",
          "1008 :  1.00 ->[ 1.00] [ 0.00]"}},
        {"the longest term accepted",
         cfg("1200000", "100000", "0"),
         "debj.txt",
         false,
         {"1200000 :  1.00 ->[ 1.00] [ 0.00]",
          "全部还款: 1200000.00, 本金: 1200000.00, 利息: 0.00"}},
        {"rate typed as a percentage",
         cfg("120", "1", "12"),
         "debx.txt",
         false,
         {"等额本息借款[120 元] [1 年] [利率1200.00%]"}},
        {"negative rate",
         cfg("1200", "1", "-0.12"),
         "debj.txt",
         false,
         {"001 : 88.00 ->[100.00] [-12.00]", "012 : 99.00 ->[100.00] [-1.00]"}},
        {"absurd rate: infinite amounts",
         cfg("120", "1", "1e39"),
         "debx.txt",
         false,
         {"等额本息借款[120 元] [1 年] [利率inf%]", "001 :   inf ->[ 0.00] [  inf]",
          "002 :   nan ->[  nan] [  inf]"}},
    };
}

// What is wrong with the shape of a whole report, or "": every line ends in
// CR LF; a title, the header, rows numbered 001, 002, ... with three amounts
// each, and the totals line.
std::string shape_problem(const std::string& report)
{
    std::istringstream in(report);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.back() != '\r') {
            return "a line without CR LF: " + line;
        }
        lines.push_back(line);
    }
    if (lines.size() < 3 || lines[0].find(" \xD4\xAA] [") == std::string::npos ||
        lines.back().rfind("\xC8\xAB\xB2\xBF\xBB\xB9\xBF\xEE: ", 0) != 0) {
        return "no title or no totals line";
    }
    for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
        char period[24];
        std::snprintf(period, sizeof period, "%03zu : ", i - 1);
        if (lines[i].rfind(period, 0) != 0 || lines[i].find(" ->[") == std::string::npos ||
            lines[i].find("] [") == std::string::npos) {
            return "row " + std::to_string(i - 1) + " is " + lines[i];
        }
    }
    return "";
}

TEST(Program, SchedulesTable)
{
    for (const ScheduleCase& c : schedule_cases()) {
        WorkDir dir;
        dir.write("cfg.txt", c.cfg);
        ASSERT_EQ(run_loan(dir), 0) << c.name;
        std::string debx = dir.read("debx.txt");
        std::string debj = dir.read("debj.txt");
        EXPECT_EQ(shape_problem(debx) + shape_problem(debj), "") << c.name;
        // Standard output: the echo line, then a copy of every report line.
        std::string out = dir.read("stdout.txt");
        EXPECT_TRUE(same_text(out.substr(out.find('\n') + 1), debx + debj)) << c.name;
        std::string report = dir.read(c.report);
        if (c.whole) {
            EXPECT_EQ(report, gbk_lines(c.lines)) << c.name;
            continue;
        }
        for (const std::string& line : c.lines) {
            std::string wanted = gbk_lines({line});
            bool found = report.compare(0, wanted.size(), wanted) == 0 ||
                         report.find("\n" + wanted) != std::string::npos;
            EXPECT_TRUE(found) << c.name << ": no line " << line;
        }
    }
}

TEST(Program, EchoLineTable)
{
    // The first line of standard output: the echo, or the first title when
    // cfg.txt holds fewer than three fields.
    const struct {
        std::string cfg;
        std::string echo;
    } cases[] = {
        {cfg("120", "1", "0.12"), "sum: 120, year: 1, rate: 0.120000\r\n"},
        {cfg("-1294967296", "0", "0.0078125"), "sum: -1294967296, year: 0, rate: 0.007813\r\n"},
        {cfg("1", "0", "-0"), "sum: 1, year: 0, rate: -0.000000\r\n"},
        {cfg("1", "0", "-"), "sum: 1, year: 0, rate: 0.000000\r\n"},
        {"120\n0", gbk_lines({"等额本息借款[120 元] [0 年] [利率0.00%]"})},
        {"", gbk_lines({"等额本息借款[0 元] [0 年] [利率0.00%]"})},
        {"120\n0\n0.12", "sum: 120, year: 0, rate: 0.120000\r\n"},
        {cfg("2147483647", "-2147483648", "-3.4028234663852886e38"),
         "sum: 2147483647, year: -2147483648, rate: "
         "-340282346638528859811704183484516925440.000000\r\n"},
    };
    for (const auto& c : cases) {
        WorkDir dir;
        dir.write("cfg.txt", c.cfg);
        run_loan(dir);
        std::string out = dir.read("stdout.txt");
        EXPECT_EQ(out.substr(0, out.find('\n') + 1), c.echo) << c.cfg;
    }
}

TEST(Program, ZeroRateMakesBothSchedulesAlike)
{
    WorkDir dir;
    dir.write("cfg.txt", cfg("30000001", "10", "0"));
    ASSERT_EQ(run_loan(dir), 0);
    std::string debx = dir.read("debx.txt");
    std::string debj = dir.read("debj.txt");
    // Everything after the title line is the same, both dividing the exact
    // principal (a float cannot hold it) by the period count.
    EXPECT_EQ(debx.substr(debx.find('\n')), debj.substr(debj.find('\n')));
}

// The complete output of a run with nothing in its way.
struct Reference {
    std::string echo, debx, debj;
};

Reference reference_run(const std::string& cfg_text)
{
    WorkDir dir;
    dir.write("cfg.txt", cfg_text);
    EXPECT_EQ(run_loan(dir), 0);
    std::string out = dir.read("stdout.txt");
    std::string debx = dir.read("debx.txt");
    std::string debj = dir.read("debj.txt");
    return {out.substr(0, out.size() - debx.size() - debj.size()), debx, debj};
}

// Long enough that standard output is flushed during the run.
const char* const fault_loan = "100000\n30\n0.049\n";

// A file-size limit of 3 KiB, above each report of the short loan below but
// not above their console copy.
void limit_file_size()
{
    rlimit limit{3072, 3072};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// An empty /dev, as in a mount namespace of a container: /dev/null cannot be
// opened. Exits with 125 where the mount namespace cannot be made private.
void hide_dev()
{
    mount_private_tmpfs("/dev", nullptr);
}

void close_standard_input()
{
    close(0);
}

void close_standard_error()
{
    close(2);
}

// Opens `name` with `flags` as descriptor `fd`.
void redirect(int fd, const char* name, int flags)
{
    int opened = open(name, O_WRONLY | O_CREAT | flags, 0644);
    dup2(opened, fd);
    close(opened);
}

// `2> debx.txt`.
void error_to_debx()
{
    redirect(2, "debx.txt", O_TRUNC);
}

// `2>> debx.txt`.
void error_appended_to_debx()
{
    redirect(2, "debx.txt", O_APPEND);
}

// `> debj.txt 2> debx.txt`.
void output_to_debj_error_to_debx()
{
    redirect(1, "debj.txt", O_TRUNC);
    error_to_debx();
}

// \1, \2 and \3 in `pattern` replaced by the reference run's echo, debx.txt
// and debj.txt.
std::string expand(const char* pattern, const Reference& ref)
{
    std::string text;
    for (const char* at = pattern; *at != '\0'; ++at) {
        text += *at == '\1'   ? ref.echo
                : *at == '\2' ? ref.debx
                : *at == '\3' ? ref.debj
                              : std::string(1, *at);
    }
    return text;
}

// A run in the way of a fault, every field named in its row; a field a row
// leaves out takes the default here.
struct FaultCase {
    const char* name;
    const char* cfg = fault_loan; // nullptr: no cfg.txt
    Output output = Output::file;
    int status = 0;
    const char* expected_stdout = nullptr; // as expand() reads it; nullptr: not checked
    bool debx_complete = false;            // the reference run's report, else the old one
    bool debj_complete = false;
    const char* directory = nullptr;    // a directory of this name is in the way
    const char* on_full_disk = nullptr; // this file is a link to /dev/full
    std::string old_reports = "";       // written first
    const char* expected_stderr = "";
    void (*in_child)() = nullptr; // POSIX only: not for a program run through wine
    // POSIX only: debx.txt is a FIFO whose reader takes this many bytes and
    // leaves (SIZE_MAX: until the end, when they must be the whole report).
    std::size_t fifo_takes = 0;
    std::size_t stdout_kept = SIZE_MAX; // bytes of the expected stdout that get through
    const char* argument = nullptr;     // the program's one argument
    const char* stdout_has = nullptr;   // text standard output holds; nullptr: not checked
};

// Opens the FIFO `path` as its reader and takes at most `count` bytes.
std::string take_from_fifo(const fs::path& path, std::size_t count)
{
    std::string taken;
    int fd = open(path.c_str(), O_RDONLY);
    char chunk[4096];
    for (ssize_t got = 1; got > 0 && taken.size() < count;) {
        got = read(fd, chunk, std::min(sizeof chunk, count - taken.size()));
        taken.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    close(fd);
    return taken;
}

// Runs each case and checks its exit status, standard output and error, and
// both reports.
void check_faults(std::span<const FaultCase> cases)
{
    const bool through_runner = program_under_test().runner != nullptr;
    for (const FaultCase& c : cases) {
        // Set-ups that a run through wine cannot take; nor can Wine tell which
        // file a descriptor it inherited is, so a report as standard output.
        if ((c.in_child != nullptr || c.fifo_takes != 0 || c.output == Output::slow_pipe ||
             c.output >= Output::debx) &&
            through_runner) {
            std::printf("skipped: %s\n", c.name);
            continue;
        }
        const Reference ref =
            c.debx_complete || c.debj_complete ? reference_run(c.cfg) : Reference{};
        WorkDir dir;
        if (c.cfg != nullptr) {
            dir.write("cfg.txt", c.cfg);
        }
        if (!c.old_reports.empty()) {
            dir.write("debx.txt", c.old_reports);
            dir.write("debj.txt", c.old_reports);
        }
        if (c.directory != nullptr) {
            fs::create_directory(dir.path / c.directory);
        }
        if (c.on_full_disk != nullptr) {
            fs::create_symlink("/dev/full", dir.path / c.on_full_disk);
        }
        std::string taken;
        std::thread fifo_reader;
        if (c.fifo_takes != 0) {
            mkfifo((dir.path / "debx.txt").c_str(), 0644);
            fifo_reader =
                std::thread([&] { taken = take_from_fifo(dir.path / "debx.txt", c.fifo_takes); });
        }
        int status = run_loan(dir, c.output, program_under_test(), c.in_child, c.argument);
        if (fifo_reader.joinable()) {
            // A program that never opened the FIFO leaves its reader waiting.
            close(open((dir.path / "debx.txt").c_str(), O_WRONLY | O_NONBLOCK));
            fifo_reader.join();
            EXPECT_TRUE(c.fifo_takes != SIZE_MAX || same_text(taken, ref.debx)) << c.name;
        }
        EXPECT_EQ(status, c.status) << c.name;
        if (!through_runner || *c.expected_stderr != '\0') {
            EXPECT_EQ(dir.read("stderr.txt"), c.expected_stderr) << c.name;
        }
        if (c.expected_stdout != nullptr) {
            // Standard output as debx.txt: what it holds then.
            const char* out = c.output == Output::debx ? "debx.txt" : "stdout.txt";
            EXPECT_TRUE(
                same_text(dir.read(out), expand(c.expected_stdout, ref).substr(0, c.stdout_kept)))
                << c.name;
        }
        if (c.stdout_has != nullptr) {
            EXPECT_NE(dir.read("stdout.txt").find(c.stdout_has), std::string::npos) << c.name;
        }
        for (const char* report : {"debx.txt", "debj.txt"}) {
            const bool debx = report[3] == 'x';
            if (debx ? c.debx_complete : c.debj_complete) {
                EXPECT_TRUE(same_text(dir.read(report), debx ? ref.debx : ref.debj)) << c.name;
            } else if (!c.old_reports.empty() || c.cfg == nullptr) {
                EXPECT_EQ(dir.read(report), c.old_reports) << c.name << ": " << report;
                EXPECT_EQ(dir.has(report), c.cfg != nullptr) << c.name << ": " << report;
            }
        }
    }
}

// Whether a child process may mount a file system in a mount namespace of its
// own, as the faults on a hidden /dev and on a small disk do: root, outside a
// container that forbids it.
bool can_mount_privately()
{
    pid_t pid = fork();
    if (pid == 0) {
        mount_private_tmpfs("/mnt", "size=16k");
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(Program, FaultsTable)
{
    const FaultCase cases[] = {
        {.name = "missing cfg.txt",
         .cfg = nullptr,
         .status = 1,
         .expected_stdout = "open <cfg.txt> fail\r\n"},
        {.name = "cfg.txt is a directory",
         .cfg = nullptr,
         .status = 1,
         .expected_stdout = "open <cfg.txt> fail\r\n",
         .directory = "cfg.txt"},
        {.name = "debx.txt cannot be opened, debj.txt is still written",
         .status = 1,
         .expected_stdout = "\1open file <debx.txt> fail\r\n\3",
         .debj_complete = true,
         .directory = "debx.txt"},
        {.name = "debj.txt cannot be opened",
         .status = 1,
         .expected_stdout = "\1\2open file <debj.txt> fail\r\n",
         .debx_complete = true,
         .directory = "debj.txt"},
        {.name = "debx.txt on a full disk",
         .status = 1,
         .expected_stdout = "\1\2write file <debx.txt> fail\r\n\3",
         .debj_complete = true,
         .on_full_disk = "debx.txt"},
        {.name = "debj.txt on a full disk",
         .status = 1,
         .expected_stdout = "\1\2\3write file <debj.txt> fail\r\n",
         .debx_complete = true,
         .on_full_disk = "debj.txt"},
        {.name = "debx.txt fails only when it is closed",
         .cfg = "120\n0\n0.12\n",
         .status = 1,
         .expected_stdout = "\1\2write file <debx.txt> fail\r\n\3",
         .debj_complete = true,
         .on_full_disk = "debx.txt",
         .expected_stderr = "loan: cfg.txt line 2: the term \"0\" reads as 0 years, so the "
                            "schedules have no rows [term-zero]\r\n"},
        {.name = "standard output is a pipe with no reader",
         .output = Output::closed_pipe,
         .debx_complete = true,
         .debj_complete = true},
        {.name = "standard output non-blocking with a slow reader: the whole copy",
         .cfg = "300000\n1000\n0.0515\n",
         .output = Output::slow_pipe,
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true},
        {.name = "debx.txt a FIFO whose reader takes everything",
         .expected_stdout = "\1\2\3",
         .debj_complete = true,
         .fifo_takes = SIZE_MAX},
        {.name = "debx.txt a FIFO whose reader leaves early",
         .cfg = "300000\n300\n0.0515\n",
         .status = 1,
         .expected_stdout = "\1\2write file <debx.txt> fail\r\n\3",
         .debj_complete = true,
         .fifo_takes = 1000},
        {.name = "standard output on a full disk: reported once the reports are whole",
         .output = Output::full_disk,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "write <stdout> fail\r\n"},
        {.name = "a file-size limit only the console copy passes",
         .cfg = "120\n7\n0.12\n",
         .status = 1,
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "write <stdout> fail\r\n",
         .in_child = limit_file_size,
         .stdout_kept = 3072},
        {.name = "standard output closed",
         .output = Output::closed,
         .debx_complete = true,
         .debj_complete = true},
        {.name = "standard input and output closed",
         .output = Output::closed,
         .debx_complete = true,
         .debj_complete = true,
         .in_child = close_standard_input},
        {.name = "term of -1: refused at once, old reports untouched",
         .cfg = "120\n-1\n0.12\n",
         .status = 1,
         .expected_stdout = "sum: 120, year: -1, rate: 0.120000\r\n"
                            "too many periods for <debx.txt>: 4294967284 (at most 1200000)\r\n"
                            "too many periods for <debj.txt>: 4294967284 (at most 1200000)\r\n",
         .old_reports = "old",
         .expected_stderr = "loan: cfg.txt line 2: the term \"-1\" reads as -1 years, 4294967284 "
                            "periods, more than the 1200000 the program computes, so it writes "
                            "no schedule [too-many-periods 1200000]\r\n"},
        {.name = "one period over the bound",
         .cfg = "120\n100001\n0.12\n",
         .status = 1,
         .expected_stdout = "sum: 120, year: 100001, rate: 0.120000\r\n"
                            "too many periods for <debx.txt>: 1200012 (at most 1200000)\r\n"
                            "too many periods for <debj.txt>: 1200012 (at most 1200000)\r\n",
         .expected_stderr = "loan: cfg.txt line 2: the term \"100001\" reads as 100001 years, "
                            "1200012 periods, more than the 1200000 the program computes, so it "
                            "writes no schedule [too-many-periods 1200000]\r\n"},
        {.name = "a rerun truncates longer old reports",
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .old_reports = std::string(100000, 'x')},
        {.name = "standard output a TCP reader that resets the connection",
         .output = Output::tcp_reset,
         .debx_complete = true,
         .debj_complete = true},
        {.name = "standard output is debx.txt: written whole, without the copy",
         .output = Output::debx,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "standard output is debx.txt\r\n"},
        {.name = "standard output and error appended to debj.txt: nothing more in it",
         .output = Output::debj_and_stderr,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .old_reports = "old"},
        {.name = "standard output is debx.txt, standard error closed: it stays the report's own",
         .output = Output::debx,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .in_child = close_standard_error},
        {.name = "standard error is debx.txt: a failed console copy leaves it whole",
         .output = Output::full_disk,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .in_child = error_to_debx},
        {.name = "standard output debj.txt, standard error debx.txt: both whole",
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .in_child = output_to_debj_error_to_debx},
        {.name = "standard error appended to an old debx.txt: no finding in it",
         .cfg = "120\n100001\n0.12\n",
         .status = 1,
         .old_reports = "old",
         .in_child = error_appended_to_debx},
        {.name = "a finding told on standard error first, the rest as it is",
         .cfg = "100000\n30\n4.9\n",
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "loan: cfg.txt line 3: the rate \"4.9\" reads as 4.900000, 490.00 % a "
                            "year, as the rate is a fraction (1 is 100 %); for 4.9 % write 0.049 "
                            "[rate-percent 0.049]\r\n"},
        {.name = "a rate cut by the 127-byte limit told whole, as read",
         // The rate's 118 spaces: the 127 bytes end after "0.2".
         .cfg = "120\n1\n"
                "                                                           "
                "                                                           "
                "0.25\n",
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "loan: cfg.txt line 3: only the first 127 bytes of cfg.txt are read, "
                            "and they end in this line, read as \""
                            "                                                           "
                            "                                                           "
                            "0.2\"; the rest of the file is not read [cut 127]\r\n"},
        {.name = "findings on three lines, the schedules on what is read",
         .cfg = "3000000000\n357913942\n120\n",
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "loan: cfg.txt line 1: the principal \"3000000000\" is more than "
                            "2147483647 yuan, the most the program reads, and reads as 2147483647 "
                            "yuan [principal-saturated 2147483647]\r\n"
                            "loan: cfg.txt line 2: the term \"357913942\" reads as 357913942 "
                            "years, whose months wrap at 2^32 to 8 periods, the rows the "
                            "schedules have [term-wraps 8]\r\n"
                            "loan: cfg.txt line 3: the rate \"120\" reads as 120.000000, 12000.00 "
                            "% a year, as the rate is a fraction (1 is 100 %); write the rate as a "
                            "fraction, 0.049 for 4.9 % [rate-percent]\r\n"},
        {.name = "--check: what the program reads, no report written",
         .expected_stdout = "cfg.txt: 16 bytes, 3 fields\r\n"
                            "principal: 100000 (line 1 \"100000\")\r\n"
                            "term: 30 years, 360 periods (line 2 \"30\")\r\n"
                            "rate: 0.049000 a year, 4.90 % (line 3 \"0.049\")\r\n",
         .old_reports = "old",
         .argument = "--check"},
        {.name = "--check: findings after the values, the fields' bytes escaped, exit 1",
         .cfg = "\xEF\xBB\xBF"
                "1000000\n30 \"years\" \\\n",
         .status = 1,
         .expected_stdout =
             "cfg.txt: 24 bytes, 3 fields\r\n"
             "principal: 0 (line 1 \"\\xEF\\xBB\\xBF1000000\")\r\n"
             "term: 30 years, 360 periods (line 2 \"30 \\\"years\\\" \\\\\")\r\n"
             "rate: 0.000000 a year, 0.00 % (line 3 \"\")\r\n"
             "loan: cfg.txt line 1: the file starts with a byte-order mark, so the principal reads "
             "as 0 yuan; save cfg.txt without it (as ANSI, or UTF-8 without BOM) and it reads as "
             "1000000 [bom 1000000]\r\n"
             "loan: cfg.txt line 2: the term \"30 \\\"years\\\" \\\\\" reads as 30 years, as a "
             "number ends where its digits do; write 30 [text-after-number 30]\r\n"
             "loan: cfg.txt line 3: the line is empty, so the rate reads as 0.000000, 0.00 % a "
             "year; write the rate here as a fraction, 0.049 for 4.9 % [empty]\r\n",
         .old_reports = "old",
         .argument = "--check"},
        {.name = "a Ctrl-Z inside the rate told on standard error, the schedules on what is read",
         .cfg = "1000000\r\n30\r\n0.0\x1A"
                "49\r\n",
         .expected_stdout = "\1\2\3",
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "loan: cfg.txt line 3: a Ctrl-Z byte ends the data in this line, read "
                            "as \"0.0\"; the rest of the file is not read [stopped Ctrl-Z]\r\n"},
        {.name = "--check: a Ctrl-Z inside the term told, not the missing rate, exit 1",
         .cfg = "1000000\n3\x1A"
                "0\n0.049\n",
         .status = 1,
         .expected_stdout = "cfg.txt: 9 bytes, 2 fields\r\n"
                            "principal: 1000000 (line 1 \"1000000\")\r\n"
                            "term: 3 years, 36 periods (line 2 \"3\")\r\n"
                            "rate: 0.000000 a year, 0.00 % (not in cfg.txt)\r\n"
                            "loan: cfg.txt line 2: a Ctrl-Z byte ends the data in this line, read "
                            "as \"3\"; the rest of the file is not read [stopped Ctrl-Z]\r\n",
         .old_reports = "old",
         .argument = "--check"},
        {.name = "--check into a standard output named debx.txt, no report: it is written",
         .output = Output::debx,
         .expected_stdout = "cfg.txt: 16 bytes, 3 fields\r\n"
                            "principal: 100000 (line 1 \"100000\")\r\n"
                            "term: 30 years, 360 periods (line 2 \"30\")\r\n"
                            "rate: 0.049000 a year, 4.90 % (line 3 \"0.049\")\r\n",
         .argument = "--check"},
        {.name = "--check without cfg.txt",
         .cfg = nullptr,
         .status = 1,
         .expected_stdout = "open <cfg.txt> fail\r\n",
         .argument = "--check"},
        {.name = "--help: the usage, no file read or written",
         .old_reports = "old",
         .argument = "--help",
         .stdout_has = "man loan"},
        {.name = "--version: the name and version, no file read or written",
         .expected_stdout = "loan " LOAN_VERSION "\r\n",
         .old_reports = "old",
         .argument = "--version"},
        {.name = "any other argument: a usage error, no file read or written",
         .status = 2,
         .expected_stdout = "",
         .old_reports = "old",
         .expected_stderr =
             "loan: unknown argument 'now'; usage: loan [--help | --version | --check]\r\n",
         .argument = "now"},
    };
    check_faults(cases);
}

// Where no mount namespace can be made this test is not registered, and
// configuring says so; run by hand it is skipped, saying why.
TEST(Program, FaultsInAMountNamespace)
{
    if (!can_mount_privately()) {
        GTEST_SKIP() << "no mount namespace here: run the tests as root";
    }
    const FaultCase cases[] = {
        {.name = "standard output closed and /dev/null missing: no file is touched",
         .output = Output::closed,
         .status = 1,
         .old_reports = "old",
         .in_child = hide_dev},
        {.name = "standard output on a small disk that fills: a short write is a loss",
         .output = Output::small_disk,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "write <stdout> fail\r\n"},
        {.name = "standard output is debx.txt and /dev/null missing: written whole all the same",
         .output = Output::debx,
         .status = 1,
         .debx_complete = true,
         .debj_complete = true,
         .expected_stderr = "standard output is debx.txt\r\n",
         .in_child = hide_dev},
    };
    check_faults(cases);
}

// Every configuration the tests use, and a few more that exercise the
// reader, gives the same bytes and exit status from this build and from the
// build named by LOAN_OTHER_PROGRAM (started through LOAN_OTHER_RUNNER, such
// as wine). A null configuration means no cfg.txt at all.
TEST(CrossBuild, SameBytes)
{
    const char* other_path = std::getenv("LOAN_OTHER_PROGRAM");
    if (other_path == nullptr) {
        GTEST_SKIP() << "LOAN_OTHER_PROGRAM names no other build";
    }
    const Program other{std::getenv("LOAN_OTHER_RUNNER"), other_path};
    std::vector<const char*> configurations = {
        nullptr,
        fault_loan,
        "120\n-1\n0.12\n",
        "120\n100001\n0.12\n",
        "120\r1\r0.12\r",
        "120\n1\n0.12\n\x1A"
        "5\n",
        "\xEF\xBB\xBF"
        "120\n1\n0.12\n",
        "99999999999\n-99999999999\n1e39\n",
        "120\n1\n0x10\n",
        "",
    };
    std::vector<ScheduleCase> cases = schedule_cases();
    for (const ScheduleCase& c : cases) {
        configurations.push_back(c.cfg.c_str());
    }
    for (const char* configuration : configurations) {
        WorkDir here;
        WorkDir there;
        if (configuration != nullptr) {
            here.write("cfg.txt", configuration);
            there.write("cfg.txt", configuration);
        }
        std::string name = configuration != nullptr ? configuration : "(no cfg.txt)";
        EXPECT_EQ(run_loan(here, Output::file, Program{nullptr, LOAN_EXE}),
                  run_loan(there, Output::file, other))
            << name;
        for (const char* file : {"stdout.txt", "debx.txt", "debj.txt"}) {
            EXPECT_EQ(here.has(file), there.has(file)) << name << ": " << file;
            EXPECT_TRUE(same_text(there.read(file), here.read(file))) << name << ": " << file;
        }
    }
}

// A run of tools/chart.sh or tools/compare.sh on the reports of `cfg`, moved
// into `folder` (relative to where the tool runs), debx.txt then changed by
// `spoil` when given.
struct ToolCase {
    const char* name;
    std::string cfg;
    const char* stated;    // standard output; nullptr: it fails with `complaint`
    const char* complaint; // standard error when it fails, with exit status 1
    const char* folder = "reports";
    void (*spoil)(const fs::path& debx) = nullptr;
};

std::string content_of(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Where the report's last line (its totals line) starts.
std::size_t totals_at(const fs::path& report)
{
    std::string content = content_of(report);
    return content.rfind("\r\n", content.size() - 3) + 2;
}

// Replaces the first `from` in `report` with `to`.
void replace_first(const fs::path& report, const std::string& from, const std::string& to)
{
    std::string content = content_of(report);
    std::ofstream(report, std::ios::binary) << content.replace(content.find(from), from.size(), to);
}

// Pads the title line of `report` with spaces to `width` bytes with its CR.
void widen_title(const fs::path& report, std::size_t width)
{
    std::string content = content_of(report);
    std::size_t end = content.find("\r\n");
    std::ofstream(report, std::ios::binary) << content.insert(end, width - 1 - end, ' ');
}

// Runs `script` as `c` says in `dir` and checks its exit status and output,
// and that it left in the folder nothing new but the chart's schedules.png on
// success.
void check_tool(const WorkDir& dir, const char* script, const ToolCase& c)
{
    dir.write("cfg.txt", c.cfg);
    ASSERT_EQ(run_loan(dir, Output::file, Program{nullptr, LOAN_EXE}), 0) << c.name;
    fs::path folder = dir.path / c.folder;
    fs::create_directory(folder);
    for (const char* report : {"debx.txt", "debj.txt"}) {
        fs::rename(dir.path / report, folder / report);
    }
    if (c.spoil != nullptr) {
        c.spoil(folder / "debx.txt");
    }
    auto entries = [&folder] {
        return std::distance(fs::directory_iterator(folder), {});
    };
    auto before = entries();
    int status = run_loan(dir, Output::file, Program{nullptr, script}, nullptr, c.folder);
    bool chart = std::string(script) == CHART_SCRIPT;
    EXPECT_EQ(status, c.stated != nullptr ? 0 : 1) << c.name << ": " << dir.read("stderr.txt");
    EXPECT_EQ(dir.read("stdout.txt"), c.stated != nullptr ? c.stated : "") << c.name;
    if (c.stated == nullptr || !chart) { // gnuplot may warn of a flat graph
        EXPECT_EQ(dir.read("stderr.txt"), c.stated != nullptr ? "" : c.complaint) << c.name;
    }
    EXPECT_EQ(entries(), before + (chart && c.stated != nullptr)) << c.name;
}

TEST(Chart, Table)
{
    if (std::system("command -v gnuplot >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "no gnuplot";
    }
    const char* example =
        "chart: schedules.png, 12 and 12 periods, Loan of 120 yuan over 1 years at 12.00% a year\n";
    const ToolCase cases[] = {
        {"the example", cfg("120", "1", "0.12"), example, nullptr},
        {"period numbers beyond 999", cfg("1008", "84", "0"),
         "chart: schedules.png, 1008 and 1008 periods, Loan of 1008 yuan over 84 years at 0.00% a "
         "year\n",
         nullptr},
        {"no periods", cfg("300000", "0", "0.0515"),
         "chart: schedules.png, 0 and 0 periods, Loan of 300000 yuan over 0 years at 5.15% a "
         "year\n",
         nullptr},
        {"no amount finite: empty graphs", cfg("120", "1", "1e39"),
         "chart: schedules.png, 12 and 12 periods, Loan of 120 yuan over 1 years at inf% a year\n",
         nullptr},
        {"a folder named -, not the one before", cfg("120", "1", "0.12"), example, nullptr, "-"},
        {"a folder named like an option and an assignment, with a space and a newline",
         cfg("120", "1", "0.12"), example, nullptr, "-r x=1 two\nlines"},
        {"a report missing", cfg("120", "1", "0.12"), nullptr,
         "chart: no debx.txt in reports (run loan there first: it writes the reports)\n", "reports",
         [](const fs::path& debx) {
             fs::remove(debx);
         }},
        {"a report cut short, as an interrupted run leaves it", cfg("120", "1", "0.12"), nullptr,
         "chart: reports/debx.txt: no totals line: the report ends after 14 lines (cut short?)\n",
         "reports",
         [](const fs::path& debx) {
             fs::resize_file(debx, totals_at(debx));
         }},
        {"a report that lacks only its last LF", cfg("120", "1", "0.12"), nullptr,
         "chart: reports/debx.txt:15: the report ends within this line (cut short?)\n", "reports",
         [](const fs::path& debx) {
             fs::resize_file(debx, fs::file_size(debx) - 1);
         }},
        {"a title that would run a command in gnuplot", cfg("120", "1", "0.12"), nullptr,
         "chart: reports/debx.txt:1: not the title line loan writes\n", "reports",
         [](const fs::path& debx) {
             replace_first(debx, "%]", "\"; system \"touch PWNED\"; x=\"%]");
         }},
    };
    for (const ToolCase& c : cases) {
        WorkDir dir;
        check_tool(dir, CHART_SCRIPT, c);
        if (c.stated != nullptr) {
            // A PNG of 900 x 700: its signature, then the header's big-endian size.
            EXPECT_EQ(content_of(dir.path / c.folder / "schedules.png").substr(0, 24),
                      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x03\x84\0\0\x02\xbc", 24))
                << c.name;
        }
    }
}

// The comparison's figures for loans whose reports can be worked out by hand,
// or a mortgage's figures stated beforehand.
TEST(Compare, Table)
{
    const char* example =
        "debx (equal installments): first payment 10.66, last payment 10.66, total paid "
        "127.94, interest 7.94\n"
        "debj (equal principal): first payment 11.20, last payment 10.10, total paid "
        "127.80, interest 7.80\n"
        "debj saves 0.14 of interest; its payment is lower from period 7; it costs at most "
        "1.74 more, by period 6\n";
    const ToolCase cases[] = {
        {"the example: debj pays 10.00 and 1 % of what is left", cfg("120", "1", "0.12"), example,
         nullptr},
        {"a 1,000,000-yuan mortgage", cfg("1000000", "30", "0.049"),
         "debx (equal installments): first payment 5307.27, last payment 5307.27, total paid "
         "1910612.38, interest 910616.50\n"
         "debj (equal principal): first payment 6861.11, last payment 2789.14, total paid "
         "1737046.88, interest 737046.69\n"
         "debj saves 173569.81 of interest; its payment is lower from period 138; it costs at "
         "most 107209.68 more, by period 137\n",
         nullptr},
        {"no interest: both pay 100.00 a month", cfg("1200", "1", "0"),
         "debx (equal installments): first payment 100.00, last payment 100.00, total paid "
         "1200.00, interest 0.00\n"
         "debj (equal principal): first payment 100.00, last payment 100.00, total paid "
         "1200.00, interest 0.00\n"
         "debj saves 0.00 of interest; its payment is never lower; it never costs more\n",
         nullptr},
        {"a term of zero", cfg("300000", "0", "0.0515"),
         "debx (equal installments): no periods, total paid 0.00, interest 0.00\n"
         "debj (equal principal): no periods, total paid 0.00, interest 0.00\n"
         "nothing to compare\n",
         nullptr},
        {"a folder named like an assignment, with a space and a newline", cfg("120", "1", "0.12"),
         example, nullptr, "x=1 two\nlines"},
        {"amounts that are not finite", cfg("120", "1", "1e39"), nullptr,
         "compare: reports/debx.txt:3: inf cannot be compared\n"},
        {"a principal part with a leading zero", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:3: not row 001 as loan writes it\n", "reports",
         [](const fs::path& debx) {
             replace_first(debx, "[ 9.46]", "[09.46]");
         }},
        {"a total principal that is no number", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:15: neither a row nor the totals line loan writes\n", "reports",
         [](const fs::path& debx) {
             replace_first(debx, "120.00,", "120.0x,");
         }},
        {"a title whose term of -1 years has not the 12 rows that follow", cfg("120", "1", "0.12"),
         nullptr,
         "compare: reports/debx.txt:15: the totals line after 12 rows; a term of -1 years has "
         "4294967284\n",
         "reports",
         [](const fs::path& debx) {
             replace_first(debx, "[1 ", "[-1 ");
         }},
        {"a title whose principal is past 32 bits", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:1: not the title line loan writes\n", "reports",
         [](const fs::path& debx) {
             replace_first(debx, "[120 ", "[2147483648 ");
         }},
        {"a report turned to LF line ends", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:1: a line without its CR LF end\n", "reports",
         [](const fs::path& debx) {
             std::string report = content_of(debx);
             std::erase(report, '\r');
             std::ofstream(debx, std::ios::binary) << report;
         }},
        {"a report missing", cfg("120", "1", "0.12"), nullptr,
         "compare: no debx.txt in reports (run loan there first: it writes the reports)\n",
         "reports",
         [](const fs::path& debx) {
             fs::remove(debx);
         }},
        {"a report cut short within its last line", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:15: the report ends within this line (cut short?)\n", "reports",
         [](const fs::path& debx) {
             fs::resize_file(debx, totals_at(debx) + 10);
         }},
        {"a report that lacks only its last LF", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:15: the report ends within this line (cut short?)\n", "reports",
         [](const fs::path& debx) {
             fs::resize_file(debx, fs::file_size(debx) - 1);
         }},
        {"a title of 191 bytes with its CR, as long as a line may be", cfg("120", "1", "0.12"),
         nullptr, "compare: reports/debx.txt:1: not the title line loan writes\n", "reports",
         [](const fs::path& debx) {
             widen_title(debx, 191);
         }},
        {"a title of 192 bytes with its CR, longer than any line loan writes",
         cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:1: a line longer than any loan writes\n", "reports",
         [](const fs::path& debx) {
             widen_title(debx, 192);
         }},
        {"300 MB, beyond the 1,200,000 rows of the longest term", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt: larger than any report loan writes\n", "reports",
         [](const fs::path& debx) {
             fs::resize_file(debx, 300 << 20);
         }},
        {"a second totals line", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt:16: a line after the totals line\n", "reports",
         [](const fs::path& debx) {
             std::ofstream(debx, std::ios::app) << content_of(debx).substr(totals_at(debx));
         }},
        {"an unreadable report", cfg("120", "1", "0.12"), nullptr,
         "compare: cannot read reports/debx.txt\n", "reports",
         [](const fs::path& debx) {
             fs::remove(debx);
             fs::create_symlink("/proc/self/mem", debx); // reading it fails
         }},
        {"a report that is a named pipe, which nobody writes", cfg("120", "1", "0.12"), nullptr,
         "compare: reports/debx.txt is not a regular file\n", "reports",
         [](const fs::path& debx) {
             fs::remove(debx);
             mkfifo(debx.c_str(), 0644);
         }},
    };
    for (const ToolCase& c : cases) {
        WorkDir dir;
        check_tool(dir, COMPARE_SCRIPT, c);
    }
}

} // namespace
