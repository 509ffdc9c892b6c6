// The primes up to 2^17 by the sieve of Eratosthenes, listed and counted,
// then their proportion among the numbers up to 2^17 (12251 / 2^17 = 0.093)
// beside a fixed proportion shown as the theoretical one. The bound 2^17 is
// itself scanned, and 2^17 - 1 = 131071 is a Mersenne prime, the last listed.
#include "arith/arith.hpp"
#include "listing.hpp"
#include <cstdio>

const int bound = 131072; // 2^17: the primes listed are those up to bound, inclusive

// The proportion shown as theoretical: a fixed value, not derived from the
// count or the bound. It is the float nearest 1/12.512, widened to double
// (bit pattern 0x3FB475DA00000000), and prints as 0.080.
const double theoretical_proportion = 0x1.475dap-4;

int main()
{
    std::vector<int> prime_table = sieve_primes(bound);
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre =%d \n", count);

    // count / 2^17 is exact in a double.
    printf("\n Proportion de premiers = %3.3f", count / static_cast<double>(bound));
    printf("\n Proportion theorique de premiers = %3.3f", theoretical_proportion);

    wait_enter();
    return 0;
}
