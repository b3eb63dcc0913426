// The calorie page: a day of 50 entries computed against the default food database, the first
// start that writes that database, a key typed in the search over every food (991 foods and
// 20 000), and the recent foods over fifty years of meals.
#include "benchsupport.h"

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/foodlog.h"
#include "calories/foodsearch.h"
#include "calories/recentfoods.h"
#include "store/profilefile.h"

#include <QFile>
#include <QHash>

#include <algorithm>

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
// Each key of "cafe lait" typed, one per iteration: the search as it stands after that key.
const QStringList Typing = [] {
    QStringList keys;
    const QString words = QStringLiteral("cafe lait");
    for (qsizetype n = 1; n <= words.size(); ++n)
        keys << words.left(n);
    return keys;
}();

ProfileDocument databaseOf(int foods) {
    return ProfileDocument::Parse(foods == 991 ? DefaultFoodDatabaseBytes() : TwentyThousandFoods());
}

void BM_FoodSearch_Key(benchmark::State& state) {
    const FoodCatalogue catalogue(databaseOf(int(state.range(0))));
    qsizetype k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue.Search(Typing.at(k++ % Typing.size())));
}

// The worst key: one letter that nearly every name holds.
void BM_FoodSearch_OneCommonLetter(benchmark::State& state) {
    const FoodCatalogue catalogue(databaseOf(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue.Search(QStringLiteral("e")));
    state.counters["found"] = double(catalogue.Search(QStringLiteral("e")).size());
}

// The same keys with every name folded again at each key, as a search without a catalogue would.
void BM_FoodSearch_Key_FoldEveryName(benchmark::State& state) {
    const ProfileDocument db = databaseOf(int(state.range(0)));
    qsizetype k = 0;
    for (auto _ : state) {
        const QStringList words = SearchWords(Typing.at(k++ % Typing.size()));
        QStringList found;
        for (const QString& category : CategoryNames(db))
            for (const QString& food : CategoryFoods(db, category)) {
                const QString folded = FoldedForSearch(food);
                if (std::all_of(words.cbegin(), words.cend(),
                                [&](const QString& w) { return folded.contains(w); }))
                    found << food;
            }
        SortForDisplay(found);
        benchmark::DoNotOptimize(found);
    }
}

// Built when the page shows and again when the editor closes.
void BM_FoodCatalogue_Build(benchmark::State& state) {
    const ProfileDocument db = databaseOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FoodCatalogue(db));
}

class FiftyYearsOfMealsLog {
  public:
    FiftyYearsOfMealsLog() {
        CreateDefaultFoodDatabase();
        WriteFile(dir.file(QStringLiteral("Paul.cal")), FiftyYearsOfMeals());
        log.Document(); // parsed once, as the main window has it
    }
    BenchDir dir;
    ProfileFile log{QStringLiteral(".\\Paul.cal")};
    const FoodCatalogue foods{ProfileFile(QStringLiteral("./calories.ini")).Document()};
};

void BM_RecentFoods_FiftyYears(benchmark::State& state) {
    FiftyYearsOfMealsLog f;
    for (auto _ : state)
        benchmark::DoNotOptimize(RecentFoods(f.log.Document(), f.foods, QDate(2049, 12, 31)));
    state.counters["days"] = double(f.log.Document().Sections().size());
}

// The same list found by reading every day of the log and keeping those of the last 30 days.
void BM_RecentFoods_FiftyYears_EveryDayRead(benchmark::State& state) {
    FiftyYearsOfMealsLog f;
    const QDate last(2049, 12, 31);
    for (auto _ : state) {
        const ProfileDocument& log = f.log.Document();
        QHash<QString, int> days;
        for (const QString& day : log.Sections()) {
            const QDate date = DateOfDayKey(day);
            if (date.isValid() && date <= last && date.daysTo(last) < 30)
                for (const QString& food : log.Keys(day))
                    ++days[food];
        }
        benchmark::DoNotOptimize(days);
    }
}

void BM_CopyDayBefore_Entries(benchmark::State& state) {
    FiftyYearsOfMealsLog f;
    for (auto _ : state)
        benchmark::DoNotOptimize(EntriesOfDayBefore(f.log.Document(), f.foods, QStringLiteral("1/3/2049")));
}
} // namespace

BENCHMARK(BM_FoodSearch_Key)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodSearch_OneCommonLetter)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodSearch_Key_FoldEveryName)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodCatalogue_Build)->Arg(991)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecentFoods_FiftyYears)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecentFoods_FiftyYears_EveryDayRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyDayBefore_Entries)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowDayFoods50Entries_RereadPerValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstStartWritesTheDatabase)->Unit(benchmark::kMillisecond);
