// The console programs at a terminal. The one-key wait of
// difference_of_squares_walk on a pseudo-terminal: a key ends it without
// Enter and without echo, the terminal is left as it was found (also after
// Ctrl-C), and after Ctrl-Z and "fg" the wait takes one key again. The trace
// text: UTF-8 on a UTF-8 terminal, Latin-1 bytes into a pipe, and a point
// before the decimals under a French locale.
#include "harness.hpp"
#include <csignal>
#include <cstring>
#include <pty.h>
#include <unistd.h>

namespace
{

// The end of the walk's trace, as the terminal shows it (newline as CR LF).
const char result_line[] = "\r\n***(70003 69169)";

// The settings of a terminal that nothing has changed yet.
termios fresh_settings()
{
    int master, slave;
    termios mode = {};
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
        tcgetattr(slave, &mode);
        close(master);
        close(slave);
    }
    return mode;
}

::testing::AssertionResult same_settings(const termios &expected, const termios &actual)
{
    if (actual.c_iflag != expected.c_iflag || actual.c_oflag != expected.c_oflag ||
        actual.c_cflag != expected.c_cflag || actual.c_lflag != expected.c_lflag ||
        memcmp(actual.c_cc, expected.c_cc, sizeof actual.c_cc) != 0)
        return ::testing::AssertionFailure() << "terminal settings differ: c_lflag " << std::hex
                                             << expected.c_lflag << " expected, " << actual.c_lflag << " found";
    return ::testing::AssertionSuccess();
}

TerminalOptions walk_options(bool ignore_interrupt = false, bool job_control = false)
{
    TerminalOptions options;
    options.ignore_interrupt = ignore_interrupt;
    options.job_control = job_control;
    return options;
}

TEST(GetchOnTerminal, OneKeyEndsTheWaitWithoutEcho)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk));
    std::string trace = terminal.wait_for(result_line);
    EXPECT_EQ(0u, trace.rfind("(69585 0)(69585 1)", 0));
    ASSERT_TRUE(terminal.wait_for_key_mode()) << "the terminal never left line mode";
    terminal.type("k"); // no Enter
    EXPECT_EQ(0, terminal.wait_end(10));
    EXPECT_EQ("", terminal.read_for(0.1)) << "the key was echoed";
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

TEST(GetchOnTerminal, CtrlCDuringTheWaitRestoresTheTerminal)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk));
    terminal.wait_for(result_line);
    ASSERT_TRUE(terminal.wait_for_key_mode());
    terminal.type("\x03");
    EXPECT_EQ(128 + SIGINT, terminal.wait_end(10));
    EXPECT_EQ("", terminal.read_for(0.1));
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

// Started with SIGINT ignored, the program keeps ignoring it while it waits;
// the key still ends it cleanly.
TEST(GetchOnTerminal, IgnoredCtrlCStaysIgnored)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk), walk_options(true));
    terminal.wait_for(result_line);
    ASSERT_TRUE(terminal.wait_for_key_mode());
    terminal.type("\x03");
    EXPECT_EQ(-1, terminal.wait_end(0.3)) << "Ctrl-C ended the program";
    terminal.type("k");
    EXPECT_EQ(0, terminal.wait_end(10));
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

// Ctrl-Z during the wait gives the shell the terminal in line mode; after
// "fg" the wait again takes one key, silently.
TEST(GetchOnTerminal, AfterCtrlZAndFgTheWaitIsOneKeyAgain)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk), walk_options(false, true));
    terminal.wait_for(result_line);
    ASSERT_TRUE(terminal.wait_for_key_mode());
    termios at_stop;
    ASSERT_TRUE(terminal.suspend(at_stop)) << "Ctrl-Z did not stop the program";
    EXPECT_TRUE(same_settings(fresh_settings(), at_stop)) << "the terminal was not given back at the stop";
    terminal.resume();
    ASSERT_TRUE(terminal.wait_for_key_mode()) << "after fg the wait stayed in line mode";
    terminal.type("k");
    EXPECT_EQ(0, terminal.wait_end(10)) << "one key did not end the wait";
    EXPECT_EQ("", terminal.read_for(0.1)) << "the key was echoed";
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
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

