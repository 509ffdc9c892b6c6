// The launcher: its decisions called directly (resolution, list, menu,
// refusals, the up-to-date check, the gallery), then the launcher and demo
// as a user meets them, on a pseudo-terminal of 80x24 or through pipes. The
// runs use a stand-in build: shell scripts named like the programs, which
// say how they were started, so that only the launcher is exercised.
#include "harness.hpp"
#include "launcher.hpp"
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
const Registry registry = suite_registry();
const std::string demo = SUITE_SOURCE_DIR "/demo";

std::string name_at(int number)
{
    return registry.programs.at(number - 1).name;
}

const CatalogueEntry &program_named(const std::string &name)
{
    return registry.programs.at(resolve(registry, name).index);
}

void write_file(const std::string &path, const std::string &text, mode_t mode = 0644)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
}

std::string read_file(const std::string &path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The longest line of a text, to hold it to the terminal's 80 columns.
std::string widest_line(const std::string &text)
{
    std::string widest;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.size() > widest.size())
            widest = line;
    return widest;
}

TEST(Resolution, NamesAProgramByNumberNameOrUniqueStartInAnyCase)
{
    struct Case {
        std::string typed;
        Resolution::Kind kind;
        std::vector<std::string> names; // the program, or the candidates
    } cases[] = {
        {"1", Resolution::program, {name_at(1)}},
        {"025", Resolution::program, {name_at(25)}},
        {"cycle_doub", Resolution::program, {"cycle_doubling_search"}},
        {"CYCLE_DOUBLING_SEARCH", Resolution::program, {"cycle_doubling_search"}},
        {"rho_floyd", Resolution::program, {"rho_floyd"}},
        {"ulam", Resolution::ambiguous, {"ulam_spiral_plot", "ulam_spiral_labels"}},
        {"rho_f", Resolution::ambiguous, {"rho_floyd", "rho_factor_16019"}},
        {"rho_flyod", Resolution::near_miss, {"rho_floyd"}},
        {"strong_test_trace_1792", Resolution::near_miss, {"strong_test_trace_1729"}},
        {"cylce", Resolution::near_miss, {"cycle_three_methods", "cycle_doubling_search", "cycle_floyd"}},
        {"rho", Resolution::ambiguous, {"rho_floyd", "rho_factor_16019"}},
        {"xho", Resolution::near_miss, {"rho_floyd", "rho_factor_16019"}},
        {"xh", Resolution::unknown, {}}, // one slip in two letters is too many
        {"no_such_program", Resolution::unknown, {}},
        {"0", Resolution::unknown, {}},
        {"26", Resolution::unknown, {}},
        {"99999999999999999999", Resolution::unknown, {}},
        {"-1", Resolution::unknown, {}},
        {"2x", Resolution::unknown, {}},
        {"cycle_floyd.cpp", Resolution::unknown, {}},
        {"", Resolution::empty, {}},
        {"  ", Resolution::empty, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        Resolution r = resolve(registry, c.typed);
        EXPECT_EQ(c.kind, r.kind);
        if (c.kind == Resolution::program)
            EXPECT_EQ(c.names[0], r.index >= 0 ? registry.programs[r.index].name : "");
        else
            EXPECT_EQ(c.names, r.names);
    }
}

// The answers, and a choice echoed with its control characters escaped (a
// raw escape sequence would recolour the terminal, a newline break the line).
TEST(Resolution, AnswersAChoiceThatNamesNoSingleProgram)
{
    struct Case {
        std::string typed, answer;
    } cases[] = {
        {"ulam", "\"ulam\" could be ulam_spiral_plot or ulam_spiral_labels: type more of the name."},
        {"cylce",
         "No program \"cylce\". Did you mean cycle_three_methods, cycle_doubling_search or cycle_floyd?"},
        {"0", "No program \"0\": give a number from 1 to 25, a name, or q."},
        {"a\x1b[31mb\nc\x01", "No program \"a\\e[31mb\\nc\\x01\": give a number from 1 to 25, a name, or q."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.answer, choice_problem(registry, c.typed, resolve(registry, c.typed)));
    EXPECT_EQ("demo: an empty name names no program; ./demo list shows them.\n",
              command_line_problem(registry, "", resolve(registry, ""), "./demo"));
    std::string unknown = command_line_problem(registry, "nope", resolve(registry, "nope"), "./demo");
    EXPECT_EQ(0u, unknown.rfind("demo: there is no program called 'nope'. The programs are:\n\n", 0))
        << unknown;
}

// ./demo list within 80 columns: each theme's title, then its programs in
// registry order, each with its description, wrapped under the description.
TEST(LauncherList, ListsEveryProgramUnderItsThemeWithin80Columns)
{
    std::string expected_order, seen_order;
    for (const ThemeEntry &theme : registry.themes) {
        expected_order += std::string("#") + theme.title;
        for (const CatalogueEntry &p : registry.programs)
            if (std::string(p.theme) == theme.theme)
                expected_order += std::string(" ") + p.name + ":" + p.description;
    }
    std::string text = program_list(registry);
    EXPECT_LE(widest_line(text).size(), 80u) << widest_line(text);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            continue;
        size_t at = line.find_first_not_of(' ');
        if (at == 0)
            seen_order += "#" + line;
        else if (at == 2)
            seen_order += " " + line.substr(2, line.find(' ', 2) - 2) + ":" +
                          line.substr(line.find_first_not_of(' ', line.find(' ', 2)));
        else
            seen_order += " " + line.substr(at); // a description goes on
    }
    EXPECT_EQ(expected_order, seen_order) << text;
}

// The menu at 80 columns: it fits 24 rows with the blank line and the two
// lines of its question, numbers every program once in registry order, and
// shows each below its theme's title: the nearest title above it that starts
// at or left of it, in the rightmost such column.
void check_menu(const std::vector<std::string> &rows)
{
    EXPECT_LE(rows.size() + 3, 24u);
    struct Place {
        size_t row, column;
    };
    std::vector<Place> titles(registry.themes.size()), programs(registry.programs.size());
    std::set<int> numbers;
    for (size_t r = 0; r < rows.size(); r++) {
        EXPECT_LE(rows[r].size(), 80u) << rows[r];
        for (size_t t = 0; t < registry.themes.size(); t++)
            if (rows[r].find(registry.themes[t].title) != std::string::npos)
                titles[t] = {r, rows[r].find(registry.themes[t].title)};
        std::istringstream words(rows[r]);
        for (std::string word, name; words >> word;)
            if (std::isdigit(static_cast<unsigned char>(word[0])) && words >> name) {
                int number = std::stoi(word);
                ASSERT_TRUE(number >= 1 && number <= static_cast<int>(programs.size())) << rows[r];
                EXPECT_EQ(name_at(number), name);
                EXPECT_TRUE(numbers.insert(number).second) << number << " twice";
                programs[number - 1] = {r, rows[r].find(" " + word + "  ") + 1};
            }
    }
    ASSERT_EQ(registry.programs.size(), numbers.size());
    for (size_t k = 0; k < programs.size(); k++) {
        size_t under = registry.themes.size();
        for (size_t t = 0; t < titles.size(); t++)
            if (titles[t].column <= programs[k].column && titles[t].row < programs[k].row &&
                (under == registry.themes.size() || titles[t].column > titles[under].column ||
                 (titles[t].column == titles[under].column && titles[t].row > titles[under].row)))
                under = t;
        ASSERT_LT(under, registry.themes.size()) << name_at(static_cast<int>(k) + 1);
        EXPECT_STREQ(registry.programs[k].theme, registry.themes[under].theme)
            << name_at(static_cast<int>(k) + 1);
    }
}

TEST(LauncherMenu, FitsTwoColumnsIn80By24OrOneWhenNarrower)
{
    std::vector<std::string> narrow = menu_lines(registry, 60);
    check_menu(menu_lines(registry, 80));
    EXPECT_EQ(registry.programs.size() + 2 * registry.themes.size() - 1, narrow.size());
    for (const std::string &line : narrow)
        EXPECT_TRUE(line.empty() || line[0] != ' ' || line.find("  ", 6) == std::string::npos) << line;
}

TEST(LauncherRefusal, RefusesAPictureProgramWhereNoWindowCanOpen)
{
    const CatalogueEntry *picture = nullptr, *console = nullptr;
    for (const CatalogueEntry &p : registry.programs)
        (std::string(p.kind) == "picture" ? picture : console) = &p;
    struct Case {
        const char *what;
        Display display;
        std::vector<std::string> args;
        bool refused;
    } cases[] = {
        {"no display", {"", "", ""}, {}, true},
        {"X11", {":0", "", ""}, {}, false},
        {"Wayland", {"", "wayland-0", ""}, {}, false},
        {"dummy driver", {"", "", "dummy"}, {}, true},
        {"dummy driver beside a display", {":0", "", "dummy"}, {}, true},
        {"offscreen, dummy", {"", "", "Offscreen, dummy"}, {}, true},
        {"a driver that shows windows", {"", "", "kmsdrm"}, {}, false},
        {"a list with one that does", {"", "", "dummy,x11"}, {}, false},
        {"the usage needs no window", {"", "", ""}, {"--help"}, false},
        {"-h too", {"", "", "dummy"}, {"-h"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string refusal = display_refusal(*picture, c.args, c.display, "'/my suite/demo'");
        EXPECT_EQ(c.refused, !refusal.empty()) << refusal;
        EXPECT_EQ("", display_refusal(*console, c.args, c.display, "./demo"));
        if (c.refused) {
            EXPECT_EQ(0u, refusal.rfind(std::string("demo: ") + picture->name + " draws in a window", 0))
                << refusal;
            EXPECT_NE(std::string::npos, refusal.find("run: '/my suite/demo' gallery DIR\n")) << refusal;
            EXPECT_LE(widest_line(display_refusal(*picture, c.args, c.display, "./demo")).size(), 80u);
        }
    }
}

// The command that runs demo again where the user is, and the help, which
// names every command.
TEST(LauncherText, NamesDemoAsTheUserStartedIt)
{
    EXPECT_EQ("./demo", demo_command("./demo"));
    EXPECT_EQ("./demo", demo_command("demo"));
    EXPECT_EQ("/opt/suite/demo", demo_command("/opt/suite/demo"));
    EXPECT_EQ("'/my suite/it'\\''s/demo'", demo_command("/my suite/it's/demo"));
    std::string help = help_text("./demo");
    for (const char *command : {"NAME [ARGS...]", "NAME --help", "list", "gallery DIR", "build", "test",
                                "web [DIR]", "serve [DIR]", "help", "./demo rho_floyd 8051 2"})
        EXPECT_NE(std::string::npos, help.find(command)) << command;
    EXPECT_LE(widest_line(help).size(), 80u) << widest_line(help);
    // The hint before a run: Enter for the pauses, except where JSON runs
    // straight through.
    const CatalogueEntry &floyd = program_named("cycle_floyd");
    EXPECT_NE(std::string::npos, how_to_move_on(floyd, {"101", "--explain"}).find("Enter"));
    EXPECT_EQ(std::string::npos, how_to_move_on(floyd, {"--json", "101"}).find("Enter"));
    EXPECT_NE(std::string::npos, how_to_move_on(floyd, {"--json", "--explain"}).find("Enter"));
}

// A stand-in build folder: bin/, bin/capture/, the font, build.ninja, and
// the real launcher, which demo starts from there.
struct StandIn {
    std::string build = make_temp_dir();
    StandIn()
    {
        write_file(build + "/bin/times.ttf", "font");
        write_file(build + "/build.ninja", "");
        fs::create_directories(build + "/launcher");
        fs::create_symlink(SUITE_LAUNCHER, build + "/launcher/launcher");
    }
    ~StandIn() { fs::remove_all(build); }
    // A program that says how it was started, then ends with `status`.
    void program(const std::string &name, int status = 0, const std::string &then = "")
    {
        write_file(
            build + "/bin/" + name,
            "#!/bin/sh\nprintf 'ran %s [%s] as [%s] in %s\\n' \"$0\" \"$*\" \"$SUITE_COMMAND\" \"$PWD\"\n" +
                then + "exit " + std::to_string(status) + "\n",
            0755);
    }
    // A capture variant that saves one picture of its arguments, or none.
    void capture(const std::string &name, bool saves = true, int status = 0)
    {
        std::string save = "echo \"$*\" > " + name + "-1.png\nprintf '" + name +
                           "-1.png\\tstage 1 of 1: [%s]\\n' \"$*\" >> \"$SUITE_CAPTURE_CAPTIONS\"\n";
        write_file(build + "/bin/capture/" + name,
                   "#!/bin/sh\n" + (saves ? save : "") + "exit " + std::to_string(status) + "\n", 0755);
    }
};

std::vector<std::string> files_in(const std::string &dir)
{
    std::vector<std::string> files;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// All or nothing: every picture moves into the folder, or none when a program
// fails, saves nothing, or a folder stands where a picture goes.
TEST(LauncherGallery, MovesEveryPictureOrNone)
{
    Registry pictures{{{"drawn", "picture", "plots", "", ""},
                       {"calc", "console", "plots", "", ""},
                       {"other", "picture", "plots", "", ""}},
                      {{"plots", "Pictures"}}};
    struct Case {
        const char *what;
        bool other_saves;
        int other_status;
        bool folder_in_the_way;
        int status;
        std::string err;
    } cases[] = {
        {"both save", true, 0, false, 0, ""},
        {"one saves none", false, 0, false, 1, "demo: other saved no picture\n"},
        {"one fails", true, 3, false, 1, "demo: other failed (exit status 3)\n"},
        {"a folder in the way", true, 0, true, 1, " is a folder, where a picture goes; nothing was moved\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        StandIn standin;
        standin.capture("drawn");
        standin.capture("other", c.other_saves, c.other_status);
        Gallery gallery;
        gallery.build = standin.build;
        gallery.args = {"--all", "7"};
        gallery.processors = 2;
        ASSERT_EQ("", gallery_folder(standin.build + "/out", gallery));
        if (c.folder_in_the_way)
            fs::create_directories(gallery.dir + "/other-1.png");
        std::ostringstream out, err;
        EXPECT_EQ(c.status, run_gallery(pictures, gallery, out, err));
        std::string expected_err =
            c.folder_in_the_way ? "demo: " + gallery.dir + "/other-1.png" + c.err : c.err;
        EXPECT_EQ(expected_err, err.str());
        std::vector<std::string> expected_files;
        if (c.status == 0) {
            expected_files = {"drawn-1.png", "other-1.png"};
            EXPECT_EQ(gallery.dir + "/drawn-1.png  (stage 1 of 1: [--all 7])\n" + gallery.dir +
                          "/other-1.png  (stage 1 of 1: [--all 7])\n",
                      out.str());
            EXPECT_EQ("--all 7\n", read_file(gallery.dir + "/drawn-1.png"));
        } else if (c.folder_in_the_way) {
            expected_files = {"other-1.png"};
        }
        EXPECT_EQ(expected_files, files_in(gallery.dir)) << "pictures moved, or the scratch folder left";
    }
}

// A folder that cannot be made or written is refused with the reason.
TEST(LauncherGallery, RefusesAFolderItCannotWrite)
{
    Gallery gallery;
    EXPECT_EQ("demo: cannot make the folder /dev/null/gallery: Not a directory\n",
              gallery_folder("/dev/null/gallery", gallery));
    EXPECT_EQ(0u, gallery_folder("/proc", gallery).rfind("demo: cannot write the gallery into /proc: ", 0));
}

// Without ninja: a set is up to date when its newest stamp is newer than
// every source listed, the list newer than build.ninja, the outputs there.
TEST(LauncherBuild, TellsWhetherASetIsUpToDateFromTheStampsAlone)
{
    struct Case {
        const char *what;
        int own_stamp, all_stamp, source, list, rules; // seconds; 0: missing
        bool output, up_to_date;
    } cases[] = {
        {"nothing changed", 20, 0, 10, 30, 5, true, true},
        {"a source saved since", 20, 0, 25, 30, 5, true, false},
        {"a source saved in the stamp's tick", 20, 0, 20, 30, 5, true, false},
        {"a source gone", 20, 0, 0, 30, 5, true, false},
        {"never built", 0, 0, 10, 30, 5, true, false},
        {"built since by a larger set", 5, 20, 10, 30, 5, true, true},
        {"configured again since", 20, 0, 10, 30, 35, true, false},
        {"no list of sources", 20, 0, 10, 0, 5, true, false},
        {"the program deleted", 20, 0, 10, 30, 5, false, false},
    };
    const CatalogueEntry &program = registry.programs[0];
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        StandIn standin;
        std::string records = standin.build + "/.demo/", source = standin.build + "/source.cpp";
        auto file_at = [](const std::string &path, int seconds, const std::string &text = "") {
            if (seconds == 0)
                return;
            write_file(path, text);
            timespec times[2] = {{1000000 + seconds, 0}, {1000000 + seconds, 0}};
            utimensat(AT_FDCWD, path.c_str(), times, 0);
        };
        file_at(records + program.name, c.own_stamp);
        file_at(records + "all", c.all_stamp);
        file_at(source, c.source);
        file_at(records + "inputs", c.list, source + "\n");
        file_at(standin.build + "/build.ninja", c.rules);
        if (c.output)
            standin.program(program.name);
        EXPECT_EQ(c.up_to_date, up_to_date(standin.build, program_set(program, standin.build)));
    }
    StandIn empty_list;
    write_file(empty_list.build + "/.demo/launcher", "");
    write_file(empty_list.build + "/.demo/inputs", "");
    EXPECT_FALSE(up_to_date(empty_list.build, launcher_set(registry, empty_list.build)));
}

// A description keeps its "|" and ";" through the generated catalogue; a tab
// or a line break, which it cannot hold, stops the configuration.
TEST(Registry, StoresEveryFieldItCanHoldAndRefusesTheRest)
{
    struct Case {
        const char *what, *title, *description, *example;
        std::string tsv_line; // "" when refused
    } cases[] = {
        {"marks", "Marks | and ;", "a | b; \\\"c\\\" \\\\ d", "1;2",
         "p\tconsole\tt\ta | b; \"c\" \\ d\t1;2\n"},
        {"a tab in a description", "T", "a\\tb", "", ""},
        {"a newline in an example", "T", "d", "1\\n2", ""},
        {"a carriage return in a title", "T\\r", "d", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = make_temp_dir();
        write_file(dir + "/registry.cmake", std::string("include(" SUITE_SOURCE_DIR "/cmake/suite.cmake)\n") +
                                                "suite_theme(t \"" + c.title +
                                                "\")\nsuite_register(p console t \"" + c.description +
                                                "\" \"" + c.example + "\")\nsuite_catalogue()\n");
        RunOptions options;
        options.args = {"-P", dir + "/registry.cmake"};
        options.cwd = dir;
        ProgramRun run = run_program(SUITE_CMAKE, options);
        if (c.tsv_line.empty()) {
            EXPECT_NE(0, run.status);
            EXPECT_NE(std::string::npos, run.err.find("holds a tab or a line break")) << run.err;
        } else {
            EXPECT_EQ(0, run.status) << run.err;
            EXPECT_EQ(c.tsv_line, read_file(dir + "/catalogue.tsv"));
            EXPECT_EQ("t\tMarks | and ;\n", read_file(dir + "/themes.tsv"));
            EXPECT_NE(std::string::npos,
                      read_file(dir + "/generated/catalogue.hpp").find("\"a | b; \\\"c\\\" \\\\ d\""));
        }
        fs::remove_all(dir);
    }
}

// The launcher on a terminal, over the stand-in build.
TerminalOptions on_terminal(const StandIn &standin, const std::vector<std::string> &args = {})
{
    TerminalOptions options;
    options.echo = false;
    options.args = args;
    options.env = {"SUITE_BUILD_DIR=" + standin.build,
                   "SUITE_NO_BUILD=1",
                   "SUITE_DEMO",
                   "DISPLAY",
                   "WAYLAND_DISPLAY",
                   "SDL_VIDEODRIVER",
                   "GO=" + standin.build + "/go"};
    return options;
}
const std::string prompt = "(q to leave): ", back = "Enter: back to the menu";

// A choice runs its program with the words after it, told the command that
// runs it from the menu; the menu waits for Enter after it, and the keys
// typed while it ran are neither that Enter nor the next choice. Ctrl-C
// stops the program, and at the menu's question leaves it.
TEST(LauncherMenu, RunsAChoiceWaitsForEnterAndDropsKeysTypedAhead)
{
    StandIn standin;
    standin.program("rho_floyd", 0,
                    "read line\necho \"read [$line]\"\nwhile [ ! -e \"$GO\" ]; do sleep 0.01; done\n");
    PseudoTerminal terminal(SUITE_LAUNCHER, on_terminal(standin));
    terminal.wait_for(prompt);
    terminal.type("rho_f\n");
    EXPECT_NE(std::string::npos,
              terminal.wait_for(prompt).find("\"rho_f\" could be rho_floyd or rho_factor_16019"));
    terminal.type("rho_floyd 8051 2\n");
    std::string run = terminal.wait_for("in " + standin.build + "/bin\n");
    EXPECT_NE(std::string::npos,
              run.find("rho_floyd: Enter at each pause moves it on; Ctrl-C stops it.\n"
                       "=== rho_floyd 8051 2 ===\nran ./rho_floyd [8051 2] as [rho_floyd]"))
        << run;
    terminal.type("its line\n");
    terminal.wait_for("read [its line]");
    terminal.type("5\n"); // typed ahead while the program runs
    write_file(standin.build + "/go", "");
    terminal.wait_for("=== end of rho_floyd ===\n" + back);
    terminal.type("\n9\n"); // Enter, and a choice typed before the menu shows
    terminal.wait_for(prompt);
    terminal.type("rho_floyd\n");
    std::string between = terminal.wait_for("=== rho_floyd ===\nran ./rho_floyd [] as [rho_floyd]");
    EXPECT_EQ(std::string::npos, between.find(prompt)) << "a typed-ahead key was taken";
    EXPECT_EQ(std::string::npos, between.find("=== end")) << between;
    terminal.type("\x03");
    terminal.wait_for("=== end of rho_floyd ===\n" + back);
    terminal.type("\x03");
    EXPECT_EQ(0, terminal.wait_end());
}

TEST(LauncherMenu, LeavesWithStatus0OnQuitCtrlCOrEndOfInput)
{
    StandIn standin;
    for (const char *keys : {"q\n", "Q\n", "quit\n", "  q \n", "\x03", "\x04"}) {
        PseudoTerminal menu(SUITE_LAUNCHER, on_terminal(standin));
        menu.wait_for(prompt);
        menu.type(keys);
        EXPECT_EQ(0, menu.wait_end()) << keys;
        EXPECT_EQ(std::string::npos, menu.output.find("=== ")) << keys;
    }
}

// ./demo NAME ARGS: the program in the launcher's place, from its folder,
// with demo's status its own and SUITE_COMMAND the way to run it again from
// where the user is; a choice that names no program, status 2; a picture
// program with no display, status 3; plain ./demo on a pipe, the list.
TEST(LauncherRun, RunsTheChosenProgramInItsPlace)
{
    StandIn standin;
    standin.program("rho_floyd", 7);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{"rho_flo", "--explain", "8051"},
         7,
         "ran ./rho_floyd [--explain 8051] as ['/my suite/demo' rho_floyd] in " + standin.build + "/bin\n",
         ""},
        {{""}, 2, "", "demo: an empty name names no program; '/my suite/demo' list shows them.\n"},
        {{"", "8051", "2"},
         2,
         "",
         "demo: an empty name names no program; '/my suite/demo' list shows them.\n"},
        {{"rho_f"},
         2,
         "",
         "demo: \"rho_f\" could be rho_floyd or rho_factor_16019: type more of the name.\n"},
        {{"ulam_spiral_plot"},
         3,
         "",
         display_refusal(program_named("ulam_spiral_plot"), {}, {}, "'/my suite/demo'")},
        {{}, 0, program_list(registry), ""},
        {{"list", "extra"}, 0, program_list(registry), ""},
    };
    for (const Case &c : cases) {
        RunOptions options;
        options.args = c.args;
        options.env = {"SUITE_BUILD_DIR=" + standin.build,
                       "SUITE_NO_BUILD=1",
                       "SUITE_DEMO=/my suite/demo",
                       "DISPLAY",
                       "WAYLAND_DISPLAY",
                       "SDL_VIDEODRIVER"};
        ProgramRun run = run_program(SUITE_LAUNCHER, options);
        EXPECT_EQ(c.status, run.status) << run.err;
        EXPECT_EQ(c.out, run.out);
        EXPECT_EQ(c.err, run.err);
    }
}

// demo itself over the stand-in build, with stand-ins for ninja and for
// dpkg-query on the PATH: the packages' record is fresh unless a test says.
struct Bootstrap : StandIn {
    std::string tools = build + "/tools", ninja_log = build + "/ninja.log";
    Bootstrap()
    {
        write_file(tools + "/ninja",
                   "#!/bin/sh\necho \"$*\" >> " + ninja_log +
                       "\ncase \"$*\" in *' -n '*) echo '[1/1] Linking the stand-in' ;; esac\n",
                   0755);
        write_file(build + "/.demo/packages.run", "");
    }
    std::vector<std::string> env(const std::vector<std::string> &more = {}) const
    {
        std::vector<std::string> e = {"SUITE_BUILD_DIR=" + build,
                                      "PATH=" + tools + ":/usr/bin:/bin",
                                      "SUITE_NO_BUILD",
                                      "SUITE_BUILT",
                                      "SUITE_BUILD",
                                      "SUITE_DEMO=./demo",
                                      "DISPLAY",
                                      "WAYLAND_DISPLAY",
                                      "SDL_VIDEODRIVER"};
        e.insert(e.end(), more.begin(), more.end());
        return e;
    }
};

// When a source changed, the launcher has demo build what the command needs
// (the launcher and the program) with a line on it, then runs the program;
// a refusal that needs no build comes first, and ninja never starts.
TEST(Bootstrap, BuildsWhatIsOutOfDateAfterAnyRefusal)
{
    Bootstrap bootstrap;
    bootstrap.program("cycle_floyd");
    RunOptions options;
    options.env = bootstrap.env();
    options.args = {"ulam_spiral_plot"};
    EXPECT_EQ(3, run_program(demo, options).status);
    EXPECT_FALSE(fs::exists(bootstrap.ninja_log));
    options.args = {"cycle_floyd", "101"};
    ProgramRun run = run_program(demo, options);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("demo: building cycle_floyd (in " + bootstrap.build + "/, 1 steps, about 1 s)\n", run.err);
    EXPECT_EQ("ran ./cycle_floyd [101] as [./demo cycle_floyd] in " + bootstrap.build + "/bin\n", run.out);
    EXPECT_NE(std::string::npos, read_file(bootstrap.ninja_log).find(" launcher cycle_floyd\n"));
    EXPECT_TRUE(fs::exists(bootstrap.build + "/.demo/cycle_floyd"));
}

// Two demos that build in one folder at once would break each other: the
// second waits for the first's lock, and says so.
TEST(Bootstrap, WaitsForAnotherBuildInTheSameFolder)
{
    Bootstrap bootstrap;
    bootstrap.program("cycle_floyd");
    int lock = open((bootstrap.build + "/.demo/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(0, flock(lock, LOCK_EX));
    TerminalOptions options;
    options.env = bootstrap.env({"SUITE_BUILD=cycle_floyd launcher cycle_floyd"});
    options.args = {"cycle_floyd"};
    PseudoTerminal terminal(demo, options);
    terminal.wait_for("demo: waiting: another demo is building in " + bootstrap.build);
    EXPECT_FALSE(fs::exists(bootstrap.ninja_log)) << "ninja ran while another build held the folder";
    close(lock);
    terminal.wait_for("ran ./cycle_floyd");
    EXPECT_EQ(0, terminal.wait_end());
}

// Missing packages that cannot be installed here (not root, no sudo) stop
// every command at once with the line to run as root, and no build runs,
// even an existing one.
TEST(Bootstrap, StopsWithTheInstallLineWhenItCannotInstall)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to run demo as another user";
    Bootstrap bootstrap;
    bootstrap.program("cycle_floyd");
    fs::remove(bootstrap.build + "/.demo/packages.run");
    write_file(bootstrap.tools + "/dpkg-query", "#!/bin/sh\nexit 1\n", 0755);
    fs::permissions(bootstrap.build, fs::perms::all);
    fs::permissions(bootstrap.build + "/.demo", fs::perms::all);
    // A copy of the bootstrap that the other user can read wherever the
    // source lies (root's home is closed to others).
    std::string copy = bootstrap.build + "/source";
    fs::create_directories(copy + "/cmake");
    fs::copy_file(demo, copy + "/demo");
    fs::copy_file(SUITE_SOURCE_DIR "/cmake/build.bash", copy + "/cmake/build.bash");
    RunOptions options;
    options.env = bootstrap.env();
    options.args = {"--reuid=65534", "--regid=65534", "--clear-groups", copy + "/demo", "cycle_floyd"};
    options.cwd = copy;
    ProgramRun run = run_program("/usr/bin/setpriv", options);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("", run.out);
    size_t second = run.err.find("\ndemo: as root, run: apt-get update && apt-get install -y "
                                 "--no-install-recommends g++ cmake ");
    EXPECT_EQ(0u, run.err.rfind("demo: missing packages: g++ cmake ", 0)) << run.err;
    EXPECT_NE(std::string::npos, second) << run.err;
    EXPECT_EQ(2, std::count(run.err.begin(), run.err.end(), '\n')) << run.err;
}

// ./demo gallery -P: every word goes on as it is, so a folder whose name
// starts with "-" is a folder of the current one, not an option.
TEST(Bootstrap, PassesTheGalleryFolderAsItIs)
{
    Bootstrap bootstrap;
    for (const CatalogueEntry &p : registry.programs)
        if (std::string(p.kind) == "picture")
            bootstrap.capture(p.name);
    std::string here = bootstrap.build + "/here";
    fs::create_directories(here);
    for (const char *folder : {"-P", "-", "-g4"}) {
        RunOptions options;
        options.env = bootstrap.env({"SUITE_NO_BUILD=1"});
        options.args = {"gallery", folder};
        options.cwd = here;
        ProgramRun run = run_program(demo, options);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(8u, files_in(here + "/" + folder).size()) << folder;
    }
}

} // namespace
