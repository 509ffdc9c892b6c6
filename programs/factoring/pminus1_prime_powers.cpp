// Pollard's p-1 method on m = 10403 = 101 * 103. The exponent grows by one
// prime-power base at a time (2 3 2 5 7 2 3 ...), so after the base q it is
// lcm(1, ..., q). Once it is a multiple of p - 1 for a prime p dividing m,
// Fermat gives 2^exponent = 1 (mod p), and gcd(2^exponent - 1, m) shows p.
#include "arith/arith.hpp"
#include <cstdio>

int limit; // the prime-power bases go up to this
int m;     // the number to factor

int main()
{
    limit = 100;
    m = 10403;

    // The bases: entry q of the table is p when q is a power of the prime p.
    std::vector<int> prime_table = prime_power_table(limit);
    int count = 0;
    for (int j = 0; j <= limit; j++)
        if (prime_table[j] != 0) {
            printf("%d ", prime_table[j]);
            count++;
        }

    // Move them down to entries 1 .. count, keeping their order.
    compact_table(prime_table, 1);
    printf("\n");
    for (int k = 1; k <= count; k++)
        printf("%d ", prime_table[k]);
    printf("  \n *** m=%d ***\n", m);

    // Step k raises the power to the (k-1)-th base: a = 2^(b1*...*b(k-1)).
    printf("\n 1  %5.d ", 2);
    int a = 2;
    for (int k = 2; k < count; k++) {
        a = mod_pow(a, prime_table[k - 1], m);
        printf("\n%2.d  %5.d ", k, a);
        int g = gcd(a - 1, m);
        printf("   pgcd(%5.d %5.d)  =%7.d", a - 1, m, g);
        if (g > 1)
            break;
    }
    wait_enter();
    return 0;
}
