// The command line of every program of the registry: the usage on --help,
// one line on standard error and status 2 for each kind of bad input, and a
// clean run of the registry's worked example.
#include "catalogue.hpp"
#include "harness.hpp"
#include <cstdlib>
#include <sstream>

void PrintTo(const CatalogueEntry &entry, std::ostream *os)
{
    *os << entry.name;
}

namespace
{

std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> words_of(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The program itself, or for a picture its capture variant, which needs no
// display (the test runs from a scratch folder, so its pictures land there).
std::string path_of(const CatalogueEntry &entry)
{
    bool picture = std::string(entry.kind) == "picture";
    return std::string(picture ? SUITE_CAPTURE_DIR : SUITE_BIN_DIR) + "/" + entry.name;
}

ProgramRun run_with(const CatalogueEntry &entry, const std::vector<std::string> &args)
{
    RunOptions options;
    options.args = args;
    options.env = {"SDL_VIDEODRIVER=dummy"};
    options.cwd = make_temp_dir();
    options.timeout_seconds = 60;
    ProgramRun run = run_program(path_of(entry), options);
    std::string remove = "rm -rf '" + options.cwd + "'";
    if (system(remove.c_str()) != 0)
        ADD_FAILURE() << "cannot remove " << options.cwd;
    return run;
}

// The parameter names, from the usage's lines "  NAME  meaning; range; built-in".
std::vector<std::string> parameters_of(const std::string &usage)
{
    std::vector<std::string> names;
    for (const std::string &line : lines_of(usage))
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
// line per parameter, and the example when there are parameters.
TEST_P(CommandLine, HelpShowsTheUsage)
{
    const CatalogueEntry &entry = GetParam();
    for (const char *flag : {"--help", "-h"}) {
        ProgramRun run = run_with(entry, {flag});
        EXPECT_EQ(0, run.status) << flag << ": " << run.err;
        EXPECT_EQ("", run.err);
        std::vector<std::string> lines = lines_of(run.out);
        ASSERT_GE(lines.size(), 2u) << run.out;
        EXPECT_EQ(0u, lines[0].rfind(std::string("usage: ") + entry.name, 0)) << lines[0];
        EXPECT_NE(std::string::npos, run.out.find(entry.description)) << run.out;

        std::vector<std::string> names = parameters_of(run.out);
        std::string synopsis;
        for (auto name = names.rbegin(); name != names.rend(); ++name)
            synopsis = " [" + *name + synopsis + "]";
        EXPECT_EQ(std::string("usage: ") + entry.name + synopsis, lines[0]);
        bool has_example = entry.example[0] != '\0';
        EXPECT_EQ(!names.empty(), has_example) << "parameters and a worked example go together";
        if (has_example) {
            std::string example = std::string("\nexample: ") + entry.name + " " + entry.example + "\n";
            EXPECT_NE(std::string::npos, run.out.find(example)) << run.out;
        }
    }
}

// Each kind of fault: nothing on standard output, one line on standard error
// that names the program and the parameter at fault with its range, status 2.
TEST_P(CommandLine, RefusesBadInputInOneLine)
{
    const CatalogueEntry &entry = GetParam();
    std::vector<std::string> names = parameters_of(run_with(entry, {"--help"}).out);
    struct Fault {
        const char *kind;
        std::vector<std::string> args;
    } faults[] = {
        {"not a decimal integer", {"abc"}},
        {"a sign of its own", {"+5"}},
        {"trailing characters", {"12x"}},
        {"an empty argument", {""}},
        {"beyond 64 bits", {"99999999999999999999"}},
        {"far below every range", {"-99999999999999999999"}},
        {"too many arguments", std::vector<std::string>(9, "7")},
    };
    for (const Fault &fault : faults) {
        SCOPED_TRACE(fault.kind);
        ProgramRun run = run_with(entry, fault.args);
        EXPECT_EQ(2, run.status) << run.err;
        EXPECT_EQ("", run.out);
        std::vector<std::string> lines = lines_of(run.err);
        ASSERT_EQ(1u, lines.size()) << run.err;
        EXPECT_EQ(0u, lines[0].rfind(std::string(entry.name) + ": ", 0)) << lines[0];
        bool too_many = fault.args.size() > 1 || names.empty();
        if (too_many) {
            EXPECT_NE(std::string::npos, lines[0].find("too many arguments")) << lines[0];
        } else {
            EXPECT_NE(std::string::npos, lines[0].find(": " + names[0] + " must be an integer from ")) << lines[0];
            EXPECT_NE(std::string::npos, lines[0].find("\"" + fault.args[0] + "\"")) << lines[0];
        }
    }
}

class WorkedExample : public CommandLine
{
};

// The registry's worked example runs to its end, quietly on standard error.
TEST_P(WorkedExample, RunsToItsEnd)
{
    const CatalogueEntry &entry = GetParam();
    ProgramRun run = run_with(entry, words_of(entry.example));
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_NE("", run.out);
}

std::vector<CatalogueEntry> with_example()
{
    std::vector<CatalogueEntry> entries;
    for (const CatalogueEntry &entry : catalogue)
        if (entry.example[0] != '\0')
            entries.push_back(entry);
    return entries;
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, CommandLine, ::testing::ValuesIn(catalogue), entry_name);
INSTANTIATE_TEST_SUITE_P(EveryProgramWithParameters, WorkedExample, ::testing::ValuesIn(with_example()), entry_name);

} // namespace
