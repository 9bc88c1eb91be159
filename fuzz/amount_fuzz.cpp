// Arbitrary float bit patterns through the number writer, as amounts, as
// rates in percent (a float times 100 in double) and with six decimals,
// against the slow exact reference; and the widest texts fit their buffers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exact_reference.h"
#include "loan.h"
#include "text.h"

namespace {

// The text at width 5 is the exact reference padded, and nothing is stored
// past it.
void check(double value, int decimals, std::size_t widest)
{
    std::string want = exact::padded(value, decimals, 5);
    char line[report_line_size + 1];
    std::memset(line, '#', sizeof line);
    std::size_t len = static_cast<std::size_t>(put_fixed(line, value, decimals, 5) - line);
    if (std::string(line, len) != want || len > std::max<std::size_t>(widest, 5) ||
        std::find_if(line + len, line + sizeof line, [](char c) { return c != '#'; }) !=
            line + sizeof line) {
        std::fprintf(stderr, "%a with %d decimals: got %.*s, want %s\n", value, decimals,
                     static_cast<int>(len), line, want.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(float)) {
        return 0;
    }
    float value;
    std::memcpy(&value, data, sizeof value);
    check(value, 2, amount_max_chars);
    check(static_cast<double>(value) * 100.0, 2, percent_max_chars);
    check(value, 6, float6_max_chars);
    return 0;
}
