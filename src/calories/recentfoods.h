#pragma once

#include "calories/foodlog.h"
#include "calories/foodsearch.h"
#include "store/profiledocument.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// What the food log tells of the days around the day shown: the foods eaten most often lately,
// and the entries of the day before.

// The foods logged on the most days among the `span` days that end with `day` (that day
// included), a food counting once a day and only with a quantity above zero: most days first,
// then the one eaten last, then in alphabetical order; at most `count`. Only foods the database
// still lists, each under its listed name and the first category listing it.
QList<FoodInCategory> RecentFoods(const ProfileDocument& log, const FoodCatalogue& foods, const QDate& day,
                                  int span = 30, int count = 15);

// The entries of the day before a day, as "Copier la veille" adds them to that day: each food
// eaten (quantity above zero) under its listed name, in the order of the day before. Foods the
// database no longer lists are set aside by name: they could not be chosen to be added.
struct DayBeforeEntries {
    QDate date; // the day before
    QList<FoodQuantity> entries;
    QStringList notInDatabase;
};
DayBeforeEntries EntriesOfDayBefore(const ProfileDocument& log, const FoodCatalogue& foods,
                                    const QString& dayKey);
