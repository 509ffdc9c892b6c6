// The period and the entry index of u -> u*u + 1 (mod m), built in from
// u(1) = 11 modulo 41, found three ways. First by power-of-two windows: the
// term at the end of each window is kept and compared with every term of
// the next, twice as long, window. Then by Floyd's tortoise and hare, which
// compares u(k) with u(2k). Last by Brent's variant of the windows, which
// compares only in the last quarter of each window. Terms are numbered
// from 1; a pause follows each of the first two sections.
#include "arith/arith.hpp"
#include "arith/parameters.hpp"
#include "cycles.hpp"

const int modulus = 41;    // the sequence lives in 0 .. modulus - 1
const int first_term = 11; // u(1)

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int m = p.integer("m", "the modulus of u -> u*u + 1 (mod m)", modulus, 2, 46340);
    int u1 = p.integer("u1", "the first term u(1)", first_term % m, 0, m - 1, "0 <= u1 < m", "11 mod m");
    p.done();

    cycle_windows_trace(m, u1);
    wait_enter();
    cycle_floyd_pairs_trace(m, u1);
    wait_enter();
    cycle_brent_trace(m, u1);
    return 0;
}
