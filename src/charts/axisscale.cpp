#include "axisscale.h"

#include <algorithm>
#include <cmath>

double RoundStep(double span, int mostSteps) {
    mostSteps = std::max(1, mostSteps);
    if (!(span > mostSteps)) // NaN too
        return 1;
    const double rough = span / mostSteps;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough * (1 - 1e-9))
            return factor * power;
    return 10 * power;
}

AxisScale ScaleFor(double low, double high, bool empty, int mostSteps) {
    if (empty || !std::isfinite(low) || !std::isfinite(high))
        return {};
    double lo = std::floor(low) - 1;
    if (low >= 0)
        lo = std::max(0.0, lo);
    const double hi = std::ceil(high) + 1;
    const double step = RoundStep(hi - lo, mostSteps);
    AxisScale scale;
    scale.step = step;
    scale.min = std::floor(lo / step) * step;
    scale.max = std::ceil(hi / step) * step;
    return scale;
}
