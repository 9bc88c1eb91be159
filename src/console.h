// Standard output, the console copy of everything the program prints, and
// standard error, its messages: set up once at the start, each written
// through one function, standard output checked once at the end.
#pragma once

#include <cstddef>
#include <cstdio>

// The reports, in the working directory. Standard output or error that is
// one of them (`loan > debx.txt`, `loan 2> debj.txt`) receives nothing, so
// that the report is written whole.
constexpr const char* report_names[] = {"debx.txt", "debj.txt"};

// Sets standard output up so that it receives exactly the program's bytes,
// whatever the platform and however the program was started. Returns false
// when that cannot be done and no file may be opened.
bool prepare_standard_output();

// Hands `len` bytes to standard output, all of them, unless it is a report: a standard output that
// cannot take them yet (non-blocking, with a slow reader) is waited for. A
// reader that has gone away ends the console copy silently (as a closed
// standard output on Windows does). Any other failure (a full disk, a
// file-size limit) is remembered in the stream until console_complete(),
// whatever happens after it.
void write_console(const char* text, std::size_t len);

// Hands `len` bytes to standard output as write_console() does, whatever
// file it is: for `loan --check`, which writes no report.
void write_output(const char* text, std::size_t len);

// printf() through write_console(), for the messages (at most 127 bytes).
[[gnu::format(printf, 1, 2)]] void print_console(const char* format, ...);

// Hands `len` bytes to standard error, the one way there, unless it is a
// report: then they are dropped, and the exit status still tells.
void write_error(const char* text, std::size_t len);

// Whether standard output is the report just opened as `fp` (`loan >
// debx.txt`): the same file, by device and inode.
bool console_is_report(std::FILE* fp);

// Returns false when part of the console copy was lost for another reason
// than nobody taking it.
bool console_complete();
