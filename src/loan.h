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
// annual rate as a fraction. Returns whether the report was written and
// closed; a failure has been reported on standard output.
bool loan_debx(std::uint32_t sum, std::uint32_t year, float rate_y);

// Equal-principal schedule (the same principal part every month) into
// debj.txt; parameters and result as for loan_debx.
bool loan_debj(std::uint32_t sum, std::uint32_t year, float rate_y);
