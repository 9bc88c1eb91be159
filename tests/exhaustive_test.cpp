// Proof by exhaustion: for every one of the 2^32 float bit patterns, at two
// decimals in a field of five, put_fixed() writes the exact reference's
// text. Split across two threads; a few minutes in a Release build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "exact_reference.h"
#include "text.h"

namespace {

// Whether the writer gives `expected` for `value`.
bool writes(float value, const std::string& expected)
{
    char text[amount_max_chars];
    return std::string_view(text, static_cast<std::size_t>(put_fixed(text, value, 2, 5) - text)) ==
           expected;
}

std::string padded(std::string text)
{
    return text.size() < 5 ? std::string(5 - text.size(), ' ') + text : text;
}

constexpr std::uint32_t magnitudes = 0x80000000u;
constexpr std::uint32_t block = 0x10000;

// Checks every other block of magnitudes, from the block at `first` on, with
// both signs, the reference worked out once for each; returns the first bit
// pattern that fails, or `magnitudes`. Alternating blocks keep the two
// threads' shares alike: small, huge and not-a-number magnitudes cost
// differently.
std::uint32_t first_failure(std::uint32_t first)
{
    for (std::uint32_t bits = first; bits < magnitudes;
         bits = bits % block == block - 1 ? bits + block + 1 : bits + 1) {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        std::string text = exact::fixed(value, 2);
        if (!writes(value, padded(text))) {
            return bits;
        }
        if (!writes(-value, padded(std::isnan(value) ? text : "-" + text))) {
            return bits | 0x80000000u;
        }
    }
    return magnitudes;
}

TEST(Exhaustive, EveryFloatAtTwoDecimals)
{
    std::uint32_t even_failure = 0;
    std::thread even([&] { even_failure = first_failure(0); });
    std::uint32_t odd_failure = first_failure(block);
    even.join();
    EXPECT_EQ(even_failure, magnitudes) << "first failing bit pattern";
    EXPECT_EQ(odd_failure, magnitudes) << "first failing bit pattern";
}

} // namespace
