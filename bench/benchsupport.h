#pragma once

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "store/codepage.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>

// A scratch data folder made the working directory for the benchmark's lifetime.
class BenchDir {
  public:
    BenchDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~BenchDir() { QDir::setCurrent(m_previous); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

  private:
    QTemporaryDir m_dir;
    QString m_previous;
};

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// Fifty years of daily weights, as a faithful user would have after half a lifetime: 600
// months of 31 days (2000 to 2049).
inline QByteArray FiftyYearsOfWeights() {
    QByteArray out;
    for (int year = 2000; year < 2050; ++year)
        for (int month = 1; month <= 12; ++month) {
            out += "[" + QByteArray::number(month) + "/" + QByteArray::number(year) + "]\r\n";
            for (int day = 1; day <= 31; ++day)
                out += "v" + QByteArray::number(day) + "=" + QByteArray::number(60 + (day * 7 + month) % 30) +
                       "," + QByteArray::number(day % 10) + "\r\n";
        }
    return out;
}

// Fifty years of meals with foods of the default database: three a day from 2000 to 2049, some
// 2 000 kcal a day.
inline QByteArray FiftyYearsOfDatabaseMeals() {
    QByteArray out;
    for (QDate day(2000, 1, 1); day.year() < 2050; day = day.addDays(1))
        out += "[" + QByteArray::number(day.day()) + "/" + QByteArray::number(day.month()) + "/" +
               QByteArray::number(day.year()) + "]\r\nAbats=" + QByteArray::number(4 + day.day() % 3) +
               "\r\nBaguette (unit\xE9)=1\r\nCheeseburger=2\r\n";
    return out;
}

// Fifty years of a weight that follows the seasons, give or take a few hundred grams a day, to
// go with the meals of FiftyYearsOfDatabaseMeals.
inline QByteArray FiftyYearsOfLifelikeWeights() {
    QByteArray out;
    int day = 0;
    for (int year = 2000; year < 2050; ++year)
        for (int month = 1; month <= 12; ++month) {
            out += "[" + QByteArray::number(month) + "/" + QByteArray::number(year) + "]\r\n";
            for (int d = 1; d <= QDate(year, month, 1).daysInMonth(); ++d, ++day) {
                const double kg = 70 + 2 * std::sin(day * 2 * M_PI / 365.25) + ((day * 37) % 13 - 6) * 0.05;
                out += "v" + QByteArray::number(d) + "=" + QByteArray::number(kg, 'f', 1).replace('.', ',') +
                       "\r\n";
            }
        }
    return out;
}

// A food database of 20 000 foods in 20 categories of 1 000: the default foods' names, numbered
// from their second round on ("Abats 2"), with the default values.
inline QByteArray TwentyThousandFoods() {
    const ProfileDocument defaults = ProfileDocument::Parse(DefaultFoodDatabaseBytes());
    QStringList names;
    for (const QString& category : CategoryNames(defaults))
        names << CategoryFoods(defaults, category);
    QString list = QStringLiteral("[catégories]\r\n");
    QString sections, records;
    for (int i = 0; i < 20000; ++i) {
        const QString base = names.at(i % names.size());
        const QString name =
            i < names.size() ? base : base + QLatin1Char(' ') + QString::number(i / names.size() + 1);
        if (i % 1000 == 0) {
            const QString category = QStringLiteral("catégorie %1").arg(i / 1000 + 1);
            list += category + QStringLiteral("=\r\n");
            sections += QLatin1Char('[') + category + QStringLiteral("]\r\n");
        }
        sections += name + QStringLiteral("=\r\n");
        records += QLatin1Char('[') + name + QStringLiteral("]\r\na=") + name + QStringLiteral("\r\nc=") +
                   defaults.ReadString(base, QStringLiteral("c"), QStringLiteral("0")) +
                   QStringLiteral("\r\np=1\r\nl=2\r\ng=3\r\n");
    }
    return EncodeWindows1252(list + sections + records);
}

// Fifty years of meals (2000 to 2049): three to seven of the first 40 default foods a day.
inline QByteArray FiftyYearsOfMeals() {
    const ProfileDocument defaults = ProfileDocument::Parse(DefaultFoodDatabaseBytes());
    const QStringList foods = CategoryFoods(defaults, QStringLiteral("viande")).mid(0, 40);
    QString out;
    int n = 0;
    for (QDate day(2000, 1, 1); day.year() < 2050; day = day.addDays(1)) {
        out += QStringLiteral("[%1/%2/%3]\r\n").arg(day.day()).arg(day.month()).arg(day.year());
        for (int k = 0; k < 3 + day.day() % 5; ++k)
            out += foods.at((n++ * 7) % foods.size()) + QStringLiteral("=%1\r\n").arg(1 + k % 3);
    }
    return EncodeWindows1252(out);
}
