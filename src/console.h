// Standard output, the console copy of everything the program prints: set up
// once at the start, written through one function, checked once at the end.
#pragma once

#include <cstddef>
#include <cstdio>

// Sets standard output up so that it receives exactly the program's bytes,
// whatever the platform and however the program was started. Returns false
// when that cannot be done and no file may be opened.
bool prepare_standard_output();

// Hands `len` bytes to standard output, all of them: a standard output that
// cannot take them yet (non-blocking, with a slow reader) is waited for. A
// reader that has gone away ends the console copy silently (as a closed
// standard output on Windows does). Any other failure (a full disk, a
// file-size limit) is remembered in the stream until console_complete(),
// whatever happens after it.
void write_console(const char* text, std::size_t len);

// printf() through write_console(), for the messages (at most 127 bytes).
[[gnu::format(printf, 1, 2)]] void print_console(const char* format, ...);

// Whether standard output is the report just opened as `fp` (`loan >
// debx.txt`): the same file, by device and inode. When it is, the console copy
// ends here, so that the report is written whole.
bool console_is_report(std::FILE* fp);

// Returns false when part of the console copy was lost for another reason
// than nobody taking it.
bool console_complete();
