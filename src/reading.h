// What the program reads from cfg.txt, told in words: each value with the
// line it comes from (loan --check), and what in it looks unintended.
#pragma once

#include <cstddef>

// Where a told line goes: standard output or standard error.
using tell_line = void (*)(const char* text, std::size_t len);

// Tells through `tell`, a line at a time, what the content of cfg.txt reads
// as: `len` bytes in `buff` with a NUL after them and `past` the byte after
// where they ended early, as read_cfg_content() delivers them. With `values`, first the
// content's length and field count and each value with its line; then each
// finding. Returns the number of findings.
int tell_reading(const char* buff, std::size_t len, char past, bool values, tell_line tell);
