#include "recentfoods.h"

#include "store/numbers.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {
QString dayKeyOf(const QDate& date) {
    return DayKey(date.day(), date.month(), date.year());
}

// Each food of a day once, as the page reads it: its first entry, with its quantity.
template <typename Visit> void forEachFoodOf(const ProfileDocument& log, const QString& dayKey, Visit visit) {
    QSet<QString> seen;
    log.ForEachValue(dayKey, [&](const QString& food, QByteArrayView raw) {
        const QString folded = food.toCaseFolded();
        if (seen.contains(folded))
            return;
        seen.insert(folded);
        visit(food, ParseInteger(ProfileDocument::ValueText(raw)).value_or(0));
    });
}
} // namespace

QList<FoodInCategory> RecentFoods(const ProfileDocument& log, const FoodCatalogue& foods, const QDate& day,
                                  int span, int count) {
    struct Tally {
        QString food;
        int days = 0;
        int lastSeen = 0; // days before `day`
    };
    QHash<QString, Tally> tallies;
    for (int back = 0; back < span && day.isValid(); ++back)
        forEachFoodOf(log, dayKeyOf(day.addDays(-back)), [&](const QString& food, int quantity) {
            if (quantity <= 0)
                return;
            Tally& tally = tallies[food.toCaseFolded()];
            if (tally.days++ == 0) {
                tally.food = food;
                tally.lastSeen = back;
            }
        });
    std::vector<Tally> listed;
    for (const Tally& tally : std::as_const(tallies))
        if (!foods.CategoryOf(tally.food).isEmpty())
            listed.push_back(tally);
    std::sort(listed.begin(), listed.end(), [](const Tally& a, const Tally& b) {
        if (a.days != b.days)
            return a.days > b.days;
        if (a.lastSeen != b.lastSeen)
            return a.lastSeen < b.lastSeen;
        return FoldedForSearch(a.food) < FoldedForSearch(b.food);
    });
    QList<FoodInCategory> recent;
    for (const Tally& tally : listed) {
        if (recent.size() >= count)
            break;
        recent.append({foods.ListedName(tally.food), foods.CategoryOf(tally.food)});
    }
    return recent;
}

DayBeforeEntries EntriesOfDayBefore(const ProfileDocument& log, const FoodCatalogue& foods,
                                    const QString& dayKey) {
    DayBeforeEntries before;
    const QDate day = DateOfDayKey(dayKey);
    if (!day.isValid())
        return before;
    before.date = day.addDays(-1);
    forEachFoodOf(log, dayKeyOf(before.date), [&](const QString& food, int quantity) {
        if (quantity <= 0)
            return;
        const QString listed = foods.ListedName(food);
        if (listed.isEmpty())
            before.notInDatabase << food;
        else
            before.entries.append({listed, QString::number(quantity)});
    });
    return before;
}
