// The explanation's page: wrapping, the legend, blocks of steps cut to their
// ends, listings in columns, and the waits at teaching steps.
#include "views/explain.hpp"
#include <algorithm>

int text_width(const std::string &text)
{
    int width = 0;
    for (unsigned char c : text)
        width += (c & 0xC0) != 0x80; // count the first byte of each character
    return width;
}

std::string number(long long v)
{
    return std::to_string(v);
}

std::string power_of(long long base, long long exponent)
{
    static const char *const superscripts[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string digits = std::to_string(exponent), out = std::to_string(base);
    for (char d : digits)
        out += d == '-' ? "⁻" : superscripts[d - '0'];
    return out;
}

std::string factorization(long long n)
{
    std::string text;
    for (long long p = 2; n > 1; p++) {
        if (p > n / p)
            p = n; // what is left is prime
        int k = 0;
        for (; n % p == 0; n /= p)
            k++;
        if (k > 0)
            text += (text.empty() ? "" : " · ") + (k == 1 ? number(p) : power_of(p, k));
    }
    return text;
}

Explainer::Explainer(Settings settings_) : settings(std::move(settings_)) {}

void Explainer::write_line(const std::string &text)
{
    settings.write(text + "\n");
    blank_before = text.empty();
    written = true;
}

// A sign that binds the words on either side of it: "u(18) = u(36)" is
// never broken at the sign.
static bool binding_sign(const std::string &word)
{
    for (const char *sign : {"=", "≈", "≡", "×", "·", "→", "-", "−", "+", "≠", "<", ">", "≤", "≥", "|"})
        if (word == sign)
            return true;
    return false;
}

// The words of a paragraph, each sign glued to its neighbours.
static std::vector<std::string> words_of(const std::string &paragraph)
{
    std::vector<std::string> words;
    bool glue_next = false;
    size_t at = 0;
    while (at < paragraph.size()) {
        size_t end = paragraph.find(' ', at);
        std::string word = paragraph.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? paragraph.size() : end + 1;
        if (word.empty())
            continue;
        bool sign = binding_sign(word);
        if ((sign || glue_next) && !words.empty())
            words.back() += " " + word;
        else
            words.push_back(word);
        glue_next = sign;
    }
    return words;
}

// The words of `text` on lines of at most explain_width columns; a word
// longer than a line stands alone. Line breaks in the text are kept.
void Explainer::wrapped(const std::string &text, const std::string &indent, const std::string &first_indent)
{
    size_t start = 0;
    bool first = true;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string line = first ? first_indent : indent;
        bool empty = true;
        for (const std::string &word : words_of(paragraph)) {
            if (!empty && text_width(line) + 1 + text_width(word) > explain_width) {
                write_line(line);
                line = indent;
                empty = true;
            }
            line += (empty ? "" : " ") + word;
            empty = false;
        }
        write_line(line);
        first = false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

void Explainer::heading(const std::string &text)
{
    end_block();
    wrapped(text, "", "");
    int width = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        width = std::max(width, text_width(text.substr(start, end == std::string::npos ? end : end - start)));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::string rule;
    for (int i = 0; i < std::min(width, explain_width); i++)
        rule += "=";
    write_line(rule);
    write_line("");
}

void Explainer::paragraph(const std::string &text)
{
    end_block();
    if (written && !blank_before)
        write_line("");
    wrapped(text, "", "");
    write_line("");
}

// Lines "  term  meaning" with the meanings in a column (a term longer than
// a third of the line stands on a line of its own), each line passed on.
static void legend_lines(const Legend &legend, bool translated, const std::function<void(const std::string &)> &out,
                         const std::function<void(const std::string &, const std::string &, const std::string &)>
                             &wrap)
{
    auto word = [translated](const char *text) { return std::string(translated ? translate(text) : text); };
    int width = 0;
    for (const auto &term : legend)
        width = std::max(width, text_width(word(term.first)));
    width = std::min(width, explain_width / 3);
    std::string indent(2 + width + 2, ' ');
    for (const auto &term : legend) {
        std::string name = word(term.first);
        int pad = width - text_width(name);
        if (pad < 0) {
            out("  " + name);
            wrap(word(term.second), indent, indent);
        } else {
            wrap(word(term.second), indent, "  " + name + std::string(pad + 2, ' '));
        }
    }
}

std::string legend_text(const Legend &legend, bool translated)
{
    std::string text;
    Explainer::Settings settings;
    settings.write = [&text](const std::string &t) { text += t; };
    Explainer page(settings);
    legend_lines(
        legend, translated, [&page](const std::string &line) { page.write_line(line); },
        [&page](const std::string &t, const std::string &indent, const std::string &first) {
            page.wrapped(t, indent, first);
        });
    return text;
}

void Explainer::legend(const Legend &legend)
{
    end_block();
    if (written && !blank_before)
        write_line("");
    write_line(_("How to read the trace:"));
    legend_lines(
        legend, true, [this](const std::string &line) { write_line(line); },
        [this](const std::string &t, const std::string &indent, const std::string &first) {
            wrapped(t, indent, first);
        });
    write_line("");
}

void Explainer::wait()
{
    if (waiting && settings.next_step)
        waiting = settings.next_step();
}

void Explainer::line(const std::string &text, bool teaching)
{
    if (!cells.empty())
        end_cells();
    block_lines++;
    if (settings.all || block_lines <= settings.head) {
        write_line(text);
        if (teaching)
            wait();
        return;
    }
    block_tail.push_back(text);
    if (static_cast<int>(block_tail.size()) > settings.tail)
        block_tail.pop_front();
}

void Explainer::end_lines()
{
    long left_out = settings.all ? 0 : block_lines - settings.head - static_cast<long>(block_tail.size());
    if (left_out > 0)
        write_line(format(_("   ... %ld more lines left out (--all shows every one) ..."), left_out));
    for (const std::string &text : block_tail)
        write_line(text);
    block_tail.clear();
    block_lines = 0;
}

void Explainer::cell(const std::string &text)
{
    if (block_lines > 0)
        end_lines();
    cells.push_back(text);
}

// The cells right-aligned in columns two blanks apart, as many columns as
// the width allows, read row by row; a long listing keeps its first and last
// rows and says how many values lie between.
void Explainer::end_cells()
{
    int width = 1;
    for (const std::string &c : cells)
        width = std::max(width, text_width(c));
    int columns = std::max(1, (explain_width + 2) / (width + 2));
    long rows = (static_cast<long>(cells.size()) + columns - 1) / columns;
    auto row_text = [&](long r) {
        std::string text;
        for (long k = r * columns; k < std::min<long>((r + 1) * columns, cells.size()); k++) {
            if (k > r * columns)
                text += "  ";
            text += std::string(width - text_width(cells[k]), ' ') + cells[k];
        }
        return text;
    };
    bool cut = !settings.all && rows > settings.listing_head + settings.listing_tail;
    for (long r = 0; r < rows; r++) {
        if (cut && r == settings.listing_head) {
            // The rows left out are all full: only the last row can be short.
            long skipped = (rows - settings.listing_head - settings.listing_tail) * columns;
            write_line(format(_("   ... %ld values left out (--all shows every one) ..."), skipped));
            r = rows - settings.listing_tail;
        }
        write_line(row_text(r));
    }
    cells.clear();
}

void Explainer::end_block()
{
    if (!cells.empty())
        end_cells();
    if (block_lines > 0)
        end_lines();
}

void Explainer::conclusion(const std::string &text)
{
    end_block();
    if (written && !blank_before)
        write_line("");
    wrapped(text, "", "");
}

static std::string renderer_key(EventKind kind, const char *what)
{
    return std::string(kind_name(kind)) + ":" + what;
}

ExplainView::ExplainView(std::vector<const ExplainTable *> tables, Explainer::Settings settings)
    : x(std::move(settings))
{
    for (const ExplainTable *table : tables)
        for (const ExplainLine &line : *table)
            renderers[renderer_key(line.kind, line.what)] = line.render;
}

ExplainView::~ExplainView()
{
    finish();
}

void ExplainView::report(const Event &event)
{
    if (event.kind == EventKind::pause)
        return; // the explanation waits at its own steps
    // A listing ends where something else comes.
    if (last_kind == EventKind::item && (event.kind != EventKind::item || last_item != event.what))
        x.end_block();
    if (last_kind == EventKind::step && event.kind != EventKind::step)
        x.end_block();
    last_kind = event.kind;
    if (event.kind == EventKind::item)
        last_item = event.what;
    if (event.kind == EventKind::run) {
        Recorder keep;
        keep.report(event);
        x.run = keep.events.front();
    }
    auto at = renderers.find(renderer_key(event.kind, event.what));
    if (at != renderers.end()) {
        if (at->second)
            at->second(event, x);
    } else if (event.kind == EventKind::item && event.count == 1) {
        x.cell(number(event[event.values[0].name]));
    }
}

void ExplainView::finish()
{
    if (finished)
        return;
    finished = true;
    x.end_block();
}
