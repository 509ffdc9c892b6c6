// Pollard's p-1 method on n = 32623 = 17 * 19 * 101 with one exponent and
// random bases. The exponent P is the product of the prime-power bases up to
// 40, a multiple of 16 = 17 - 1 and of 18 = 19 - 1 (not of 100 = 101 - 1).
// So b^P = 1 modulo 17 and modulo 19 for almost every base b, and
// gcd(b^P - 1, n) is usually 323 = 17 * 19. When it is 1 or n itself, the
// base told nothing and another one is drawn.
#include "arith/arith.hpp"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

const int n = 32623;  // the number to factor
const int limit = 40; // the prime-power bases go up to this

// The functions below have external linkage: the factoring test builds this
// file once more, main renamed, and runs them with chosen bases and seeds.

// P = lcm(1, ..., 40) kept to its low 32 bits, as a 32-bit product would
// keep it: the true value 5342931457063200 leaves the range. What remains,
// 730773792, is still a multiple of 16 and of 18, which is all that counts.
int ppmc_exponent()
{
    std::vector<int> prime_table = prime_power_table(limit);
    int count = compact_table(prime_table, 1);
    uint32_t product = 1;
    for (int c = 1; c <= count; c++)
        product = product * static_cast<uint32_t>(prime_table[c]);
    // Read as two's complement; the value fits in 31 bits here.
    return static_cast<int32_t>(product);
}

// One base: x = b^P mod n, and the gcd of x - 1 with n, printed and returned.
int attempt(int base, int P)
{
    int x = mod_pow(base, P, n);
    int g = gcd(x - 1, n);
    printf("\n   pgcd(%5.d %5.d)  =%7.d", x - 1, n, g);
    return g;
}

// Random bases in 1 .. n - 2 until one gives a proper factor, which is
// returned. There is no limit: only 1247 of the 32621 bases fail.
int draw_until_factor(int P)
{
    int g;
    do {
        int base = rand() % (n - 2) + 1;
        g = attempt(base, P);
    } while (g <= 1 || g >= n);
    return g;
}

int main()
{
    srand(time(nullptr));
    int P = ppmc_exponent();
    printf("\n    ppmc P = %d", P);
    draw_until_factor(P);
    wait_enter();
    return 0;
}
