// Powers base^k with a whole exponent, correctly rounded: the double nearest
// to the exact power, ties to even. They depend on IEEE-754 basic arithmetic
// alone, so every machine computes the same bits.
#pragma once

#include <cstdint>

// base^k for k = 0, 1, 2, ... of one base, in turn. The caller keeps the
// running product base^k between the calls as a double-double `*hi + *lo`
// times 2^`*scale`, set to 1, 0 and 0 before k = 0; each call returns base^k
// and leaves base^(k + 1) there.
double next_power(double base, std::uint32_t k, double* hi, double* lo, int* scale);

// Whether every value within k * 2^-104 * hi of hi + lo (|lo| at most half
// a unit in the last place of hi, hi normal) rounds to hi: the error bound of
// next_power()'s running product after k steps.
bool certainly_rounds_to_hi(double hi, double lo, std::uint32_t k);

// base^k for any k on its own: exact integer arithmetic, slow. next_power()
// falls back on it where its own result could be off.
double correctly_rounded_power(double base, std::uint32_t k);
