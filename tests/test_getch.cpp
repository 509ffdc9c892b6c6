// _getch on a real terminal: difference_of_squares_walk runs on a fresh
// pseudo-terminal, as its controlling terminal and standard input and output,
// and this test types on the master side. The key must end the wait without
// Enter and without echo, and the terminal must be left as it was found:
// after the key, and after Ctrl-C during the wait.
#include "harness.hpp"
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

// The end of the walk's trace, as the terminal shows it (newline as CR LF).
static const char result_line[] = "\r\n***(70003 69169)";

class OnTerminal : public ::testing::Test
{
  protected:
    pid_t pid = -1;
    int master = -1, slave = -1; // the test keeps the slave open to read its settings
    std::string shown;           // everything the program wrote to the terminal
    termios before{};

    // Starts the walk on a new terminal, optionally with SIGINT ignored.
    void start(bool ignore_interrupt = false)
    {
        ASSERT_EQ(0, openpty(&master, &slave, nullptr, nullptr, nullptr));
        ASSERT_EQ(0, tcgetattr(slave, &before));
        std::string path = PROGRAM(difference_of_squares_walk);
        pid = fork();
        if (pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            for (int fd = 0; fd <= 2; fd++)
                dup2(slave, fd);
            close(master);
            close(slave);
            // Whatever the test itself inherited (a background job has SIGINT
            // ignored), the program starts with SIGINT as chosen here.
            signal(SIGINT, ignore_interrupt ? SIG_IGN : SIG_DFL);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            execl(path.c_str(), path.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
    }

    void TearDown() override
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (master >= 0)
            close(master);
        if (slave >= 0)
            close(slave);
    }

    // Reads the terminal until the text ends with `tail`, or for `seconds`.
    bool read_until(const std::string &tail, double seconds)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!(shown.size() >= tail.size() &&
                 shown.compare(shown.size() - tail.size(), tail.size(), tail) == 0)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd fd = {master, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[4096];
            ssize_t got = read(master, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            shown.append(buffer, got);
        }
        return true;
    }

    // Waits until _getch has switched the terminal to single keys, without
    // line editing. A key typed earlier would be echoed in line mode.
    bool wait_for_key_mode(double seconds)
    {
        for (double waited = 0; waited < seconds; waited += 0.01) {
            termios now;
            if (tcgetattr(slave, &now) == 0 && !(now.c_lflag & ICANON))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void type(const char *keys)
    {
        ASSERT_EQ(static_cast<ssize_t>(strlen(keys)), write(master, keys, strlen(keys)));
    }

    // The exit status (128 + signal number if killed), or -1 if the program
    // is still running after `seconds`.
    int wait_end(double seconds)
    {
        for (double waited = 0; waited < seconds; waited += 0.01) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // Settings now equal to those before the run, field by field.
    ::testing::AssertionResult settings_restored()
    {
        termios after;
        if (tcgetattr(slave, &after) != 0)
            return ::testing::AssertionFailure() << "tcgetattr: " << strerror(errno);
        if (after.c_iflag != before.c_iflag || after.c_oflag != before.c_oflag ||
            after.c_cflag != before.c_cflag || after.c_lflag != before.c_lflag ||
            memcmp(after.c_cc, before.c_cc, sizeof after.c_cc) != 0 ||
            cfgetispeed(&after) != cfgetispeed(&before) || cfgetospeed(&after) != cfgetospeed(&before))
            return ::testing::AssertionFailure() << "terminal settings changed: c_lflag " << std::hex
                                                 << before.c_lflag << " -> " << after.c_lflag;
        return ::testing::AssertionSuccess();
    }

    // Reads for a moment more: whatever the terminal still shows after the end.
    std::string shown_after(const std::string &tail)
    {
        read_until("\x01never", 0.2);
        return shown.substr(shown.rfind(tail) + tail.size());
    }
};

TEST_F(OnTerminal, OneKeyEndsTheWaitWithoutEcho)
{
    start();
    ASSERT_TRUE(read_until(result_line, 20)) << "trace so far: " << shown;
    EXPECT_EQ(0u, shown.rfind("(69585 0)(69585 1)", 0));
    ASSERT_TRUE(wait_for_key_mode(10)) << "the terminal never left line mode";
    type("k"); // no Enter
    EXPECT_EQ(0, wait_end(10));
    EXPECT_EQ("", shown_after(result_line)) << "the key was echoed";
    EXPECT_TRUE(settings_restored());
}

TEST_F(OnTerminal, CtrlCDuringTheWaitRestoresTheTerminal)
{
    start();
    ASSERT_TRUE(read_until(result_line, 20)) << "trace so far: " << shown;
    ASSERT_TRUE(wait_for_key_mode(10));
    type("\x03");
    EXPECT_EQ(128 + SIGINT, wait_end(10));
    EXPECT_EQ("", shown_after(result_line));
    EXPECT_TRUE(settings_restored());
}

// Started with SIGINT ignored, the program keeps ignoring it while it waits;
// the key still ends it cleanly.
TEST_F(OnTerminal, IgnoredCtrlCStaysIgnored)
{
    start(true);
    ASSERT_TRUE(read_until(result_line, 20)) << "trace so far: " << shown;
    ASSERT_TRUE(wait_for_key_mode(10));
    type("\x03");
    EXPECT_EQ(-1, wait_end(0.3)) << "Ctrl-C ended the program";
    type("k");
    EXPECT_EQ(0, wait_end(10));
    EXPECT_TRUE(settings_restored());
}

// Standard input not a terminal: the wait reads one byte, and at end of file
// it returns at once.
TEST(GetchWithoutTerminal, ReturnsAtEndOfInput)
{
    for (const char *input : {"", "k"}) {
        RunOptions options;
        options.input = input;
        options.timeout_seconds = 10;
        ProgramRun run = run_program(PROGRAM(difference_of_squares_walk), options);
        EXPECT_FALSE(run.timed_out) << "input \"" << input << "\"";
        EXPECT_EQ(0, run.status);
        EXPECT_NE(std::string::npos, run.out.rfind("\n***(70003 69169)")) << "input \"" << input << "\"";
    }
}
