// The two repayment schedules of a loan, each written as a report to its own
// file and, line by line, to standard output (the console copy).
#pragma once

#include <cstddef>
#include <cstdint>

// The longest schedule computed: 100000 years of monthly periods.
constexpr std::uint32_t periods_max = 1200000;

// Room for one report line: no input produces a longer one.
constexpr std::size_t report_line_size = 192;

// Equal-installment schedule (the same payment every month) into debx.txt.
// `sum` is the principal in yuan, `year` the term in years, `rate_y` the
// annual rate as a fraction. Returns 0 when the report was written and closed,
// 1 after a failure, which has been reported on standard output.
int loan_debx(std::uint32_t sum, std::uint32_t year, float rate_y);

// Equal-principal schedule (the same principal part every month) into
// debj.txt; parameters and result as for loan_debx.
int loan_debj(std::uint32_t sum, std::uint32_t year, float rate_y);

// Hands `len` bytes to standard output. A reader that has gone away ends the
// console copy silently (as a closed standard output on Windows does): its
// error is cleared. Any other failure (a full disk, a file-size limit) stays
// in the stream's error state for console_complete().
void write_console(const char* text, std::size_t len);

// printf() through write_console(), for the messages (at most 127 bytes).
[[gnu::format(printf, 1, 2)]] void print_console(const char* format, ...);

// Flushes standard output at the end of the run and returns false when part
// of the console copy was lost for another reason than nobody taking it.
bool console_complete();
