#pragma once

#include "store/profiledocument.h"
#include "store/profilefile.h"

#include <QDate>
#include <QList>
#include <QString>

// The food log of an account (account + ".cal"): one section per day ("5/3/2004"), one key per
// food eaten that day, the value the quantity as a signed whole number.

QString DayKey(int day, int month, int year);
// The date a day key names, written as DayKey writes it ("5/3/2004", never "05/3/2004"); an
// invalid date for any other text.
QDate DateOfDayKey(QStringView dayKey);
// ".\" + account + ".cal"; raises an error for a name that cannot name a file of the data folder.
QString FoodLogFileName(const QString& account);

// A number as the calorie page writes it: at most 15 significant digits, the comma, no grouping,
// the exponent form below 0,0001 or beyond 15 integer digits (305; 52,5; 0,9; 9E-5).
QString FormatAmount(double value);

struct DayFoodRow {
    QString name;
    QString quantity;
    QString calories, proteins, glucides, lipides;
};

struct DayFoods {
    QList<DayFoodRow> rows;
    // Energy, proteins, glucides and lipids of the day.
    QString calories = QStringLiteral("0");
    QString proteins = QStringLiteral("0");
    QString glucides = QStringLiteral("0");
    QString lipides = QStringLiteral("0");
};

// The day's entries in the order they were first added, each value computed from the food
// database at this moment.
DayFoods ReadDayFoods(const ProfileDocument& log, const ProfileDocument& db, const QString& dayKey);

// Adds a quantity (a signed whole number as typed) of a food to a day; a food already eaten that
// day has its quantity increased in place. Raises "'<text>' n'est pas une valeur entière
// correcte" for a quantity that is not a whole number, and refuses a total beyond the 32-bit
// range; nothing is written then.
void AddFoodToDay(ProfileFile& log, const QString& dayKey, const QString& food, const QString& quantityText);

// A food and its quantity as typed (a signed whole number).
struct FoodQuantity {
    QString food;
    QString quantityText;
    bool operator==(const FoodQuantity&) const = default;
};
// Adds several foods to a day as AddFoodToDay adds each, in one replacement of the file: all of
// them or, when one is refused or the write fails, none.
void AddFoodsToDay(ProfileFile& log, const QString& dayKey, const QList<FoodQuantity>& foods);

// Removes a food from a day. Raises "Impossible d'écrire dans <file>" when that fails.
void RemoveFoodFromDay(ProfileFile& log, const QString& dayKey, const QString& food);
