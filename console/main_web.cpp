// The entry of every program of the web edition: the program's own main,
// compiled as suite_program_main, is called from here. When it returns, its
// output is flushed and the page gets its status, and the program then
// stays as it is, waiting for nothing, so that its picture still answers
// the page's pointer (page_readout) until the page ends its worker. A
// program that calls exit() itself ends in full: the atexit functions run,
// standard output is flushed and the page gets the status.
#include <cstdio>
#include <cstdlib>
#include <emscripten.h>

// The program defines one of the two.
int suite_program_main(int argc, char **argv) __attribute__((weak));
int suite_program_main() __attribute__((weak));

// Module.suiteEnd(status) tells the page, and never resolves.
EM_ASYNC_JS(void, page_end, (int status), { await Module.suiteEnd(status); });

// The call is direct, not through a pointer, so that the program can pause
// inside it (Asyncify leaves indirect calls out).
int main(int argc, char **argv)
{
    int (*with_arguments)(int, char **) = suite_program_main;
    int status = with_arguments != nullptr ? suite_program_main(argc, argv) : suite_program_main();
    fflush(stdout);
    page_end(status);
    return status;
}
