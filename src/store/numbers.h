#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Numbers as people type them and as the data files hold them: the comma is the decimal
// separator whatever the system's locale, so that files stay portable.

// A decimal number: optional blanks, an optional sign, digits with at most one comma, an
// optional exponent ("1,5E3"). Nothing for any other text, a lone comma or the empty text.
std::optional<double> ParseDecimal(QStringView text);

// Like ParseDecimal, but raises "'<text>' n'est pas une valeur en virgule flottante correcte".
double StrToFloat(const QString& text);

// A signed 32-bit decimal integer, blanks allowed around it.
std::optional<int> ParseInteger(QStringView text);

// Like ParseInteger, but raises "'<text>' n'est pas une valeur entière correcte".
int StrToInt(const QString& text);

// A decimal number without sign, blank or leading zero, as data files write days, months and
// years ("5/3/2004", "v12"); nothing for any other text.
std::optional<int> ParsePlainNumber(QStringView text);
std::optional<int> ParsePlainNumber(QByteArrayView text);

// An integer as data files hold it: decimal, or hexadecimal behind "0x" / "0X".
std::optional<int> ParseProfileInteger(QStringView text);

// A number with at most `decimals` decimals, trailing zeros dropped, the decimal comma.
QString FormatDecimal(double value, int decimals);

// The texts a field takes, judged on the whole text whatever brought it (keys, the clipboard, a
// drag, an input method). Each returns whether the field takes the text, after turning its
// periods into commas where the field does so. A text a field takes is one its reader gives
// back as the person meant it.
// A weight (goal): digits and at most one comma, never a lone comma, which reads as no number.
bool TakesWeightText(QString& text);
// A weight cell of the grid, which held `before`: as a weight, and the no-weight marker "0" it
// held gives way to the digits typed or pasted after it ("0" then 7 gives "7", never "07").
bool TakesWeightCellText(QString& text, QStringView before);
// A food's value in the editor: as a weight.
bool TakesFoodValueText(QString& text);
// The quantity of a food eaten: a minus sign first at most, then digits, commas and periods. A
// decimal is kept as typed, so that "Ajouter" refuses it with the text the person sees rather
// than a comma dropped turning "1,5" into 15.
bool TakesQuantityText(QStringView text);
// A text made only of the characters of `allowed`.
bool HoldsOnly(QStringView text, QStringView allowed);
