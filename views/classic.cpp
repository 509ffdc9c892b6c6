// The classic view: the programs' formats applied to the events' values.
#include "views/classic.hpp"
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static std::string line_key(EventKind kind, const char *what)
{
    return std::string(kind_name(kind)) + ":" + what;
}

ClassicView::ClassicView(std::vector<const ClassicTable *> tables, ClassicOutput output_)
    : output(std::move(output_))
{
    for (const ClassicTable *table : tables)
        for (const ClassicLine &line : *table)
            lines.emplace(line_key(line.kind, line.what), compile(line));
}

ClassicView::~ClassicView()
{
    flush();
}

// Splits a format into literal text and conversions. A conversion keeps its
// flags, width and precision; its length modifier is replaced by "ll" for an
// integer, so that every integer is printed from 64 bits. "%%" is text.
ClassicView::Compiled ClassicView::compile(const ClassicLine &line)
{
    Compiled c;
    c.fields = line.fields;
    std::string text;
    int next_field = 0;
    for (const char *p = line.format; *p;) {
        if (*p != '%') {
            text += *p++;
            continue;
        }
        if (p[1] == '%') {
            text += '%';
            p += 2;
            continue;
        }
        if (!text.empty())
            c.pieces.push_back({text, -1, false});
        text.clear();
        std::string directive = "%";
        p++;
        while (*p && std::strchr("-+ #0123456789.", *p))
            directive += *p++;
        while (*p && std::strchr("hlLqjzt", *p))
            p++;
        char conversion = *p ? *p++ : 'd';
        bool real = std::strchr("fFeEgGaA", conversion) != nullptr, words = conversion == 's';
        // Digits alone, or after a precision of nothing (that is, 0).
        size_t digits = directive.find_first_not_of("0123456789", 1);
        bool fast = (conversion == 'd' || conversion == 'i') && directive[1] != '0' &&
                    (digits == std::string::npos || (directive[digits] == '.' && digits + 1 == directive.size()));
        Piece piece{directive, next_field++, real, words};
        if (fast) {
            piece.fast = true;
            piece.width = atoi(directive.c_str() + 1);
            piece.zero_is_empty = digits != std::string::npos;
        }
        piece.text += real || words ? std::string(1, conversion) : std::string("ll") + conversion;
        c.pieces.push_back(piece);
    }
    if (!text.empty())
        c.pieces.push_back({text, -1, false});
    return c;
}

const ClassicView::Compiled *ClassicView::find(const Event &event)
{
    if (cached_what == event.what && cached_kind == event.kind)
        return cached;
    auto at = lines.find(line_key(event.kind, event.what));
    cached_kind = event.kind;
    cached_what = event.what;
    cached = at == lines.end() ? nullptr : &at->second;
    return cached;
}

void ClassicView::report(const Event &event)
{
    if (event.kind == EventKind::pause) {
        flush();
        if (output.paused)
            output.paused(event.what);
        return;
    }
    const Compiled *line = find(event);
    if (line == nullptr)
        return;
    char number[128];
    for (const Piece &piece : line->pieces) {
        if (piece.field < 0) {
            buffer += piece.text;
            continue;
        }
        const char *name = piece.field < static_cast<int>(line->fields.size()) ? line->fields[piece.field] : "";
        const Value *v = event.find(name);
        int length;
        if (piece.words) {
            buffer += v != nullptr && v->type == Value::text ? v->text_value : "";
            continue;
        }
        if (piece.real)
            length = snprintf(number, sizeof number, piece.text.c_str(),
                              v == nullptr ? 0.0 : v->type == Value::real ? v->real_value
                                                                         : static_cast<double>(v->integer_value));
        else if (piece.fast) {
            long long n = event[name];
            char *end = n == 0 && piece.zero_is_empty ? number : std::to_chars(number, number + sizeof number, n).ptr;
            if (end - number < piece.width)
                buffer.append(piece.width - (end - number), ' ');
            buffer.append(number, end);
            continue;
        } else
            length = snprintf(number, sizeof number, piece.text.c_str(), event[name]);
        buffer.append(number, length > 0 ? static_cast<size_t>(length) : 0);
    }
    if (!buffer.empty())
        last = buffer.back();
    if (buffer.size() >= 1 << 16)
        flush();
}

void ClassicView::flush()
{
    if (buffer.empty())
        return;
    output.write(buffer.data(), buffer.size());
    buffer.clear();
}
