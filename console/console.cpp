// The console's two pauses: wait_enter for a line-buffered Enter, and read_key
// for a single key read straight from the terminal.
#include "console/console.hpp"
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
    // What was written so far must be out before the wait, also into a file
    // or a pipe: a program stopped at a pause keeps its trace.
    flush_trace();
    (void)getchar();
}

// The reason (errno) of the first failed flush of the trace.
static int first_flush_error = 0;

int trace_flush_error()
{
    return first_flush_error;
}

void flush_trace()
{
    errno = 0;
    if (fflush(stdout) != 0 && first_flush_error == 0)
        first_flush_error = errno;
}

// While read_key holds the terminal in non-canonical mode, a signal that ends
// the process (Ctrl-C, Ctrl-\, a hang-up or a kill) must first give the user
// back the terminal as it was found. These are the saved settings, and the
// settings of the wait: one key, no echo.
static struct termios saved_settings, key_settings;
static const int restoring_signals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
static const int restoring_count = sizeof restoring_signals / sizeof restoring_signals[0];

static void restore_and_die(int sig)
{
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    signal(sig, SIG_DFL);
    raise(sig);
}

// Ctrl-Z: the shell gets the terminal back as it was found, the process
// stops, and when it is resumed the wait takes single keys again without
// echo. The shell does not put back the modes of a job it resumes.
static void stop_and_resume(int sig)
{
    int saved_errno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    struct sigaction stop = {}, self = {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    sigaction(sig, &stop, &self);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(sig); // stops here until SIGCONT
    sigaction(sig, &self, nullptr);
    tcsetattr(STDIN_FILENO, TCSANOW, &key_settings);
    errno = saved_errno;
}

// Resumed after a stop that could not be caught (SIGSTOP): the shell may
// have put its own modes on the terminal meanwhile.
static void resume_wait(int)
{
    int saved_errno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &key_settings);
    errno = saved_errno;
}

int read_key()
{
    // Output written so far must be on screen before the pause.
    flush_trace();
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_settings) != 0)
        return getchar();

    // A signal that the program was started with ignored (SIGINT and SIGQUIT
    // for a background job, SIGHUP under nohup, SIGTSTP where there is no job
    // control) stays ignored: it must not start to act here.
    struct sigaction handler = {}, previous[restoring_count], previous_stop, previous_continue;
    handler.sa_handler = restore_and_die;
    sigemptyset(&handler.sa_mask);
    for (int i = 0; i < restoring_count; i++) {
        sigaction(restoring_signals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(restoring_signals[i], &handler, nullptr);
    }
    sigaction(SIGTSTP, nullptr, &previous_stop);
    if (previous_stop.sa_handler != SIG_IGN) {
        handler.sa_handler = stop_and_resume;
        sigaction(SIGTSTP, &handler, nullptr);
    }
    handler.sa_handler = resume_wait;
    sigaction(SIGCONT, &handler, &previous_continue);

    // One byte, as soon as it is typed, without echo. Signals stay enabled,
    // so Ctrl-C still interrupts (through restore_and_die) and Ctrl-Z still
    // suspends (through stop_and_resume).
    key_settings = saved_settings;
    key_settings.c_lflag &= ~(ICANON | ECHO);
    key_settings.c_cc[VMIN] = 1;
    key_settings.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &key_settings);

    unsigned char key;
    ssize_t got;
    do
        got = read(STDIN_FILENO, &key, 1);
    while (got < 0 && errno == EINTR);

    tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    for (int i = 0; i < restoring_count; i++)
        sigaction(restoring_signals[i], &previous[i], nullptr);
    sigaction(SIGTSTP, &previous_stop, nullptr);
    sigaction(SIGCONT, &previous_continue, nullptr);
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

bool trace_write(const char *bytes, size_t size)
{
    if (!output_is_utf8_terminal())
        return fwrite(bytes, 1, size, stdout) == size;
    // Latin-1 is the first 256 code points: two bytes each above 0x7F.
    std::string utf8;
    utf8.reserve(size);
    for (size_t i = 0; i < size; i++) {
        unsigned char c = bytes[i];
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size();
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
    return trace_write(text.data(), text.size()) ? length : -1;
}
