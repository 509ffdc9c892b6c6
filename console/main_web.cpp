// The entry of every program of the web edition: the program's own main,
// compiled as suite_program_main, is called from here, and its status goes
// to exit(). A program that paused returns from its main only after the page
// resumed it, when the runtime no longer takes that return as the end of
// the run; exit() ends it in full: the atexit functions run (the trace
// check among them), standard output is flushed and the page gets the
// status.
#include <cstdlib>

// The program defines one of the two.
int suite_program_main(int argc, char **argv) __attribute__((weak));
int suite_program_main() __attribute__((weak));

// The call is direct, not through a pointer, so that the program can pause
// inside it (Asyncify leaves indirect calls out).
int main(int argc, char **argv)
{
    int (*with_arguments)(int, char **) = suite_program_main;
    if (with_arguments != nullptr)
        exit(suite_program_main(argc, argv));
    exit(suite_program_main());
}
