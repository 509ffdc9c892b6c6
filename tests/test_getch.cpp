// The console programs at a terminal. The one-key wait of
// difference_of_squares_walk on a pseudo-terminal: a key ends it without
// Enter and without echo, the terminal is left as it was found (also after
// Ctrl-C), and after Ctrl-Z and "fg" the wait takes one key again. The trace
// text: UTF-8 on a UTF-8 terminal, Latin-1 bytes into a pipe, and a point
// before the decimals under a French locale. The guards of every program:
// standard descriptors started closed, and output that cannot be written.
#include "catalogue.hpp"
#include "harness.hpp"
#include "references.hpp"
#include <algorithm>
#include <climits>
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

TEST(ReadKeyOnTerminal, OneKeyEndsTheWaitWithoutEcho)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk));
    std::string trace = terminal.wait_for(result_line);
    EXPECT_EQ(0u, trace.rfind("(69585 0)(69585 1)", 0));
    ASSERT_TRUE(terminal.wait_for_key_mode()) << "the terminal never left line mode";
    terminal.type("k"); // no Enter
    EXPECT_EQ(0, terminal.wait_end(10));
    // Only the newline that ends the trace's last line, not the key.
    EXPECT_EQ("\r\n", terminal.output.substr(terminal.cursor)) << "the key was echoed";
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

TEST(ReadKeyOnTerminal, CtrlCDuringTheWaitRestoresTheTerminal)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk));
    terminal.wait_for(result_line);
    ASSERT_TRUE(terminal.wait_for_key_mode());
    terminal.type("\x03");
    EXPECT_EQ(128 + SIGINT, terminal.wait_end(10));
    EXPECT_EQ("", terminal.output.substr(terminal.cursor));
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

// Started with SIGINT ignored, the program keeps ignoring it while it waits;
// the key typed after Ctrl-C still ends it cleanly (the terminal raises the
// signal before it passes on the key).
TEST(ReadKeyOnTerminal, IgnoredCtrlCStaysIgnored)
{
    PseudoTerminal terminal(PROGRAM(difference_of_squares_walk), walk_options(true));
    terminal.wait_for(result_line);
    ASSERT_TRUE(terminal.wait_for_key_mode());
    terminal.type("\x03");
    terminal.type("k");
    EXPECT_EQ(0, terminal.wait_end(10)) << "Ctrl-C ended the program";
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

// Ctrl-Z during the wait gives the shell the terminal in line mode; after
// "fg" the wait again takes one key, silently.
TEST(ReadKeyOnTerminal, AfterCtrlZAndFgTheWaitIsOneKeyAgain)
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
    EXPECT_EQ("\r\n", terminal.output.substr(terminal.cursor)) << "the key was echoed";
    EXPECT_TRUE(same_settings(fresh_settings(), terminal.settings()));
}

// Standard input not a terminal: the wait reads one byte, and at end of file
// it returns at once.
TEST(ReadKeyWithoutTerminal, ReturnsAtEndOfInput)
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
TEST(ReadKeyWithoutTerminal, AFullDiskIsReportedWithItsReason)
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

// The French locale that the build makes for these tests (the system may
// have none), chosen through `variable`, every other locale variable unset.
std::vector<std::string> french(const char *variable)
{
    return {"LOCPATH=" TEST_LOCALES, "LC_ALL", "LANG", "LC_CTYPE", "LC_NUMERIC", std::string(variable) + "=fr_FR.UTF-8"};
}

// On a terminal whose locale (from LC_ALL, LC_CTYPE or LANG) is UTF-8, the
// letter 0xE9 is written as the two bytes C3 A9; the numbers keep their point.
TEST(TraceText, UTF8OnAUTF8TerminalWithAPointInTheNumbers)
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
TEST(TraceText, Latin1IntoAPipeOrOnAnotherTerminal)
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
TEST(TraceText, PrimeProportionKeepsItsPointInFrench)
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


