// The command line. First the parser itself, in this process, on a sample
// program's declarations: values, faults, their order, the usage, and the
// error line. Then every program of the registry as a process: its usage,
// its refusals (one line on standard error, status 2), the ranges it
// declares, a usage that cannot be written, and what its worked example
// shows, worked out here by references of the test's own.
#include "catalogue.hpp"
#include "console/identity.hpp"
#include "console/parameters.hpp"
#include "harness.hpp"
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <queue>
#include <set>
#include <sstream>

// The sample program's identity, as the registry would generate it.
const char program_name[] = "sample";
const char program_description[] = "A sample of the command line";
const char program_example[] = "13 7";

void PrintTo(const CatalogueEntry &entry, std::ostream *os)
{
    *os << entry.name;
}

namespace
{

// Parameters read from `args` as the program ./sample would be started.
struct Sample {
    std::vector<std::string> words;
    std::vector<char *> argv;
    Parameters parameters;

    explicit Sample(std::vector<std::string> args) : words(std::move(args)), parameters(start())
    {
    }
    Parameters start()
    {
        words.insert(words.begin(), "./sample");
        for (std::string &w : words)
            argv.push_back(&w[0]);
        return Parameters(static_cast<int>(argv.size()), argv.data());
    }
};

// The sample declares n, odd from 5 to 99 (built-in 9), then offset, from 1
// to 100 - 5n (built-in 41): from n = 13 on, the built-in offset no longer
// fits and must be given.
struct Read {
    long long n, offset;
};
Read declare(Parameters &p)
{
    long long n = p.integer({.name = "n",
                             .meaning = "an odd number",
                             .builtin = 9,
                             .low = 5,
                             .high = 99,
                             .range = "n odd, 5 <= n <= 99",
                             .odd = true});
    long long offset = p.integer({.name = "offset",
                                  .meaning = "a shift",
                                  .builtin = 41,
                                  .low = 1,
                                  .high = 100 - 5 * n,
                                  .range = "1 <= offset <= 100 - 5n",
                                  .builtin_text = "41, when it fits"});
    return {n, offset};
}

std::string refusal(const std::string &message)
{
    return "sample: " + message + " (./sample --help shows the usage)";
}

// Rows: the arguments, the values read (faulty ones read as built-in) and
// the fault ("" when the run goes ahead). The count of arguments is checked
// first, then the first fault in order; a parameter at fault reads as its
// built-in value, and later ranges follow from that.
TEST(Parameters, ReadsValuesAndReportsTheFirstFault)
{
    const std::string n_range = "n must be an integer from 5 to 99, not ";
    const struct {
        std::vector<std::string> args;
        Read read;
        std::string fault;
    } rows[] = {
        {{}, {9, 41}, ""},
        {{"13", "7"}, {13, 7}, ""},
        {{"007", "-0"}, {7, 41}, "offset must be an integer from 1 to 65, not \"-0\""},
        {{"13"}, {13, 41}, "offset must be given when n is 13: an integer from 1 to 35 (the built-in value 41 is not)"},
        {{"10"}, {9, 41}, "n must be an odd integer from 5 to 99, not \"10\""},
        {{"10", "0"}, {9, 41}, "n must be an odd integer from 5 to 99, not \"10\""},
        {{"9", "56"}, {9, 41}, "offset must be an integer from 1 to 55, not \"56\""},
        {{"3"}, {9, 41}, n_range + "\"3\""},
        {{"abc"}, {9, 41}, n_range + "\"abc\""},
        {{"+5"}, {9, 41}, n_range + "\"+5\""},
        {{"12x"}, {9, 41}, n_range + "\"12x\""},
        {{""}, {9, 41}, n_range + "\"\""},
        {{"-"}, {9, 41}, n_range + "\"-\""},
        {{"99999999999999999999"}, {9, 41}, n_range + "\"99999999999999999999\""},
        {{"-9223372036854775808"}, {9, 41}, n_range + "\"-9223372036854775808\""},
        // Shown escaped: one line, and no control sequence for the terminal.
        {{"1\n2"}, {9, 41}, n_range + "\"1\\n2\""},
        {{"\x1b[31mred"}, {9, 41}, n_range + "\"\\x1b[31mred\""},
        {{"a\"b\\\t\xc3\xa9"}, {9, 41}, n_range + "\"a\\\"b\\\\\\t\\xc3\\xa9\""},
        {{"1", "2", "3"}, {9, 2}, "too many arguments (3): it takes at most 2: n and offset"},
    };
    for (const auto &row : rows) {
        Sample sample(row.args);
        Read read = declare(sample.parameters);
        std::string line = row.args.empty() ? "" : row.args[0];
        EXPECT_EQ(row.read.n, read.n) << line;
        EXPECT_EQ(row.read.offset, read.offset) << line;
        EXPECT_EQ(row.fault.empty(), sample.parameters.ready()) << line;
        EXPECT_EQ(row.fault.empty() ? "" : refusal(row.fault), sample.parameters.error()) << line;
    }
}

// The 64-bit edges, where the magnitude of -2^63 exceeds the largest value.
TEST(Parameters, ReadsEvery64BitValue)
{
    const struct {
        const char *text;
        long long value;
        bool accepted;
    } rows[] = {
        {"-9223372036854775808", LLONG_MIN, true},  {"9223372036854775807", LLONG_MAX, true},
        {"-9223372036854775809", 0, false},         {"9223372036854775808", 0, false},
        {"18446744073709551616", 0, false},         {"-0", 0, true},
    };
    for (const auto &row : rows) {
        Sample sample({row.text});
        long long value = sample.parameters.integer(
            {.name = "x", .meaning = "any", .builtin = 0, .low = LLONG_MIN, .high = LLONG_MAX});
        EXPECT_EQ(row.accepted, sample.parameters.ready()) << row.text;
        EXPECT_EQ(row.value, value) << row.text;
    }
}

// --help (or -h) anywhere asks for the usage; nothing is then at fault.
TEST(Parameters, ShowsTheUsageOnRequest)
{
    const std::string usage = "usage: sample [n [offset]]\n"
                              "A sample of the command line\n"
                              "  n       an odd number; n odd, 5 <= n <= 99; built-in 9\n"
                              "  offset  a shift; 1 <= offset <= 100 - 5n; built-in: 41, when it fits\n"
                              "example: sample 13 7\n";
    for (std::vector<std::string> args : {std::vector<std::string>{"--help"}, {"13", "-h"}, {"x", "y", "z", "--help"}}) {
        Sample sample(args);
        Read read = declare(sample.parameters);
        EXPECT_FALSE(sample.parameters.ready());
        EXPECT_EQ("", sample.parameters.error());
        EXPECT_EQ(usage, sample.parameters.usage());
        EXPECT_EQ(9, read.n) << "a value read while the usage is shown";
    }
    Sample none({"--help"});
    EXPECT_EQ("usage: sample\nA sample of the command line\nIt takes no parameters.\nexample: sample 13 7\n",
              none.parameters.usage());
}

// The hint names the launcher's command when it gives one, else the program
// as it was started.
TEST(Parameters, TheHintNamesTheCommandAsTyped)
{
    const struct {
        const char *launcher; // SUITE_COMMAND, or nullptr when unset
        const char *shown;
    } rows[] = {{"./demo sample", "./demo sample"}, {"sample", "sample"}, {"", "./sample"}, {nullptr, "./sample"}};
    for (const auto &row : rows) {
        if (row.launcher)
            setenv("SUITE_COMMAND", row.launcher, 1);
        else
            unsetenv("SUITE_COMMAND");
        Sample sample({"1", "2", "3"});
        declare(sample.parameters);
        EXPECT_EQ(std::string("sample: too many arguments (3): it takes at most 2: n and offset (") + row.shown +
                      " --help shows the usage)",
                  sample.parameters.error());
    }
    unsetenv("SUITE_COMMAND");
}

// ---------------------------------------------------------------------------
// The programs of the registry.

std::vector<std::string> words_of(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool is_picture(const char *name)
{
    for (const CatalogueEntry &entry : catalogue)
        if (std::string(entry.name) == name)
            return std::string(entry.kind) == "picture";
    return false;
}

// The program itself, or for a picture its capture variant, which needs no
// display (the run is in a scratch folder, so its pictures land there).
ProgramRun run_with(const std::string &name, const std::vector<std::string> &args, const char *stdout_path = nullptr)
{
    RunOptions options;
    options.args = args;
    options.env = {"SDL_VIDEODRIVER=dummy", "SUITE_COMMAND"};
    options.cwd = make_temp_dir();
    options.stdout_path = stdout_path;
    options.timeout_seconds = 60;
    ProgramRun run = run_program((is_picture(name.c_str()) ? SUITE_CAPTURE_DIR "/" : SUITE_BIN_DIR "/") + name, options);
    std::string remove = "rm -rf '" + options.cwd + "'";
    if (system(remove.c_str()) != 0)
        ADD_FAILURE() << "cannot remove " << options.cwd;
    return run;
}

// The parameter names, from the usage's lines "  NAME  meaning; range; built-in".
std::vector<std::string> parameters_of(const std::string &usage)
{
    std::vector<std::string> names;
    for (const std::string &line : text_lines(usage))
        if (line.compare(0, 2, "  ") == 0 && line.find("; built-in") != std::string::npos)
            names.push_back(words_of(line)[0]);
    return names;
}

class CommandLine : public ::testing::TestWithParam<CatalogueEntry>
{
};

std::string entry_name(const ::testing::TestParamInfo<CatalogueEntry> &info)
{
    return info.param.name;
}

// The usage: "usage: NAME [a [b]]", the line on what the program shows, one
// line per parameter, and the example when there are parameters; asked for
// with the output on a full disk, a message and status 1. A fault: nothing
// on standard output, one line on standard error that names the program,
// the parameter at fault with its range, and the program as it was started
// for the usage; status 2.
TEST_P(CommandLine, ShowsTheUsageAndRefusesBadInput)
{
    const CatalogueEntry &entry = GetParam();
    ProgramRun run = run_with(entry.name, {"--help"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    std::vector<std::string> lines = text_lines(run.out);
    ASSERT_GE(lines.size(), 2u) << run.out;
    EXPECT_EQ(entry.description, lines[1]);
    std::vector<std::string> names = parameters_of(run.out);
    std::string synopsis;
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        synopsis = " [" + *name + synopsis + "]";
    EXPECT_EQ(std::string("usage: ") + entry.name + synopsis, lines[0]);
    bool has_example = entry.example[0] != '\0';
    EXPECT_EQ(!names.empty(), has_example) << "parameters and a worked example go together";
    if (has_example) {
        std::string example = std::string("example: ") + entry.name + " " + entry.example;
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), example)) << run.out;
    }

    ProgramRun full = run_with(entry.name, {"--help"}, "/dev/full");
    EXPECT_EQ(1, full.status);
    EXPECT_EQ(std::string(entry.name) + ": the trace could not be written in full: No space left on device\n",
              full.err);

    std::string path = (is_picture(entry.name) ? SUITE_CAPTURE_DIR "/" : SUITE_BIN_DIR "/") + std::string(entry.name);
    for (const std::vector<std::string> &args : {std::vector<std::string>{"abc"}, std::vector<std::string>(9, "7")}) {
        ProgramRun refused = run_with(entry.name, args);
        EXPECT_EQ(2, refused.status) << refused.err;
        EXPECT_EQ("", refused.out);
        std::string expected = args.size() > 1 || names.empty()
                                   ? "too many arguments (" + std::to_string(args.size()) + "): it takes "
                                   : names[0] + " must be an integer from ";
        std::string hint = " (" + path + " --help shows the usage)\n";
        EXPECT_EQ(0u, refused.err.find(std::string(entry.name) + ": " + expected)) << refused.err;
        EXPECT_EQ(refused.err.size() - hint.size(), refused.err.rfind(hint)) << refused.err;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, CommandLine, ::testing::ValuesIn(catalogue), entry_name);

// The ranges that each program declares, at their edges, and its own rules
// (odd numbers, a built-in value that no longer fits).
TEST(CommandLines, RefuseNumbersOutsideTheirRanges)
{
    const struct {
        const char *program;
        std::vector<std::string> args;
        const char *message;
    } rows[] = {
        {"cycle_floyd", {"1"}, "m must be an integer from 2 to 46340, not \"1\""},
        {"cycle_three_methods", {"46341"}, "m must be an integer from 2 to 46340, not \"46341\""},
        {"cycle_doubling_search", {"101", "101"}, "u0 must be an integer from 0 to 100, not \"101\""},
        {"cycle_three_methods", {"101", "-1"}, "u1 must be an integer from 0 to 100, not \"-1\""},
        {"pminus1_prime_powers", {"3"}, "n must be an integer from 4 to 2147483647, not \"3\""},
        {"pminus1_prime_powers", {"8051", "1000001"}, "bound must be an integer from 2 to 1000000"},
        {"pminus1_random_base", {"8051", "4294967296"}, "seed must be an integer from 0 to 4294967295"},
        {"rho_floyd", {"8051", "8051"}, "start must be an integer from 0 to 8050, not \"8051\""},
        {"rho_factor_16019", {"2147483648"}, "n must be an integer from 4 to 2147483647"},
        {"rho_factor_16019", {"8051", "1"}, "p must be an integer from 2 to 1000000, not \"1\""},
        {"difference_of_squares_walk", {"8051000"}, "N must be an odd integer from 3 to 4611686018427387903"},
        {"difference_of_squares_walk", {"4611686018427387905"}, "N must be an integer from 3 to 4611686018427387903"},
        {"prime_listing", {"1"}, "limit must be an integer from 2 to 10000000, not \"1\""},
        {"prime_listing_compacted", {"10000001"}, "limit must be an integer from 2 to 10000000"},
        {"prime_proportion", {"1"}, "limit must be an integer from 2 to 10000000"},
        {"pseudoprimes_bases_2_3_5", {"2"}, "limit must be an integer from 3 to 10000000"},
        {"strong_pseudoprimes_base_2", {"3"}, "limit must be an integer from 4 to 10000000"},
        {"strong_test_odd_below_100", {"1000001"}, "limit must be an integer from 4 to 1000000"},
        {"strong_test_trace_1729", {"3"}, "n must be an integer from 5 to 2147483647, not \"3\""},
        {"strong_test_trace_1729", {"1000"}, "n must be an odd integer from 5 to 2147483647, not \"1000\""},
        {"strong_test_trace_1729", {"561", "560"}, "a must be an integer from 2 to 559, not \"560\""},
        {"strong_test_trace_1729", {"561", "1"}, "a must be an integer from 2 to 559, not \"1\""},
        // Every value n*n + b*n + c for n = 0 .. 40 within 0 .. 10000: for
        // b = -79 the least value is -1560 (n = 39 and 40).
        {"spiral_coordinates_console", {"-291"}, "b must be an integer from -290 to 210, not \"-291\""},
        {"spiral_coordinates_console", {"211", "0"}, "b must be an integer from -290 to 210, not \"211\""},
        {"spiral_coordinates_console", {"-79", "1559"}, "c must be an integer from 1560 to 10000, not \"1559\""},
        {"spiral_coordinates_console", {"-79", "10001"}, "c must be an integer from 1560 to 10000"},
        {"spiral_coordinates_console",
         {"-79"},
         "c must be given when b is -79: an integer from 1560 to 10000 (the built-in value 41 is not)"},
    };
    for (const auto &row : rows) {
        ProgramRun run = run_with(row.program, row.args);
        EXPECT_EQ(2, run.status) << row.program << " " << row.args[0];
        EXPECT_EQ("", run.out) << row.program;
        EXPECT_NE(std::string::npos, run.err.find(row.message)) << row.program << ": " << run.err;
    }
}

// ---------------------------------------------------------------------------
// The worked examples, and what each shows.

// The entry index (the tail's length) and the period of u -> u*u + 1
// (mod m) from u(0) = start, by recording where each value first appears.
std::pair<long, long> tail_and_period(long m, long start)
{
    std::vector<long> seen_at(m, -1);
    long i = 0, u = start;
    for (; seen_at[u] < 0; i++, u = (u * u + 1) % m)
        seen_at[u] = i;
    return {seen_at[u], i - seen_at[u]};
}

// The last number in a text.
long long last_number(const std::string &text)
{
    size_t end = text.find_last_of("0123456789"), start = text.find_last_not_of("0123456789", end);
    return end == std::string::npos ? 0 : atoll(text.c_str() + (start == std::string::npos ? 0 : start + 1));
}

bool proper_divisor(long long d, long long n)
{
    return d > 1 && d < n && n % d == 0;
}

long primes_up_to(long n)
{
    long count = 0;
    for (long k = 2; k <= n; k++)
        count += prime_by_trial_division(k);
    return count;
}

// The Gaussian primes linked to a + bi by the walk's steps (8: Chebyshev
// distance 1; 12: length at most 2; 24: Chebyshev distance at most 2) among
// those the picture plots: |a|, |b| <= bound, centre (400 + a*s, 300 - b*s)
// in the window. Returns their number and the largest norm.
std::pair<long, long> component(int steps, int scale, int bound, int a, int b)
{
    auto plotted = [&](int x, int y) {
        long q = std::abs(x) + std::abs(y), norm = static_cast<long>(x) * x + static_cast<long>(y) * y;
        bool prime = x != 0 && y != 0 ? prime_by_trial_division(norm) : q % 4 == 3 && prime_by_trial_division(q);
        return prime && std::abs(x) <= bound && std::abs(y) <= bound && 400 + x * scale >= 0 &&
               400 + x * scale <= 799 && 300 - y * scale >= 0 && 300 - y * scale <= 599;
    };
    std::set<std::pair<int, int>> seen{{a, b}};
    std::queue<std::pair<int, int>> next;
    next.push({a, b});
    long largest = 0;
    while (!next.empty()) {
        auto [x, y] = next.front();
        next.pop();
        largest = std::max(largest, static_cast<long>(x) * x + static_cast<long>(y) * y);
        for (int dx = -2; dx <= 2; dx++)
            for (int dy = -2; dy <= 2; dy++) {
                int reach = steps == 8 ? std::max(std::abs(dx), std::abs(dy)) <= 1
                                       : steps == 12 ? dx * dx + dy * dy <= 4 : 1;
                if ((dx || dy) && reach && plotted(x + dx, y + dy) && seen.insert({x + dx, y + dy}).second)
                    next.push({x + dx, y + dy});
            }
    }
    return {static_cast<long>(seen.size()), largest};
}

// What the worked example of `name` is about, as a check of its output.
::testing::AssertionResult shows_its_example(const std::string &name, const std::vector<long long> &a,
                                             const std::string &out)
{
    auto contains = [&](std::initializer_list<std::string> texts) {
        for (const std::string &t : texts)
            if (out.find(t) == std::string::npos)
                return ::testing::AssertionFailure() << "no \"" << t << "\"";
        return ::testing::AssertionSuccess();
    };
    if (name.find("cycle_") == 0) {
        auto [tail, period] = tail_and_period(a[0], a[1]);
        if (name == "cycle_three_methods") // terms numbered from u(1)
            return contains({"Periode = " + std::to_string(period) + "  Indice d'entree = " + std::to_string(tail + 1)});
        if (name == "cycle_doubling_search")
            return contains({"Periode = " + std::to_string(period) + "   Indice d'entree = " + std::to_string(tail)});
        // Floyd: the least period, found by one more lap after the meeting.
        return contains({"periode = " + std::to_string(period)});
    }
    if (name == "rho_factor_16019") { // the walk from 1, modulo the divisor found
        size_t at = out.find("**** ");
        long long d = at == std::string::npos ? 0 : atoll(out.c_str() + at + 5);
        if (!proper_divisor(d, a[0]))
            return ::testing::AssertionFailure() << d << " divides no " << a[0];
        auto [d_tail, d_period] = tail_and_period(d, 1);
        return contains({"T=" + std::to_string(d_period) + " ****\nIndice d'entr\xe9" "e= " +
                        std::to_string(d_tail + 1)});
    }
    if (name.find("pminus1") == 0 || name == "rho_floyd" || name == "difference_of_squares_walk")
        return proper_divisor(last_number(out), a[0]) ? ::testing::AssertionSuccess()
                                                     : ::testing::AssertionFailure() << "ends on " << last_number(out);
    if (name == "prime_listing" || name == "prime_listing_compacted")
        return contains({(name == "prime_listing" ? "*** Nombre = " : "*** Nombre =") + std::to_string(primes_up_to(a[0])) +
                         " \n"});
    if (name == "prime_proportion") {
        // The count, its share of the numbers, and 1/ln(limit) beside it.
        char proportions[120];
        long count = primes_up_to(a[0]);
        snprintf(proportions, sizeof proportions,
                 "Nombre =%ld \n\n Proportion de premiers = %.3f\n Proportion theorique de premiers = %.3f", count,
                 count / static_cast<double>(a[0]), 1 / (std::log(10.0) * std::log10(static_cast<double>(a[0]))));
        return contains({proportions});
    }
    if (name == "pseudoprimes_bases_2_3_5") { // composites passing base 2, then 3, then 5
        long counts[3] = {0, 0, 0};
        for (long n = 3; n <= a[0]; n++)
            if (power_reference(2, n - 1, n) == 1 && !prime_by_trial_division(n)) {
                counts[0]++;
                counts[1] += power_reference(3, n - 1, n) == 1;
                counts[2] += power_reference(3, n - 1, n) == 1 && power_reference(5, n - 1, n) == 1;
            }
        return contains({"avec 2 = " + std::to_string(counts[0]) + "\n", "avec 2 et 3 = " + std::to_string(counts[1]) + "\n",
                         "avec 2, 3 et 5 = " + std::to_string(counts[2]) + "\n"});
    }
    if (name == "strong_pseudoprimes_base_2" || name == "strong_test_odd_below_100") {
        // The composites that pass; in the second program, those marked FPP.
        std::vector<long long> expected, listed;
        for (long n = 3; n < a[0]; n += 2) // a strong probable prime passes Fermat's test first
            if (power_reference(2, n - 1, n) == 1 && strong_probable_prime(n, 2) && !prime_by_trial_division(n))
                expected.push_back(n);
        std::istringstream words(out);
        long long previous = 0;
        for (std::string word; words >> word;) {
            bool marked = word == "FPP" && !prime_by_trial_division(previous);
            if (name == "strong_test_odd_below_100" ? marked : isdigit(static_cast<unsigned char>(word[0])) != 0)
                listed.push_back(name == "strong_test_odd_below_100" ? previous : atoll(word.c_str()));
            previous = atoll(word.c_str());
        }
        if (listed == expected)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << listed.size() << " listed, " << expected.size() << " expected";
    }
    if (name == "strong_test_trace_1729")
        return contains({" " + std::to_string(a[0]) + (strong_probable_prime(a[0], 2) ? " FPP " : " non premier ")});
    if (name == "spiral_coordinates_console" || name == "ulam_spiral_plot") {
        // The values looked up, and which of them are prime.
        int last = name == "ulam_spiral_plot" ? 39 : 40, primes = 0;
        for (long long n = 0; n <= last; n++)
            primes += prime_by_trial_division(n * n + a[0] * n + a[1]);
        if (name == "ulam_spiral_plot")
            return primes == 40 ? contains({"for n = 0 to 39 in red; a black blot would be a composite"})
                                : contains({std::to_string(primes) + " of them prime"});
        size_t found = 0;
        for (long long n = 0; n <= last; n++) {
            std::string v = std::to_string(n * n + a[0] * n + a[1]);
            found += out.find(" (" + v + " " + v + ")") != std::string::npos;
        }
        return found == static_cast<size_t>(primes) ? ::testing::AssertionSuccess()
                                                    : ::testing::AssertionFailure() << found << " primes found";
    }
    if (name.find("gaussian_walk_") == 0) {
        int steps = atoi(name.c_str() + 14);
        auto [reached, norm] = steps == 8    ? component(8, 12, 54, a[0], a[1])
                               : steps == 12 ? component(12, 6, 49, a[0], a[1])
                                             : component(24, 3, 119, a[0], a[1]);
        long radius = static_cast<long>(std::sqrt(static_cast<double>(norm))) + 1;
        return contains({"the " + std::to_string(reached) + " primes that the " + std::to_string(steps) +
                             " steps reach from ",
                         "inside the circle of radius " + std::to_string(radius) + "\n"});
    }
    return ::testing::AssertionFailure() << "no check for the example of " << name;
}

class WorkedExample : public CommandLine
{
};

// The registry's worked example runs to its end, quietly on standard error,
// and shows what it is there for.
TEST_P(WorkedExample, ShowsWhatItIsAbout)
{
    const CatalogueEntry &entry = GetParam();
    std::vector<std::string> words = words_of(entry.example);
    ProgramRun run = run_with(entry.name, words);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    std::vector<long long> numbers;
    for (const std::string &word : words)
        numbers.push_back(atoll(word.c_str()));
    EXPECT_TRUE(shows_its_example(entry.name, numbers, run.out));
}

std::vector<CatalogueEntry> with_example()
{
    std::vector<CatalogueEntry> entries;
    for (const CatalogueEntry &entry : catalogue)
        if (entry.example[0] != '\0')
            entries.push_back(entry);
    return entries;
}

INSTANTIATE_TEST_SUITE_P(EveryProgramWithParameters, WorkedExample, ::testing::ValuesIn(with_example()), entry_name);

} // namespace
