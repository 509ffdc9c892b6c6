// The period and the entry index of u -> u*u + 1 (mod m), built in from
// u(0) = 16 modulo 41. The windows b .. 2b - 1 (b = 1, 2, 4, 8, ...) double
// in length, and each of their terms is compared with u(b - 1), the term
// just before the window. The program ends without a pause.
#include "arith/parameters.hpp"
#include "cycles.hpp"

const int modulus = 41;    // the sequence lives in 0 .. modulus - 1
const int first_term = 16; // u(0)

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int m = p.integer("m", "the modulus of u -> u*u + 1 (mod m)", modulus, 2, 46340);
    int u0 = p.integer("u0", "the first term u(0)", first_term % m, 0, m - 1, "0 <= u0 < m", "16 mod m");
    p.done();

    cycle_doubling_trace(m, u0);
    return 0;
}
