#include "text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string fixed(double value, int decimals)
{
    char out[fixed_text_size];
    return std::string(out, format_fixed(out, value, decimals));
}

// Slow exact reference: the value's whole decimal expansion from printf (exact
// on glibc for a float widened to double), then rounded half away from zero
// by hand on the digit string.
std::string reference_fixed(double value, int decimals)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    char text[512];
    std::snprintf(text, sizeof text, "%.200f", std::fabs(value));
    std::string digits(text);
    std::size_t point = digits.find('.');
    std::string integer = digits.substr(0, point);
    std::string fraction = digits.substr(point + 1);
    std::string kept = integer + fraction.substr(0, decimals);
    if (fraction[decimals] >= '5') {
        // A 5 or more in the first dropped digit rounds the magnitude up,
        // which takes exact ties away from zero.
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i--] = '0';
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i];
        }
    }
    std::string result = kept.substr(0, kept.size() - decimals);
    if (decimals > 0) {
        result += '.';
        result += kept.substr(kept.size() - decimals);
    }
    if (std::signbit(value)) {
        result.insert(result.begin(), '-');
    }
    return result;
}

struct FixedCase {
    const char* name;
    double value;
    int decimals;
    const char* expected;
};

TEST(FormatFixed, Table)
{
    const FixedCase cases[] = {
        {"tie rounds away from zero", 1274.625, 2, "1274.63"},
        {"negative tie rounds away from zero", -1274.625, 2, "-1274.63"},
        {"tie of an eighth", 0.125, 2, "0.13"},
        {"tie below the next cent", 2274.375, 2, "2274.38"},
        {"six-decimal tie", 0.0078125, 6, "0.007813"},
        {"float just below a decimal tie", 0.005f, 2, "0.00"},
        {"float just above a decimal tie", 10.175f, 2, "10.18"},
        {"zero", 0.0, 2, "0.00"},
        {"negative zero keeps its sign", -0.0, 2, "-0.00"},
        {"negative rounding to zero keeps its sign", -0.001, 2, "-0.00"},
        {"below one gets a leading zero", 0.05, 2, "0.05"},
        {"no decimals", 2.5, 0, "3"},
        {"carry into a new digit", 99.995, 2, "100.00"},
        {"largest float", std::numeric_limits<float>::max(), 2,
         "340282346638528859811704183484516925440.00"},
        {"largest float in percent", static_cast<double>(std::numeric_limits<float>::max()) * 100.0,
         2, "34028234663852885981170418348451692544000.00"},
        {"largest float with six decimals", std::numeric_limits<float>::max(), 6,
         "340282346638528859811704183484516925440.000000"},
        {"float just below 2^64 hundredths", 184467436613926912.0f, 2, "184467436613926912.00"},
        {"float just above 2^64 hundredths", 184467453793796096.0f, 2, "184467453793796096.00"},
        {"smallest float", std::numeric_limits<float>::denorm_min(), 6, "0.000000"},
        {"infinity", HUGE_VAL, 2, "inf"},
        {"negative infinity", -HUGE_VAL, 2, "-inf"},
        {"not a number", std::nan(""), 2, "nan"},
        {"negative not a number", -std::nan(""), 2, "nan"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(fixed(c.value, c.decimals), c.expected) << c.name;
    }
}

// Random float bit patterns, as amounts, as rates in percent and with six
// decimals, against the exact reference.
TEST(FormatFixed, MatchesExactReferenceOnRandomFloats)
{
    std::mt19937 random(20261208);
    for (int i = 0; i < 100000; ++i) {
        std::uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        double percent = static_cast<double>(value) * 100.0;
        ASSERT_EQ(fixed(value, 2), reference_fixed(value, 2)) << "bits " << bits;
        ASSERT_EQ(fixed(percent, 2), reference_fixed(percent, 2)) << "bits " << bits;
        ASSERT_EQ(fixed(value, 6), reference_fixed(value, 6)) << "bits " << bits;
    }
}

// Every cent tie between 2^20 and 2^21, where a float steps by an eighth:
// each .125, .375, .625 and .875 must round up in magnitude.
TEST(FormatFixed, EveryEighthTieRoundsAwayFromZero)
{
    for (float value = 1048576.125f; value < 1049600.0f; value += 0.25f) {
        ASSERT_EQ(fixed(value, 2), reference_fixed(value, 2));
        ASSERT_EQ(fixed(-value, 2), reference_fixed(-value, 2));
    }
}

struct PutCase {
    const char* name;
    std::string text;
    const char* expected;
};

TEST(Put, WidthsAndPadding)
{
    auto fixed_in = [](double value, int width) {
        char buff[64];
        return std::string(buff, put_fixed(buff, sizeof buff, 0, value, 2, width));
    };
    auto int_in = [](std::int32_t value, int width) {
        char buff[64];
        return std::string(buff, put_int(buff, sizeof buff, 0, value, width));
    };
    const PutCase cases[] = {
        {"amount padded to five", fixed_in(9.46, 5), " 9.46"},
        {"amount wider than five", fixed_in(100.44, 5), "100.44"},
        {"infinity padded", fixed_in(HUGE_VAL, 5), "  inf"},
        {"negative zero padded", fixed_in(-0.0, 5), "-0.00"},
        {"no minimum width", fixed_in(7.94, 0), "7.94"},
        {"period zero-padded", int_in(1, 3), "001"},
        {"period above 999", int_in(1000, 3), "1000"},
        {"negative zero-padded after the sign", int_in(-1, 3), "-01"},
        {"smallest int", int_in(INT32_MIN, 0), "-2147483648"},
        {"largest int", int_in(INT32_MAX, 3), "2147483647"},
    };
    for (const PutCase& c : cases) {
        EXPECT_EQ(c.text, c.expected) << c.name;
    }
}

TEST(Put, NeverWritesPastCapacity)
{
    char buff[16];
    std::memset(buff, '#', sizeof buff);
    std::size_t len = put_text(buff, 8, 0, "0123456");
    len = put_fixed(buff, 8, len, 12345.678, 2, 0);
    len = put_int(buff, 8, len, 42, 3);
    EXPECT_EQ(len, 8u);
    EXPECT_EQ(std::string(buff, sizeof buff), "01234561########");
}

} // namespace
