// The JSON view.
#include "views/json.hpp"
#include <cmath>
#include <cstdio>
#include <cstdlib>

const size_t list_chunk = 1000; // values in one "list" event at most

std::string json_string(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
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
            if (c < 0x20) {
                char escaped[8];
                snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

static void append_integer(std::string &out, long long v)
{
    char digits[32];
    int n = snprintf(digits, sizeof digits, "%lld", v);
    out.append(digits, n);
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
    std::string line = "{\"event\": \"list\", \"name\": " + json_string(list_name) + ", \"values\": [";
    for (size_t i = 0; i < list.size(); i++) {
        if (i > 0)
            line += ", ";
        append_integer(line, list[i]);
    }
    line += "]}";
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
        list_name = event.what;
        list.push_back(event.values[0].integer_value);
        return;
    }
    std::string line = "{\"event\": \"";
    line += kind_name(event.kind);
    line += "\", \"name\": " + json_string(event.what);
    for (int i = 0; i < event.count; i++) {
        const Value &v = event.values[i];
        line += ", " + json_string(v.name) + ": ";
        switch (v.type) {
        case Value::integer:
            append_integer(line, v.integer_value);
            break;
        case Value::real:
            append_real(line, v.real_value);
            break;
        case Value::text:
            line += json_string(v.text_value);
            break;
        case Value::list:
            line += "[";
            for (size_t k = 0; k < v.list_value->size(); k++) {
                if (k > 0)
                    line += ", ";
                append_integer(line, (*v.list_value)[k]);
            }
            line += "]";
            break;
        case Value::none:
            line += "null";
            break;
        }
    }
    line += "}";
    if (event.kind == EventKind::result) {
        if (!held_result.empty())
            write_line(held_result);
        held_result = line;
    } else {
        write_line(line);
    }
}
