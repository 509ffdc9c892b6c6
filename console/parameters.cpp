// The command-line parameters: decimal integers in their ranges, checked
// before the program writes anything.
#include "console/parameters.hpp"
#include "console/identity.hpp"
#include <climits>
#include <cstdio>
#include <cstdlib>
#ifdef __EMSCRIPTEN__
#include "console/page_web.hpp"
#endif

// Text from the command line as the error line shows it: printable ASCII as
// it is, every other byte written as in C ("\n", "\x1b"), so that the line
// stays one line and sends the terminal no control sequence.
static std::string escaped(const std::string &text)
{
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\\' || c == '"') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (c == '\n' || c == '\t' || c == '\r') {
            shown += c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

Parameters::Parameters(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h")
            help = true;
        arguments.push_back(argument);
    }
    // The hint names a command that works where the user typed this one: the
    // launcher says how it was called in SUITE_COMMAND; otherwise it is the
    // program as it was started. A page of the web edition has no command
    // line, and the program's name stands there.
#ifdef __EMSCRIPTEN__
    command = program_name;
#else
    const char *launcher = getenv("SUITE_COMMAND");
    if (launcher != nullptr && *launcher != '\0')
        command = escaped(launcher);
    else
        command = escaped(argc > 0 && argv[0] != nullptr ? argv[0] : program_name);
#endif
}

// The value of an optional minus sign followed by decimal digits; false for
// any other text, and for a value beyond 64 bits (out of every range). The
// magnitude is gathered unsigned, so that -2^63 is reached without an
// overflow.
static bool parse_integer(const std::string &text, long long &value)
{
    bool negative = !text.empty() && text[0] == '-';
    size_t i = negative ? 1 : 0;
    if (i == text.size())
        return false;
    const unsigned long long limit = negative ? 1ULL << 63 : static_cast<unsigned long long>(LLONG_MAX);
    unsigned long long magnitude = 0;
    bool too_large = false;
    for (; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        unsigned digit = text[i] - '0';
        if (magnitude > (limit - digit) / 10)
            too_large = true;
        else
            magnitude = 10 * magnitude + digit;
    }
    if (too_large)
        return false;
    if (!negative || magnitude == 0)
        value = static_cast<long long>(magnitude);
    else
        value = -static_cast<long long>(magnitude - 1) - 1;
    return true;
}

long long Parameters::integer(const Parameter &p)
{
    std::string name = p.name;
    std::string lo = std::to_string(p.low), hi = std::to_string(p.high);
    Declared d;
    d.name = name;
    d.meaning = p.meaning;
    d.range = p.range ? p.range : lo + " <= " + name + " <= " + hi;
    d.builtin = p.builtin_text ? std::string(": ") + p.builtin_text : " " + std::to_string(p.builtin);
    d.given = !help && declared.size() < arguments.size();
    d.value = p.builtin;
    const std::string accepted = " from " + lo + " to " + hi;

    if (d.given) {
        const std::string &text = arguments[declared.size()];
        long long value = 0;
        if (!parse_integer(text, value) || value < p.low || value > p.high)
            require(false, p.name, "an integer" + accepted + ", not \"" + escaped(text) + "\"");
        else if (p.odd && value % 2 == 0)
            require(false, p.name, "an odd integer" + accepted + ", not \"" + escaped(text) + "\"");
        else
            d.value = value;
    } else if (p.builtin < p.low || p.builtin > p.high) {
        // Left out where its built-in value does not suit the earlier
        // parameters given: it must be given, and the fault says for which
        // values and with what range.
        std::string when;
        for (const Declared &earlier : declared)
            if (earlier.given)
                when += (when.empty() ? " when " : " and ") + earlier.name + " is " +
                        std::to_string(earlier.value);
        require(false, p.name,
                "given" + when + ": an integer" + accepted + " (the built-in value " +
                    std::to_string(p.builtin) + " is not)");
    }
    declared.push_back(d);
#ifdef __EMSCRIPTEN__
    // The page writes the run's numbers into its address, a start drawn at
    // random or a seed from the clock included, so that the run can be had
    // again.
    page_parameter(d.name.c_str(), std::to_string(d.value).c_str());
#endif
    return d.value;
}

void Parameters::require(bool condition, const char *name, const std::string &accepted)
{
    if (!condition && !help && fault.empty())
        fault = std::string(name) + " must be " + accepted;
}

std::string Parameters::usage() const
{
    std::string synopsis;
    for (size_t i = declared.size(); i-- > 0;)
        synopsis = " [" + declared[i].name + synopsis + "]";
    std::string text = "usage: " + std::string(program_name) + synopsis + "\n" + program_description + "\n";
    if (declared.empty())
        text += "It takes no parameters.\n";
    // One line a parameter, the names in a column: "  NAME  meaning; range;
    // built-in VALUE".
    size_t width = 0;
    for (const Declared &d : declared)
        width = d.name.size() > width ? d.name.size() : width;
    for (const Declared &d : declared)
        text += "  " + d.name + std::string(width - d.name.size(), ' ') + "  " + d.meaning + "; " + d.range +
                "; built-in" + d.builtin + "\n";
    if (program_example[0] != '\0')
        text += "example: " + std::string(program_name) + " " + program_example + "\n";
    return text + usage_tail;
}

std::string Parameters::error() const
{
    std::string message = fault;
    if (!help && arguments.size() > declared.size()) {
        std::string names;
        for (size_t i = 0; i < declared.size(); i++)
            names += (i == 0 ? ": " : i + 1 == declared.size() ? " and " : ", ") + declared[i].name;
        message = "too many arguments (" + std::to_string(arguments.size()) + "): it takes " +
                  (declared.empty() ? "none" : "at most " + std::to_string(declared.size())) + names;
    }
    if (message.empty())
        return "";
    return std::string(program_name) + ": " + message + " (" + command + " --help shows the usage)";
}

int Parameters::report() const
{
    if (help) {
        fputs(usage().c_str(), stdout);
        return 0;
    }
    fprintf(stderr, "%s\n", error().c_str());
    return 2;
}
