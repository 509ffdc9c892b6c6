// Fermat's method on the odd number N = 4842037507: find x and y with
// x*x - y*y = N, so that N = (x + y)(x - y). The walk starts at x = ceil(sqrt N),
// y = 0 and carries only r = x*x - y*y - N: while r > 0 the smaller square
// grows (y + 1 takes 2y + 1 off r), while r < 0 the larger one does (x + 1
// adds 2x + 1). N needs 33 bits and x*x more, but r, 2x + 1 and 2y + 1 stay
// far inside 32 bits, so the walk is additions and subtractions only.
#include "arith/arith.hpp"
#include <cstdio>

int main()
{
    int x = 69585; // ceil(sqrt N)
    int y = 0;
    int r = 34718;  // 69585^2 - N
    int u = 139171; // 2x + 1
    int v = 1;      // 2y + 1

    printf("(%d %d)", x, y);
    while (r != 0) {
        if (r > 0) {
            r = r - v;
            v = v + 2;
            y = y + 1;
        } else {
            r = r + u;
            u = u + 2;
            x = x + 1;
        }
        printf("(%d %d)", x, y);
    }
    // r = 0: x*x - y*y = N.
    printf("\n***(%d %d)", x + y, x - y);
    _getch();
    return 0;
}
