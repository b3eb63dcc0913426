// Reading and writing the data files: the cost of a read of an unchanged file against parsing
// it, of a month saved as one batch against 31 single writes, and of QSettings as the usual
// alternative.
#include "benchsupport.h"

#include "calories/defaultfooddatabase.h"
#include "store/profilefile.h"

#include <QSettings>

#include <benchmark/benchmark.h>

namespace {
const QString WeightSection = QStringLiteral("6/2024");
const QString WeightKey = QStringLiteral("v15");
const QString FoodSection = QStringLiteral("Baguette (unité)");
const QString FoodKey = QStringLiteral("g");

void readUnchanged(benchmark::State& state, const QByteArray& bytes, const QString& section,
                   const QString& key) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("data.ini")), bytes);
    ProfileFile f(QStringLiteral("./data.ini"));
    f.ReadString(section, key, {});
    for (auto _ : state)
        benchmark::DoNotOptimize(f.ReadString(section, key, {}));
}

void parse(benchmark::State& state, const QByteArray& bytes, const QString& section, const QString& key) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ProfileDocument::Parse(bytes).ReadString(section, key, {}));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void qsettingsRead(benchmark::State& state, const QByteArray& bytes, const QString& section,
                   const QString& key) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("data.ini")), bytes);
    // A fresh QSettings per read, as "no stale reads" would need.
    for (auto _ : state) {
        QSettings settings(QStringLiteral("data.ini"), QSettings::IniFormat);
        benchmark::DoNotOptimize(settings.value(section + QLatin1Char('/') + key));
    }
}

void BM_Weights_ReadUnchanged(benchmark::State& s) {
    readUnchanged(s, FiftyYearsOfWeights(), WeightSection, WeightKey);
}
void BM_Weights_ParseFile(benchmark::State& s) {
    parse(s, FiftyYearsOfWeights(), WeightSection, WeightKey);
}
void BM_Weights_QSettingsRead(benchmark::State& s) {
    qsettingsRead(s, FiftyYearsOfWeights(), WeightSection, WeightKey);
}
void BM_Foods_ReadUnchanged(benchmark::State& s) {
    readUnchanged(s, DefaultFoodDatabaseBytes(), FoodSection, FoodKey);
}
void BM_Foods_ParseFile(benchmark::State& s) {
    parse(s, DefaultFoodDatabaseBytes(), FoodSection, FoodKey);
}
void BM_Foods_QSettingsRead(benchmark::State& s) {
    qsettingsRead(s, DefaultFoodDatabaseBytes(), FoodSection, FoodKey);
}

void BM_Weights_WriteString(benchmark::State& state) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("data.ini")), FiftyYearsOfWeights());
    ProfileFile f(QStringLiteral("./data.ini"));
    int i = 0;
    for (auto _ : state)
        f.WriteString(WeightSection, WeightKey, QString::number(70 + (++i % 2)));
}

// A month saved as one replacement of the file.
void BM_Weights_Month31KeysBatch(benchmark::State& state) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("data.ini")), FiftyYearsOfWeights());
    ProfileFile f(QStringLiteral("./data.ini"));
    int i = 0;
    for (auto _ : state) {
        const QString value = QString::number(70 + (++i % 2));
        f.Update([&](ProfileDocument& doc) {
            for (int d = 1; d <= 31; ++d)
                doc.WriteString(WeightSection, QStringLiteral("v%1").arg(d), value);
            return true;
        });
    }
}

// The same month as 31 single writes, each replacing the file.
void BM_Weights_Month31SingleWrites(benchmark::State& state) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("data.ini")), FiftyYearsOfWeights());
    ProfileFile f(QStringLiteral("./data.ini"));
    int i = 0;
    for (auto _ : state) {
        const QString value = QString::number(70 + (++i % 2));
        for (int d = 1; d <= 31; ++d)
            f.WriteString(WeightSection, QStringLiteral("v%1").arg(d), value);
    }
}
} // namespace

BENCHMARK(BM_Weights_ReadUnchanged);
BENCHMARK(BM_Weights_ParseFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weights_QSettingsRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Foods_ReadUnchanged);
BENCHMARK(BM_Foods_ParseFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Foods_QSettingsRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weights_WriteString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weights_Month31KeysBatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weights_Month31SingleWrites)->Unit(benchmark::kMillisecond);
