#include "text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "exact_reference.h"

namespace {

std::string fixed(double value, int decimals, int min_width = 0)
{
    char out[float6_max_chars];
    return std::string(out, put_fixed(out, value, decimals, min_width));
}

struct FixedCase {
    const char* name;
    double value;
    int decimals;
    int min_width;
    const char* expected;
};

TEST(PutFixed, Table)
{
    constexpr float largest = std::numeric_limits<float>::max();
    const FixedCase cases[] = {
        {"tie rounds away from zero", 1274.625f, 2, 0, "1274.63"},
        {"negative tie rounds away from zero", -1274.625f, 2, 0, "-1274.63"},
        {"tie of an eighth", 0.125f, 2, 0, "0.13"},
        {"tie below the next cent", 2274.375f, 2, 0, "2274.38"},
        {"six-decimal tie", 0.0078125f, 6, 0, "0.007813"},
        {"float just below a decimal tie", 0.005f, 2, 0, "0.00"},
        {"float just above a decimal tie", 10.175f, 2, 0, "10.18"},
        {"zero", 0.0f, 2, 0, "0.00"},
        {"negative zero keeps its sign", -0.0f, 2, 0, "-0.00"},
        {"negative rounding to zero keeps its sign", -0.001f, 2, 0, "-0.00"},
        {"below one gets a leading zero", 0.05f, 2, 0, "0.05"},
        {"rate in percent", static_cast<double>(0.0515f) * 100.0, 2, 0, "5.15"},
        {"carry into a new digit", 99.995f, 2, 0, "100.00"},
        {"carry to a million", 999999.995f, 2, 0, "1000000.00"},
        {"largest float", largest, 2, 0, "340282346638528859811704183484516925440.00"},
        {"largest float in percent", static_cast<double>(largest) * 100.0, 2, 0,
         "34028234663852885981170418348451692544000.00"},
        {"largest float with six decimals", largest, 6, 0,
         "340282346638528859811704183484516925440.000000"},
        {"float just below 2^64 hundredths", 184467436613926912.0f, 2, 0, "184467436613926912.00"},
        {"float just above 2^64 hundredths", 184467453793796096.0f, 2, 0, "184467453793796096.00"},
        {"smallest float", std::numeric_limits<float>::denorm_min(), 6, 0, "0.000000"},
        {"infinity", HUGE_VAL, 2, 0, "inf"},
        {"negative infinity", -HUGE_VAL, 2, 0, "-inf"},
        {"not a number", std::nan(""), 2, 0, "nan"},
        {"negative not a number", -std::nan(""), 2, 0, "nan"},
        {"amount padded to five", 9.46f, 2, 5, " 9.46"},
        {"amount wider than five", 100.44f, 2, 5, "100.44"},
        {"negative amount padded", -1.5f, 2, 5, "-1.50"},
        {"infinity padded", HUGE_VAL, 2, 5, "  inf"},
        {"not a number padded", std::nan(""), 2, 5, "  nan"},
        {"negative zero padded", -0.0f, 2, 5, "-0.00"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(fixed(c.value, c.decimals, c.min_width), c.expected) << c.name;
        EXPECT_EQ(exact::padded(c.value, c.decimals, static_cast<std::size_t>(c.min_width)),
                  c.expected)
            << c.name << " (reference)";
    }
}

// Random float bit patterns, as amounts, as rates in percent and with six
// decimals, against the exact reference.
TEST(PutFixed, MatchesExactReferenceOnRandomFloats)
{
    std::mt19937 random(20261208);
    for (int i = 0; i < 100000; ++i) {
        std::uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        double percent = static_cast<double>(value) * 100.0;
        ASSERT_EQ(fixed(value, 2, 5), exact::padded(value, 2, 5)) << "bits " << bits;
        ASSERT_EQ(fixed(percent, 2), exact::fixed(percent, 2)) << "bits " << bits;
        ASSERT_EQ(fixed(value, 6), exact::fixed(value, 6)) << "bits " << bits;
    }
}

// Every cent tie between 2^20 and 2^21, where a float steps by an eighth:
// each .125, .375, .625 and .875 must round up in magnitude.
TEST(PutFixed, EveryEighthTieRoundsAwayFromZero)
{
    for (float value = 1048576.125f; value < 1049600.0f; value += 0.25f) {
        ASSERT_EQ(fixed(value, 2), exact::fixed(value, 2));
        ASSERT_EQ(fixed(-value, 2), exact::fixed(-value, 2));
    }
}

// The widest texts take exactly the room stated for them, and nothing is
// stored past their end.
TEST(Put, StoresNothingPastTheText)
{
    constexpr float largest = std::numeric_limits<float>::max();
    char buff[64];
    auto check = [&](const char* name, std::size_t widest, auto write) {
        std::memset(buff, '#', sizeof buff);
        char* end = write(buff);
        EXPECT_EQ(static_cast<std::size_t>(end - buff), widest) << name;
        for (char* at = end; at < buff + sizeof buff; ++at) {
            ASSERT_EQ(*at, '#') << name;
        }
    };
    check("amount", amount_max_chars, [&](char* at) { return put_fixed(at, -largest, 2, 5); });
    check("percent", percent_max_chars,
          [&](char* at) { return put_fixed(at, -static_cast<double>(largest) * 100.0, 2, 0); });
    check("six decimals", float6_max_chars,
          [&](char* at) { return put_fixed(at, -largest, 6, 0); });
    check("int", int32_max_chars, [&](char* at) { return put_int(at, INT32_MIN); });
    check("ordinary amount", 9, [&](char* at) { return put_fixed(at, 999999.9375f, 2, 5); });
}

} // namespace
