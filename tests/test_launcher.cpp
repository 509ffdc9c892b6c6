// The launcher, demo, as a user meets it: its menu driven through a
// pseudo-terminal, and its list, its refusal to open a window without a
// display and its answer to an unknown name through plain pipes. demo is
// pointed at the build this test belongs to (SUITE_BUILD_DIR) and told not
// to install or build anything (SUITE_NO_BUILD), so only the launcher itself
// is exercised. The expected lists come from the registry (catalogue.hpp);
// the expected traces are the programs' documented transcripts.
#include "catalogue.hpp"
#include "harness.hpp"
#include <cerrno>
#include <csignal>
#include <cstring>
#include <map>
#include <poll.h>
#include <pty.h>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace
{

const std::string demo = SUITE_SOURCE_DIR "/demo";
const int program_count = sizeof catalogue / sizeof catalogue[0];

// The menu's question ends with this; the menu is waiting for a choice once
// it has appeared.
const std::string prompt = "(q to leave): ";

const double patience_seconds = 30;

// The build directory: the parent of bin/, where catalogue.tsv also lives.
std::string build_dir()
{
    std::string bin = SUITE_BIN_DIR;
    return bin.substr(0, bin.rfind('/'));
}

const CatalogueEntry *find_entry(const std::string &name)
{
    for (const CatalogueEntry &e : catalogue)
        if (name == e.name)
            return &e;
    return nullptr;
}

double now_seconds()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// demo with the given arguments, standard input a pipe (so not a terminal),
// no display of any kind in its environment.
ProgramRun run_demo(const std::vector<std::string> &arguments)
{
    RunOptions options;
    options.args = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER"};
    options.args.push_back("SUITE_BUILD_DIR=" + build_dir());
    options.args.push_back("SUITE_NO_BUILD=1");
    options.args.push_back(demo);
    options.args.insert(options.args.end(), arguments.begin(), arguments.end());
    options.timeout_seconds = patience_seconds;
    return run_program("/usr/bin/env", options);
}

// The programs of a list or a menu, in the order shown. A program line is
// indented and names a program, after its number in the menu; a heading is
// not indented. Checks along the way that every program of the registry
// appears exactly once with its description, that each theme forms one
// block under a heading of its own, and (for the menu) that the numbers run
// 1, 2, 3, ... down the list. Returns the number shown for each name.
std::map<std::string, int> check_listing(const std::string &text, bool numbered)
{
    std::map<std::string, int> number_of;
    std::set<std::string> themes_done;
    std::string theme;
    bool heading_since_last_program = false;
    int shown = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        if (line[0] != ' ') {
            heading_since_last_program = true;
            continue;
        }
        std::istringstream words(line);
        std::string word;
        words >> word;
        int number = 0;
        if (numbered) {
            number = atoi(word.c_str());
            EXPECT_EQ(std::to_string(number), word) << "menu line without a number: " << line;
            words >> word;
        }
        const CatalogueEntry *entry = find_entry(word);
        if (entry == nullptr) {
            ADD_FAILURE() << "a line that names no program: \"" << line << "\"";
            continue;
        }
        shown++;
        EXPECT_EQ(0u, number_of.count(word)) << word << " is listed twice";
        number_of[word] = number;
        if (numbered) {
            EXPECT_EQ(shown, number) << "menu numbers out of order at " << word;
        }
        EXPECT_NE(std::string::npos, line.find(entry->description)) << word << " without its description";
        if (entry->theme != theme) {
            EXPECT_TRUE(heading_since_last_program) << "no heading before the theme of " << word;
            EXPECT_EQ(0u, themes_done.count(entry->theme))
                << "the theme " << entry->theme << " is split in two at " << word;
            theme = entry->theme;
            themes_done.insert(theme);
        } else {
            EXPECT_FALSE(heading_since_last_program) << "a heading inside the theme of " << word;
        }
        heading_since_last_program = false;
    }
    EXPECT_EQ(program_count, static_cast<int>(number_of.size())) << "programs listed:\n" << text;
    return number_of;
}

