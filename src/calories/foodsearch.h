#pragma once

#include "store/profiledocument.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// Finding a food without knowing its category: every food of every category, searched by the
// words a person types.

// A food as one category lists it.
struct FoodInCategory {
    QString food;
    QString category;
    bool operator==(const FoodInCategory&) const = default;
};

// The text as the search compares it: letters in lower case without their accents, ligatures
// spelt out ("Œuf" -> "oeuf"), and every character that is neither a letter nor a digit turned
// into a blank.
QString FoldedForSearch(QStringView text);

// The words of a typed text, folded, each once, in the order typed. Blanks and punctuation only
// separate words.
QStringList SearchWords(QStringView typed);

// Every food listed by a category of the database, ready to be searched. Built again whenever
// the database may have changed (the editor closing): foods renamed or deleted are then gone.
class FoodCatalogue {
  public:
    FoodCatalogue() = default;
    explicit FoodCatalogue(const ProfileDocument& db);

    // The foods whose name holds every word typed, ignoring case, accents and ligatures. Best
    // first: a word typed that begins the name counts before one that begins a later word of
    // the name, which counts before one found inside a word; then in alphabetical order. A food
    // listed by two categories comes once for each. Nothing when the text holds no word.
    QList<FoodInCategory> Search(QStringView typed) const;

    // The first category, in the order of the category list, that lists the food (the name
    // matched without regard to letter case, as the files match it); empty when none does.
    QString CategoryOf(const QString& food) const;
    // The food's name as that category lists it.
    QString ListedName(const QString& food) const;

    qsizetype Size() const { return qsizetype(m_entries.size()); }

  private:
    struct Entry {
        FoodInCategory listed;
        QString folded;
        qsizetype firstLetter = 0; // where the folded name's first word begins
        int alphabetical = 0;      // rank in the alphabetical order of names, then categories
    };
    std::vector<Entry> m_entries;
    QHash<QString, qsizetype> m_byName; // case-folded name -> its first entry
};
