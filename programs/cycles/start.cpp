// The two numbers of a cycle program's command line: the modulus and the
// first term. Apart from the searches, so that they can be called without
// a command line.
#include "cycles.hpp"
#include <string>

CycleStart read_cycle_start(Parameters &p, const char *term, int first_term)
{
    const int modulus = 41;    // the sequence lives in 0 .. modulus - 1
    const int largest = 46340; // u*u + 1 stays below 2^31
    CycleStart s;
    s.m = static_cast<int>(p.integer({.name = "m",
                                      .meaning = "the modulus of u -> u*u + 1 (mod m)",
                                      .builtin = modulus,
                                      .low = 2,
                                      .high = largest}));
    std::string meaning = std::string("the first term u(") + term[1] + ")";
    std::string range = std::string("0 <= ") + term + " < m";
    std::string builtin = std::to_string(first_term) + " mod m";
    s.first = static_cast<int>(p.integer({.name = term,
                                          .meaning = meaning.c_str(),
                                          .builtin = first_term % s.m,
                                          .low = 0,
                                          .high = s.m - 1,
                                          .range = range.c_str(),
                                          .builtin_text = builtin.c_str()}));
    return s;
}
