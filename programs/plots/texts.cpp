// The numbers of the pictures as their captions write them.
#include "plots.hpp"

std::string polynomial_text(long long b, long long c)
{
    std::string text = "n*n";
    if (b != 0)
        text +=
            (b < 0 ? " - " : " + ") + (b == 1 || b == -1 ? "" : std::to_string(b < 0 ? -b : b) + "*") + "n";
    if (c != 0)
        text += (c < 0 ? " - " : " + ") + std::to_string(c < 0 ? -c : c);
    return text;
}

std::string gaussian_text(long long a, long long b)
{
    std::string imaginary = b == 1 || b == -1 ? "i" : std::to_string(b < 0 ? -b : b) + "i";
    if (b == 0)
        return std::to_string(a);
    if (a == 0)
        return (b < 0 ? "-" : "") + imaginary;
    return std::to_string(a) + (b < 0 ? " - " : " + ") + imaginary;
}
