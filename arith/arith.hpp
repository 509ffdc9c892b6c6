// arith.hpp: integer arithmetic shared by the programs.
// All values are 32-bit signed; nothing allocates. The only products that
// leave 32 bits, inside mod_pow, are formed exactly in 64 bits.
#pragma once

// The program's own prime table, indexed by the number itself. Each program
// that sieves defines it once, program-wide and zero at start, with its own
// size (at least bound + 1 entries); the table routines below fill it.
extern int prime_table[];

// Sieve of Eratosthenes up to bound: entry i is i for a prime i, else 0, for
// 2 <= i <= bound. Multiples of p are crossed out from 2p, for p*p <= bound.
void sieve_primes(int bound);

// The prime-power variant: entry i is p when i = p^k (k >= 1), else 0.
// Read in index order, the non-zero entries multiply to lcm(1, ..., bound).
void prime_power_table(int bound);

// 1 if n = p^k for some k >= 1, else 0 (called with n a multiple of p).
int is_power_of(int n, int p);

// Trial division by every d from 2 to n - 1: 1 if n is prime, else 0.
int is_prime(int n);

// a^e mod m by square-and-multiply from the lowest bit of e; every product is
// formed in 64 bits and reduced only when it is at least m. 1 when e <= 0.
int mod_pow(int a, int e, int m);

// Euclid with truncating remainders: gcd(a, 0) = a, gcd(0, b) = b, and a
// negative argument can give a negative result.
int gcd(int a, int b);

// Euclid on |a| and |b|; |b| when a is 0. Never negative.
int gcd_abs(int a, int b);

// Reads one character from standard input and ignores it: the pause that
// keeps a console trace readable. Returns at once at end of input.
void wait_enter();

// One key press, without echo and without Enter, when standard input is a
// terminal (the terminal is left as it was found, also on Ctrl-C); otherwise
// one byte. Returns the key, or -1 at end of input.
int _getch();
