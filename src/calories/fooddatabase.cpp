#include "fooddatabase.h"

#include "store/numbers.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {
const QCollator& frenchCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}
} // namespace

QStringList CategoryNames(const ProfileDocument& db) {
    return db.Keys(CategoriesSection);
}

void SortForDisplay(QStringList& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return frenchCollator().compare(a, b) < 0; });
}

int CompareForDisplay(const QString& a, const QString& b) {
    return frenchCollator().compare(a, b);
}

QStringList CategoryFoods(const ProfileDocument& db, const QString& category) {
    return db.Keys(category);
}

QString FoodValueText(const ProfileDocument& db, const QString& food, const QString& key) {
    return db.ReadString(food, key, QStringLiteral("0"));
}

double FoodValue(const ProfileDocument& db, const QString& food, const QString& key) {
    const std::optional<QString> text = db.Value(food, key);
    return text ? ParseDecimal(*text).value_or(0.0) : 0.0;
}
