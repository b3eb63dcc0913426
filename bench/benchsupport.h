#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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