// A full disk under the trace: the flush before the wait fails, and the
// check at exit still gives its reason.
TEST(GetchWithoutTerminal, AFullDiskIsReportedWithItsReason)
{
    RunOptions options;
    options.stdout_path = "/dev/full";
    options.timeout_seconds = 10;
    ProgramRun run = run_program(PROGRAM(difference_of_squares_walk), options);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("difference_of_squares_walk: the trace could not be written in full: " + std::string(strerror(ENOSPC)) +
                  "\n",
              run.err);
}

// A French locale made for these tests (the system may have none): its
// decimal separator is a comma, which /usr/bin/printf, reading every
// category from the environment, shows.
class TraceText : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        locales = make_temp_dir();
        RunOptions options;
        options.args = {"-i", "fr_FR", "-f", "UTF-8", locales + "/fr_FR.UTF-8"};
        options.timeout_seconds = 120;
        ProgramRun made = run_program("/usr/bin/localedef", options);
        ASSERT_EQ(0, made.status) << "localedef (package locales) failed:\n" << made.err;
    }
    static void TearDownTestSuite()
    {
        RunOptions options;
        options.args = {"-rf", locales};
        run_program("/bin/rm", options);
    }
    static std::vector<std::string> french(const char *variable)
    {
        return {"LOCPATH=" + locales, "LC_ALL", "LANG", "LC_CTYPE", "LC_NUMERIC", std::string(variable) + "=fr_FR.UTF-8"};
    }
    static std::string locales;
};
std::string TraceText::locales;

TEST_F(TraceText, TheFrenchLocaleTakesEffect)
{
    RunOptions options;
    options.args = {"%.3f", "0.093"};
    options.env = french("LC_ALL");
    EXPECT_EQ("0,093", run_program("/usr/bin/printf", options).out);
}

// On a terminal whose locale (from LC_ALL, LC_CTYPE or LANG) is UTF-8, the
// letter 0xE9 is written as the two bytes C3 A9; the numbers keep their point.
TEST_F(TraceText, UTF8OnAUTF8TerminalWithAPointInTheNumbers)
{
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        SCOPED_TRACE(variable);
        TerminalOptions options;
        options.echo = false;
        options.env = french(variable);
        PseudoTerminal terminal(TRACE_SAMPLE, options);
        EXPECT_EQ(0, terminal.wait_end(10));
        EXPECT_EQ("Indice d'entr\xc3\xa9" "e= 6 proportion 0.093\n", terminal.output);
    }
    // And in rho_factor_16019's own trace.
    TerminalOptions options;
    options.echo = false;
    options.env = french("LC_ALL");
    PseudoTerminal rho(PROGRAM(rho_factor_16019), options);
    rho.wait_for("Indice d'entr\xc3\xa9" "e= 6");
    rho.type("\n");
    EXPECT_EQ(0, rho.wait_end(10));
}

// Into a pipe, or on a terminal that is not UTF-8, the bytes stay as they are.
TEST_F(TraceText, Latin1IntoAPipeOrOnAnotherTerminal)
{
    const std::string latin1 = "Indice d'entr\xe9" "e= 6 proportion 0.093\n";
    RunOptions piped;
    piped.env = french("LC_ALL");
    ProgramRun run = run_program(TRACE_SAMPLE, piped);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(latin1, run.out);

    TerminalOptions c_locale;
    c_locale.echo = false;
    c_locale.env = {"LC_ALL=C", "LANG", "LC_CTYPE"};
    PseudoTerminal terminal(TRACE_SAMPLE, c_locale);
    EXPECT_EQ(0, terminal.wait_end(10));
    EXPECT_EQ(latin1, terminal.output);
}

// prime_proportion on a UTF-8 terminal in French keeps its "0.093".
TEST_F(TraceText, PrimeProportionKeepsItsPointInFrench)
{
    TerminalOptions options;
    options.echo = false;
    options.env = french("LC_ALL");
    PseudoTerminal terminal(PROGRAM(prime_proportion), options);
    std::string tail = terminal.wait_for("\n Proportion theorique de premiers = ");
    EXPECT_NE(std::string::npos, tail.find("\n Proportion de premiers = 0.093\n"));
    terminal.type("\n");
    EXPECT_EQ(0, terminal.wait_end(10));
    EXPECT_EQ("0.080", terminal.output.substr(terminal.cursor));
}

} // namespace