// demo's menu on a pseudo-terminal, as a user at a terminal would see it.
// The terminal neither echoes the keys nor turns "\n" into "\r\n", so the
// output read is exactly what demo and its programs write.
class Terminal
{
  public:
    Terminal()
    {
        // The environment is prepared before the fork: the child only
        // adjusts its terminal and starts demo.
        for (char **e = environ; *e; e++) {
            std::string entry = *e;
            std::string name = entry.substr(0, entry.find('='));
            if (name != "SUITE_BUILD_DIR" && name != "SUITE_NO_BUILD" && name != "DISPLAY" &&
                name != "WAYLAND_DISPLAY" && name != "SDL_VIDEODRIVER")
                env_strings.push_back(entry);
        }
        env_strings.push_back("SUITE_BUILD_DIR=" + build_dir());
        env_strings.push_back("SUITE_NO_BUILD=1");
        std::vector<char *> envp;
        for (std::string &e : env_strings)
            envp.push_back(&e[0]);
        envp.push_back(nullptr);
        std::string path = demo;
        char *argv[] = {&path[0], nullptr};

        pid = forkpty(&master, nullptr, nullptr, nullptr);
        if (pid == 0) {
            termios mode;
            if (tcgetattr(0, &mode) == 0) {
                mode.c_lflag &= ~(ECHO | ECHONL);
                mode.c_oflag &= ~ONLCR;
                tcsetattr(0, TCSANOW, &mode);
            }
            execve(argv[0], argv, envp.data());
            _exit(127);
        }
        if (pid < 0)
            ADD_FAILURE() << "forkpty failed: " << strerror(errno);
    }

    ~Terminal()
    {
        if (pid > 0) {
            kill(-pid, SIGKILL); // demo leads its own session and process group
            waitpid(pid, nullptr, 0);
        }
        if (master >= 0)
            close(master);
    }

    // Keys typed at the terminal.
    void type(const std::string &keys)
    {
        if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
            ADD_FAILURE() << "cannot type " << keys;
    }

    // Reads until `text` appears after what earlier waits took; returns the
    // output from there up to and including `text` (empty, with a failure,
    // if it never comes).
    std::string wait_for(const std::string &text)
    {
        double deadline = now_seconds() + patience_seconds;
        size_t at;
        while ((at = output.find(text, cursor)) == std::string::npos) {
            if (!read_some(deadline)) {
                ADD_FAILURE() << "no \"" << text << "\" on the terminal; after the last step it shows:\n"
                              << output.substr(cursor);
                return "";
            }
        }
        std::string seen = output.substr(cursor, at + text.size() - cursor);
        cursor = at + text.size();
        return seen;
    }

    // Waits for demo to end; returns its exit status (-1 if it does not end).
    int finish()
    {
        double deadline = now_seconds() + patience_seconds;
        while (read_some(deadline)) {
        }
        if (pid <= 0)
            return -1;
        for (;;) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (now_seconds() > deadline) {
                ADD_FAILURE() << "demo did not end; the terminal shows:\n" << output.substr(cursor);
                return -1;
            }
            usleep(10000);
        }
    }

    std::string output; // everything demo wrote
    size_t cursor = 0;  // where the next wait starts looking

  private:
    // One read; false once the terminal is closed or the deadline passes.
    bool read_some(double deadline)
    {
        if (master < 0)
            return false;
        int left = static_cast<int>((deadline - now_seconds()) * 1000);
        pollfd fd = {master, POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, left) <= 0)
            return false;
        char buffer[4096];
        ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0) // EIO: every process holding the terminal has ended
            return false;
        output.append(buffer, got);
        return true;
    }

    std::vector<std::string> env_strings;
    pid_t pid = -1;
    int master = -1;
};

