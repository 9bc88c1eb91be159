// The exact path of the powers: base^k in integer arithmetic, with as many
// bits as it takes to decide the rounding.
#include "power.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace {

// Big numbers are arrays of 32-bit limbs, lowest first, so that every limb
// product fits a 64-bit integer on every target; limb counts and bit
// positions are 64-bit, as m^k may have more than 2^31 bits.

// The 32 bits of `p` (`len` limbs) from bit `pos` on; bits outside are 0.
std::uint32_t bits_at(const std::uint32_t* p, long long len, long long pos)
{
    auto limb = [&](long long i) {
        return i >= 0 && i < len ? std::uint64_t{p[i]} : 0;
    };
    long long i = pos >> 5; // rounds down for negative positions too
    return static_cast<std::uint32_t>((limb(i) | limb(i + 1) << 32) >> (pos & 31));
}

// Whether any bit of `p` below bit `pos` is set.
bool any_below(const std::uint32_t* p, long long pos)
{
    for (long long i = 0; i < pos >> 5; ++i) {
        if (p[i] != 0) {
            return true;
        }
    }
    return (p[pos >> 5] & ((std::uint32_t{1} << (pos & 31)) - 1)) != 0;
}

// p rounded to nearest at bit u (at most 64 bits kept): a tie, the rounding
// bit alone, goes to the even neighbour when `exact`, else up.
std::uint64_t rounded_at(const std::uint32_t* p, long long len, long long u, bool exact)
{
    std::uint64_t kept = bits_at(p, len, u) | std::uint64_t{bits_at(p, len, u + 32)} << 32;
    bool up = bits_at(p, len, u - 1) % 2 != 0 && (!exact || kept % 2 != 0 || any_below(p, u - 1));
    return kept + up;
}

// out[0 .. na + nb) = a * b, of na and nb limbs.
void multiply(const std::uint32_t* a, long long na, const std::uint32_t* b, long long nb,
              std::uint32_t* out)
{
    // Only the low nb limbs accumulate: each out[i + nb] is first stored whole.
    std::fill(out, out + nb, 0);
    for (long long i = 0; i < na; ++i) {
        std::uint64_t carry = 0;
        for (long long j = 0; j < nb; ++j) {
            std::uint64_t t = std::uint64_t{a[i]} * b[j] + out[i + j] + carry;
            out[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        out[i + nb] = static_cast<std::uint32_t>(carry);
    }
}

// a[0 .. n) = p[0 .. len) / 2^shift, rounded down, with the shift chosen so
// that the top bit of `a` is set; returns the shift, and sets `*cut` when
// bits were dropped (it never clears it).
long long normalize(const std::uint32_t* p, long long len, long long n, std::uint32_t* a, bool* cut)
{
    long long top = len - 1;
    while (p[top] == 0) {
        --top;
    }
    long long shift = 32 * top + std::bit_width(p[top]) - 32 * n;
    for (long long i = 0; i < n; ++i) {
        a[i] = bits_at(p, len, shift + 32 * i);
    }
    *cut = *cut || (shift > 0 && any_below(p, shift));
    return shift;
}

} // namespace

// m^k as a * 2^s, `a` of n >= 2 limbs with its top bit set, at most `*error`
// units of a's last bit below m^k: 0 when nothing was dropped, else 2k + 2.
// Returns s. Binary powering, each product cut to n limbs: a cut drops
// less than one unit of a value of at least 2^(32n - 1), a relative e =
// 2^(1 - 32n) at most. Let the value A after reaching exponent j satisfy
// A <= m^j <= A (1 + e)^w. Squaring gives m^2j <= A' (1 + e)^(2w + 1), and
// a multiplication by m (exact) m^(j + 1) <= A' (1 + e)^(w + 1); from w = 0
// at j = 1, w = j - 1 throughout. With x = (k - 1) e <= 2^-31 (k < 2^32),
// (1 + e)^(k - 1) - 1 <= x (1 + x), and times a < 2^(32n) that is below
// 2 (k - 1) (1 + 2^-31) < 2k + 2 units.
long long power_of_odd(std::uint64_t m, std::uint32_t k, long long n, std::uint32_t* a,
                       std::uint64_t* error)
{
    const std::uint32_t factor[2] = {static_cast<std::uint32_t>(m),
                                     static_cast<std::uint32_t>(m >> 32)};
    std::vector<std::uint32_t> product(static_cast<std::size_t>(2 * n));
    bool inexact = false;
    long long s = normalize(factor, 2, n, a, &inexact);
    for (int bit = static_cast<int>(std::bit_width(k)) - 2; bit >= 0; --bit) {
        multiply(a, n, a, n, product.data());
        s = 2 * s + normalize(product.data(), 2 * n, n, a, &inexact);
        if ((k >> bit & 1) != 0) {
            multiply(a, n, factor, 2, product.data());
            s += normalize(product.data(), n + 2, n, a, &inexact);
        }
    }
    *error = inexact ? 2 * std::uint64_t{k} + 2 : 0;
    return s;
}

// The limbs double until both ends of the interval round alike, which they
// do at the latest once 32n >= 53k: m^j has at most 53j bits, so no product
// is cut and the interval is the exact power. m^k has 8 MB at the schedules'
// longest term; no known input needs more than the first 128 bits.
double correctly_rounded_power(double base, std::uint32_t k, int first_limbs)
{
    if (k == 0) {
        return 1.0;
    }
    const double sign = std::signbit(base) && (k & 1) != 0 ? -1.0 : 1.0;
    double magnitude = std::fabs(base);
    if (magnitude == 0 || !std::isfinite(magnitude)) {
        return sign * magnitude;
    }
    // magnitude = m * 2^e with m odd.
    int e = 0;
    auto m = static_cast<std::uint64_t>(std::ldexp(std::frexp(magnitude, &e), 53));
    e -= 53 - std::countr_zero(m);
    m >>= std::countr_zero(m);

    for (long long n = first_limbs;; n *= 2) {
        // One limb more for the carry of the interval's upper end.
        std::vector<std::uint32_t> a(static_cast<std::size_t>(n + 1));
        std::uint64_t error = 0;
        long long s = power_of_odd(m, k, n, a.data(), &error) + static_cast<long long>(e) * k;
        // a 2^s lies in [2^top, 2^(top + 1)), and (a + error) 2^s below
        // 2^(top + 2), as error < 2^64 <= 2^(32n).
        long long top = 32 * n - 1 + s;
        if (top > 1023) {
            return sign * HUGE_VAL;
        }
        if (top < -1076) {
            // The whole interval lies below 2^-1075, half the smallest
            // subnormal: it rounds to 0.
            return sign * 0.0;
        }
        // Bits kept: 53, fewer below 2^-1022 (none at 2^-1076, whose rounding
        // bit is bit 32n, 0 in `a`); `u` bits of `a` are rounded off.
        long long u = 32 * n - (top >= -1022 ? 53 : top + 1075);
        // m^k lies in [a, a + error] (in units of 2^s). Exact, it is a; else
        // it is no tie, as a tie has at most 54 significant bits and an odd
        // m^k that many is computed exactly. Both ends rounding alike decide.
        std::uint64_t rounded = rounded_at(a.data(), n + 1, u, error == 0);
        std::uint64_t carry = error;
        for (long long i = 0; i <= n; ++i) {
            carry += a[i];
            a[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (rounded_at(a.data(), n + 1, u, error == 0) != rounded) {
            continue;
        }
        return sign * std::ldexp(static_cast<double>(rounded), static_cast<int>(s + u));
    }
}
