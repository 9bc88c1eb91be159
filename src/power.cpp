#include "power.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

// The exact path works on big numbers of 32-bit limbs, lowest first, so that
// every limb product fits a 64-bit integer on every target. It starts with
// 128 bits (first_limbs) and doubles them until the rounding is decided, up
// to 4096.
constexpr int limbs_max = 128;

// The 32 bits of `p` (`len` limbs) from bit `pos` on; bits outside are 0.
std::uint32_t bits_at(const std::uint32_t* p, int len, int pos)
{
    auto limb = [&](int i) {
        return i >= 0 && i < len ? std::uint64_t{p[i]} : 0;
    };
    int i = pos >> 5; // rounds down for negative positions too
    return static_cast<std::uint32_t>((limb(i) | limb(i + 1) << 32) >> (pos & 31));
}

// Whether any bit of `p` below bit `pos` is set.
bool any_below(const std::uint32_t* p, int pos)
{
    for (int i = 0; i < pos >> 5; ++i) {
        if (p[i] != 0) {
            return true;
        }
    }
    return (p[pos >> 5] & ((std::uint32_t{1} << (pos & 31)) - 1)) != 0;
}

// p >> u, for the top bits of `p` (at most 64 of them).
std::uint64_t shifted(const std::uint32_t* p, int len, int u)
{
    return bits_at(p, len, u) | std::uint64_t{bits_at(p, len, u + 32)} << 32;
}

// out[0 .. 2n) = a * b, both of n limbs.
void multiply(const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t* out)
{
    // Only the low half accumulates: each out[i + n] is first stored whole.
    std::memset(out, 0, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < n; ++j) {
            std::uint64_t t = std::uint64_t{a[i]} * b[j] + out[i + j] + carry;
            out[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        out[i + n] = static_cast<std::uint32_t>(carry);
    }
}

// a[0 .. n) = p[0 .. 2n) / 2^shift, rounded down, with the shift chosen so
// that the top bit of `a` is set; returns the shift, and sets `*cut` when
// bits were dropped (it never clears it).
int normalize(const std::uint32_t* p, int n, std::uint32_t* a, bool* cut)
{
    int top = 2 * n - 1;
    while (p[top] == 0) {
        --top;
    }
    int shift = 32 * top + static_cast<int>(std::bit_width(p[top])) - 32 * n;
    for (int i = 0; i < n; ++i) {
        a[i] = bits_at(p, 2 * n, shift + 32 * i);
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
long long power_of_odd(std::uint64_t m, std::uint32_t k, int n, std::uint32_t* a,
                       std::uint64_t* error)
{
    std::uint32_t factor[limbs_max] = {static_cast<std::uint32_t>(m),
                                       static_cast<std::uint32_t>(m >> 32)};
    std::uint32_t product[2 * limbs_max] = {};
    std::memcpy(product, factor, sizeof factor);
    bool inexact = false;
    long long s = normalize(product, n, a, &inexact);
    for (int bit = static_cast<int>(std::bit_width(k)) - 2; bit >= 0; --bit) {
        multiply(a, a, n, product);
        s = 2 * s + normalize(product, n, a, &inexact);
        if ((k >> bit & 1) != 0) {
            multiply(a, factor, n, product);
            s += normalize(product, n, a, &inexact);
        }
    }
    *error = inexact ? 2 * std::uint64_t{k} + 2 : 0;
    return s;
}

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

    for (int n = first_limbs;; n *= 2) {
        std::uint32_t a[limbs_max + 1] = {};
        std::uint64_t error = 0;
        long long s = power_of_odd(m, k, n, a, &error) + static_cast<long long>(e) * k;
        // The exact power lies in [2^top, 2^(top + 1)).
        long long top = 32LL * n - 1 + s;
        if (top > 1023) {
            return sign * HUGE_VAL;
        }
        if (top < -1075) {
            return sign * 0.0;
        }
        // Bits kept: 53, fewer below 2^-1022; `u` bits of `a` are rounded off.
        int u = 32 * n - static_cast<int>(top >= -1022 ? 53 : top + 1075);
        std::uint64_t kept = shifted(a, n, u);
        std::uint64_t rounded = kept + bits_at(a, n, u - 1) % 2;
        if (error == 0) {
            // Exact: a tie, the rounding bit alone, goes to the even neighbour.
            if (bits_at(a, n, u - 1) % 2 != 0 && !any_below(a, u - 1) && kept % 2 == 0) {
                rounded = kept;
            }
        } else {
            // m^k lies in [a, a + error] (in units of 2^s) and is no tie: a
            // tie has at most 54 significant bits and an odd m^k that many
            // is computed exactly. Both ends rounding alike decide it.
            std::uint32_t upper[limbs_max + 1] = {};
            std::uint64_t carry = error;
            for (int i = 0; i <= n; ++i) {
                carry += a[i];
                upper[i] = static_cast<std::uint32_t>(carry);
                carry >>= 32;
            }
            bool decided = shifted(upper, n + 1, u) + bits_at(upper, n + 1, u - 1) % 2 == rounded;
            if (!decided && n < limbs_max) {
                continue;
            }
        }
        return sign * std::ldexp(static_cast<double>(rounded), static_cast<int>(s + u));
    }
}
