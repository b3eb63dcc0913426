// The calorie page: a day of 50 entries computed against the default food database, and the
// first start that writes that database.
#include "benchsupport.h"

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/foodlog.h"
#include "store/profilefile.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {
const QString Day = QStringLiteral("5/3/2004");

// A data folder with the default database and a day of fifty different foods.
class FiftyEntries {
  public:
    FiftyEntries() {
        CreateDefaultFoodDatabase();
        ProfileFile db(QStringLiteral("./calories.ini"));
        const QStringList foods = CategoryFoods(db.Document(), QStringLiteral("viande")).mid(0, 50);
        log.Update([&](ProfileDocument& doc) {
            int q = 0;
            for (const QString& food : foods)
                doc.WriteString(Day, food, QString::number(++q % 7 + 1));
            return true;
        });
    }
    BenchDir dir;
    ProfileFile log{QStringLiteral(".\\Paul.cal")};
};

void BM_ShowDayFoods50Entries(benchmark::State& state) {
    FiftyEntries data;
    ProfileFile db(QStringLiteral("./calories.ini"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadDayFoods(data.log.Document(), db.Document(), Day));
}

// The same page with every value read from the file as the profile-file API of old did it:
// the database read and parsed again for each value.
void BM_ShowDayFoods50Entries_RereadPerValue(benchmark::State& state) {
    FiftyEntries data;
    for (auto _ : state) {
        const QStringList foods = data.log.ReadSection(Day);
        double total = 0;
        for (const QString& food : foods) {
            const int q = data.log.ReadInteger(Day, food, 0);
            for (const char* key : {"c", "p", "g", "l"})
                total += ProfileFile(QStringLiteral("./calories.ini"))
                             .ReadFloat(food, QString::fromLatin1(key), 0) *
                         q;
        }
        benchmark::DoNotOptimize(total);
    }
}

void BM_FirstStartWritesTheDatabase(benchmark::State& state) {
    BenchDir dir;
    for (auto _ : state) {
        QFile::remove(QStringLiteral("calories.ini"));
        CreateDefaultFoodDatabase();
    }
}
} // namespace

BENCHMARK(BM_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowDayFoods50Entries_RereadPerValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstStartWritesTheDatabase)->Unit(benchmark::kMillisecond);
