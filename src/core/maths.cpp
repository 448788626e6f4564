#include "core/maths.h"

namespace {

// Terms of the arc sine's power series, asin(y) = sum c[n] y^(2n+1), with
// c[n] = (2n)! / (4^n (n!)^2 (2n + 1)). The series is only summed for
// |y| <= 1/2, where 34 terms take the error below the last bit of a long
// double.
constexpr int series_terms = 34;

struct SeriesTable {
    long double c[series_terms];
    SeriesTable()
    {
        long double a = 1;  // (2n)! / (4^n (n!)^2)
        for (int n = 0; n < series_terms; ++n) {
            if (n > 0)
                a = a * (2 * n - 1) / (2 * n);
            c[n] = a / (2 * n + 1);
        }
    }
};

const SeriesTable series;

long double arc_sine_series(long double y)
{
    const long double y2 = y * y;
    long double sum = series.c[series_terms - 1];
    for (int n = series_terms - 2; n >= 0; --n)
        sum = sum * y2 + series.c[n];
    return y * sum;
}

// Square root by Newton's method from a double's square root: the basic
// operations only, so no library function of the target is involved.
long double square_root(long double z)
{
    if (z <= 0)
        return 0;
    // Start from a power of two within a factor of two of the root, then
    // converge quadratically.
    long double r = 1;
    while (r * r > z)
        r /= 2;
    while (r * r * 4 <= z)
        r *= 2;
    for (int i = 0; i < 8; ++i)
        r = (r + z / r) / 2;
    return r;
}

constexpr long double half_pi = 1.57079632679489661923132169163975144L;

}  // namespace

float maths_arc_sine(float s)
{
    // Extended precision so that rounding to double and then to float
    // lands where the correctly rounded double does.
    const long double x = s < 0 ? -static_cast<long double>(s) : static_cast<long double>(s);
    long double result;
    if (x <= 0.5L) {
        result = arc_sine_series(x);
    } else {
        // asin(x) = pi/2 - 2 asin(sqrt((1 - x) / 2)), whose argument is <= 1/2.
        result = half_pi - 2 * arc_sine_series(square_root((1 - x) / 2));
    }
    const double rounded = static_cast<double>(result);
    return static_cast<float>(s < 0 ? -rounded : rounded);
}
