// The square spiral of the Ulam picture, in text: its points from the origin
// outward, then the values n*n + n + 41 for n = 0 ... 40 looked up in the
// prime table. Euler's polynomial is prime for n = 0 ... 39 (41, 43, 47, ...,
// 1601) and fails at n = 40 with 1681 = 41^2. The spiral turns clockwise in
// these coordinates: right, down, left, up, the arms growing by one at every
// half turn: it fills the block -72 <= x <= 72, -72 <= y <= 71 and ends on
// the corner (-72, 72), never visiting a point twice.
#include "arith/arith.hpp"
#include <cstdio>

const int arm_limit = 144;      // a turn is made for every odd arm length m <= arm_limit
const int spiral_room = 100000; // room in each coordinate table
const int sieve_bound = 10000;  // the prime table covers 0 ... sieve_bound
const int lookup_end = 5000;    // the polynomial's values are sought in entries 0 ... 4999
const int polynomial_last = 40; // n runs over 0 ... polynomial_last

// Point i of the spiral is (spiral_x[i], spiral_y[i]); point 0 is the origin.
static int spiral_x[spiral_room];
static int spiral_y[spiral_room];

// Appends `steps` points to the spiral, each one unit (dx, dy) from the last;
// k is the index of the last point, and is advanced.
static void walk(int &k, int steps, int dx, int dy)
{
    for (int i = 0; i < steps; i++) {
        k++;
        spiral_x[k] = spiral_x[k - 1] + dx;
        spiral_y[k] = spiral_y[k - 1] + dy;
    }
}

int main()
{
    // One turn per odd m adds 4m + 2 points; after m = 143 there are 20881
    // points and the last one is the corner (-72, 72).
    int k = 0;
    spiral_x[0] = 0;
    spiral_y[0] = 0;
    for (int m = 1; m <= arm_limit; m += 2) {
        walk(k, m, 1, 0);
        walk(k, m, 0, -1);
        walk(k, m + 1, -1, 0);
        walk(k, m + 1, 0, 1);
    }

    // Points 0 ... k - 1: the last corner itself is not printed.
    for (int i = 0; i < k; i++)
        printf(" (%d  %d) ", spiral_x[i], spiral_y[i]);
    printf("\n *** nb de points = %d\n", k);

    // Each value of the polynomial, followed by its index in the table when
    // it is found there, which happens exactly when it is a prime below 5000.
    std::vector<int> prime_table = sieve_primes(sieve_bound);
    for (int n = 0; n <= polynomial_last; n++) {
        int v = n * n + n + 41;
        printf(" (%d", v);
        for (int j = 0; j < lookup_end; j++)
            if (prime_table[j] == v)
                printf(" %d)", j);
    }
    return 0;
}
