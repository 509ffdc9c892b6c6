// The command-line parameters: decimal integers in their ranges, checked
// before the program writes anything.
#include "arith/parameters.hpp"
#include "arith/identity.hpp"
#include <climits>
#include <cstdio>
#include <cstdlib>

Parameters::Parameters(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h")
            help = true;
        arguments.push_back(argument);
    }
}

// The value of an optional minus sign followed by decimal digits; false for
// any other text, and for a value beyond 64 bits (out of every range).
static bool parse_integer(const std::string &text, long long &value, bool &too_large)
{
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return false;
    unsigned long long magnitude = 0;
    too_large = false;
    for (; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        unsigned digit = text[i] - '0';
        if (magnitude > (ULLONG_MAX - digit) / 10)
            too_large = true;
        else
            magnitude = 10 * magnitude + digit;
    }
    if (magnitude > static_cast<unsigned long long>(LLONG_MAX))
        too_large = true;
    value = text[0] == '-' ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

long long Parameters::integer(const char *name, const char *meaning, long long builtin, long long lo,
                              long long hi, const char *range, const char *builtin_text)
{
    Declared d;
    d.name = name;
    d.meaning = meaning;
    d.range = range ? range : std::to_string(lo) + " <= " + name + " <= " + std::to_string(hi);
    d.builtin = builtin_text ? std::string(": ") + builtin_text : " " + std::to_string(builtin);
    size_t index = declared.size();
    declared.push_back(d);

    last_given = !help && index < arguments.size();
    if (!last_given)
        return builtin;
    const std::string &text = arguments[index];
    long long value = 0;
    bool too_large = false;
    if (!parse_integer(text, value, too_large) || too_large || value < lo || value > hi) {
        if (fault.empty())
            fault = std::string(name) + " must be an integer from " + std::to_string(lo) + " to " +
                    std::to_string(hi) + ", not \"" + text + "\"";
        return builtin;
    }
    return value;
}

void Parameters::require(bool condition, const char *name, const std::string &accepted)
{
    if (!condition && !help && fault.empty())
        fault = std::string(name) + " must be " + accepted;
}

void Parameters::done()
{
    if (help) {
        std::string synopsis;
        for (size_t i = declared.size(); i-- > 0;)
            synopsis = " [" + declared[i].name + synopsis + "]";
        printf("usage: %s%s\n%s\n", program_name, synopsis.c_str(), program_description);
        if (declared.empty())
            printf("It takes no parameters.\n");
        size_t width = 0;
        for (const Declared &d : declared)
            width = d.name.size() > width ? d.name.size() : width;
        for (const Declared &d : declared)
            printf("  %-*s  %s; %s; built-in%s\n", static_cast<int>(width), d.name.c_str(), d.meaning.c_str(),
                   d.range.c_str(), d.builtin.c_str());
        if (program_example[0] != '\0')
            printf("example: %s %s\n", program_name, program_example);
        exit(fflush(stdout) == 0 ? 0 : 1);
    }
    if (arguments.size() > declared.size()) {
        std::string names;
        for (size_t i = 0; i < declared.size(); i++)
            names += (i == 0 ? ": " : i + 1 == declared.size() ? " and " : ", ") + declared[i].name;
        fail("too many arguments (" + std::to_string(arguments.size()) + "): it takes " +
             (declared.empty() ? "none" : "at most " + std::to_string(declared.size())) + names);
    }
    if (!fault.empty())
        fail(fault);
}

void Parameters::fail(const std::string &message) const
{
    fprintf(stderr, "%s: %s (%s --help shows the usage)\n", program_name, message.c_str(), program_name);
    exit(2);
}
