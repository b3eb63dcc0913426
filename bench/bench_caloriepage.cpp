// The calorie page as the main window shows it: a day of 50 entries, list and totals; a key
// typed in "Rechercher :", results listed, over 991 foods and over 20 000.
#include "benchwindow.h"
#include "calories/caloriepage.h"

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/quickentry.h"
#include "store/profilefile.h"
#include "summary/energybalance.h"
#include "weight/stringgrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {
void BM_CaloriePage_ShowDayFoods50Entries(benchmark::State& state) {
    const QByteArray database = DefaultFoodDatabaseBytes();
    const QStringList foods =
        CategoryFoods(ProfileDocument::Parse(database), QStringLiteral("viande")).mid(0, 50);
    BenchAccount account("[Paul]\r\npassword=pw\r\n", QByteArray(), database);
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    log.Update([&](ProfileDocument& doc) {
        for (const QString& food : foods)
            doc.WriteString(QStringLiteral("5/3/2004"), food, QStringLiteral("2"));
        return true;
    });
    ShowMonthForBench(3, 2004);
    Form2->StringGrid1->SetRow(5);
    for (auto _ : state)
        Form2->TabSheet2->ShowDayFoods();
}

// Fifty years of weighings and three foods a day, the last day shown with its target.
class FiftyYearsShown {
  public:
    FiftyYearsShown()
        : account("[Paul]\r\npassword=pw\r\nobjectif=60\r\n", FiftyYearsOfLifelikeWeights(),
                  DefaultFoodDatabaseBytes()) {
        WriteFile(account.file(QStringLiteral("Paul.cal")), FiftyYearsOfDatabaseMeals());
        ShowMonthForBench(12, 2049);
        Form2->StringGrid1->SetRow(31);
        CaloriePage* page = Form2->TabSheet2;
        page->ListBox1->setCurrentItem(
            page->ListBox1->findItems(QStringLiteral("viande"), Qt::MatchExactly).value(0));
        page->ShowCategoryFoods();
        page->ListBox2->setCurrentItem(
            page->ListBox2->findItems(QStringLiteral("Abats"), Qt::MatchExactly).value(0));
        page->ShowFoodValues();
    }
    BenchAccount account;
};

// A food added to the day: written to the 50-year food log, the list, the totals and what is left.
void BM_CaloriePage_AddFood_FiftyYears(benchmark::State& state) {
    FiftyYearsShown shown;
    for (auto _ : state)
        Form2->TabSheet2->AddFoodToDay();
    state.counters["target"] =
        Form2->TabSheet2->Label40->text().section(QLatin1Char(' '), 2, 3).remove(' ').toDouble();
}

// The page after a food added, the write left out: the list, the totals and the target with
// what is left, the estimates kept.
void BM_CaloriePage_RemainingAfterAdd_FiftyYears(benchmark::State& state) {
    FiftyYearsShown shown;
    Form2->TabSheet2->AddFoodToDay();
    for (auto _ : state)
        Form2->TabSheet2->ShowDayFoods();
}

// The same with the estimate computed again over the fifty years, as it would be without the
// estimates kept.
void BM_CaloriePage_RemainingAfterAdd_EstimateRecomputed(benchmark::State& state) {
    FiftyYearsShown shown;
    Form2->TabSheet2->AddFoodToDay();
    const qint64 day = QDate(2049, 12, 31).toJulianDay();
    for (auto _ : state) {
        Form2->TabSheet2->ShowDayFoods();
        const EnergySeries series = EstimateEnergy(
            ReadEnergyJournal(ReadWeightJournal(Form2->WeightFile().Document()),
                              Form2->FoodLogFile().Document(), Form2->TabSheet2->FoodDatabase.Document()));
        benchmark::DoNotOptimize(TargetOfDay(series.At(day), 60, std::nullopt));
    }
}

// The "Calories" page shown for an account whose food database holds the default foods (991) or
// 20 000 foods.
std::unique_ptr<BenchAccount> searchPage(const benchmark::State& state) {
    auto account = std::make_unique<BenchAccount>("[Paul]\r\npassword=pw\r\n", QByteArray(),
                                                  state.range(0) == 991 ? DefaultFoodDatabaseBytes()
                                                                        : TwentyThousandFoods());
    ShowMonthForBench(3, 2004);
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->LoadCategoryList();
    return account;
}

// Each key of "cafe lait" typed in turn: the search and its results listed, no painting.
void BM_CaloriePage_SearchKey(benchmark::State& state) {
    const auto account = searchPage(state);
    QLineEdit* search = Form2->TabSheet2->Quick->Edit6;
    QListView* results = Form2->TabSheet2->Quick->ListBox3;
    const QString words = QStringLiteral("cafe lait");
    qsizetype k = 0;
    for (auto _ : state) {
        const qsizetype n = k++ % words.size() + 1;
        search->setText(words.left(n));
        results->doItemsLayout(); // laid out as before the next paint
    }
}

// The worst key: one letter that nearly every name holds ("e", then "é", the same search).
void BM_CaloriePage_SearchOneCommonLetter(benchmark::State& state) {
    const auto account = searchPage(state);
    QLineEdit* search = Form2->TabSheet2->Quick->Edit6;
    QListView* results = Form2->TabSheet2->Quick->ListBox3;
    bool accent = false;
    for (auto _ : state) {
        search->setText((accent = !accent) ? QStringLiteral("é") : QStringLiteral("e"));
        results->doItemsLayout();
    }
}
} // namespace

BENCHMARK(BM_CaloriePage_SearchOneCommonLetter)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaloriePage_SearchKey)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaloriePage_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaloriePage_AddFood_FiftyYears)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CaloriePage_RemainingAfterAdd_FiftyYears)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CaloriePage_RemainingAfterAdd_EstimateRecomputed)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
