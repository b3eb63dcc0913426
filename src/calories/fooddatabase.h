#pragma once

#include "store/profiledocument.h"
#include "store/profilefile.h"

#include <QString>
#include <QStringList>

// The food database "calories.ini": the category list "[catégories]", one list section per
// category, and one record per food with its energy "c", proteins "p", glucides "g" and lipids "l".

inline const QString CategoriesSection = QStringLiteral("catégories");

// The category names in file order.
QStringList CategoryNames(const ProfileDocument& db);
// Names in the order people expect to read them in French: accents and letter case handled by
// the collation, not by character codes.
void SortForDisplay(QStringList& names);
// The foods filed under a category, in file order.
QStringList CategoryFoods(const ProfileDocument& db, const QString& category);

// A value of a food as shown: the text as stored, "0" when missing.
QString FoodValueText(const ProfileDocument& db, const QString& food, const QString& key);
// A value of a food as counted: 0 when missing, empty or not a number with the decimal comma.
double FoodValue(const ProfileDocument& db, const QString& food, const QString& key);

// Compares two texts as a French reader would, without regard to letter case.
int CompareForDisplay(const QString& a, const QString& b);