// What a program wrote between the launcher's two lines around its run.
std::string program_section(const std::string &menu_output, const std::string &name)
{
    std::string start = "=== " + name + " ===\n", end = "\n=== end of " + name + " ===";
    size_t from = menu_output.find(start);
    size_t to = from == std::string::npos ? from : menu_output.find(end, from);
    if (to == std::string::npos) {
        ADD_FAILURE() << "no run of " << name << " in:\n" << menu_output;
        return "";
    }
    from += start.size();
    return menu_output.substr(from, to - from);
}

// cycle_doubling_search, as documented: fourteen comparisons against the
// term before each doubling window, then the period 7 and the entry index 3.
const char *const doubling_search_transcript = "\n (u(0)= 16   u(1)= 11)"
                                               "\n (u(1)= 11   u(2)= 40)"
                                               "\n (u(1)= 11   u(3)= 2)"
                                               "\n (u(3)= 2   u(4)= 5)"
                                               "\n (u(3)= 2   u(5)= 26)"
                                               "\n (u(3)= 2   u(6)= 21)"
                                               "\n (u(3)= 2   u(7)= 32)"
                                               "\n (u(7)= 32   u(8)= 0)"
                                               "\n (u(7)= 32   u(9)= 1)"
                                               "\n (u(7)= 32   u(10)= 2)"
                                               "\n (u(7)= 32   u(11)= 5)"
                                               "\n (u(7)= 32   u(12)= 26)"
                                               "\n (u(7)= 32   u(13)= 21)"
                                               "\n (u(7)= 32   u(14)= 32)"
                                               "\n\n Periode = 7   Indice d'entree = 3\n";

// strong_test_trace_1729, as documented: 2^27 = 645, 645^2 = 1065 and
// 1065^2 = 1 (mod 1729), a square root of 1 other than -1.
const char *const trace_1729_transcript =
    " aq =645\n  k=1 aexpo=1065   k=2 aexpo=1     k = 2 aexpo = 1 1729 non premier ";

