// plot_events.hpp: the events of a picture program's --json run, read back
// line by line by a small reader of flat JSON objects (numbers, strings,
// null and lists of numbers: all that an event holds).
#pragma once
#include "harness.hpp"
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct JsonField {
    enum Kind { number, text, null, list } kind = null;
    double value = 0;
    std::string words;
    std::vector<double> values;
};

struct JsonEvent {
    std::map<std::string, JsonField> fields;
    bool has(const std::string &key) const { return fields.count(key) != 0; }
    // A number, or NaN when the field is absent or no number.
    double operator[](const std::string &key) const
    {
        auto at = fields.find(key);
        return at != fields.end() && at->second.kind == JsonField::number ? at->second.value : NAN;
    }
    std::string text(const std::string &key) const
    {
        auto at = fields.find(key);
        return at != fields.end() ? at->second.words : "";
    }
};

// One JSON string from `at` (on its opening quote); false if malformed.
inline bool read_json_string(const std::string &line, size_t &at, std::string &out)
{
    if (at >= line.size() || line[at] != '"')
        return false;
    for (at++; at < line.size(); at++) {
        char c = line[at];
        if (c == '"') {
            at++;
            return true;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++at >= line.size())
            return false;
        switch (line[at]) {
        case '"':
        case '\\':
        case '/':
            out += line[at];
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'u':
            if (at + 4 >= line.size())
                return false;
            out += static_cast<char>(std::strtol(line.substr(at + 1, 4).c_str(), nullptr, 16));
            at += 4;
            break;
        default:
            return false;
        }
    }
    return false;
}

// A JSON number from `at`: -?digits[.digits][e[+-]digits].
inline bool read_json_number(const std::string &line, size_t &at, double &out)
{
    // One or more digits from `at`.
    auto digits = [&] {
        size_t first = at;
        while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])))
            at++;
        return at > first;
    };
    size_t start = at;
    if (at < line.size() && line[at] == '-')
        at++;
    if (!digits())
        return false;
    if (at < line.size() && line[at] == '.' && (++at, !digits()))
        return false;
    if (at < line.size() && (line[at] == 'e' || line[at] == 'E')) {
        at++;
        if (at < line.size() && (line[at] == '+' || line[at] == '-'))
            at++;
        if (!digits())
            return false;
    }
    out = std::strtod(line.substr(start, at - start).c_str(), nullptr);
    return true;
}

// One line as a flat object {"key": value, ...}; false if it is not one.
inline bool parse_json_event(const std::string &line, JsonEvent &event)
{
    size_t at = 0;
    auto blanks = [&] {
        while (at < line.size() && line[at] == ' ')
            at++;
    };
    auto take = [&](char c) {
        blanks();
        if (at >= line.size() || line[at] != c)
            return false;
        at++;
        return true;
    };
    if (!take('{'))
        return false;
    do {
        std::string key;
        blanks();
        if (!read_json_string(line, at, key) || !take(':') || event.has(key))
            return false;
        JsonField field;
        blanks();
        if (at < line.size() && line[at] == '"') {
            field.kind = JsonField::text;
            if (!read_json_string(line, at, field.words))
                return false;
        } else if (line.compare(at, 4, "null") == 0) {
            at += 4;
        } else if (take('[')) {
            field.kind = JsonField::list;
            blanks();
            if (at < line.size() && line[at] != ']')
                do {
                    double v;
                    blanks();
                    if (!read_json_number(line, at, v))
                        return false;
                    field.values.push_back(v);
                } while (take(','));
            if (!take(']'))
                return false;
        } else {
            field.kind = JsonField::number;
            if (!read_json_number(line, at, field.value))
                return false;
        }
        event.fields[key] = field;
    } while (take(','));
    return take('}') && at == line.size();
}

// Every line of a --json run parsed; a failure names the first line that
// is no JSON object.
inline ::testing::AssertionResult json_events(const std::string &out, std::vector<JsonEvent> &events)
{
    std::istringstream lines(out);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        number++;
        JsonEvent event;
        if (!parse_json_event(line, event))
            return ::testing::AssertionFailure() << "line " << number << " is no JSON object: " << line;
        events.push_back(event);
    }
    if (events.empty())
        return ::testing::AssertionFailure() << "no event";
    return ::testing::AssertionSuccess();
}

// A picture program's capture variant run with --json: its events, parsed
// (a failure if any line is no JSON object), and its pictures in *stages.
inline std::vector<JsonEvent> capture_events(const std::string &capture, std::vector<std::string> args = {},
                                             std::vector<Picture> *stages = nullptr)
{
    std::string out;
    args.push_back("--json");
    std::vector<Picture> pictures = capture_stages(capture, args, &out);
    if (stages)
        *stages = pictures;
    std::vector<JsonEvent> events;
    EXPECT_TRUE(json_events(out, events));
    return events;
}

// The events of one kind ("stage", "item") and name, in order.
inline std::vector<JsonEvent> events_named(const std::vector<JsonEvent> &events, const std::string &kind,
                                           const std::string &name)
{
    std::vector<JsonEvent> found;
    for (const JsonEvent &e : events)
        if (e.text("event") == kind && e.text("name") == name)
            found.push_back(e);
    return found;
}
