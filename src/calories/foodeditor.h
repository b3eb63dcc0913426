#pragma once

#include "store/profilefile.h"

#include <QString>

#include <optional>

// Changes to the food database made by its editor. Each writes one file as one replacement;
// where deleted foods are kept in the deleted-foods file, that file is written first, so that a
// food deleted is always kept somewhere.

// Why a category or food name cannot be used, or nothing when it can: the file form cannot hold
// a "]" or "=", a leading ";" or "[", blanks at either end, a line break or other control
// character, one pair of enclosing quotes, nor a character outside Windows-1252, and a name must
// hold something.
std::optional<QString> NameProblem(const QString& name, bool category);

// Why the name would share its section of the file with an entry of another kind, or nothing
// when it would not: the category list's own section, a food named like a category or a
// category named like a food (letter case ignored, as the file's names are matched) would read
// back as one another's lists and records.
std::optional<QString> NameClash(const ProfileDocument& db, const QString& name, bool category);
// The first of the two.
std::optional<QString> NameRefusal(const ProfileDocument& db, const QString& name, bool category);

// Adds the food to the category (or leaves it where it is listed) and writes its record:
// "a", then "c", "p", "g", "l" as typed.
void SaveFood(ProfileFile& db, const QString& category, const QString& name, const QString& c,
              const QString& p, const QString& g, const QString& l);

// Keeps the food's record and its category in the deleted-foods file, then removes both from
// the database. An empty category raises the list index error once the record is kept.
void DeleteFood(ProfileFile& db, ProfileFile& deleted, const QString& category, const QString& name);

// Appends the category to the category list (an existing one stays where it is).
void AddCategory(ProfileFile& db, const QString& name);

// Moves the foods of a category under a new name, merging them into that category if it exists.
// Renaming a category to its own name (letter case ignored) changes nothing.
void RenameCategory(ProfileFile& db, const QString& oldName, const QString& newName);

// Keeps every food of the category in the deleted-foods file (under chosenCategory), then erases
// their records, the category's list and its entry in the category list.
void DeleteCategory(ProfileFile& db, ProfileFile& deleted, const QString& category,
                    const QString& chosenCategory);
