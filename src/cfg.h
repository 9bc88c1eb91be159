// Reading the loan parameters from cfg.txt: three fields by position, the
// principal, the term in years and the annual rate as a fraction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// At most this many bytes of content, as delivered after the text-mode
// translation, are considered; the rest of the file is ignored.
constexpr std::size_t cfg_content_max = 127;

// The text-mode translation of a Windows runtime, done here so that every
// platform reads alike: each CR LF pair is delivered as one LF, and a Ctrl-Z
// byte ends the data. Translates `raw` into `out` until `out_max` bytes have
// been delivered, the raw bytes run out or a Ctrl-Z is met; returns the count.
std::size_t translate_text_mode(const char* raw, std::size_t raw_len, char* out,
                                std::size_t out_max);

// Reads the content of an open cfg.txt (opened in binary mode) through the
// translation into `buff`, at most cfg_content_max bytes, and terminates it
// with a NUL; `buff` holds at least cfg_content_max + 1 bytes. Returns the
// count delivered in `*len`, in `*past` the byte after where the content
// ended early: the first byte past the limit, or the raw byte after the
// Ctrl-Z that ended it (NUL where the file ends within the limit, or right
// after its Ctrl-Z), and false if the read failed.
bool read_cfg_content(std::FILE* fp, char* buff, std::size_t* len, char* past);

// Where field `k` starts, given where the fields before it end: after the
// line end of the one before it.
inline std::size_t field_start(const std::size_t* field_ends, int k)
{
    return k == 0 ? 0 : field_ends[k - 1] + 1;
}

// Splits `buff` (`len` bytes followed by a NUL) into fields ended by CR, LF,
// NUL or the end of the data, and sets the principal from the first, the term
// from the second and the rate from the third; empty fields count, later ones
// are ignored. Values of fields not found are left as they are. Returns the
// number of fields consumed, 0 to 3, and where each of them ends in
// `field_ends` (3 offsets into `buff`; each field starts after the end of the
// one before it).
int split_fields(const char* buff, std::size_t len, std::uint32_t* sum, std::uint32_t* year,
                 float* rate, std::size_t* field_ends);

// The first character of `text` that is not white space.
const char* skip_space(const char* text);

// atoi: leading white space, an optional sign and decimal digits up to the
// first other character; no digits give 0. Values beyond the signed 32-bit
// range saturate at its limits.
std::int32_t parse_int(const char* text);

// The end of the number that parse_int() reads, or `text` itself where it
// holds no digit.
const char* int_end(const char* text);

// atof for plain decimal text: leading white space, an optional sign, digits
// with an optional decimal point and an optional exponent, correctly rounded
// and independent of the locale. Anything else ("inf", "nan", hexadecimal
// digits after "0x") ends the number; text without a number gives 0.0. Beyond
// the range of a double the result is infinite. The number takes at most
// cfg_content_max characters, as a field does.
double parse_decimal(const char* text);

// The end of the number that parse_decimal() reads, or `text` itself where it
// holds none.
const char* decimal_end(const char* text);
