// The square spiral of the Ulam picture, in text: its points from the origin
// outward, then the values of a polynomial n*n + b*n + c looked up in the
// prime table. The spiral turns clockwise in these coordinates: right, down,
// left, up, the arms growing by one at every half turn: it fills the block
// -72 <= x <= 72, -72 <= y <= 71 and ends on the corner (-72, 72), never
// visiting a point twice.
#include "arith/arith.hpp"
#include "arith/spiral.hpp"
#include "primality.hpp"

const int turns = 72; // one for every odd arm length m up to 143

long long least_factor(long long n)
{
    for (long long d = 2; d * d <= n; d++)
        if (n % d == 0)
            return d;
    return n;
}

SpiralValues spiral_coordinates(int b, int c, Steps &out)
{
    out.run("spiral", "b", b, "c", c, "turns", turns);
    // One turn per odd m adds 4m + 2 points; after m = 143 there are 20881
    // points and the last one is the corner (-72, 72).
    std::vector<SpiralPoint> spiral = square_spiral(turns);

    // Points 0 ... k - 1: the last corner itself is not listed.
    SpiralValues found{static_cast<int>(spiral.size()) - 1, {}, -1};
    int k = found.points;
    for (int i = 0; i < k; i++)
        out.item("point", "x", spiral[i].x, "y", spiral[i].y);
    out.step("point_count", "count", k, "last_x", spiral[k].x, "last_y", spiral[k].y);

    // Each value of the polynomial is looked up in the table, and found
    // exactly when it is a prime: a prime's entry is the prime itself, every
    // other entry 0, so its index is the value. Its least factor shows why
    // another value is not prime (0 and 1 have none).
    out.phase("polynomial", "b", b, "c", c, "last", polynomial_last, "bound", spiral_sieve_bound);
    std::vector<int> prime_table = sieve_primes(spiral_sieve_bound);
    std::vector<long long> others;
    for (int n = 0; n <= polynomial_last; n++) {
        int v = n * n + b * n + c;
        if (v >= 0 && v <= spiral_sieve_bound && prime_table[v] != 0) {
            out.item("prime_value", "n", n, "value", v, "index", v);
            found.primes.push_back(v);
            continue;
        }
        if (v >= 2)
            out.item("non_prime_value", "n", n, "value", v, "factor", least_factor(v));
        else
            out.item("non_prime_value", "n", n, "value", v, "factor", Missing{});
        others.push_back(v);
        if (found.first_non_prime < 0)
            found.first_non_prime = n;
    }
    if (found.first_non_prime >= 0)
        out.result("spiral", "count", k, "prime_values", found.primes, "non_prime_values", others, "first_non_prime",
                   found.first_non_prime);
    else
        out.result("spiral", "count", k, "prime_values", found.primes, "non_prime_values", others, "first_non_prime",
                   Missing{});
    return found;
}
