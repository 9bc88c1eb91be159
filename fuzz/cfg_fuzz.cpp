// Arbitrary bytes as the content of cfg.txt: the translation, the field split
// and the conversions must stay inside their buffers and agree with a model
// of the rules built here from std::string and the C library's strtoll and
// strtod; what is told of them stays inside its lines, each printable ASCII
// ending in CR LF.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cfg.h"
#include "reading.h"

namespace {

// atoi with saturation at the signed 32-bit limits, from strtol.
std::int32_t model_int(const std::string& field)
{
    long long value = std::strtoll(field.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(
        std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, value)));
}

// atof for plain decimal text only: strtod on the longest prefix made of the
// characters such text can hold, so that "inf", "nan" and "0x" never count.
float model_rate(const std::string& field)
{
    std::size_t start = field.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos) {
        return 0.0f;
    }
    std::size_t end = field.find_first_not_of("0123456789.eE+-", start);
    std::string plain = field.substr(start, end == std::string::npos ? end : end - start);
    return static_cast<float>(std::strtod(plain.c_str(), nullptr));
}

// A told line: printable ASCII up to its CR LF.
void check_line(const char* text, std::size_t len)
{
    if (len < 2 || text[len - 2] != '\r' || text[len - 1] != '\n') {
        std::abort();
    }
    for (std::size_t i = 0; i + 2 < len; ++i) {
        if (text[i] < 0x20 || text[i] > 0x7E) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* raw = reinterpret_cast<const char*>(data);
    char buff[cfg_content_max + 1];
    std::size_t len = translate_text_mode(raw, size, buff, cfg_content_max);
    if (len > cfg_content_max) {
        std::abort();
    }
    buff[len] = '\0';
    std::uint32_t sum = 0;
    std::uint32_t year = 0;
    float rate = 0.0f;
    std::size_t ends[3];
    int flag = len >= 1 ? split_fields(buff, len, &sum, &year, &rate, ends) : 0;

    // The model: a Ctrl-Z ends the data, each CR LF becomes LF, and at most
    // 127 bytes are delivered.
    std::string content(raw, size);
    const std::size_t ctrl_z = content.find('\x1A');
    content = content.substr(0, ctrl_z);
    for (std::size_t at = 0; (at = content.find("\r\n", at)) != std::string::npos; ++at) {
        content.erase(at, 1);
    }
    // The byte after the limit, or after the Ctrl-Z that ended the data.
    const char past = content.size() > cfg_content_max                   ? content[cfg_content_max]
                      : ctrl_z != std::string::npos && ctrl_z + 1 < size ? raw[ctrl_z + 1]
                                                                         : '\0';
    content.resize(std::min(content.size(), cfg_content_max));
    if (content != std::string(buff, len)) {
        std::abort();
    }
    tell_reading(buff, len, past, true, check_line);
    // A NUL ends the data; the rest splits at every CR and LF.
    std::vector<std::string> fields;
    if (!content.empty()) {
        std::string data = content.substr(0, content.find('\0'));
        for (std::size_t start = 0;;) {
            std::size_t end = data.find_first_of("\r\n", start);
            fields.push_back(data.substr(start, end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    // Fields after the third are ignored.
    if (flag != static_cast<int>(std::min<std::size_t>(fields.size(), 3))) {
        std::abort();
    }
    std::uint32_t want_sum =
        fields.size() > 0 ? static_cast<std::uint32_t>(model_int(fields[0])) : 0;
    std::uint32_t want_year =
        fields.size() > 1 ? static_cast<std::uint32_t>(model_int(fields[1])) : 0;
    float want_rate = fields.size() > 2 ? model_rate(fields[2]) : 0.0f;
    bool same_rate = std::memcmp(&rate, &want_rate, sizeof rate) == 0 ||
                     (rate != rate && want_rate != want_rate);
    if (sum != want_sum || year != want_year || !same_rate) {
        std::abort();
    }
    return 0;
}
