// The square spiral of the Ulam picture, in text: its points from the origin
// outward, then the values of a polynomial n*n + b*n + c looked up in the
// prime table. The spiral turns clockwise in these coordinates: right, down,
// left, up, the arms growing by one at every half turn: it fills the block
// -72 <= x <= 72, -72 <= y <= 71 and ends on the corner (-72, 72), never
// visiting a point twice.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cstdio>

const int arm_limit = 144; // a turn is made for every odd arm length m <= arm_limit

// Point i of the spiral is (x[i], y[i]); point 0 is the origin.
struct Spiral {
    std::vector<int> x{0}, y{0};

    // Appends `steps` points, each one unit (dx, dy) from the last.
    void walk(int steps, int dx, int dy)
    {
        for (int i = 0; i < steps; i++) {
            x.push_back(x.back() + dx);
            y.push_back(y.back() + dy);
        }
    }
};

void spiral_coordinates_trace(int b, int c)
{
    // One turn per odd m adds 4m + 2 points; after m = 143 there are 20881
    // points and the last one is the corner (-72, 72).
    Spiral spiral;
    for (int m = 1; m <= arm_limit; m += 2) {
        spiral.walk(m, 1, 0);
        spiral.walk(m, 0, -1);
        spiral.walk(m + 1, -1, 0);
        spiral.walk(m + 1, 0, 1);
    }

    // Points 0 ... k - 1: the last corner itself is not printed.
    int k = static_cast<int>(spiral.x.size()) - 1;
    for (int i = 0; i < k; i++)
        printf(" (%d  %d) ", spiral.x[i], spiral.y[i]);
    printf("\n *** nb de points = %d\n", k);

    // Each value of the polynomial, followed by its index in the table when
    // it is found there, which happens exactly when it is a prime: a prime's
    // entry is the prime itself, every other entry 0. The whole table is
    // searched, and the zero entries are skipped, since 0 is no prime.
    std::vector<int> prime_table = sieve_primes(spiral_sieve_bound);
    for (int n = 0; n <= polynomial_last; n++) {
        int v = n * n + b * n + c;
        printf(" (%d", v);
        for (int j = 0; j <= spiral_sieve_bound; j++)
            if (prime_table[j] != 0 && prime_table[j] == v)
                printf(" %d)", j);
    }
}
