// The launcher, demo, as a user meets it: its menu on a pseudo-terminal of
// 80 columns and 24 rows, and its commands through plain pipes. demo is
// pointed at the build this test belongs to (SUITE_BUILD_DIR) and told not
// to install or build anything (SUITE_NO_BUILD), so only the launcher itself
// is exercised. The expected menu and lists come from the registry
// (catalogue.hpp); the expected traces are the programs' known transcripts
// or come from a walk written here.
#include "catalogue.hpp"
#include "harness.hpp"
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace
{

const std::string demo = SUITE_SOURCE_DIR "/demo";
const int program_count = sizeof catalogue / sizeof catalogue[0];

// The menu's question ends with this; the menu is waiting for a choice once
// it has appeared.
const std::string prompt = "(q to leave): ";
const std::string back_to_menu = "Enter: back to the menu";

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

int menu_number(const std::string &name)
{
    for (int k = 0; k < program_count; k++)
        if (name == catalogue[k].name)
            return k + 1;
    return 0;
}

std::string theme_title(const std::string &theme)
{
    for (const ThemeEntry &t : themes)
        if (theme == t.theme)
            return t.title;
    return "";
}

// demo with the given arguments, standard input a pipe (so not a terminal),
// no display of any kind in its environment.
ProgramRun run_demo(const std::vector<std::string> &arguments, const std::string &build = build_dir())
{
    RunOptions options;
    options.args = arguments;
    options.env = {"SUITE_BUILD_DIR=" + build, "SUITE_NO_BUILD=1", "DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
    options.timeout_seconds = 30;
    return run_program(demo, options);
}

// The menu on a terminal that neither echoes the keys nor turns "\n" into
// "\r\n", so that what is read is exactly what demo and its programs write.
TerminalOptions menu_options()
{
    TerminalOptions options;
    options.echo = false;
    options.env = {"SUITE_BUILD_DIR=" + build_dir(), "SUITE_NO_BUILD=1", "DISPLAY", "WAYLAND_DISPLAY",
                   "SDL_VIDEODRIVER"};
    return options;
}

// The programs of `./demo list`: a program line is indented and starts with
// its name; a heading is not indented. Checks that every program of the
// registry appears exactly once with its description, and that each theme
// forms one block under a heading of its own.
void check_listing(const std::string &text)
{
    std::set<std::string> seen, themes_done;
    std::string theme;
    bool heading_since_last_program = false;
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
        const CatalogueEntry *entry = find_entry(word);
        if (entry == nullptr) {
            ADD_FAILURE() << "a line that names no program: \"" << line << "\"";
            continue;
        }
        EXPECT_TRUE(seen.insert(word).second) << word << " is listed twice";
        EXPECT_NE(std::string::npos, line.find(entry->description)) << word << " without its description";
        if (entry->theme != theme) {
            EXPECT_TRUE(heading_since_last_program) << "no heading before the theme of " << word;
            EXPECT_TRUE(themes_done.insert(entry->theme).second)
                << "the theme " << entry->theme << " is split in two at " << word;
            theme = entry->theme;
        } else {
            EXPECT_FALSE(heading_since_last_program) << "a heading inside the theme of " << word;
        }
        heading_since_last_program = false;
    }
    EXPECT_EQ(program_count, static_cast<int>(seen.size())) << "programs listed:\n" << text;
}

// The menu as the terminal shows it, from its first line to the prompt: it
// fits 80 columns and 24 rows (the prompt on the last), numbers every
// program of the registry once, 1, 2, 3, ... in the registry's order, and
// shows each program below its theme's title: the nearest title above it
// that starts at or left of the program's column, in the rightmost such
// column.
void check_menu(const std::string &screen)
{
    std::vector<std::string> rows;
    std::istringstream lines(screen);
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    while (!rows.empty() && rows.front().empty())
        rows.erase(rows.begin());
    EXPECT_LE(rows.size(), 24u) << "the menu is taller than the terminal:\n" << screen;
    for (const std::string &row : rows)
        EXPECT_LE(row.size(), 80u) << "wider than the terminal: " << row;
    // The menu proper ends at the last blank line, before the question.
    while (!rows.empty() && !rows.back().empty())
        rows.pop_back();
    struct Place {
        size_t row, column;
    };
    std::map<std::string, Place> titles, programs;
    for (size_t r = 0; r < rows.size(); r++) {
        const std::string &row = rows[r];
        for (const ThemeEntry &t : themes) {
            size_t at = row.find(t.title);
            if (at != std::string::npos)
                titles[t.theme] = {r, at};
        }
        // "NN  name" pairs.
        for (size_t at = 0; (at = row.find_first_of("0123456789", at)) != std::string::npos;) {
            size_t end = row.find_first_not_of("0123456789", at);
            int number = std::stoi(row.substr(at, end - at));
            size_t name_at = row.find_first_not_of(' ', end);
            size_t name_end = name_at == std::string::npos ? name_at : row.find(' ', name_at);
            std::string name = name_at == std::string::npos ? "" : row.substr(name_at, name_end - name_at);
            if (at > 0 && row[at - 1] != ' ') { // a digit inside a name
                at = end;
                continue;
            }
            if (number >= 1 && number <= program_count && name == catalogue[number - 1].name) {
                EXPECT_EQ(0u, programs.count(name)) << name << " shown twice";
                programs[name] = {r, at};
            } else {
                ADD_FAILURE() << "menu number " << number << " beside \"" << name << "\"";
            }
            at = name_end == std::string::npos ? row.size() : name_end;
        }
    }
    EXPECT_EQ(static_cast<size_t>(program_count), programs.size()) << screen;
    EXPECT_EQ(sizeof themes / sizeof themes[0], titles.size()) << "theme titles missing:\n" << screen;
    for (const auto &[name, place] : programs) {
        std::string under;
        Place best = {0, 0};
        for (const auto &[theme, title] : titles) {
            if (title.column > place.column || title.row >= place.row)
                continue;
            if (under.empty() || title.column > best.column ||
                (title.column == best.column && title.row > best.row)) {
                under = theme;
                best = title;
            }
        }
        EXPECT_EQ(find_entry(name)->theme, under) << name << " is not under \"" << theme_title(find_entry(name)->theme)
                                                  << "\"";
    }
}

// What a program wrote between the launcher's two lines around its run.
std::string program_section(const std::string &menu_output, const std::string &header)
{
    std::string start = "=== " + header + " ===\n";
    std::string name = header.substr(0, header.find(' '));
    std::string end = "\n=== end of " + name + " ===";
    size_t from = menu_output.find(start);
    size_t to = from == std::string::npos ? from : menu_output.find(end, from);
    if (to == std::string::npos) {
        ADD_FAILURE() << "no run of " << header << " in:\n" << menu_output;
        return "";
    }
    from += start.size();
    return menu_output.substr(from, to - from);
}

// cycle_doubling_search: fourteen comparisons against the term before each
// doubling window, then the period 7 and the entry index 3.
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

// strong_test_trace_1729: 2^27 = 645, 645^2 = 1065 and 1065^2 = 1 (mod
// 1729), a square root of 1 other than -1.
const char *const trace_1729_transcript =
    " aq =645\n  k=1 aexpo=1065   k=2 aexpo=1     k = 2 aexpo = 1 1729 non premier ";

// Fermat's walk on an odd n, written here with the squares themselves: x from
// the ceiling of the square root, y from 0; y grows while x^2 - y^2 > n,
// x while it is below; each position "(x y)", then "\n***(x+y x-y)".
std::string fermat_walk(long long n)
{
    long long x = static_cast<long long>(std::sqrt(static_cast<double>(n)));
    while (x * x < n)
        x++;
    long long y = 0;
    std::string text = "(" + std::to_string(x) + " 0)";
    while (x * x - y * y != n) {
        if (x * x - y * y > n)
            y++;
        else
            x++;
        text += "(" + std::to_string(x) + " " + std::to_string(y) + ")";
    }
    return text + "\n***(" + std::to_string(x + y) + " " + std::to_string(x - y) + ")";
}

TEST(LauncherMenu, FitsIn80By24WithEveryProgramNumberedUnderItsTheme)
{
    PseudoTerminal terminal(demo, menu_options());
    check_menu(terminal.wait_for(prompt));
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// A number runs the program it stands for; at its end the menu waits for
// Enter before it comes back. cycle_doubling_search reads nothing.
TEST(LauncherMenu, RunsAProgramByNumberThenWaitsForEnter)
{
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    terminal.type(std::to_string(menu_number("cycle_doubling_search")) + "\n");
    std::string run = terminal.wait_for(back_to_menu);
    EXPECT_NE(std::string::npos, run.find("Enter at each pause")) << "no word on how to move on:\n" << run;
    EXPECT_TRANSCRIPT(doubling_search_transcript, program_section(run, "cycle_doubling_search"));
    EXPECT_EQ("", terminal.read_for(0.5)) << "the menu came back without Enter";
    terminal.type("\n");
    check_menu(terminal.wait_for(prompt));
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// Keys typed ahead while a program ran are thrown away: neither the Enter
// awaited after the program nor the next choice is taken from them.
TEST(LauncherMenu, DiscardsKeysTypedWhileAProgramRan)
{
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    terminal.type("strong_test_trace_1729\n");
    terminal.wait_for("1729 non premier ");
    terminal.type("\n5\n"); // the program's Enter, then a choice typed ahead
    terminal.wait_for(back_to_menu);
    EXPECT_EQ("", terminal.read_for(0.5)) << "\"5\" was taken for Enter";
    terminal.type("\n9\n"); // Enter, then a choice typed before the menu shows
    terminal.wait_for(prompt);
    EXPECT_EQ("", terminal.read_for(0.5)) << "\"9\" was taken for a choice";
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// What the menu makes of a choice: the start of one name runs it, any case;
// the start of several names or a near miss is answered with the names;
// anything else with the numbers that exist. An answer comes after the menu,
// which is shown again in full.
TEST(LauncherMenu, ResolvesNamesStartsAndNearMisses)
{
    const std::string no_such = ": give a number from 1 to " + std::to_string(program_count) + ", a name, or q.";
    struct Case {
        std::string typed, answer;
    } cases[] = {
        {"cycle_doub", "=== cycle_doubling_search ==="},
        {"CYCLE_DOUBLING_SEARCH", "=== cycle_doubling_search ==="},
        {"ulam", "\"ulam\" could be ulam_spiral_plot or ulam_spiral_labels: type more of the name."},
        {"rho_flyod", "No program \"rho_flyod\". Did you mean rho_floyd?"},
        {"strong_test_trace_1792", "No program \"strong_test_trace_1792\". Did you mean strong_test_trace_1729?"},
        {"cylce", "Did you mean cycle_three_methods, cycle_doubling_search or cycle_floyd?"},
        {"no_such_program", "No program \"no_such_program\"" + no_such},
        {"0", "No program \"0\"" + no_such},
        {std::to_string(program_count + 1), "No program \"" + std::to_string(program_count + 1) + "\"" + no_such},
        {"-1", "No program \"-1\"" + no_such},
        {"2x", "No program \"2x\"" + no_such},
        {"cycle_floyd.cpp", "No program \"cycle_floyd.cpp\"" + no_such},
    };
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        terminal.type(c.typed + "\n");
        if (c.answer.rfind("===", 0) == 0) {
            EXPECT_NE(std::string::npos, terminal.wait_for(back_to_menu).find(c.answer));
            terminal.type("\n");
            terminal.wait_for(prompt);
            continue;
        }
        std::string answer = terminal.wait_for(prompt);
        std::string flat = answer; // a long answer is folded at blanks
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        size_t at = flat.find(c.answer);
        EXPECT_NE(std::string::npos, at) << answer;
        EXPECT_GT(at, answer.rfind(catalogue[program_count - 1].name)) << "the answer comes before the menu";
        EXPECT_EQ(std::string::npos, answer.find("=== ")) << "something ran:\n" << answer;
        check_menu(answer);
    }
    terminal.type("\n");
    std::string again = terminal.wait_for(prompt);
    EXPECT_EQ(std::string::npos, again.find("No program")) << "an empty line is answered:\n" << again;
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// Words after a choice go to the program: Fermat's walk on 8051 = 97 * 83
// by number, the usage by name.
TEST(LauncherMenu, PassesTheWordsAfterAChoiceToTheProgram)
{
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    std::string number = std::to_string(menu_number("difference_of_squares_walk"));
    terminal.type(number + " 8051\n");
    std::string walk = fermat_walk(8051);
    std::string run = terminal.wait_for(walk);
    EXPECT_EQ(walk, program_section(run + "\n=== end of difference_of_squares_walk ===",
                                    "difference_of_squares_walk 8051"));
    terminal.type("k"); // its one-key wait
    terminal.wait_for(back_to_menu);
    terminal.type("\n");
    terminal.wait_for(prompt);
    terminal.type("rho_floyd --help\n");
    std::string usage = program_section(terminal.wait_for(back_to_menu), "rho_floyd --help");
    EXPECT_EQ(0u, usage.rfind("usage: rho_floyd", 0)) << usage;
    terminal.type("\n");
    terminal.wait_for(prompt);
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// Ctrl-C stops the program that runs, not the launcher: the menu comes back.
// strong_test_trace_1729 is left waiting for its Enter when the key comes.
TEST(LauncherMenu, CtrlCStopsTheProgramAndReturnsToTheMenu)
{
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    terminal.type("strong_test_trace_1729\n");
    terminal.wait_for("1729 non premier ");
    terminal.type("\x03");
    std::string after = terminal.wait_for(back_to_menu);
    EXPECT_NE(std::string::npos, after.find("=== end of strong_test_trace_1729 ===")) << after;
    terminal.type("\n");
    terminal.wait_for(prompt);
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

// A picture program chosen where there is no display is refused with the
// way to get its pictures, and the menu goes on.
TEST(LauncherMenu, RefusesAPictureProgramWithoutADisplayAndCarriesOn)
{
    PseudoTerminal terminal(demo, menu_options());
    terminal.wait_for(prompt);
    terminal.type("ulam_spiral_plot\n");
    std::string run = terminal.wait_for(back_to_menu);
    EXPECT_NE(std::string::npos, run.find("a key in its window for each stage")) << run;
    std::string refusal = program_section(run, "ulam_spiral_plot");
    EXPECT_NE(std::string::npos, refusal.find("no display")) << refusal;
    EXPECT_NE(std::string::npos, refusal.find("./demo gallery DIR")) << refusal;
    terminal.type("\n");
    terminal.wait_for(prompt);
    terminal.type("q\n");
    EXPECT_EQ(0, terminal.wait_end());
}

TEST(LauncherMenu, LeavesWithStatus0OnQuitCtrlCOrEndOfInput)
{
    struct Case {
        const char *what, *keys;
    } cases[] = {
        {"q", "q\n"},
        {"Q", "Q\n"},
        {"quit", "quit\n"},
        {"q between blanks", "  q \n"},
        {"Ctrl-C", "\x03"},
        {"end of input (Ctrl-D)", "\x04"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PseudoTerminal terminal(demo, menu_options());
        terminal.wait_for(prompt);
        terminal.type(c.keys);
        EXPECT_EQ(0, terminal.wait_end());
        EXPECT_EQ(std::string::npos, terminal.output.find("=== ", terminal.cursor));
    }
}

// With standard input not a terminal, plain ./demo prints the list, as
// ./demo list does: every program once, grouped by theme, no numbers.
TEST(LauncherList, ListsEveryProgramGroupedByTheme)
{
    for (const std::vector<std::string> &arguments : {std::vector<std::string>{}, {"list"}}) {
        SCOPED_TRACE(arguments.empty() ? "./demo < pipe" : "./demo list");
        ProgramRun run = run_demo(arguments);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ("", run.err);
        EXPECT_EQ(std::string::npos, run.out.find(prompt)) << "a menu on a pipe";
        check_listing(run.out);
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
        ProgramRun run = run_demo({entry.name});
        EXPECT_EQ(3, run.status);
        EXPECT_NE(std::string::npos, run.err.find("no display")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("./demo gallery DIR")) << run.err;
        EXPECT_EQ("", run.out);
    }
}

// ./demo CHOICE ARGS...: a menu number, a name or the start of one runs the
// program with the arguments, and its exit status is demo's; the other
// choices are answered on standard error with status 2.
TEST(LauncherRun, RunsTheProgramAChoiceNamesWithItsArguments)
{
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out, err; // out exactly; err must contain this
    } cases[] = {
        {{std::to_string(menu_number("cycle_doubling_search"))}, 0, doubling_search_transcript, ""},
        {{"cycle_doub"}, 0, doubling_search_transcript, ""},
        {{std::to_string(menu_number("ulam_spiral_plot"))}, 3, "", "demo: ulam_spiral_plot draws in a window"},
        {{"difference_of_squares_walk", "8051"}, 0, fermat_walk(8051), ""},
        {{"rho_floyd", "abc"}, 2, "", "rho_floyd: "},
        {{"ulam"}, 2, "", "demo: \"ulam\" could be ulam_spiral_plot or ulam_spiral_labels"},
        {{"rho_flyod"}, 2, "", "demo: No program \"rho_flyod\". Did you mean rho_floyd?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments[0] + (c.arguments.size() > 1 ? " " + c.arguments[1] : ""));
        ProgramRun run = run_demo(c.arguments);
        EXPECT_EQ(c.status, run.status) << run.err;
        EXPECT_TRANSCRIPT(c.out, run.out);
        EXPECT_NE(std::string::npos, run.err.find(c.err)) << run.err;
    }
}

TEST(LauncherRun, AnswersAnUnknownNameWithStatus2AndTheList)
{
    ProgramRun run = run_demo({"no_such_program"});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("'no_such_program'")) << run.err;
    check_listing(run.err.substr(run.err.find('\n') + 1));
}

// A folder that cannot take the pictures is refused before any program
// runs, with a demo: message and status 1.
TEST(LauncherGallery, RefusesAFolderThatCannotBeWritten)
{
    struct Case {
        const char *folder, *message;
    } cases[] = {
        {"/proc", "demo: cannot write the gallery into /proc: "},
        {"/dev/null/gallery", "demo: cannot make the folder /dev/null/gallery: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        ProgramRun run = run_demo({"gallery", c.folder});
        EXPECT_EQ(1, run.status);
        EXPECT_EQ("", run.out);
        EXPECT_EQ(0u, run.err.rfind(c.message, 0)) << run.err;
        EXPECT_EQ(1, std::count(run.err.begin(), run.err.end(), '\n')) << run.err;
    }
}

// The gallery on a build of stand-in picture programs (shell scripts in
// place of capture variants): one saves its stage and records the caption
// of the stage it holds, the other saves nothing, which is an error that
// names it and moves no picture. Nothing of the scratch folder stays behind.
TEST(LauncherGallery, MovesEveryStageIntoTheFolderOrNoneWhenAProgramSavedNone)
{
    std::string build = make_temp_dir(), out = make_temp_dir();
    mkdir((build + "/bin").c_str(), 0755);
    mkdir((build + "/bin/capture").c_str(), 0755);
    std::ofstream(build + "/bin/times.ttf") << "font";
    std::ofstream(build + "/themes.tsv") << "plots\tPictures\n";
    std::ofstream(build + "/bin/capture/drawn")
        << "#!/bin/sh\necho 'stage 1 of 2: a point'\necho 'stage 2 of 2: a square'\necho picture > drawn-1.png\n"
        << "printf 'drawn-1.png\\tstage 2 of 2: a square\\n' >> \"$SUITE_CAPTURE_CAPTIONS\"\n";
    std::ofstream(build + "/bin/capture/blank") << "#!/bin/sh\necho 'stage 1 of 1: nothing'\n";
    chmod((build + "/bin/capture/drawn").c_str(), 0755);
    chmod((build + "/bin/capture/blank").c_str(), 0755);
    auto files_in_out = [&out]() {
        RunOptions ls;
        ls.args = {"-A", out};
        return run_program("/bin/ls", ls).out;
    };

    std::ofstream(build + "/catalogue.tsv") << "drawn\tpicture\tplots\tSaves one stage\t\n"
                                            << "blank\tpicture\tplots\tSaves nothing\t\n";
    ProgramRun failed = run_demo({"gallery", out}, build);
    EXPECT_EQ(1, failed.status);
    EXPECT_EQ("", failed.out);
    EXPECT_EQ("demo: blank saved no picture\n", failed.err);
    EXPECT_EQ("", files_in_out());

    std::ofstream(build + "/catalogue.tsv") << "drawn\tpicture\tplots\tSaves one stage\t\n";
    ProgramRun run = run_demo({"gallery", out}, build);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(out + "/drawn-1.png  (stage 2 of 2: a square)\n", run.out);
    EXPECT_EQ("drawn-1.png\n", files_in_out());
    std::ifstream moved(out + "/drawn-1.png");
    std::string content;
    std::getline(moved, content);
    EXPECT_EQ("picture", content);

    RunOptions remove;
    remove.args = {"-rf", build, out};
    run_program("/bin/rm", remove);
}

} // namespace
