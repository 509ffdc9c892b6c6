// Linked into every console program: a trace that could not be written in
// full (a full disk, a closed terminal) must not pass for a complete one.
// At exit the standard output is flushed; if it failed at any point the
// program says so on standard error and its exit status becomes 1.
#include "arith/arith.hpp"
#include "arith/identity.hpp"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static void check_trace_written()
{
    errno = 0;
    if (fflush(stdout) == 0 && !ferror(stdout))
        return;
    // A flush that failed before the pause may have dropped the rest, so
    // that this one fails without a reason: the earlier reason stands.
    int reason = errno ? errno : trace_flush_error();
    fprintf(stderr, "%s: the trace could not be written in full%s%s\n",
            program_name, reason ? ": " : "",
            reason ? strerror(reason) : "");
    _Exit(1);
}

namespace {
struct TraceGuard {
    TraceGuard() { atexit(check_trace_written); }
} trace_guard;
} // namespace
