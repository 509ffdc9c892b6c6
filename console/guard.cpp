// Linked whole into every program (a static library would drop it, since
// nothing refers to it): two guards around the run.
//
// At start, the standard descriptors 0, 1 and 2 are made sure to be open. A
// program started with one of them closed would otherwise hand that number
// to the first file it opens (the X connection, a picture, the font), and
// its trace or its key reads would go there. A closed one is opened on
// /dev/null against its use: standard input for writing, standard output
// and error for reading, so that every read or write on it fails as it would
// have on the closed descriptor.
//
// At exit, a trace that could not be written in full (a full disk, a closed
// terminal) must not pass for a complete one: standard output is flushed,
// and if it failed at any point the program says so on standard error and
// its exit status becomes 1.
#include "console/console.hpp"
#include "console/identity.hpp"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

static void check_trace_written()
{
    errno = 0;
    if (fflush(stdout) == 0 && !ferror(stdout))
        return;
    // A flush that failed earlier may have dropped the rest, so that this
    // one fails without a reason: the earlier reason stands.
    int reason = errno ? errno : trace_flush_error();
    fprintf(stderr, "%s: the trace could not be written in full%s%s\n", program_name, reason ? ": " : "",
            reason ? strerror(reason) : "");
    _Exit(1);
}

// open() returns the lowest free descriptor, so the closed ones among 0, 1
// and 2 are filled in order (where there is no /dev/null, the program runs
// as it was started). Priority 101 runs this before every other initialiser
// of the program.
__attribute__((constructor(101))) static void guard_standard_descriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; fd++)
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    atexit(check_trace_written);
}
