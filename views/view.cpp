// The views of a run on the console: the classic trace through the trace's
// writer and its pauses, the explanation on standard output with its waits
// on a terminal, JSON lines on standard output.
#include "views/view.hpp"
#include "console/console.hpp"
#include "views/json.hpp"
#include <cstdio>
#include <cstring>
#include <unistd.h>

// Whether a standard descriptor is a terminal. A page of the web edition
// is none: its trace keeps the bytes a file would get.
static bool terminal(int fd)
{
#ifdef __EMSCRIPTEN__
    (void)fd;
    return false;
#else
    return isatty(fd);
#endif
}

ViewOptions take_view_options(int &argc, char **argv)
{
    ViewOptions options;
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--explain") == 0)
            options.kind = ViewOptions::explain;
        else if (std::strcmp(argv[i], "--json") == 0)
            options.kind = ViewOptions::json;
        else if (std::strcmp(argv[i], "--all") == 0)
            options.all = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return options;
}

std::string view_usage(const Legend &legend)
{
    std::string text;
    if (!legend.empty())
        text += "What the trace shows:\n" + legend_text(legend, false);
    text += "How it is shown (anywhere among the numbers):\n"
            "  --explain  the run explained step by step, in English or in French (LANGUAGE=fr)\n"
            "  --all      with --explain: every step and every value, nothing left out\n"
            "  --json     the run as JSON Lines, one event a line, the result last\n";
    return text;
}

// At a teaching step, on a terminal: a prompt, one line read, the prompt
// cleared again. "a" (or the end of input) means: no more waits.
static bool next_step_on_terminal()
{
    fputs(_("Enter: next step, a: all the rest "), stdout);
    fflush(stdout);
    char answer[64];
    bool more = fgets(answer, sizeof answer, stdin) != nullptr && answer[0] != 'a' && answer[0] != 'A';
    // The Enter echoed by the terminal moved to a new line: back up to the
    // prompt's line and clear it.
    fputs("\x1b[1A\x1b[2K\r", stdout);
    return more;
}

// Whether the terminal's cursor starts a line: the trace written last ended
// with a newline, or an Enter typed at a pause was echoed.
static bool at_line_start = true;

bool pauses_wait = false;

void wait_at_pause(const char *what)
{
    flush_trace();
    if (std::strcmp(what, "key") == 0) {
        read_key();
    } else {
        wait_enter();
        if (terminal(STDIN_FILENO))
            at_line_start = true;
    }
}

View::View(const ViewOptions &options_, std::vector<const ClassicTable *> classic_tables,
           std::vector<const ExplainTable *> explain_tables)
    : options(options_)
{
    switch (options.kind) {
    case ViewOptions::classic: {
        ClassicOutput out;
        out.write = [](const char *bytes, size_t size) {
            trace_write(bytes, size);
            at_line_start = bytes[size - 1] == '\n';
        };
        classic = std::make_unique<ClassicView>(classic_tables, out);
        // The program waits at its pauses only in the classic trace.
        pauses_wait = true;
        break;
    }
    case ViewOptions::explain: {
        set_language(language_from_environment());
        Explainer::Settings settings;
        settings.all = options.all;
        settings.write = [](const std::string &text) { fwrite(text.data(), 1, text.size(), stdout); };
        if (terminal(STDIN_FILENO) && terminal(STDOUT_FILENO))
            settings.next_step = next_step_on_terminal;
        explain = std::make_unique<ExplainView>(explain_tables, settings);
        break;
    }
    case ViewOptions::json:
        json = std::make_unique<JsonView>([](const std::string &line) {
            fwrite(line.data(), 1, line.size(), stdout);
            fputc('\n', stdout);
        });
        break;
    }
}

View::~View()
{
    finish();
}

Steps &View::steps()
{
    if (classic)
        return *classic;
    if (explain)
        return *explain;
    return *json;
}

void View::finish()
{
    if (finished)
        return;
    finished = true;
    pauses_wait = false;
    if (classic) {
        classic->flush();
        if (!at_line_start && terminal(STDOUT_FILENO))
            fputc('\n', stdout);
    }
    if (explain)
        explain->finish();
    if (json)
        static_cast<JsonView &>(*json).flush();
    fflush(stdout);
}
