#include "bodymassindex.h"

#include "store/numbers.h"

#include <algorithm>
#include <cmath>

std::optional<float> BodyMassIndex(float weightKg, int heightCm) {
    if (heightCm == 0)
        return std::nullopt;
    const float metres = static_cast<float>(heightCm * 0.01);
    return static_cast<float>(double(weightKg) / (double(metres) * double(metres)));
}

QString FormatBodyMassIndex(float index) {
    const double value = index;
    int integerDigits = 1;
    for (double a = std::fabs(value); a >= 10.0; a /= 10.0)
        ++integerDigits;
    return FormatDecimal(value, std::clamp(4 - integerDigits, 0, 2));
}

QString BodyMassClass(float index) {
    if (index <= 18.5f)
        return QStringLiteral("Maigreur");
    if (index <= 25.0f)
        return QStringLiteral("Poids normal");
    if (index <= 30.0f)
        return QStringLiteral("Surpoids");
    if (index <= 35.0f)
        return QStringLiteral("Obésité modérée");
    if (index <= 40.0f)
        return QStringLiteral("Obésité sévère");
    return QStringLiteral("Obésité très sévère");
}
