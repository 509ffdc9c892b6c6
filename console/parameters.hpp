// parameters.hpp: the numbers a student gives a program on its command line.
//
// Every parameter is optional and positional and stands for one constant of
// the built-in run; left out, the constant is used, so that a program run
// without arguments shows exactly its built-in example. A later parameter
// needs the earlier ones. The program declares its parameters in order, one
// `integer` call each, then asks whether the run goes ahead before it prints
// anything:
//
//     Parameters p(argc, argv);
//     long long n = p.integer({.name = "n", .meaning = "the number to factor",
//                              .builtin = 127199, .low = 4, .high = INT32_MAX});
//     long long x0 = p.integer({.name = "start", .meaning = "the first term of the walk",
//                               .builtin = random_start(n), .low = 0, .high = n - 1,
//                               .range = "0 <= start < n", .builtin_text = "random"});
//     if (!p.ready())
//         return p.report();
//
// Faults: more arguments than parameters; a value that is not a decimal
// integer (an optional minus sign and digits, nothing else), lies outside
// its range, or is even where it must be odd; a parameter left out whose
// built-in value lies outside the range that the earlier ones allow (it
// must then be given); a failed `require`. The count of arguments is
// checked first, then the first fault in order is the one reported; until
// then a faulty parameter reads as its built-in value. "--help" or "-h" in
// any place asks for the usage instead.
//
// report() prints the usage on standard output and returns 0, or prints one
// line on standard error that names the parameter at fault and its accepted
// range and returns 2: nothing goes to standard output then.
#pragma once
#include <string>
#include <vector>

// One parameter as the program declares it.
struct Parameter {
    const char *name;    // as the usage and the errors write it: "n"
    const char *meaning; // what it stands for: "the number to factor"
    long long builtin;   // its value in the built-in run
    long long low, high; // accepted from low to high inclusive
    // How the usage states the range when it depends on earlier parameters
    // (the errors always give the numbers).
    const char *range = nullptr;
    // How the usage states a built-in value that is no fixed number ("random").
    const char *builtin_text = nullptr;
    bool odd = false; // only odd values are accepted
};

class Parameters
{
  public:
    Parameters(int argc, char **argv);

    // The next parameter: its value, or its built-in value when it is not
    // given (or is at fault).
    long long integer(const Parameter &parameter);

    // Whether the parameter read last was given on the command line.
    bool given() const { return !declared.empty() && declared.back().given; }

    // A condition on the parameter `name` beyond its range; `accepted` says
    // what is accepted, for the error line. Ignored while showing the usage.
    void require(bool condition, const char *name, const std::string &accepted);

    // More text for the usage, after the parameters and the example: what the
    // output shows and how else it can be shown.
    void add_usage(const std::string &text) { usage_tail += text; }

    // After the last parameter: whether the run goes ahead, with no fault
    // and no usage asked for.
    bool ready() const { return !help && error().empty(); }

    // When it does not: prints the usage (returns 0) or the error line
    // (returns 2), for main to return.
    int report() const;

    // The usage, and the error line without its newline ("" when there is
    // no fault), as report() prints them.
    std::string usage() const;
    std::string error() const;

  private:
    struct Declared {
        std::string name, meaning, range, builtin;
        bool given;
        long long value;
    };
    std::vector<std::string> arguments;
    std::vector<Declared> declared;
    std::string command; // what the hint names: the command that shows the usage
    std::string fault;   // the first fault found
    std::string usage_tail;
    bool help = false;
};