TEST(LauncherMenu, NumbersEveryProgramGroupedByTheme)
{
    Terminal terminal;
    check_listing(terminal.wait_for(prompt), true);
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

// A number runs the program it stands for in the menu shown, then the menu
// comes back. cycle_doubling_search reads nothing, so no key is needed.
TEST(LauncherMenu, RunsAConsoleProgramChosenByNumber)
{
    Terminal terminal;
    std::map<std::string, int> number_of = check_listing(terminal.wait_for(prompt), true);
    ASSERT_EQ(1u, number_of.count("cycle_doubling_search"));
    terminal.type(std::to_string(number_of["cycle_doubling_search"]) + "\n");
    std::string after = terminal.wait_for(prompt);
    EXPECT_TRANSCRIPT(doubling_search_transcript, program_section(after, "cycle_doubling_search"));
    size_t menu_again = after.find("=== end of");
    if (menu_again != std::string::npos)
        check_listing(after.substr(menu_again), true);
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

// A name works as well as a number. strong_test_trace_1729 pauses at its
// end; the second Enter, typed ahead, is the one it waits for.
TEST(LauncherMenu, RunsAConsoleProgramChosenByName)
{
    Terminal terminal;
    terminal.wait_for(prompt);
    terminal.type("strong_test_trace_1729\n\n");
    std::string after = terminal.wait_for(prompt);
    EXPECT_TRANSCRIPT(trace_1729_transcript, program_section(after, "strong_test_trace_1729"));
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

// Ctrl-C stops the program that runs, not the launcher: the menu comes back.
// strong_test_trace_1729 is left waiting for its Enter when the key comes.
TEST(LauncherMenu, CtrlCStopsTheProgramAndReturnsToTheMenu)
{
    Terminal terminal;
    terminal.wait_for(prompt);
    terminal.type("strong_test_trace_1729\n");
    terminal.wait_for("1729 non premier ");
    terminal.type("\x03");
    std::string after = terminal.wait_for(prompt);
    EXPECT_NE(std::string::npos, after.find("=== end of strong_test_trace_1729 ===")) << after;
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

// A picture program chosen where there is no display is refused with the
// way to get its pictures, and the menu goes on.
TEST(LauncherMenu, RefusesAPictureProgramWithoutADisplayAndCarriesOn)
{
    Terminal terminal;
    terminal.wait_for(prompt);
    terminal.type("ulam_spiral_plot\n");
    std::string refusal = program_section(terminal.wait_for(prompt), "ulam_spiral_plot");
    EXPECT_NE(std::string::npos, refusal.find("no display")) << refusal;
    EXPECT_NE(std::string::npos, refusal.find("./demo gallery DIR")) << refusal;
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

// Choices that name no program: each is answered and the menu asked again;
// an empty line just asks again.
TEST(LauncherMenu, AnswersAChoiceThatIsNoProgramAndKeepsTheMenu)
{
    const std::string wrong_choices[] = {
        "no_such_program",                 // not a name
        "0",                               // numbers start at 1
        std::to_string(program_count + 1), // one past the last
        "-1",                              // not a number either
        "2x",                              // a number followed by junk
        "cycle_floyd.cpp",                 // a file, not a program
    };
    Terminal terminal;
    terminal.wait_for(prompt);
    for (const std::string &choice : wrong_choices) {
        terminal.type(choice + "\n");
        std::string answer = terminal.wait_for(prompt);
        EXPECT_NE(std::string::npos, answer.find("No program \"" + choice + "\"")) << answer;
        EXPECT_EQ(std::string::npos, answer.find("=== ")) << choice << " ran something:\n" << answer;
    }
    terminal.type("\n");
    std::string again = terminal.wait_for(prompt);
    EXPECT_EQ(std::string::npos, again.find("No program")) << again;
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.finish());
}

TEST(LauncherMenu, LeavesWithStatus0OnQuitOrEndOfInput)
{
    struct Case {
        const char *what, *keys;
    } cases[] = {
        {"q", "q\n"},
        {"Q", "Q\n"},
        {"quit", "quit\n"},
        {"q between blanks", "  q \n"},
        {"end of input (Ctrl-D)", "\x04"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Terminal terminal;
        terminal.wait_for(prompt);
        terminal.type(c.keys);
        EXPECT_EQ(0, terminal.finish());
        EXPECT_EQ(std::string::npos, terminal.output.find("=== ", terminal.cursor));
    }
}

// With standard input not a terminal, plain ./demo prints the list, as
// ./demo list does: every program once, grouped by theme, no numbers.
TEST(LauncherList, ListsEveryProgramGroupedByTheme)
{
    for (const std::vector<std::string> &arguments : {std::vector<std::string>{}, {"list"}}) {
        SCOPED_TRACE(arguments.empty() ? "./demo < pipe" : "./demo list");
        auto run = run_demo(arguments);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ("", run.err);
        EXPECT_EQ(std::string::npos, run.out.find(prompt)) << "a menu on a pipe";
        check_listing(run.out, false);
    }
}

// Without DISPLAY, WAYLAND_DISPLAY or SDL_VIDEODRIVER a picture program
// cannot open its window: demo says so, points at the gallery, and fails.
TEST(LauncherRun, RefusesEveryPictureProgramWithoutADisplay)
{
    for (const CatalogueEntry &entry : catalogue) {
        if (std::string(entry.kind) != "picture")
            continue;
        SCOPED_TRACE(entry.name);
        auto run = run_demo({entry.name});
        EXPECT_NE(0, run.status);
        EXPECT_FALSE(run.timed_out);
        EXPECT_NE(std::string::npos, run.err.find("no display")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("./demo gallery DIR")) << run.err;
        EXPECT_EQ("", run.out);
    }
}

TEST(LauncherRun, AnswersAnUnknownNameWithStatus2AndTheList)
{
    auto run = run_demo({"no_such_program"});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("'no_such_program'")) << run.err;
    std::string list = run.err.substr(run.err.find('\n') + 1);
    check_listing(list, false);
}

} // namespace
