// The Ulam spiral: the numbers 1, 2, 3, ... laid out on a square spiral of
// lattice points about the centre of the window, every prime marked with a
// dot. The forty values of Euler's polynomial n*n + n + 41 (n = 0..39), all
// prime, are then picked out in red, read back from the picture: a value
// whose centre pixel is not black was not marked prime, and gets a blot.
#include "arith/arith.hpp"
#include "draw/draw.hpp"

// Lattice coordinates of the number k + 1 (y grows downward, as rows do).
// Kept program-wide: 800 kB is no size for a stack frame.
static int spiral_x[100000];
static int spiral_y[100000];

const int rounds = 72; // side lengths 1, 1, 2, 2, ..., 144, 144

static Uint32 white, light_grey, black, red;

// Pixel of table entry i: 4 pixels per lattice step, the number 1 at (400, 300).
static int pixel_x(int i)
{
    return 400 + 4 * spiral_x[i];
}
static int pixel_y(int i)
{
    return 300 + 4 * spiral_y[i];
}

// Appends `steps` points to the spiral, each one lattice step (dx, dy) from
// the last, and draws the path to each new point.
static void walk(int &i, int steps, int dx, int dy)
{
    for (int s = 0; s < steps; s++) {
        i++;
        spiral_x[i] = spiral_x[i - 1] + dx;
        spiral_y[i] = spiral_y[i - 1] + dy;
        draw_line(pixel_x(i - 1), pixel_y(i - 1), pixel_x(i), pixel_y(i), light_grey);
    }
}

int main(int, char **)
{
    open_screen(3);
    white = SDL_MapRGB(screen->format, 255, 255, 255);
    light_grey = SDL_MapRGB(screen->format, 240, 240, 240);
    black = SDL_MapRGB(screen->format, 0, 0, 0);
    red = SDL_MapRGB(screen->format, 255, 0, 0);
    SDL_FillRect(screen, nullptr, white);

    // Stage 1: the path. Round L goes L right, L up, L + 1 left, L + 1 down,
    // so that each round closes one more ring about the number 1.
    int i = 0;
    spiral_x[0] = spiral_y[0] = 0;
    for (int L = 1; L < 2 * rounds; L += 2) {
        walk(i, L, 1, 0);
        walk(i, L, 0, -1);
        walk(i, L + 1, -1, 0);
        walk(i, L + 1, 0, 1);
    }
    // i is now 20880: the spiral holds 1 to 20881. Shown without a wait.
    show_stage("the numbers 1 to %d on a square spiral, its path in light grey", i + 1);

    // Stage 2: a dot on every prime below the last index.
    std::vector<int> prime_table = sieve_primes(100000);
    for (int n = 2; n < i; n++)
        if (prime_table[n] != 0)
            fill_disc(pixel_x(n - 1), pixel_y(n - 1), 2, black);
    show_stage("the primes, one black dot each");
    wait_key_or_quit();

    // Stage 3: Euler's polynomial. Its value is prime exactly when its centre
    // pixel carries a dot; discs of radius 2 on points 4 pixels apart never
    // reach a neighbour's centre, and the path is light grey, not black.
    for (int k = 0; k < 40; k++) {
        int n = k * k + k + 41;
        int px = pixel_x(n - 1), py = pixel_y(n - 1);
        if (get_pixel(px, py) == black)
            fill_disc(px, py, 2, red);
        else
            fill_disc(px, py, 10, black);
    }
    show_stage("the values of n*n + n + 41 for n = 0 to 39 in red; a black blot would be a composite");
    wait_key_or_quit();
    return 0;
}
