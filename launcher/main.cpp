// The launcher: ./demo's commands, once demo has installed what they need.
// It resolves the user's choice, refuses what cannot run here, has demo
// build what is out of date, and runs the programs: one in its own place
// (./demo NAME), one after another from the menu, or all for the gallery.
#include "launcher.hpp"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace
{

struct Context {
    Registry registry;
    std::string build; // the build folder: bin/, bin/capture/, .demo/
    std::string demo;  // the words that start demo where the user is
    char **argv;       // the launcher's own, to come back after a build
};

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

// When a source changed since `set` was last built, demo builds it and
// starts the launcher again with the same words (SUITE_BUILT then names the
// set, which is not checked twice). SUITE_NO_BUILD runs the build as it is.
void ensure_built(const Context &context, const BuildSet &set)
{
    if (!environment("SUITE_NO_BUILD").empty() || environment("SUITE_BUILT") == set.name ||
        up_to_date(context.build, set))
        return;
    std::string request = set.name;
    for (const std::string &target : set.targets)
        request += " " + target;
    setenv("SUITE_BUILD", request.c_str(), 1);
    setenv("SUITE_BUILD_WHAT", set.what.c_str(), 1);
    std::string demo = SUITE_SOURCE_DIR "/demo";
    context.argv[0] = &demo[0];
    std::fflush(stdout);
    execv(demo.c_str(), context.argv);
    std::fprintf(stderr, "demo: cannot run %s: %s\n", demo.c_str(), std::strerror(errno));
    std::exit(1);
}

// A program in the launcher's place, from the folder that holds it and its
// font. SUITE_COMMAND is how the user runs it from where they are, for its
// usage hint; the launcher's own variables are not passed on.
[[noreturn]] void exec_program(const Context &context, const CatalogueEntry &program,
                               const std::vector<std::string> &args, const std::string &command)
{
    std::string bin = context.build + "/bin";
    std::vector<std::string> words{"./" + std::string(program.name)};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    setenv("SUITE_COMMAND", command.c_str(), 1);
    for (const char *name : {"SUITE_BUILD", "SUITE_BUILD_WHAT", "SUITE_BUILT", "SUITE_DEMO"})
        unsetenv(name);
    if (chdir(bin.c_str()) == 0)
        execv(argv[0], argv.data());
    std::fprintf(stderr, "demo: cannot run %s/%s: %s\n", bin.c_str(), program.name, std::strerror(errno));
    _exit(127);
}

Display display_here()
{
    return {environment("DISPLAY"), environment("WAYLAND_DISPLAY"), environment("SDL_VIDEODRIVER")};
}

// ./demo NAME [ARGS]: the program in the launcher's place, so that its
// status and its signals are the user's directly.
int run_named(const Context &context, const std::vector<std::string> &args)
{
    Resolution resolution = resolve(context.registry, args[0]);
    if (resolution.kind != Resolution::program) {
        // A name added to the registry since the launcher was built.
        ensure_built(context, launcher_set(context.registry, context.build));
        std::fputs(command_line_problem(context.registry, args[0], resolution, context.demo).c_str(), stderr);
        return 2;
    }
    const CatalogueEntry &program = context.registry.programs[resolution.index];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    std::string refusal = display_refusal(program, rest, display_here(), context.demo);
    if (!refusal.empty()) {
        std::fputs(refusal.c_str(), stderr);
        return 3;
    }
    ensure_built(context, program_set(program, context.build));
    if (isatty(0) && isatty(1))
        std::fprintf(stderr, "%s\n", how_to_move_on(program, rest).c_str());
    exec_program(context, program, rest, context.demo + " " + program.name);
}

// At the menu's questions Ctrl-C leaves it, as the end of input does.
void leave(int)
{
    ssize_t ignored = write(1, "\n", 1);
    (void)ignored;
    _exit(0);
}

// While a program runs, Ctrl-C is for the program; the menu ends the line.
void end_line(int)
{
    ssize_t ignored = write(1, "\n", 1);
    (void)ignored;
}

void on_interrupt(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigaction(SIGINT, &action, nullptr);
}

// One line from the terminal, without its newline; false at the end of
// input. The terminal hands over a line at a time, so nothing typed after it
// is read.
bool read_line(std::string &line)
{
    line.clear();
    char buffer[512];
    for (;;) {
        ssize_t got = read(0, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        line.append(buffer, got);
        if (line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
}

// Keys typed while a program ran are not an answer to the next question.
void discard_typed_ahead()
{
    if (isatty(0))
        tcflush(0, TCIFLUSH);
}

int terminal_columns()
{
    winsize size = {};
    return ioctl(0, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// A program chosen in the menu, as a child: the menu waits for it, and puts
// the terminal back as it was should the program end without doing so.
void run_from_menu(const Context &context, const CatalogueEntry &program,
                   const std::vector<std::string> &args)
{
    std::string refusal = display_refusal(program, args, display_here(), context.demo);
    if (!refusal.empty()) {
        std::fputs(refusal.c_str(), stderr);
        return;
    }
    termios mode;
    bool saved = tcgetattr(0, &mode) == 0;
    struct sigaction ignore = {}, quit;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGQUIT, &ignore, &quit);
    on_interrupt(end_line);
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGINT, SIG_DFL);
        signal(SIGQUIT, SIG_DFL);
        exec_program(context, program, args, program.name);
    }
    int status;
    if (pid < 0)
        std::fprintf(stderr, "demo: cannot start %s: %s\n", program.name, std::strerror(errno));
    else
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    if (saved)
        tcsetattr(0, TCSANOW, &mode);
    sigaction(SIGQUIT, &quit, nullptr);
}

std::vector<std::string> words_of(const std::string &line)
{
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
        size_t end = std::min(line.find_first_of(" \t", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// The menu: the programs numbered under their themes; a choice runs its
// program with the words after it, and Enter brings the menu back.
int menu(const Context &context)
{
    std::string message;
    for (;;) {
        on_interrupt(leave);
        discard_typed_ahead();
        std::string screen = "\n";
        for (const std::string &line : menu_lines(context.registry, terminal_columns()))
            screen += line + "\n";
        screen += "\n";
        if (!message.empty())
            for (const std::string &line : wrap_words(message, 79))
                screen += line + "\n";
        message.clear();
        screen += "A number or a name, then its numbers if you like (9 8051); NAME --help for more.\n"
                  "Choose a program (q to leave): ";
        std::fputs(screen.c_str(), stdout);
        std::fflush(stdout);
        std::string line;
        if (!read_line(line)) {
            std::fputs("\n", stdout);
            return 0;
        }
        std::vector<std::string> words = words_of(line);
        if (words.empty())
            continue;
        if (words[0] == "q" || words[0] == "Q" || words[0] == "quit")
            return 0;
        Resolution resolution = resolve(context.registry, words[0]);
        if (resolution.kind != Resolution::program) {
            message = choice_problem(context.registry, words[0], resolution);
            continue;
        }
        const CatalogueEntry &program = context.registry.programs[resolution.index];
        std::vector<std::string> args(words.begin() + 1, words.end());
        std::string header = program.name;
        for (const std::string &arg : args)
            header += " " + arg;
        std::printf("\n%s\n=== %s ===\n", how_to_move_on(program, args).c_str(), header.c_str());
        run_from_menu(context, program, args);
        on_interrupt(leave);
        std::printf("\n=== end of %s ===\n", program.name);
        discard_typed_ahead();
        std::fputs("Enter: back to the menu", stdout);
        std::fflush(stdout);
        if (!read_line(line)) {
            std::fputs("\n", stdout);
            return 0;
        }
    }
}

// A build that demo runs in the folder holds its lock; the gallery waits for
// it to end, and keeps a shared hold until its pictures are made.
void wait_for_builds(const std::string &build)
{
    mkdir((build + "/.demo").c_str(), 0755);
    int lock = open((build + "/.demo/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0 || flock(lock, LOCK_SH | LOCK_NB) == 0)
        return;
    std::fprintf(stderr, "demo: waiting for the build in %s to end\n", build.c_str());
    flock(lock, LOCK_SH);
}

int gallery(const Context &context, const std::vector<std::string> &args)
{
    if (args.size() < 2 || args[1].empty()) {
        std::fprintf(stderr, "usage: %s gallery DIR [ARGS...]\n", context.demo.c_str());
        return 2;
    }
    Gallery gallery;
    gallery.build = context.build;
    gallery.args.assign(args.begin() + 2, args.end());
    gallery.processors = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    std::string refusal = gallery_folder(args[1], gallery);
    if (!refusal.empty()) {
        std::fputs(refusal.c_str(), stderr);
        return 1;
    }
    ensure_built(context, captures_set(context.registry, context.build));
    wait_for_builds(context.build);
    return run_gallery(context.registry, gallery, std::cout, std::cerr);
}

} // namespace

int main(int argc, char **argv)
{
    Context context{suite_registry(), environment("SUITE_BUILD_DIR"), demo_command(environment("SUITE_DEMO")),
                    argv};
    if (context.build.empty())
        context.build = SUITE_BUILD_FOLDER;
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string command = args.empty() ? "" : args[0];
    if (args.empty() && isatty(0)) {
        ensure_built(context, programs_set(context.registry, context.build));
        return menu(context);
    }
    if (args.empty() || command == "list") {
        ensure_built(context, launcher_set(context.registry, context.build));
        std::fputs(program_list(context.registry).c_str(), stdout);
        return 0;
    }
    if (command == "help" || command == "-h" || command == "--help") {
        std::fputs(help_text(context.demo).c_str(), stdout);
        return 0;
    }
    if (command == "gallery")
        return gallery(context, args);
    return run_named(context, args);
}
