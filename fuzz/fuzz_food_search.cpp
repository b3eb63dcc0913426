// Any bytes as what a person types in "Rechercher :" and as the food database and food log
// searched: the search never fails, finds only foods that hold every word typed, each listed by
// its category; the recent foods are at most 15 foods the database lists; the day before's
// entries are foods the database lists, with quantities above zero. The text typed is the input
// up to its first zero byte (read as UTF-8); the rest, halved, is the database and the log.
#include "calories/foodsearch.h"
#include "calories/recentfoods.h"
#include "store/numbers.h"

#include <QByteArray>
#include <QDate>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype end = bytes.indexOf('\0');
    const QString typed = QString::fromUtf8(bytes.left(end < 0 ? bytes.size() : end));
    const QByteArray files = end < 0 ? QByteArray() : bytes.mid(end + 1);
    const ProfileDocument db = ProfileDocument::Parse(files.left(files.size() / 2));
    const ProfileDocument log = ProfileDocument::Parse(files.mid(files.size() / 2));
    const FoodCatalogue foods(db);

    const QStringList words = SearchWords(typed);
    for (const FoodInCategory& found : foods.Search(typed)) {
        check(!words.isEmpty() && !foods.CategoryOf(found.food).isEmpty());
        const QString name = FoldedForSearch(found.food);
        for (const QString& word : words)
            check(name.contains(word));
    }
    const QList<FoodInCategory> recent = RecentFoods(log, foods, QDate(2024, 3, 1));
    check(recent.size() <= 15);
    for (const FoodInCategory& food : recent)
        check(foods.ListedName(food.food) == food.food);
    for (const QString& day : log.Sections()) {
        const DayBeforeEntries before = EntriesOfDayBefore(log, foods, day);
        for (const FoodQuantity& entry : before.entries)
            check(foods.ListedName(entry.food) == entry.food &&
                  ParseInteger(entry.quantityText).value_or(0) > 0);
    }
    return 0;
}
