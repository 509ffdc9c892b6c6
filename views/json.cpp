// The JSON view.
#include "views/json.hpp"
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

const size_t list_chunk = 1000; // values in one "list" event at most

// Appends a JSON string literal: quotes, and escapes where JSON needs them.
static void append_string(std::string &out, const char *text)
{
    out += '"';
    const char *plain = text;
    for (const char *p = text;; p++) {
        unsigned char c = *p;
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(plain, p - plain);
        if (c == 0)
            break;
        plain = p + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
    }
    out += '"';
}

static void append_integer(std::string &out, long long v)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

// A real in its shortest form that reads back the same double; JSON has no
// infinity or NaN, which become null.
static void append_real(std::string &out, double v)
{
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char digits[40];
    for (int precision = 6; precision <= 17; precision++) {
        snprintf(digits, sizeof digits, "%.*g", precision, v);
        if (std::strtod(digits, nullptr) == v)
            break;
    }
    out += digits;
}

static void append_integers(std::string &out, const std::vector<long long> &values)
{
    out += '[';
    for (size_t i = 0; i < values.size(); i++) {
        if (i > 0)
            out += ", ";
        append_integer(out, values[i]);
    }
    out += ']';
}

JsonView::JsonView(std::function<void(const std::string &)> write_line_) : write_line(std::move(write_line_)) {}

JsonView::~JsonView()
{
    flush();
}

void JsonView::flush()
{
    write_list();
    if (!held_result.empty())
        write_line(held_result);
    held_result.clear();
}

void JsonView::write_list()
{
    if (list.empty())
        return;
    line.assign("{\"event\": \"list\", \"name\": ");
    append_string(line, list_name.c_str());
    line += ", \"values\": ";
    append_integers(line, list);
    line += '}';
    list.clear();
    write_line(line);
}

void JsonView::report(const Event &event)
{
    // A listing of single whole numbers goes out in chunks.
    bool listed = event.kind == EventKind::item && event.count == 1 && event.values[0].type == Value::integer;
    if (!listed || list_name != event.what || list.size() == list_chunk)
        write_list();
    if (listed) {
        if (list_name != event.what)
            list_name = event.what;
        list.push_back(event.values[0].integer_value);
        return;
    }
    // One buffer for every line: a long run writes millions of them.
    line.assign("{\"event\": \"");
    line += kind_name(event.kind);
    line += "\", \"name\": ";
    append_string(line, event.what);
    for (int i = 0; i < event.count; i++) {
        const Value &v = event.values[i];
        line += ", ";
        append_string(line, v.name);
        line += ": ";
        switch (v.type) {
        case Value::integer:
            append_integer(line, v.integer_value);
            break;
        case Value::real:
            append_real(line, v.real_value);
            break;
        case Value::text:
            append_string(line, v.text_value);
            break;
        case Value::list:
            append_integers(line, *v.list_value);
            break;
        case Value::none:
            line += "null";
            break;
        }
    }
    line += '}';
    if (event.kind == EventKind::result) {
        if (!held_result.empty())
            write_line(held_result);
        held_result = line;
    } else {
        write_line(line);
    }
}
