// Floyd's tortoise and hare on u -> u*u + 1 (mod m), built in from u(0) = 16
// modulo 41. After k steps the tortoise holds u(k) and the hare, going twice
// as fast, u(2k); the trace shows both at every step until they meet, at a
// multiple of the period that is at least the entry index. From 16 modulo 41
// it is the period itself, 7.
#include "arith/arith.hpp"
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

    cycle_floyd_trace(m, u0);
    wait_enter();
    return 0;
}
