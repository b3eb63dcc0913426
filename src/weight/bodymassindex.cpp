#include "bodymassindex.h"

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
    const int decimals = std::clamp(4 - integerDigits, 0, 2);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
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
