#pragma once

// The scale of a chart's weight axis: labels on round values, at least 1 apart.

struct AxisScale {
    double min = 0;
    double max = 10;
    double step = 1;
};

// The step between labels for a span shown: 1, 2 or 5 times a power of ten, at least 1, giving
// at most mostSteps steps (ten unless the axis has room for fewer labels; never less than one).
double RoundStep(double span, int mostSteps = 10);

// The scale for values from low to high, with a margin of about one unit on each side, on
// multiples of its step. The axis goes below 0 only when a value does. Without values
// (empty = true): 0 to 10.
AxisScale ScaleFor(double low, double high, bool empty = false, int mostSteps = 10);
