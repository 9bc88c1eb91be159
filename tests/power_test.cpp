// The powers against MPFR's correctly rounded power, and under Wine against
// vectors that MPFR made on Linux.
#include "power.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#ifdef LOAN_MPFR
#include <mpfr.h>
#endif

namespace {

// The same double, the sign of zero included; every not-a-number alike.
bool same(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

#ifdef LOAN_MPFR
// 1 + rate_m formed as the schedules form it.
double base_of(float rate_y)
{
    float rate_m = rate_y / 12;
    return 1.0 + static_cast<double>(rate_m);
}

// Rates whose powers are special or extreme: zero of both signs, subnormal,
// -1 (base 0), below -1 (negative bases), huge, infinite, not a number.
std::vector<float> extreme_rates()
{
    constexpr float tiny = std::numeric_limits<float>::denorm_min();
    constexpr float largest = std::numeric_limits<float>::max();
    constexpr float inf = std::numeric_limits<float>::infinity();
    return {0.0f,          -0.0f,  tiny,   -tiny,  1e-30f,  -12.0f,   -12.000001f, -11.999999f,
            -24.0f,        -36.0f, -13.0f, -1e30f, largest, -largest, inf,         -inf,
            std::nanf(""), 6.0f,   3.0f,   1.5f,   0.75f,   -6.0f,    -9.0f};
}

// Exact powers and exact ties of the next double: (base, k). 1.75^19 is a tie
// that rounds up to even, 1.5^34 one that rounds down; 262147^3 and
// 2100225^3 lie just above a tie by their lowest bit, right below the
// rounding bit and ten bits below it, at the bottom of a limb.
struct Pair {
    double base;
    std::uint32_t k;
};
// 0x1.8000000000006p-512 squared lies just above a tie at 2^-1023, where the
// double of the running product, rounded once more, would land on the tie;
// 0x1.40ec7de36c986p-5^230 just above 2^-1075, half the smallest subnormal,
// where from 64 bits the exact path's interval starts below it.
// clang-format off
const Pair exact_cases[] = {
    {1.5, 34}, {1.25, 23}, {1.125, 17}, {1.0625, 13}, {0.5, 1075}, {0.5, 1074}, {-1.5, 35},
    {0.75, 2000}, {3.0, 646}, {3.0, 647}, {1.5, 1751}, {1.5, 1750}, {0x1.8p-1, 2}, {2.0, 1023},
    {2.0, 1024}, {0.5, 1076}, {-0.5, 1075}, {1.0000001, 3}, {0.0, 3}, {-0.0, 3},
    {-0x1p-1074, 1}, {0x1.8p-1070, 2}, {0x1.8000000000006p-512, 2}, {1.75, 19}, {262147.0, 3},
    {2100225.0, 3}, {0x1.40ec7de36c986p-5, 230},
};
// clang-format on

// A generator with a fresh seed, printed so that a failure can be traced.
std::mt19937_64 fresh_random()
{
    const unsigned seed = std::random_device{}();
    std::printf("seed %u\n", seed);
    return std::mt19937_64(seed);
}

// base^k rounded once to double by MPFR, subnormals and overflow included.
double mpfr_power(double base, std::uint32_t k)
{
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    mpfr_t x;
    mpfr_t r;
    mpfr_init2(x, 53);
    mpfr_init2(r, 53);
    mpfr_set_d(x, base, MPFR_RNDN);
    int ternary = mpfr_subnormalize(r, mpfr_pow_ui(r, x, k, MPFR_RNDN), MPFR_RNDN);
    (void)ternary;
    double result = mpfr_get_d(r, MPFR_RNDN);
    mpfr_clears(x, r, nullptr);
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
    return result;
}

// Runs next_power() over k = 0 .. count - 1 and compares every power with
// MPFR; every 1000th step whose power is normal, the running product must also
// be within its stated bound of the exact power (beyond the doubles it stays
// where it left them). Returns the number of mismatches.
int check_sequence(double base, std::uint32_t count)
{
    double hi = 1;
    double lo = 0;
    int scale = 0;
    int mismatches = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        bool bounded = true;
        if (k % 1000 == 999 && std::isnormal(mpfr_power(base, k))) {
            mpfr_t exact;
            mpfr_t held;
            mpfr_inits2(400, exact, held, nullptr);
            mpfr_set_d(exact, std::fabs(base), MPFR_RNDN);
            mpfr_pow_ui(exact, exact, k, MPFR_RNDN);
            mpfr_set_d(held, hi, MPFR_RNDN);
            mpfr_add_d(held, held, lo, MPFR_RNDN);
            mpfr_mul_2si(held, held, scale, MPFR_RNDN);
            mpfr_sub(held, held, exact, MPFR_RNDN);
            mpfr_div(held, held, exact, MPFR_RNDN);
            bounded = std::fabs(mpfr_get_d(held, MPFR_RNDN)) <= k * 0x1p-104;
            mpfr_clears(exact, held, nullptr);
        }
        double got = next_power(base, k, &hi, &lo, &scale);
        if (!same(got, mpfr_power(base, k)) || !bounded) {
            if (++mismatches <= 3) {
                ADD_FAILURE() << std::hexfloat << base << "^" << k << ": " << got << ", MPFR "
                              << mpfr_power(base, k) << (bounded ? "" : ", out of bound");
            }
        }
    }
    return mismatches;
}

TEST(Power, SequencesMatchMpfr)
{
    std::mt19937_64 random = fresh_random();
    struct Run {
        double base;
        std::uint32_t count;
    };
    // The whole sweep (over ten million powers) when LOAN_POWER_FULL is set,
    // a twentieth of it otherwise.
    const int step = std::getenv("LOAN_POWER_FULL") != nullptr ? 1 : 20;
    std::vector<Run> runs;
    for (int i = 1; i <= 3000; i += step) {
        runs.push_back({base_of(static_cast<float>(i / 10000.0)), 480});
    }
    for (float rate : {0.049f, 0.0515f, 0.0229f}) {
        runs.push_back({base_of(rate), 1200000u / static_cast<std::uint32_t>(step)});
    }
    for (float rate : extreme_rates()) {
        runs.push_back({base_of(rate), 2000});
    }
    // Random rates, both realistic and any bit pattern.
    std::uniform_real_distribution<float> realistic(-0.5f, 1.0f);
    for (int i = 0; i < 700 / step; ++i) {
        float rate = i % 2 == 0 ? realistic(random)
                                : std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        runs.push_back({base_of(rate), static_cast<std::uint32_t>(random() % 16000)});
        // A base of all 53 bits, as no rate makes one: every bit of the
        // running product's exact multiplication counts.
        double wide = 1 + std::ldexp(static_cast<double>(random() >> 11), -53 - i % 8);
        runs.push_back({i % 3 == 0 ? 1 / wide : wide, static_cast<std::uint32_t>(random() % 8000)});
    }
    long long pairs = 0;
    for (const Run& run : runs) {
        EXPECT_EQ(check_sequence(run.base, run.count), 0) << std::hexfloat << "base " << run.base;
        pairs += run.count;
    }
    for (const Pair& c : exact_cases) {
        EXPECT_EQ(check_sequence(c.base, c.k + 1), 0) << c.base << "^" << c.k;
    }
    std::printf("%lld powers compared\n", pairs);
}

TEST(Power, AnyPairMatchesMpfr)
{
    std::mt19937_64 random = fresh_random();
    int mismatches = 0;
    const int pairs = std::getenv("LOAN_POWER_FULL") != nullptr ? 200000 : 10000;
    for (int i = 0; i < pairs; ++i) {
        double base = i % 2 == 0
                          ? std::bit_cast<double>(random())
                          : base_of(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
        auto k = static_cast<std::uint32_t>(random() >> (random() % 64));
        // From 64 bits every other time: undecided far more often.
        double got = correctly_rounded_power(base, k, i / 2 % 2 == 0 ? 4 : 2);
        if (!same(got, mpfr_power(base, k)) && ++mismatches <= 3) {
            ADD_FAILURE() << std::hexfloat << base << "^" << k << ": " << got << ", MPFR "
                          << mpfr_power(base, k);
        }
    }
    for (const Pair& c : exact_cases) {
        EXPECT_TRUE(same(correctly_rounded_power(c.base, c.k, 2), mpfr_power(c.base, c.k)))
            << c.base << "^" << c.k;
    }
    for (float rate : extreme_rates()) {
        for (std::uint32_t k : {0u, 1u, 2u, 3u, 1074u, 1075u, 1199999u, 4294967295u}) {
            double base = base_of(rate);
            EXPECT_TRUE(same(correctly_rounded_power(base, k), mpfr_power(base, k)))
                << std::hexfloat << base << "^" << k;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The exact path's power of an odd integer lies in the interval it claims,
// [a, a + error] times 2^s (exact when the error is 0): checked against MPFR's
// powers rounded down and up at 600 bits.
TEST(Power, OddPowerWithinItsBound)
{
    std::mt19937_64 random = fresh_random();
    mpfr_t held, upper, below, above;
    mpfr_inits2(600, held, upper, below, above, nullptr);
    for (int i = 0; i < 2000; ++i) {
        // First 3^41, the product of 3^40 (64 bits) and 3: 65 bits, so 64
        // bits drop only its lowest.
        std::uint64_t m = i == 0 ? 3 : random() >> (11 + random() % 48) | 1;
        auto k =
            i == 0 ? 41 : static_cast<std::uint32_t>(1 + random() % (i % 2 == 0 ? 300 : 1200000));
        mpfr_ui_pow_ui(below, m, k, MPFR_RNDD);
        mpfr_ui_pow_ui(above, m, k, MPFR_RNDU);
        for (int n : {2, 4, 8}) {
            std::uint32_t a[129] = {};
            std::uint64_t error = 0;
            long long s = power_of_odd(m, k, n, a, &error);
            mpfr_set_ui(held, 0, MPFR_RNDN);
            for (int limb = n - 1; limb >= 0; --limb) {
                mpfr_mul_2ui(held, held, 32, MPFR_RNDN);
                mpfr_add_ui(held, held, a[limb], MPFR_RNDN);
            }
            mpfr_add_d(upper, held, static_cast<double>(error), MPFR_RNDN);
            mpfr_mul_2si(held, held, s, MPFR_RNDN);
            mpfr_mul_2si(upper, upper, s, MPFR_RNDN);
            EXPECT_TRUE(mpfr_cmp(held, below) <= 0 && mpfr_cmp(above, upper) <= 0)
                << m << "^" << k << " in " << n << " limbs, error " << error;
        }
    }
    mpfr_clears(held, upper, below, above, nullptr);
}

#endif

// Powers for the cross builds, each line "base k power" in hexadecimal bits,
// in runs from k = 0: 3000 powers of some rates, and up to each exact case.
// The Linux build writes MPFR's powers, checking both functions against them
// as it goes; a build without MPFR (under Wine or qemu) checks both functions
// against the file.
TEST(Power, Vectors)
{
    const char* path = std::getenv("LOAN_POWER_VECTORS");
    if (path == nullptr) {
        GTEST_SKIP() << "LOAN_POWER_VECTORS names no vector file";
    }
#ifdef LOAN_MPFR
    std::FILE* out = std::fopen(path, "w");
    ASSERT_NE(out, nullptr);
    auto put_run = [&](double base, std::uint32_t count) {
        double hi = 1, lo = 0;
        int scale = 0;
        for (std::uint32_t k = 0; k < count; ++k) {
            double expected = mpfr_power(base, k);
            ASSERT_GT(std::fprintf(
                          out, "%016llx %u %016llx\n",
                          static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(base)), k,
                          static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(expected))),
                      0);
            EXPECT_TRUE(same(next_power(base, k, &hi, &lo, &scale), expected)) << base << "^" << k;
            EXPECT_TRUE(same(correctly_rounded_power(base, k), expected)) << base << "^" << k;
        }
    };
    std::vector<float> rates = extreme_rates();
    for (int i = 1; i <= 3000; i += 97) {
        rates.push_back(static_cast<float>(i / 10000.0));
    }
    for (float rate : rates) {
        put_run(base_of(rate), 3000);
    }
    for (const Pair& c : exact_cases) {
        put_run(c.base, c.k + 1);
    }
    EXPECT_EQ(std::fclose(out), 0);
#else
    std::FILE* in = std::fopen(path, "r");
    ASSERT_NE(in, nullptr);
    unsigned long long base_bits = 0;
    unsigned long long power_bits = 0;
    unsigned k = 0;
    double hi = 1;
    double lo = 0;
    int scale = 0;
    int lines = 0;
    for (; std::fscanf(in, "%llx %u %llx", &base_bits, &k, &power_bits) == 3; ++lines) {
        double base = std::bit_cast<double>(static_cast<std::uint64_t>(base_bits));
        double expected = std::bit_cast<double>(static_cast<std::uint64_t>(power_bits));
        if (k == 0) {
            hi = 1;
            lo = 0;
            scale = 0;
        }
        EXPECT_TRUE(same(next_power(base, k, &hi, &lo, &scale), expected)) << base << "^" << k;
        EXPECT_TRUE(same(correctly_rounded_power(base, k), expected)) << base << "^" << k;
    }
    std::fclose(in);
    EXPECT_GT(lines, 100000);
#endif
}

// Running products that lie on a tie, within their bound of either side:
// next_power() must leave them to the exact path, which gives base^k whatever
// they say. The tie below 2^1024 rounds to infinity, the values just below it
// to DBL_MAX; one just below 2^-1075 to 0, the values just above it to 2^-1074.
TEST(Power, ProductOnATieFallsBack)
{
    const struct {
        double hi, lo;
        int scale;
    } ties[] = {{1.0, 0x1p-53, 0},
                {1.5, -0x1p-53, -1022},
                {1.0, -0x1p-54, 1024},
                {0x1p63, -0x1p9, 961},
                {0x1.fffffffffffffp0, 0x1p-53, -1076}};
    for (const auto& tie : ties) {
        double hi = tie.hi;
        double lo = tie.lo;
        int scale = tie.scale;
        EXPECT_TRUE(same(next_power(-1.5, 3, &hi, &lo, &scale), correctly_rounded_power(-1.5, 3)))
            << std::hexfloat << tie.hi << " + " << tie.lo << " times 2^" << tie.scale;
    }
}

} // namespace
