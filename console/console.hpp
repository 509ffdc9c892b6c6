// console.hpp: the terminal side of every program: the pauses, the trace
// text, and the check at exit that the trace was written in full.
#pragma once
#include <cstddef>

// Flushes standard output, then reads one character from standard input and
// ignores it: the pause that keeps a console trace readable. Returns at once
// at end of input.
void wait_enter();

// One key press, without echo and without Enter, when standard input is a
// terminal (the terminal is left as it was found, also on Ctrl-C, and given
// back to the shell during a Ctrl-Z; on resuming, the wait takes one key
// again); otherwise one byte. Standard output is flushed first. Returns the
// key, or -1 at end of input.
int read_key();

// Flushes standard output; the first flush that fails keeps its reason
// (errno) for the check at exit, by which time the stream has dropped what
// it could not write and a later flush no longer says why.
void flush_trace();

// The errno of the first flush_trace that failed, or 0.
int trace_flush_error();

// Trace text written in Latin-1, as bytes: on a terminal whose character set
// is UTF-8 the letters above 0x7F are written in UTF-8; everywhere else, the
// bytes as they are. False when standard output refuses them.
bool trace_write(const char *bytes, size_t size);

// printf for trace text written in Latin-1 (the one accented letter of the
// traces is the byte 0xE9). On a terminal whose character set is UTF-8 the
// letters above 0x7F are written in UTF-8; everywhere else, the bytes as
// they are.
int trace_printf(const char *format, ...) __attribute__((format(printf, 1, 2)));
