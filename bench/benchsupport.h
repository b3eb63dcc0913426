#pragma once

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
