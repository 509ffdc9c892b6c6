// The C library's srand and rand, written out: an additive feedback generator
// on 31 words. Seeding fills the words with 16807^i * seed (mod 2^31 - 1) by
// Schrage's method, so that no product leaves 64 bits, then drops 310 draws.
// Each draw adds the word three places back to the word 31 places back
// (mod 2^32) and returns the sum without its lowest bit.
#include "arith/arith.hpp"

static const int degree = 31;    // words of state
static const int separation = 3; // distance between the two words added
static uint32_t state[degree];
static int front = separation, rear = 0; // the word replaced, the word added to it
static bool seeded = false;              // draws before any seed are those of the seed 1

void seed_random(uint32_t seed)
{
    // A seed of 0 would make every word 0.
    if (seed == 0)
        seed = 1;
    // The seed is taken as a signed 32-bit word, as the C library takes it.
    int64_t word = static_cast<int32_t>(seed);
    state[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < degree; i++) {
        int64_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        state[i] = static_cast<uint32_t>(word);
    }
    front = separation;
    rear = 0;
    seeded = true;
    for (int i = 0; i < 10 * degree; i++)
        next_random();
}

int next_random()
{
    if (!seeded)
        seed_random(1);
    state[front] += state[rear];
    int result = static_cast<int>(state[front] >> 1);
    front = (front + 1) % degree;
    rear = (rear + 1) % degree;
    return result;
}
