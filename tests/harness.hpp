// harness.hpp: running the programs as processes and comparing what they
// write (traces byte for byte, pictures pixel for pixel) with expectations
// that the tests build themselves.
#pragma once
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
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
    std::vector<std::string> env;      // NAME=value entries added to the environment
    std::string cwd;                   // working directory, if not the test's
    const char *stdout_path = nullptr; // standard output to this file instead
    double timeout_seconds = 120;
};

ProgramRun run_program(const std::string &path, const RunOptions &options);
ProgramRun run_program(const std::string &path, const std::string &input = "");

// A console program run to its end: it must end within half a minute with
// status 0 and nothing on standard error. With `input` empty, standard input
// is at end of file at once, so every pause returns immediately.
ProgramRun run_to_end(const std::string &path, const std::string &input = "",
                      const std::vector<std::string> &args = {});

// The tests' own primality check, independent of the programs' sieve and
// trial division: divisors up to the square root.
bool prime_by_trial_division(long n);

// b^e mod m (m >= 1) from the highest bit of e down, with 128-bit products:
// independent of the programs' powering, for any 64-bit numbers.
uint64_t power_reference(uint64_t b, uint64_t e, uint64_t m);

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
