#include "foodlog.h"

#include "accounts/accountsstore.h"
#include "calories/fooddatabase.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"

#include <cmath>
#include <limits>

QString DayKey(int day, int month, int year) {
    return QString::number(day) + QLatin1Char('/') + QString::number(month) + QLatin1Char('/') +
           QString::number(year);
}

QDate DateOfDayKey(QStringView dayKey) {
    const qsizetype a = dayKey.indexOf(QLatin1Char('/'));
    const qsizetype b = a < 0 ? -1 : dayKey.indexOf(QLatin1Char('/'), a + 1);
    if (b < 0)
        return {};
    const auto d = ParsePlainNumber(dayKey.left(a)), m = ParsePlainNumber(dayKey.mid(a + 1, b - a - 1)),
               y = ParsePlainNumber(dayKey.mid(b + 1));
    return d && m && y ? QDate(*y, *m, *d) : QDate();
}

QString FoodLogFileName(const QString& account) {
    AccountsStore::CheckAccountName(account);
    return QStringLiteral(".\\") + account + QStringLiteral(".cal");
}

QString FormatAmount(double value) {
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    // The C general form with 15 digits switches to the exponent form at the same two points.
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        QString mantissa = text.left(e);
        const int exponent = text.mid(e + 1).toInt();
        text = mantissa + QLatin1Char('E') + QString::number(exponent);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

namespace {
// Each total is kept as the text shown and read back, as the page has always added them.
void addTo(QString& total, double amount) {
    total = FormatAmount(ParseDecimal(total).value_or(0.0) + amount);
}
} // namespace

DayFoods ReadDayFoods(const ProfileDocument& log, const ProfileDocument& db, const QString& dayKey) {
    DayFoods day;
    for (const QString& food : log.Keys(dayKey)) {
        const int quantity = ParseInteger(log.ReadString(dayKey, food, QString())).value_or(0);
        const double c = FoodValue(db, food, QStringLiteral("c")) * quantity;
        const double p = FoodValue(db, food, QStringLiteral("p")) * quantity;
        const double g = FoodValue(db, food, QStringLiteral("g")) * quantity;
        const double l = FoodValue(db, food, QStringLiteral("l")) * quantity;
        day.rows.append({food, QString::number(quantity), FormatAmount(c), FormatAmount(p), FormatAmount(g),
                         FormatAmount(l)});
        addTo(day.calories, c);
        addTo(day.proteins, p);
        addTo(day.glucides, g);
        addTo(day.lipides, l);
    }
    return day;
}

void AddFoodToDay(ProfileFile& log, const QString& dayKey, const QString& food, const QString& quantityText) {
    AddFoodsToDay(log, dayKey, {{food, quantityText}});
}

void AddFoodsToDay(ProfileFile& log, const QString& dayKey, const QList<FoodQuantity>& foods) {
    QList<int> quantities;
    for (const FoodQuantity& entry : foods)
        quantities << StrToInt(entry.quantityText);
    log.Update([&](ProfileDocument& doc) {
        bool changed = false;
        for (qsizetype i = 0; i < foods.size(); ++i) {
            const QString& food = foods.at(i).food;
            qint64 total = quantities.at(i);
            if (doc.ValueExists(dayKey, food))
                total += ParseInteger(doc.ReadString(dayKey, food, QString())).value_or(0);
            if (total > std::numeric_limits<int>::max() || total < std::numeric_limits<int>::min())
                throw KalimoError(
                    QStringLiteral("La quantité totale de « %1 » pour ce jour serait trop grande : "
                                   "elle n'a pas été enregistrée")
                        .arg(food));
            changed = doc.WriteString(dayKey, food, QString::number(total)) || changed;
        }
        return changed;
    });
}

void RemoveFoodFromDay(ProfileFile& log, const QString& dayKey, const QString& food) {
    log.Update([&](ProfileDocument& doc) { return doc.DeleteKey(dayKey, food); });
}
