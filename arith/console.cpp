// The console's two pauses: wait_enter for a line-buffered Enter, and _getch
// for a single key read straight from the terminal.
#include "arith/arith.hpp"
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <string>
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

// Whether standard output is a terminal that shows UTF-8. Only the character
// type category of the locale is consulted, and only for this question: the
// program keeps the C locale, so numbers are still printed "0.093".
static bool output_is_utf8_terminal()
{
    static int answer = -1;
    if (answer < 0) {
        answer = 0;
        if (isatty(STDOUT_FILENO)) {
            std::string saved = setlocale(LC_CTYPE, nullptr);
            if (setlocale(LC_CTYPE, "") != nullptr)
                answer = strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
            setlocale(LC_CTYPE, saved.c_str());
        }
    }
    return answer == 1;
}

int trace_printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return length;
    }
    std::string text(length + 1, '\0');
    vsnprintf(&text[0], text.size(), format, again);
    va_end(again);
    text.resize(length);

    if (!output_is_utf8_terminal())
        return fwrite(text.data(), 1, text.size(), stdout) == text.size() ? length : -1;
    // Latin-1 is the first 256 code points: two bytes each above 0x7F.
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size() ? length : -1;
}
