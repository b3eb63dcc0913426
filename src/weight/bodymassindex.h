#pragma once

#include <QString>

#include <optional>

// The body-mass index, computed in single precision as people's scales and the old program did,
// so that a value on a class bound (18,5; 25; 30 …) falls on the same side.
// Nothing for a height of 0 cm, which can only be met while the height is being typed.
std::optional<float> BodyMassIndex(float weightKg, int heightCm);

// At most two decimals and at most four significant digits, whichever keeps fewer; no trailing
// zeros; the comma as separator: 23,67; 25; 18,5; 9,88; 123,5.
QString FormatBodyMassIndex(float index);

// "Maigreur", "Poids normal", "Surpoids", "Obésité modérée", "Obésité sévère",
// "Obésité très sévère"; each upper bound belongs to the lower class.
QString BodyMassClass(float index);
