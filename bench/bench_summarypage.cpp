// The "Bilan" page computed for "Tout" on fifty years of weights: figures, goal and the chart's
// series filled, without painting.
#include "benchwindow.h"
#include "calories/caloriepage.h"

#include "calories/defaultfooddatabase.h"
#include "summary/summarypage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {
void BM_SummaryPage_All(benchmark::State& state) {
    BenchAccount account("[Paul]\r\npassword=pw\r\ntaille=175\r\nobjectif=70\r\n", FiftyYearsOfWeights());
    ShowMonthForBench(12, 2049);
    Form2->TabSheet3->ComboBox4->setCurrentIndex(int(SummarySpan::All));
    for (auto _ : state)
        Form2->TabSheet3->RefreshSummary();
}

// The same figures with one ReadString per day of the fifty years (the chart left out).
void BM_SummaryPage_All_ReadStringPerDay(benchmark::State& state) {
    BenchAccount account("[Paul]\r\npassword=pw\r\ntaille=175\r\nobjectif=70\r\n", FiftyYearsOfWeights());
    ShowMonthForBench(12, 2049);
    for (auto _ : state) {
        const std::vector<DayWeight> journal = ReadWeightJournalByDay(Form2->WeightFile());
        const DateRange range = SpanRange(SummarySpan::All, 12, 2049, QDate::currentDate(), journal);
        const SpanFigures f = ComputeSpanFigures(journal, range);
        const FoodMeans food =
            MeanFoodValues(Form2->FoodLogFile().Document(), Form2->TabSheet2->FoodDatabase.Document(), range);
        benchmark::DoNotOptimize(GoalText(ProjectGoal(70.0, f)));
        benchmark::DoNotOptimize(FigureLines(f, food, 175));
    }
}

// The page for "Tout" on fifty years of weights and three foods a day, the chart of expenditure
// and intake hidden (chart:0) or shown (chart:1): the estimate kept, the chart's lines filled.
void BM_SummaryPage_All_EnergyChart(benchmark::State& state) {
    BenchAccount account("[Paul]\r\npassword=pw\r\ntaille=175\r\nobjectif=70\r\n",
                         FiftyYearsOfLifelikeWeights(), DefaultFoodDatabaseBytes());
    WriteFile(account.file(QStringLiteral("Paul.cal")), FiftyYearsOfDatabaseMeals());
    ShowMonthForBench(12, 2049);
    Form2->TabSheet3->ComboBox4->setCurrentIndex(int(SummarySpan::All));
    Form2->TabSheet3->CheckBox40->setChecked(state.range(0) != 0);
    for (auto _ : state)
        Form2->TabSheet3->RefreshSummary();
}
} // namespace

BENCHMARK(BM_SummaryPage_All_EnergyChart)
    ->ArgName("chart")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SummaryPage_All)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SummaryPage_All_ReadStringPerDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
