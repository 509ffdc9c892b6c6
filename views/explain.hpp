// explain.hpp: the explanation of a run, in sentences, in English or French.
// A table gives, for each event, a function that writes it with the
// Explainer: the heading that states the computation, the legend of the
// classic trace, each step labelled, listings in columns, the conclusion.
// Long runs are cut to their first and last lines (--all shows them all),
// and on a terminal the reader moves on step by step.
#pragma once
#include "views/steps.hpp"
#include "views/translate.hpp"
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Lines of an explanation are kept within this many columns.
const int explain_width = 78;

// What each column or word of a classic trace means: (term, meaning), both
// marked N_() and translated where they are shown.
using Legend = std::vector<std::pair<const char *, const char *>>;

// The legend as lines "  term  meaning", the meanings wrapped in a column;
// translated or in English (the usage is English).
std::string legend_text(const Legend &legend, bool translated);

class Explainer
{
  public:
    struct Settings {
        bool all = false;                                  // every step and every listed value
        std::function<void(const std::string &)> write;    // the text, in UTF-8
        std::function<bool()> next_step;                   // waits at a teaching step; false: no more waits
        int head = 20, tail = 20;                          // lines of a long block kept at each end
        int listing_head = 25, listing_tail = 25;          // rows of a long listing kept at each end
    };
    explicit Explainer(Settings settings);

    // Prose, wrapped; a heading is followed by a rule.
    void heading(const std::string &text);
    void paragraph(const std::string &text);
    // What each column or word of the classic trace means.
    void legend(const Legend &legend);
    // One line of a block of steps. A teaching step waits for the reader
    // (on a terminal). Past `head` lines only the last `tail` are kept.
    void line(const std::string &text, bool teaching = false);
    // One entry of a listing, laid out in columns when the listing ends.
    void cell(const std::string &text);
    // Ends the block of lines or the listing in progress.
    void end_block();
    // The conclusion: set off by a blank line.
    void conclusion(const std::string &text);

    // The run's opening event, for the renderers of later events.
    Recorder::Kept run;
    // Small numbers a renderer keeps from one event to the next.
    std::map<std::string, long long> memory;

    // One line as it is, and a text wrapped with its first line and the
    // others indented: the page's own means, for what the ones above do not say.
    void write_line(const std::string &text);
    void wrapped(const std::string &text, const std::string &indent, const std::string &first_indent);

  private:
    void end_lines();
    void end_cells();
    void wait();

    Settings settings;
    bool waiting = true; // the reader has not asked for all the rest
    long block_lines = 0;
    std::deque<std::string> block_tail;
    std::vector<std::string> cells;
    bool blank_before = false; // the last line written was blank
    bool written = false;
};

using ExplainFunction = void (*)(const Event &event, Explainer &x);
struct ExplainLine {
    EventKind kind;
    const char *what;
    ExplainFunction render; // nullptr: the event says nothing in the explanation
};
using ExplainTable = std::vector<ExplainLine>;

class ExplainView : public Steps
{
  public:
    ExplainView(std::vector<const ExplainTable *> tables, Explainer::Settings settings);
    ~ExplainView() override;
    void report(const Event &event) override;
    void finish();

  private:
    Explainer x;
    std::map<std::string, ExplainFunction> renderers;
    EventKind last_kind = EventKind::run;
    std::string last_item;
    bool finished = false;
};

// The display width of a UTF-8 text: one column per character.
int text_width(const std::string &text);
// A whole number as the explanations write it: "-72", "4842037507".
std::string number(long long v);
// 2^s written with superscript digits: "2⁴".
std::string power_of(long long base, long long exponent);
// n >= 2 as a product of primes, found by trial division, a repeated one as
// a power: "7 · 13 · 19", "41²".
std::string factorization(long long n);
