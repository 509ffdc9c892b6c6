// The console of the web edition: each pause hands control back to the page
// until it has a key for it (the page also offers a button), and the trace
// goes out through standard output as the Latin-1 bytes that the program
// wrote; the page decodes them as Latin-1.
#include "console/console.hpp"
#include "console/page_web.hpp"
#include <cstdarg>
#include <cstdio>
#include <emscripten.h>

// Module.suiteWait(kind) is the page's promise of an answer.
EM_ASYNC_JS(int, page_wait_answer, (int kind), { return await Module.suiteWait(kind); });

int page_wait(int kind)
{
    fflush(stdout);
    return page_wait_answer(kind);
}

EM_JS(void, page_parameter, (const char *name, const char *value),
      { Module.suiteParameter(UTF8ToString(name), UTF8ToString(value)); });

// The page takes every byte of the trace: a flush here does not fail.
void flush_trace()
{
    fflush(stdout);
}

int trace_flush_error()
{
    return 0;
}

void wait_enter()
{
    (void)page_wait(page_wait_enter);
}

int read_key()
{
    return page_wait(page_wait_key);
}

bool trace_write(const char *bytes, size_t size)
{
    return fwrite(bytes, 1, size, stdout) == size;
}

int trace_printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int length = vprintf(format, args);
    va_end(args);
    return length;
}
