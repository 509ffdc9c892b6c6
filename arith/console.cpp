// The console's two pauses: wait_enter for a line-buffered Enter, and _getch
// for a single key read straight from the terminal.
#include "arith/arith.hpp"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

void wait_enter()
{
    (void)getchar();
}

// While _getch holds the terminal in non-canonical mode, a signal that ends
// the process (Ctrl-C, Ctrl-\, a hang-up or a kill) must first give the user
// back the terminal as it was found. These are the saved settings.
static struct termios saved_settings;
static const int restoring_signals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};

static void restore_and_die(int sig)
{
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    signal(sig, SIG_DFL);
    raise(sig);
}

int _getch()
{
    // Output written so far must be on screen before the pause.
    fflush(stdout);
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_settings) != 0)
        return getchar();

    // A signal that the program was started with ignored (SIGINT and SIGQUIT
    // for a background job, SIGHUP under nohup) stays ignored: it must not
    // start to end the process here.
    struct sigaction restore = {}, previous[4];
    restore.sa_handler = restore_and_die;
    sigemptyset(&restore.sa_mask);
    for (int i = 0; i < 4; i++) {
        sigaction(restoring_signals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(restoring_signals[i], &restore, nullptr);
    }

    // One byte, as soon as it is typed, without echo. Signals stay enabled,
    // so Ctrl-C still interrupts (through restore_and_die).
    struct termios raw = saved_settings;
    raw.c_lflag &= ~(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);

    unsigned char key;
    ssize_t got;
    do
        got = read(STDIN_FILENO, &key, 1);
    while (got < 0 && errno == EINTR);

    tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    for (int i = 0; i < 4; i++)
        sigaction(restoring_signals[i], &previous[i], nullptr);
    return got == 1 ? key : EOF;
}
