// parameters.hpp: the numbers a student gives a program on its command line.
//
// Every parameter is optional and positional and stands for one constant of
// the built-in run; left out, the constant is used, so that a program run
// without arguments shows exactly its built-in example. A later parameter
// needs the earlier ones. The program declares its parameters in order, one
// `integer` call each, then calls `done` before it prints anything:
//
//     Parameters p(argc, argv);
//     long long n = p.integer("n", "the number to factor", 127199, 4, INT32_MAX);
//     long long x0 = p.integer("start", "the first term of the walk", random_start(n), 0, n - 1,
//                              "0 <= start < n", "random");
//     p.done();
//
// More arguments than parameters, a value that is not a decimal integer (an
// optional minus sign and digits, nothing else) or lies outside its range,
// or a failed `require`: nothing on standard output, one line on standard
// error that names the parameter and its accepted range, exit status 2.
// The count of arguments is checked first, then the first fault in order
// is reported by `done`; until then a faulty parameter reads as its built-in
// value. "--help" or "-h" in any place: the usage on standard output and
// exit status 0.
#pragma once
#include <string>
#include <vector>

class Parameters
{
  public:
    Parameters(int argc, char **argv);

    // The next parameter: its value, or `builtin` when it is not given.
    // Accepted from lo to hi inclusive; `range` is how the usage states the
    // range when it depends on earlier parameters (the errors always give the
    // numbers), and `builtin_text` how it states the built-in value when
    // that is not a fixed number ("random").
    long long integer(const char *name, const char *meaning, long long builtin, long long lo, long long hi,
                      const char *range = nullptr, const char *builtin_text = nullptr);

    // Whether the parameter read last was given on the command line.
    bool given() const { return last_given; }

    // A condition on the parameter `name` beyond its range; `accepted` says
    // what is accepted, for the error line. Ignored while showing the usage.
    void require(bool condition, const char *name, const std::string &accepted);

    // After the last parameter: shows the usage when it was asked for, or
    // reports the first fault; in either case the program ends there.
    void done();

  private:
    struct Declared {
        std::string name, meaning, range, builtin;
    };
    [[noreturn]] void fail(const std::string &message) const;

    std::vector<std::string> arguments;
    std::vector<Declared> declared;
    std::string fault; // the first fault found, reported by done()
    bool help = false;
    bool last_given = false;
};
