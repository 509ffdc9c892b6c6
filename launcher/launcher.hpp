// launcher.hpp: the launcher's decisions, as functions of the registry and of
// what the user typed: which program a choice names, the list, the menu, the
// refusals, what must be built first, and the gallery. main.cpp applies them
// to the terminal and the processes.
#pragma once
#include "catalogue.hpp"
#include <ostream>
#include <string>
#include <vector>

// The programs in menu order (numbered from 1) and their themes.
struct Registry {
    std::vector<CatalogueEntry> programs;
    std::vector<ThemeEntry> themes;
};
Registry suite_registry(); // the generated catalogue of this build

// What a choice names: a menu number, a whole name or the start of exactly
// one name, in any case. A start shared by several names is ambiguous; a
// slip of at most two edits (fewer in a short choice) is a near miss.
struct Resolution {
    enum Kind { program, ambiguous, near_miss, unknown, empty } kind = unknown;
    int index = -1;                 // program: its place in the registry
    std::vector<std::string> names; // ambiguous, near_miss: the candidates
};
Resolution resolve(const Registry &registry, const std::string &choice);

// The sentence that answers a choice naming no single program.
std::string choice_problem(const Registry &registry, const std::string &choice, const Resolution &resolution);

// What ./demo CHOICE writes on standard error when CHOICE names no single
// program: the unknown are answered with the list.
std::string command_line_problem(const Registry &registry, const std::string &choice,
                                 const Resolution &resolution, const std::string &demo);

// The words of `text` in lines of at most `width` columns (a longer word
// keeps a line of its own).
std::vector<std::string> wrap_words(const std::string &text, int width);

// ./demo list: the programs under their themes' titles, each with what it
// shows, wrapped to `width` columns.
std::string program_list(const Registry &registry, int width = 80);

// The menu's lines: the themes' blocks in two columns, split where the
// taller column is shortest, or in one when two do not fit `columns`.
std::vector<std::string> menu_lines(const Registry &registry, int columns);

// The line that says how to move a program on and how to stop it, given the
// words after its name: a console program whose view is JSON never pauses.
std::string how_to_move_on(const CatalogueEntry &program, const std::vector<std::string> &args = {});

// ./demo help, naming demo as the user started it.
std::string help_text(const std::string &demo);

// The words that run demo again from where the user is: the path demo was
// started by ("./demo", "/opt/suite/demo"), quoted for the shell if needed.
std::string demo_command(const std::string &invoked);
std::string shell_word(const std::string &word);

// Whether SDL can open a window here: a display is named (DISPLAY or
// WAYLAND_DISPLAY) and no windowless video driver (dummy, offscreen) is.
struct Display {
    std::string x11, wayland, driver; // DISPLAY, WAYLAND_DISPLAY, SDL_VIDEODRIVER
};
bool opens_window(const Display &display);

// Why a program cannot run here (a picture program with no window to draw
// in), or "" when it can; its usage (-h, --help) needs no window.
std::string display_refusal(const CatalogueEntry &program, const std::vector<std::string> &args,
                            const Display &display, const std::string &demo);

// What a command needs built: ninja targets (the launcher among them), the
// files they leave, and the stamps that record a finished build of them
// (its own, and those of larger sets that include it).
struct BuildSet {
    std::string name, what; // its stamp's name; what it is, for the build's announcement
    std::vector<std::string> targets, outputs, stamps;
};
BuildSet launcher_set(const Registry &registry, const std::string &build);
BuildSet program_set(const CatalogueEntry &program, const std::string &build);
BuildSet programs_set(const Registry &registry, const std::string &build);
BuildSet captures_set(const Registry &registry, const std::string &build);

// Whether a set is built from the current sources, told without ninja: the
// newest of its stamps in BUILD/.demo is newer than every file listed in
// BUILD/.demo/inputs (the sources the build reads, which demo writes after
// each build), that list is newer than build.ninja, and the outputs exist.
bool up_to_date(const std::string &build, const BuildSet &set);

// The gallery: every picture program's capture variant run in a scratch
// folder inside DIR, `processors` at a time, with `args` on its command line;
// then every picture moved into DIR, or none (a failed program, a missing
// picture or a folder in the way stops it before any is moved). Prints one
// line per picture on `out`, in registry order; returns demo's status.
struct Gallery {
    std::string build;             // bin/capture/NAME and bin/times.ttf
    std::string dir;               // the folder, made and checked by gallery_folder()
    std::vector<std::string> args; // words for every capture run
    int processors = 1;
};
// Makes DIR (and its parents) and checks that it takes files; sets
// gallery.dir to its absolute path. Returns the refusal, or "".
std::string gallery_folder(const std::string &dir, Gallery &gallery);
int run_gallery(const Registry &registry, const Gallery &gallery, std::ostream &out, std::ostream &err);

// The first destination among DIR/FILE that a picture cannot replace (a
// folder), or "" when every one can be written.
std::string destination_in_the_way(const std::string &dir, const std::vector<std::string> &files);
