#include "references.hpp"

bool prime_by_trial_division(long n)
{
    if (n < 2)
        return false;
    for (long d = 2; d * d <= n; d++)
        if (n % d == 0)
            return false;
    return true;
}

long prime_of_power(long q)
{
    if (q < 2)
        return 0;
    long p = 2;
    while (q % p != 0)
        p++;
    while (q % p == 0)
        q /= p;
    return q == 1 ? p : 0;
}

__extension__ typedef unsigned __int128 uint128;

uint64_t power_reference(uint64_t b, uint64_t e, uint64_t m)
{
    // Below 2^32 a product of two residues fits in 64 bits, whose division
    // is several times faster.
    bool narrow = m <= 1ULL << 32;
    auto times = [&](uint64_t x, uint64_t y) {
        return narrow ? x * y % m : static_cast<uint64_t>(static_cast<uint128>(x) * y % m);
    };
    uint64_t r = 1 % m;
    b %= m;
    for (int bit = 63 - (e == 0 ? 63 : __builtin_clzll(e)); bit >= 0; bit--) {
        r = times(r, r);
        if (e >> bit & 1)
            r = times(r, b);
    }
    return r;
}

bool strong_probable_prime(long n, long a)
{
    long d = n - 1;
    int s = 0;
    for (; d % 2 == 0; d /= 2)
        s++;
    if (power_reference(a, d, n) == 1)
        return true;
    for (int r = 0; r < s; r++)
        if (power_reference(a, d << r, n) == static_cast<uint64_t>(n - 1))
            return true;
    return false;
}

std::string fermat_walk_transcript(int64_t N, long max_steps)
{
    int64_t lo = 1, hi = 3037000499; // the largest square root below 2^63
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (mid * mid >= N)
            hi = mid;
        else
            lo = mid + 1;
    }
    int64_t x = lo, y = 0;
    auto position = [&] { return "(" + std::to_string(x) + " " + std::to_string(y) + ")"; };
    std::string text = position();
    for (long steps = 0; x * x - y * y != N; steps++) {
        if (steps == max_steps)
            return text + "\n*** aucun facteur en " + std::to_string(max_steps) + " pas";
        if (x * x - y * y > N)
            y++;
        else
            x++;
        text += position();
    }
    return text + "\n***(" + std::to_string(x + y) + " " + std::to_string(x - y) + ")";
}

const char builtin_doubling_search_transcript[] = "\n (u(0)= 16   u(1)= 11)"
                                                  "\n (u(1)= 11   u(2)= 40)"
                                                  "\n (u(1)= 11   u(3)= 2)"
                                                  "\n (u(3)= 2   u(4)= 5)"
                                                  "\n (u(3)= 2   u(5)= 26)"
                                                  "\n (u(3)= 2   u(6)= 21)"
                                                  "\n (u(3)= 2   u(7)= 32)"
                                                  "\n (u(7)= 32   u(8)= 0)"
                                                  "\n (u(7)= 32   u(9)= 1)"
                                                  "\n (u(7)= 32   u(10)= 2)"
                                                  "\n (u(7)= 32   u(11)= 5)"
                                                  "\n (u(7)= 32   u(12)= 26)"
                                                  "\n (u(7)= 32   u(13)= 21)"
                                                  "\n (u(7)= 32   u(14)= 32)"
                                                  "\n\n Periode = 7   Indice d'entree = 3\n";

const char builtin_strong_test_1729_transcript[] =
    " aq =645\n  k=1 aexpo=1065   k=2 aexpo=1     k = 2 aexpo = 1 1729 non premier ";
