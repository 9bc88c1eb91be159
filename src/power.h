// Powers base^k with a whole exponent, correctly rounded: the double nearest
// to the exact power, ties to even. They depend on IEEE-754 basic arithmetic
// alone, so every machine computes the same bits.
#pragma once

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

// What the arithmetic needs: binary64 operations, each rounded once to
// nearest as written. Wider registers (x87, FLT_EVAL_METHOD 2) break
// Veltkamp's split, and so do fast math and contraction into fused
// multiply-adds, which no macro reveals: the build passes -ffp-contract=off
// (and -msse2 -mfpmath=sse on 32-bit x86); without it the MPFR tests fail on
// x86-64 with FMA, and the power vectors on ARM64, by the thousand.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0 || defined(__FAST_MATH__)
#error "the powers need doubles without excess precision or fast math (x86: -msse2 -mfpmath=sse)"
#endif

// The exact path's power of an odd integer m below 2^53, in n 32-bit limbs
// `a` (lowest first, the top bit set): m^k lies in [a 2^s, (a + *error) 2^s],
// exactly a 2^s when *error is 0. Returns s.
long long power_of_odd(std::uint64_t m, std::uint32_t k, long long n, std::uint32_t* a,
                       std::uint64_t* error);

// base^k for any base and any k on its own: exact integer arithmetic, slow.
// next_power() falls back on it where its own result could be off. It starts
// from `first_limbs` 32-bit limbs (at least 2) and doubles them until the
// rounding is decided; the tests start lower than the program, so that the
// doubling is taken often.
double correctly_rounded_power(double base, std::uint32_t k, int first_limbs = 4);

// a * b - p exactly, p being fl(a * b) (Dekker's product, through Veltkamp's
// splitting into halves of 26 bits: no fused multiply-add needed).
inline double product_error(double a, double b, double p)
{
    constexpr double splitter = 0x1p27 + 1;
    double ta = a * splitter;
    double a_hi = ta - (ta - a);
    double a_lo = a - a_hi;
    double tb = b * splitter;
    double b_hi = tb - (tb - b);
    double b_lo = b - b_hi;
    return ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
}

// 2^e for e in [-1022, 1023].
inline double power_of_two(int e)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

// Whether every value within k * 2^-104 * hi of hi + lo (|lo| at most half
// a unit in the last place of hi, hi normal) rounds to hi: the error bound of
// next_power()'s running product after k steps.
inline bool certainly_rounds_to_hi(double hi, double lo, std::uint32_t k)
{
    // Twice the bound, so that lo +- error, itself rounded, still reaches past
    // the bound (|lo| <= 2^-53 hi); rounding being monotonic, the whole
    // interval around hi + lo then rounds to hi, a tie included.
    double error = hi * (static_cast<double>(k) * 0x1p-103);
    return hi + (lo + error) == hi && hi + (lo - error) == hi;
}

// base^k for k = 0, 1, 2, ... of one base, in turn. The caller keeps the
// running product base^k between the calls as a double-double `*hi + *lo`
// times 2^`*scale`, set to 1, 0 and 0 before k = 0; each call returns base^k
// and leaves base^(k + 1) there, or leaves it as it is once the powers have
// overflowed or underflowed for good.
inline double next_power(double base, std::uint32_t k, double* hi, double* lo, int* scale)
{
    auto bits = std::bit_cast<std::uint64_t>(base);
    int biased_exponent = static_cast<int>(bits >> 52 & 0x7FF);
    if (biased_exponent == 0x7FF) {
        // Infinite or not a number: no running product. (A zero or subnormal
        // base runs through it as if its leading bit were 1, above its true
        // value: its powers fall below 2^-1022 at once, where the exact path
        // or zero takes over.)
        return correctly_rounded_power(base, k);
    }
    const double sign = std::signbit(base) && (k & 1) != 0 ? -1.0 : 1.0;
    // hi 2^scale lies in [2^top, 2^(top + 1)), and the exact power within a
    // factor 1 +- 2^-52 of it: |lo| <= 2^-53 hi, and the bound below.
    int top = *scale + static_cast<int>(std::bit_cast<std::uint64_t>(*hi) >> 52) - 1023;
    if (top > 1024 || top < -1076) {
        // The power is above 2^1024, or below 2^-1075, half the smallest
        // subnormal, which rounds to 0. Either way |base| is above 1 or below
        // it, so every later power lies further out: the product stays here,
        // and with it *scale within +-2200.
        return sign * (top > 0 ? HUGE_VAL : 0);
    }
    // |base| = mantissa * 2^(biased_exponent - 1023), mantissa in [1, 2).
    double mantissa = std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFF) | 0x3FF0000000000000);

    double result = 0;
    if (top >= -1022 && certainly_rounds_to_hi(*hi, *lo, k)) {
        // Scaled exactly by two powers of two, each a normal double: a call
        // of ldexp() here took a third of the time of a power. Rounding to
        // nearest overflows exactly where the power rounded with an unbounded
        // exponent, hi 2^scale, reaches 2^1024: then so does this product.
        int half = *scale / 2;
        result = *hi * power_of_two(half) * power_of_two(*scale - half);
    } else {
        // Near a tie, or below 2^-1022 where fewer bits are kept.
        result = std::fabs(correctly_rounded_power(base, k));
    }

    // One step of the running product: hi + lo = mantissa^k * (1 + t) with
    // |t| <= k 2^-104, |lo| at most half a unit in the last place of hi, and
    // hi in [1, 2^64]. Each step multiplies exactly but for lo * mantissa and
    // the sum of the low parts, which lose at most 2^-106 and 2^-105 of the
    // value: 3 * 2^-106 a step, less than 4k * 2^-106 after k steps.
    double p = *hi * mantissa;
    double s = product_error(*hi, mantissa, p) + *lo * mantissa;
    *hi = p + s;
    *lo = s - (*hi - p);
    *scale += biased_exponent - 1023;
    if (*hi >= 0x1p64) {
        *hi *= 0x1p-64;
        *lo *= 0x1p-64;
        *scale += 64;
    }
    return sign * result;
}
