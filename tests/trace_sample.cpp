// A trace line written with trace_printf, for the tests of its character
// set and of its numbers: the accented letter as the traces hold it (Latin-1
// 0xE9) and a proportion with three decimals.
#include "console/console.hpp"

int main()
{
    trace_printf("Indice d'entr\xe9" "e= %d proportion %3.3f\n", 6, 12251 / 131072.0);
    return 0;
}
