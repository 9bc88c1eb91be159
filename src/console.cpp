// Standard output, the console copy of everything the program prints, and
// standard error: how they are set up, written and checked, and kept out of
// a report.
#include "console.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <iterator>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// Whether a failed write (`error`) only means that nobody takes the console
// copy, decided from what standard output is. On POSIX: a pipe or socket
// whose reader has closed it (EPIPE, as with `loan | head -1`) or a TCP
// reader that reset the connection with data unread (ECONNRESET); a closed
// standard output is pointed at /dev/null at start. On Windows the runtime
// takes a short write's errno from the thread's last error, which
// write_console() clears first (EINVAL), so a full file or console is a loss
// whatever the number: only a pipe (or socket) fails a write because its
// reader has closed it (EPIPE, or EINVAL for ERROR_NO_DATA), and EBADF means
// a standard output not open for writing at all.
bool copy_not_taken(int error)
{
#ifdef _WIN32
    auto out = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
    return error == EBADF ||
           (GetFileType(out) == FILE_TYPE_PIPE && (error == EPIPE || error == EINVAL));
#else
    return error == EPIPE || error == ECONNRESET;
#endif
}

// Whether a failed write (`error`) is to be tried again: a non-blocking
// standard output that cannot take more yet. Waits until it can; a reader
// that goes away meanwhile ends the wait, and the next write fails for good.
bool waited_for_room([[maybe_unused]] int error)
{
#if defined(__unix__) || defined(__APPLE__)
    if (error == EAGAIN) {
        pollfd out[] = {{STDOUT_FILENO, POLLOUT, 0}}; // revents: set by poll()
        poll(out, std::size(out), -1);
        return true;
    }
#endif
    return false;
}

// Whether descriptor `fd` writes to the file open as `fp`, or to one of the
// reports: the same device and inode (on Windows the volume and the file's
// index on it). A descriptor that cannot say what it is writes to no report.
#if defined(__unix__) || defined(__APPLE__)
bool same_id(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool same_file(int fd, std::FILE* fp)
{
    struct stat out {};
    struct stat file {};
    return fstat(fd, &out) == 0 && fstat(fileno(fp), &file) == 0 && same_id(out, file);
}

bool writes_to_report(int fd)
{
    struct stat out {};
    if (fstat(fd, &out) != 0) {
        return false;
    }
    for (const char* name : report_names) {
        struct stat file {};
        if (stat(name, &file) == 0 && same_id(out, file)) {
            return true;
        }
    }
    return false;
}
#elif defined(_WIN32)
bool id_of(HANDLE handle, BY_HANDLE_FILE_INFORMATION* id)
{
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, id);
}

bool same_id(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

HANDLE handle_of(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

bool same_file(int fd, std::FILE* fp)
{
    BY_HANDLE_FILE_INFORMATION out{};
    BY_HANDLE_FILE_INFORMATION file{};
    return id_of(handle_of(fd), &out) && id_of(handle_of(_fileno(fp)), &file) && same_id(out, file);
}

bool writes_to_report(int fd)
{
    BY_HANDLE_FILE_INFORMATION out{};
    if (!id_of(handle_of(fd), &out)) {
        return false;
    }
    for (const char* name : report_names) {
        // Opened for its attributes only, sharing everything: a report open
        // for writing does not stop it.
        HANDLE file = CreateFileA(name, FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        BY_HANDLE_FILE_INFORMATION id{};
        bool same = id_of(file, &id) && same_id(out, id);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        if (same) {
            return true;
        }
    }
    return false;
}
#else
// No file descriptors (the web page): standard output and error are no file.
bool same_file(int, std::FILE*)
{
    return false;
}

bool writes_to_report(int)
{
    return false;
}
#endif

} // namespace

bool prepare_standard_output()
{
#if defined(__unix__) || defined(__APPLE__)
    // A program started with standard output closed would give it to the
    // first file it opens, and the console copy of every line would then be
    // written into a report. It is taken by /dev/null first, and so is a
    // closed standard input below it (open returns the lowest free
    // descriptor); where /dev/null cannot be opened, the run stops before any
    // file is. A closed standard error may well be taken by a report: nothing
    // enters a report through it (write_error()).
    for (int fd = STDIN_FILENO; fd <= STDOUT_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && open("/dev/null", O_RDWR) != fd) {
            return false;
        }
    }
#elif defined(_WIN32)
    // Binary mode: lines keep their CR LF instead of becoming CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    // Unbuffered: every write_console() goes straight to the descriptor, so
    // that the count a failed write returns is what the reader received, and
    // nothing is dropped with a buffer. The copy is written in large blocks,
    // so no write is lost to it.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef SIGPIPE
    // A reader of standard output that goes away must not end the run: the
    // reports still receive every line.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef SIGXFSZ
    // Nor may a file-size limit: the write past it fails instead (EFBIG) and
    // is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return true;
}

void write_console(const char* text, std::size_t len)
{
    // A report as standard output (`loan > debx.txt`) takes no copy at all,
    // not even what comes before the report is opened: it is written whole.
    if (!writes_to_report(1)) {
        write_output(text, len);
    }
}

void write_output(const char* text, std::size_t len)
{
    // The stream's error is cleared as soon as it is forgiven, so one that is
    // set now is a loss seen earlier: it stays.
    const bool lost_before = std::ferror(stdout) != 0;
    for (;;) {
        errno = 0; // a short write always sets it; never a stale EAGAIN
#ifdef _WIN32
        SetLastError(0); // nor a stale last error, which it would become
#endif
        std::size_t written = std::fwrite(text, 1, len, stdout);
        text += written;
        len -= written;
        // Written whole (errno 0, or a value the write left behind that asks
        // for nothing), or a failure to wait out, to forgive or to keep.
        int error = errno;
        bool retry = waited_for_room(error);
        if (!lost_before && (retry || copy_not_taken(error))) {
            std::clearerr(stdout);
        }
        if (!retry) {
            return;
        }
    }
}

void print_console(const char* format, ...)
{
    char message[128];
    std::va_list args;
    va_start(args, format);
    int len = std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    // At most what the buffer holds, without its NUL.
    write_console(message,
                  len < 0 ? 0 : std::min(static_cast<std::size_t>(len), sizeof message - 1));
}

void write_error(const char* text, std::size_t len)
{
    if (!writes_to_report(2)) {
        std::fwrite(text, 1, len, stderr);
    }
}

bool console_is_report(std::FILE* fp)
{
    return same_file(1, fp);
}

bool console_complete()
{
    return !std::ferror(stdout);
}
