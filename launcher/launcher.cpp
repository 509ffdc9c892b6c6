// launcher.cpp: the launcher's decisions; nothing here reads the terminal or
// starts a program (gallery.cpp does, for the gallery).
#include "launcher.hpp"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

Registry suite_registry()
{
    Registry registry;
    registry.programs.assign(std::begin(catalogue), std::end(catalogue));
    registry.themes.assign(std::begin(themes), std::end(themes));
    return registry;
}

static std::string lower_case(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The least number of letters inserted, left out, changed or swapped with a
// neighbour that turns `typed` into a start of `name`: the optimal string
// alignment distance. Row i holds the distances from the first i letters
// typed to every start of the name; the last row's least value is the one.
static int distance_to_start(const std::string &typed, const std::string &name)
{
    size_t n = typed.size(), m = name.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; i++)
        d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; j++)
        d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; i++)
        for (size_t j = 1; j <= m; j++) {
            int change = typed[i - 1] != name[j - 1];
            d[i][j] = std::min({d[i - 1][j - 1] + change, d[i - 1][j] + 1, d[i][j - 1] + 1});
            if (i > 1 && j > 1 && typed[i - 1] == name[j - 2] && typed[i - 2] == name[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return *std::min_element(d[n].begin(), d[n].end());
}

Resolution resolve(const Registry &registry, const std::string &choice)
{
    Resolution answer;
    std::string typed = lower_case(choice);
    const int count = static_cast<int>(registry.programs.size());
    if (typed.find_first_not_of(" \t") == std::string::npos) {
        answer.kind = Resolution::empty;
        return answer;
    }
    // A menu number: digits only, leading zeros allowed.
    if (typed.find_first_not_of("0123456789") == std::string::npos) {
        size_t first = std::min(typed.find_first_not_of('0'), typed.size());
        std::string digits = typed.substr(first);
        int number = digits.size() > 6 ? 0 : std::atoi(digits.c_str());
        if (number >= 1 && number <= count) {
            answer.kind = Resolution::program;
            answer.index = number - 1;
        }
        return answer;
    }
    std::vector<int> starting;
    for (int k = 0; k < count; k++) {
        std::string name = registry.programs[k].name;
        if (name == typed) {
            answer.kind = Resolution::program;
            answer.index = k;
            return answer;
        }
        if (name.compare(0, typed.size(), typed) == 0)
            starting.push_back(k);
    }
    if (starting.size() == 1) {
        answer.kind = Resolution::program;
        answer.index = starting[0];
        return answer;
    }
    if (starting.size() > 1) {
        answer.kind = Resolution::ambiguous;
        for (int k : starting)
            answer.names.push_back(registry.programs[k].name);
        return answer;
    }
    // A near miss: at most two edits, and at most one for every three
    // letters typed, so that a short choice does not match everything.
    int best = 3;
    for (const CatalogueEntry &program : registry.programs) {
        int d = distance_to_start(typed, program.name);
        if (d > 2 || 3 * d > static_cast<int>(typed.size()) || d > best)
            continue;
        if (d < best)
            answer.names.clear();
        best = d;
        answer.names.push_back(program.name);
    }
    answer.kind = answer.names.empty() ? Resolution::unknown : Resolution::near_miss;
    return answer;
}

// "a, b or c"
static std::string spoken_list(const std::vector<std::string> &names)
{
    std::string text;
    for (size_t k = 0; k < names.size(); k++) {
        if (k > 0)
            text += k + 1 == names.size() ? " or " : ", ";
        text += names[k];
    }
    return text;
}

// A word as typed, with its control characters written as escapes, so that
// echoing it can neither break the line nor send the terminal a command.
static std::string shown(const std::string &word)
{
    std::string text;
    for (unsigned char c : word) {
        if (c == '\n')
            text += "\\n";
        else if (c == '\t')
            text += "\\t";
        else if (c == 0x1b)
            text += "\\e";
        else if (c < 0x20 || c == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", c);
            text += code;
        } else
            text += static_cast<char>(c);
    }
    return text;
}

std::string choice_problem(const Registry &registry, const std::string &choice, const Resolution &resolution)
{
    char text[512];
    std::string typed = shown(choice), names = spoken_list(resolution.names);
    if (resolution.kind == Resolution::ambiguous)
        std::snprintf(text, sizeof text, "\"%s\" could be %s: type more of the name.", typed.c_str(),
                      names.c_str());
    else if (resolution.kind == Resolution::near_miss)
        std::snprintf(text, sizeof text, "No program \"%s\". Did you mean %s?", typed.c_str(), names.c_str());
    else
        std::snprintf(text, sizeof text, "No program \"%s\": give a number from 1 to %d, a name, or q.",
                      typed.c_str(), static_cast<int>(registry.programs.size()));
    return text;
}

std::string command_line_problem(const Registry &registry, const std::string &choice,
                                 const Resolution &resolution, const std::string &demo)
{
    if (resolution.kind == Resolution::empty)
        return "demo: an empty name names no program; " + demo + " list shows them.\n";
    if (resolution.kind == Resolution::unknown)
        return "demo: there is no program called '" + shown(choice) + "'. The programs are:\n" +
               program_list(registry);
    return "demo: " + choice_problem(registry, choice, resolution) + "\n";
}

std::vector<std::string> wrap_words(const std::string &text, int width)
{
    std::vector<std::string> lines{""};
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
        size_t end = std::min(text.find(' ', at), text.size());
        std::string word = text.substr(at, end - at);
        std::string &line = lines.back();
        if (line.empty())
            line = word;
        else if (static_cast<int>(line.size() + 1 + word.size()) <= width)
            line += " " + word;
        else
            lines.push_back(word);
        at = end;
    }
    return lines;
}

std::string program_list(const Registry &registry, int width)
{
    // Two columns: the names, then what each shows, wrapped under itself.
    size_t longest = 0;
    for (const CatalogueEntry &program : registry.programs)
        longest = std::max(longest, std::string(program.name).size());
    const int column = 2 + static_cast<int>(longest) + 2;
    std::string text;
    for (const ThemeEntry &theme : registry.themes) {
        text += "\n" + std::string(theme.title) + "\n";
        for (const CatalogueEntry &program : registry.programs) {
            if (std::string(program.theme) != theme.theme)
                continue;
            std::string lead = "  " + std::string(program.name);
            for (const std::string &line : wrap_words(program.description, width - column)) {
                lead.resize(column, ' ');
                text += lead + line + "\n";
                lead.clear();
            }
        }
    }
    return text;
}

static void strip_trailing_blanks(std::string &line)
{
    line.erase(line.find_last_not_of(' ') + 1);
}

std::vector<std::string> menu_lines(const Registry &registry, int columns)
{
    // Each theme's block: its title, then its programs with their numbers.
    std::vector<std::vector<std::string>> blocks;
    for (const ThemeEntry &theme : registry.themes) {
        std::vector<std::string> block{theme.title};
        for (size_t k = 0; k < registry.programs.size(); k++)
            if (std::string(registry.programs[k].theme) == theme.theme) {
                char entry[256];
                std::snprintf(entry, sizeof entry, "  %2d  %s", static_cast<int>(k + 1),
                              registry.programs[k].name);
                block.push_back(entry);
            }
        blocks.push_back(block);
    }
    // The first `split` blocks go left, a blank line between two blocks of a
    // column; the split is where the taller column is shortest.
    const size_t count = blocks.size();
    size_t split = count, best = 0;
    for (size_t s = 1; s < count; s++) {
        size_t left = 0, right = 0;
        for (size_t t = 0; t < count; t++)
            (t < s ? left : right) += blocks[t].size() + (t != 0 && t != s);
        size_t taller = std::max(left, right);
        if (split == count || taller < best) {
            best = taller;
            split = s;
        }
    }
    auto column_of = [&blocks](size_t from, size_t to) {
        std::vector<std::string> lines;
        for (size_t t = from; t < to; t++) {
            if (t > from)
                lines.push_back("");
            lines.insert(lines.end(), blocks[t].begin(), blocks[t].end());
        }
        return lines;
    };
    std::vector<std::string> left = column_of(0, split), right = column_of(split, count);
    size_t width = 0, widest_right = 0;
    for (const std::string &line : left)
        width = std::max(width, line.size());
    for (const std::string &line : right)
        widest_right = std::max(widest_right, line.size());
    width += 4;

    std::vector<std::string> lines;
    if (count < 2 || static_cast<int>(width + widest_right) > columns) {
        lines = left;
        lines.push_back("");
        lines.insert(lines.end(), right.begin(), right.end());
    } else {
        for (size_t r = 0; r < std::max(left.size(), right.size()); r++) {
            std::string line = r < left.size() ? left[r] : "";
            if (r < right.size()) {
                line.resize(width, ' ');
                line += right[r];
            }
            lines.push_back(line);
        }
    }
    for (std::string &line : lines)
        strip_trailing_blanks(line);
    return lines;
}

std::string how_to_move_on(const CatalogueEntry &program, const std::vector<std::string> &args)
{
    // The later of --explain and --json is the view.
    std::string view;
    for (const std::string &arg : args)
        if (arg == "--explain" || arg == "--json")
            view = arg;
    char text[256];
    if (std::string(program.kind) == "picture")
        std::snprintf(text, sizeof text, "%s: a key in its window for each stage; Ctrl-C here stops it.",
                      program.name);
    else if (view == "--json")
        std::snprintf(text, sizeof text, "%s: it runs without a pause; Ctrl-C stops it.", program.name);
    else
        std::snprintf(text, sizeof text, "%s: Enter at each pause moves it on; Ctrl-C stops it.",
                      program.name);
    return text;
}

std::string help_text(const std::string &demo)
{
    const char *format = "Twenty-five programs of elementary number theory, each showing one\n"
                         "classical algorithm step by step: seventeen print a trace, eight draw.\n"
                         "\n"
                         "Usage: %s [COMMAND | NAME [ARGS...]]\n"
                         "\n"
                         "  (nothing)           a menu of the programs on a terminal, else their list\n"
                         "  NAME [ARGS...]      run a program with its own numbers ARGS, if any;\n"
                         "                      NAME is its name, its number in the menu, or the\n"
                         "                      start of its name\n"
                         "  NAME --help         what the program shows and the numbers it takes\n"
                         "  list                the programs by theme, with what each shows\n"
                         "  gallery DIR [ARGS]  the pictures of every picture program as PNG files\n"
                         "                      in DIR, no display needed\n"
                         "  build               install what is missing and build everything\n"
                         "  test                build everything and run every test\n"
                         "  web [DIR]           the web edition, a static site, in DIR\n"
                         "                      (build-web/site unless given)\n"
                         "  serve [DIR]         serve that site on this machine\n"
                         "  help                this help\n"
                         "\n"
                         "The first run installs the Debian packages the suite needs (through sudo\n"
                         "when you are not root) and builds the programs into build/.\n"
                         "\n"
                         "For example: %s rho_floyd 8051 2\n";
    std::vector<char> text(std::string(format).size() + 2 * demo.size() + 1);
    std::snprintf(text.data(), text.size(), format, demo.c_str(), demo.c_str());
    return text.data();
}

std::string shell_word(const std::string &word)
{
    const std::string plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./+,:=@%-";
    if (!word.empty() && word.find_first_not_of(plain) == std::string::npos)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string demo_command(const std::string &invoked)
{
    // A path without a slash was found in the current folder ("bash demo").
    if (invoked.empty())
        return "./demo";
    return shell_word(invoked.find('/') == std::string::npos ? "./" + invoked : invoked);
}

bool opens_window(const Display &display)
{
    // SDL_VIDEODRIVER may list several drivers, tried in turn.
    std::string drivers = lower_case(display.driver);
    if (drivers.find_first_not_of(" ,") != std::string::npos) {
        size_t at = 0;
        while (at < drivers.size()) {
            size_t end = std::min(drivers.find(',', at), drivers.size());
            std::string driver = drivers.substr(at, end - at);
            driver.erase(0, driver.find_first_not_of(' '));
            strip_trailing_blanks(driver);
            if (!driver.empty() && driver != "dummy" && driver != "offscreen")
                return true; // a driver that shows windows, trusted as named
            at = end + 1;
        }
        return false;
    }
    return !display.x11.empty() || !display.wayland.empty();
}

std::string display_refusal(const CatalogueEntry &program, const std::vector<std::string> &args,
                            const Display &display, const std::string &demo)
{
    if (std::string(program.kind) != "picture" || opens_window(display))
        return "";
    for (const std::string &arg : args)
        if (arg == "-h" || arg == "--help")
            return "";
    char text[512];
    if (display.driver.find_first_not_of(" ,") != std::string::npos)
        std::snprintf(text, sizeof text,
                      "%s draws in a window, and the video driver SDL_VIDEODRIVER=%s opens none.",
                      program.name, shown(display.driver).c_str());
    else
        std::snprintf(
            text, sizeof text,
            "%s draws in a window, and there is no display here (neither DISPLAY nor WAYLAND_DISPLAY "
            "is set).",
            program.name);
    std::string refusal;
    for (const std::string &line : wrap_words(text, 74))
        refusal += (refusal.empty() ? "demo: " : "      ") + line + "\n";
    return refusal + "      To get its pictures as PNG files instead, run: " + demo + " gallery DIR\n";
}

BuildSet launcher_set(const Registry &registry, const std::string &build)
{
    // Every build that demo runs includes the launcher, so any stamp will do.
    BuildSet set{"launcher",
                 "the launcher",
                 {"launcher"},
                 {build + "/launcher/launcher"},
                 {"launcher", "programs", "captures", "all"}};
    for (const CatalogueEntry &program : registry.programs)
        set.stamps.push_back(program.name);
    return set;
}

BuildSet program_set(const CatalogueEntry &program, const std::string &build)
{
    return {program.name,
            program.name,
            {"launcher", program.name},
            {build + "/bin/" + program.name},
            {program.name, "programs", "all"}};
}

BuildSet programs_set(const Registry &registry, const std::string &build)
{
    BuildSet set{"programs", "every program", {"launcher", "suite_programs"}, {}, {"programs", "all"}};
    for (const CatalogueEntry &program : registry.programs)
        set.outputs.push_back(build + "/bin/" + program.name);
    return set;
}

BuildSet captures_set(const Registry &registry, const std::string &build)
{
    BuildSet set{"captures",
                 "the picture programs' capture variants",
                 {"launcher", "suite_captures"},
                 {},
                 {"captures", "all"}};
    for (const CatalogueEntry &program : registry.programs)
        if (std::string(program.kind) == "picture")
            set.outputs.push_back(build + "/bin/capture/" + program.name);
    return set;
}

static bool modified(const std::string &path, timespec &when)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    when = info.st_mtim;
    return true;
}

static bool before(const timespec &a, const timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

bool up_to_date(const std::string &build, const BuildSet &set)
{
    const std::string records = build + "/.demo/";
    timespec stamp = {0, 0}, when, rules, listed;
    bool stamped = false;
    for (const std::string &name : set.stamps)
        if (modified(records + name, when) && (!stamped || before(stamp, when))) {
            stamp = when;
            stamped = true;
        }
    if (!stamped || !modified(build + "/build.ninja", rules) || !modified(records + "inputs", listed) ||
        !before(rules, listed))
        return false;
    // A source saved in the same clock tick as the stamp counts as newer. An
    // empty list says nothing: the build reads sources.
    std::ifstream inputs(records + "inputs");
    int sources = 0;
    for (std::string path; std::getline(inputs, path); sources++)
        if (!modified(path, when) || !before(when, stamp))
            return false;
    if (sources == 0)
        return false;
    for (const std::string &output : set.outputs)
        if (!modified(output, when))
            return false;
    return true;
}
