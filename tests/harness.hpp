// harness.hpp: running the programs as processes and comparing what they
// write (traces byte for byte, pictures pixel for pixel) with expectations
// that the tests build themselves.
#pragma once
#include "references.hpp"
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/types.h>
#include <termios.h>
#include <vector>

// Paths of the built programs and of their capture variants.
#define PROGRAM(name) (std::string(SUITE_BIN_DIR "/") + #name)
#define CAPTURE(name) (std::string(SUITE_CAPTURE_DIR "/") + #name)

struct ProgramRun {
    int status = -1;       // exit status, or 128 + signal number
    bool timed_out = false;
    std::string out, err;  // standard output and standard error, as bytes
};

struct RunOptions {
    std::string input;                 // written to standard input, then closed
    std::vector<std::string> args;     // command-line arguments after the name
    std::vector<std::string> env;      // "NAME=value" set, "NAME" alone removed
    std::string cwd;                   // working directory, if not the test's
    const char *stdout_path = nullptr; // standard output to this file instead
    double timeout_seconds = 120;
    bool keep_input_open = false;      // Process: standard input stays open after `input`
    bool merge_error = false;          // standard error onto the standard output pipe
    std::vector<int> closed;           // standard descriptors (0, 1, 2) the program starts without
};

// A program started in the background, with the signals as a shell leaves
// them to its jobs. This side feeds its standard input and reads its
// standard output and error as they come; `out` and `err` hold what came.
class Process
{
  public:
    Process(const std::string &path, const RunOptions &options = {});
    ~Process(); // a program still running is killed
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    pid_t pid() const { return child; }
    void write_input(const std::string &text);
    void close_input();
    void signal(int sig);

    // Reads until `text` appears in standard output (true), or until
    // `seconds` pass or the output ends (false).
    bool wait_for(const std::string &text, double seconds = 30);

    // Reads until the program has ended and returns its status (128 + the
    // signal if killed), or -1 if it still runs after `seconds`.
    int wait_end(double seconds = 30);

    std::string out, err;

  private:
    bool pump(double deadline);
    pid_t child = -1;
    int status = -1;
    int input = -1, output = -1, error = -1;
    std::string pending; // input not yet written
    bool keep_input = false;
};

// Runs a program to its end (killed after the timeout) and returns what it wrote.
ProgramRun run_program(const std::string &path, const RunOptions &options);
ProgramRun run_program(const std::string &path, const std::string &input = "");

// How a program is started on a pseudo-terminal.
struct TerminalOptions {
    std::vector<std::string> args; // command-line arguments after the path
    std::vector<std::string> env;  // "NAME=value" set, "NAME" alone removed
    bool echo = true;              // false: keys not echoed, "\n" not written as "\r\n"
    bool ignore_interrupt = false; // started with SIGINT ignored
    bool job_control = false;      // started as a shell starts a job, so that
                                   // Ctrl-Z suspends it and resume() continues it
};

// A program on a pseudo-terminal of its own (80 columns, 24 rows), as on a
// user's terminal: its controlling terminal and its standard input, output
// and error. This side types keys and reads what the terminal shows.
class PseudoTerminal
{
  public:
    PseudoTerminal(const std::string &path, const TerminalOptions &options = {});
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    void type(const std::string &keys);

    // Reads until `text` appears after what earlier waits took; returns the
    // output from there up to and including `text` (empty, with a failure,
    // if it does not come within `seconds`).
    std::string wait_for(const std::string &text, double seconds = 30);

    // Whatever comes during `seconds` after what earlier waits took.
    std::string read_for(double seconds);

    // The terminal's settings now.
    termios settings() const;

    // Waits until the program reads single keys, without line editing.
    bool wait_for_key_mode(double seconds = 10);

    // The exit status (128 + signal number if killed), or -1 if the program
    // is still running after `seconds`. The output keeps being read.
    int wait_end(double seconds = 30);

    // With job control: types Ctrl-Z and waits until the program has
    // stopped; `at_stop` receives the terminal's settings at that moment,
    // before the shell puts back its own (canonical, with echo). Then
    // resume() continues the program in the foreground, as "fg" does.
    bool suspend(termios &at_stop, double seconds = 10);
    void resume();

    std::string output; // everything the terminal showed
    size_t cursor = 0;  // where the next wait starts looking

  private:
    bool read_some(double deadline);
    pid_t pid = -1;          // the program, or the shell that started it
    pid_t job = -1;          // with job control: the program's process group
    int master = -1, slave = -1;
    int control = -1, report = -1; // pipes to and from the shell
};

// A console program run to its end: it must end within half a minute with
// status 0 and nothing on standard error. With `input` empty, standard input
// is at end of file at once, so every pause returns immediately.
ProgramRun run_to_end(const std::string &path, const std::string &input = "",
                      const std::vector<std::string> &args = {});

// Byte comparison; on failure names the first differing line, numbered, in
// both versions (bytes outside printable ASCII shown as \xNN).
::testing::AssertionResult transcripts_equal(const std::string &expected, const std::string &actual);
#define EXPECT_TRANSCRIPT(expected, actual) EXPECT_TRUE(transcripts_equal((expected), (actual)))

// A picture as 0xRRGGBB values, row after row.
struct Picture {
    int width = 800, height = 600;
    std::vector<uint32_t> rgb = std::vector<uint32_t>(800 * 600, 0xFFFFFF);
    uint32_t at(int x, int y) const { return rgb[x + y * width]; }
    void set(int x, int y, uint32_t colour) { rgb[x + y * width] = colour; }
    bool inside(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    long count(uint32_t colour) const;
};

Picture read_png(const std::string &path);
void write_png(const std::string &path, const Picture &picture);

// Runs a capture variant in a fresh directory (with the font beside it) and
// returns its stages in order, or fails the test if it did not end cleanly.
// `args` go on its command line; its standard output (the stage captions)
// is left in *out when given.
std::vector<Picture> capture_stages(const std::string &capture_path, const std::vector<std::string> &args = {},
                                    std::string *out = nullptr);

// Every pixel compared; on failure reports how many differ and the first
// (x, y) with both colours, and writes both pictures to the test's temp dir.
::testing::AssertionResult pictures_equal(const Picture &expected, const Picture &actual);
#define EXPECT_PICTURE(expected, actual) EXPECT_TRUE(pictures_equal((expected), (actual)))

// A fresh empty directory under the system's temporary directory.
std::string make_temp_dir();

// A run's --json output: whether every line is one object of names and
// values (whole numbers, texts, null, lists of whole numbers), the whole
// numbers it holds, and the fields of its last line, the result.
struct JsonLines {
    explicit JsonLines(const std::string &out);
    std::string bad_line; // the first line that is no such object, or ""
    std::set<std::string> numbers;
    std::string last;
    // The text of a field of the last line ("83", "null", "\"prime\""), or "".
    std::string field(const char *name) const;
};

// The lines of a text, without their newlines.
std::vector<std::string> text_lines(const std::string &text);

// The whole numbers written in a text (a trace), as written: "-1", "10403".
std::vector<std::string> whole_numbers(const std::string &text);