// Where descriptor `fd` of process `pid` leads ("/dev/null", "pipe:[...]").
std::string descriptor_target(pid_t pid, int fd)
{
    char target[PATH_MAX];
    std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd);
    ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, length) : "";
}

// Started with standard output and error closed, cycle_floyd opens them on
// /dev/null before anything else could take their numbers; its trace then
// cannot be written, and it says so in its status. Started with standard
// input closed, its pause returns at once.
// A program stopped at its pause (Ctrl-C, kill) with its output in a pipe
// keeps what it printed before the pause: the trace is out before the wait,
// which holds the program until the text has arrived. Both waits: Enter
// (strong_test_trace_1729) and one key (difference_of_squares_walk).
TEST(Pauses, TheTraceIsOutBeforeTheProgramWaits)
{
    struct Case {
        const char *name;
        std::string before_pause;
    } cases[] = {
        {"strong_test_trace_1729", builtin_strong_test_1729_transcript},
        {"difference_of_squares_walk", fermat_walk_transcript(4842037507)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RunOptions options;
        options.keep_input_open = true;
        Process program(std::string(SUITE_BIN_DIR "/") + c.name, options);
        EXPECT_TRUE(program.wait_for(c.before_pause, 10)) << "the trace stayed in the program:\n" << program.out;
        program.signal(SIGTERM);
        EXPECT_EQ(128 + SIGTERM, program.wait_end());
        EXPECT_EQ(c.before_pause, program.out);
    }
}

// On a terminal, every console program's example run leaves the shell's
// prompt at the start of a line: a trace that ends without a newline gets
// one. Its pauses are answered from a pipe, so that no echoed Enter writes
// that newline instead.
TEST(Pauses, EveryTraceOnATerminalEndsItsLine)
{
    for (const CatalogueEntry &e : catalogue) {
        if (std::string(e.kind) != "console")
            continue;
        SCOPED_TRACE(std::string(e.name) + " " + e.example);
        TerminalOptions options;
        options.args = {"-c", std::string("yes '' | exec " SUITE_BIN_DIR "/") + e.name + " " + e.example};
        PseudoTerminal terminal("/bin/sh", options);
        EXPECT_EQ(0, terminal.wait_end(30));
        const std::string &out = terminal.output;
        EXPECT_TRUE(out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0)
            << "ends with: " << out.substr(out.size() - std::min<size_t>(out.size(), 40));
    }
}

TEST(StandardDescriptors, ClosedOnesAreOpenedOnDevNull)
{
    RunOptions options;
    options.closed = {1, 2};
    options.keep_input_open = true;
    Process floyd(PROGRAM(cycle_floyd), options);
    // Until the program has started, its descriptors are the test's own.
    double waited = 0;
    while ((descriptor_target(floyd.pid(), 1) != "/dev/null" || descriptor_target(floyd.pid(), 2) != "/dev/null") &&
           waited < 10) {
        usleep(1000);
        waited += 0.001;
    }
    EXPECT_EQ("/dev/null", descriptor_target(floyd.pid(), 1));
    EXPECT_EQ("/dev/null", descriptor_target(floyd.pid(), 2));
    floyd.close_input();
    EXPECT_EQ(1, floyd.wait_end(10));

    options = {};
    options.closed = {0};
    Process paused(PROGRAM(cycle_floyd), options);
    EXPECT_EQ(0, paused.wait_end(10));
    EXPECT_EQ("", paused.err);
    EXPECT_NE(std::string::npos, paused.out.find("periode = 7")) << paused.out;
}

// A picture program whose captions cannot be written (a full disk) says so,
// and its status is 1.
TEST(OutputCheck, PictureCaptionsOnAFullDisk)
{
    RunOptions options;
    options.stdout_path = "/dev/full";
    options.cwd = make_temp_dir();
    ProgramRun run = run_program(CAPTURE(fermat_walk_plot), options);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ(0u, run.err.find("fermat_walk_plot: the trace could not be written in full")) << run.err;
    EXPECT_EQ(0, system(("rm -rf '" + options.cwd + "'").c_str()));
}
} // namespace
