// The estimated expenditure over fifty years of journals with meals every day: the journals read
// and the filter run, the filter alone, and the estimates asked for again with the files unchanged.
#include "benchsupport.h"

#include "calories/defaultfooddatabase.h"
#include "store/profilefile.h"
#include "summary/energybalance.h"

#include <benchmark/benchmark.h>

namespace {
class FiftyYears {
  public:
    FiftyYears() {
        WriteFile(dir.file(QStringLiteral("Paul.ini")), FiftyYearsOfLifelikeWeights());
        WriteFile(dir.file(QStringLiteral("Paul.cal")), FiftyYearsOfDatabaseMeals());
        WriteFile(dir.file(QStringLiteral("calories.ini")), DefaultFoodDatabaseBytes());
        // Parsed once, as the main window has them when a page asks.
        weights.Document();
        log.Document();
        db.Document();
    }
    BenchDir dir;
    ProfileFile weights{QStringLiteral(".\\Paul.ini")};
    ProfileFile log{QStringLiteral(".\\Paul.cal")};
    ProfileFile db{QStringLiteral("./calories.ini")};
    const qint64 lastDay = QDate(2049, 12, 31).toJulianDay();
};

void BM_EnergyEstimate_FiftyYears(benchmark::State& state) {
    FiftyYears f;
    for (auto _ : state) {
        const EnergySeries series = EstimateEnergy(
            ReadEnergyJournal(ReadWeightJournal(f.weights.Document()), f.log.Document(), f.db.Document()));
        benchmark::DoNotOptimize(series.At(f.lastDay));
    }
    const EnergyJournal j =
        ReadEnergyJournal(ReadWeightJournal(f.weights.Document()), f.log.Document(), f.db.Document());
    state.counters["days"] = double(j.days.size());
    state.counters["kcal"] = EstimateEnergy(j).At(f.lastDay)->kcal;
}

void BM_EnergyFilter_FiftyYears(benchmark::State& state) {
    FiftyYears f;
    const EnergyJournal j =
        ReadEnergyJournal(ReadWeightJournal(f.weights.Document()), f.log.Document(), f.db.Document());
    for (auto _ : state)
        benchmark::DoNotOptimize(EstimateEnergy(j).At(f.lastDay));
}

void BM_EnergyEstimates_FilesUnchanged(benchmark::State& state) {
    FiftyYears f;
    EnergyEstimates estimates;
    for (auto _ : state)
        benchmark::DoNotOptimize(estimates.For(f.weights, f.log, f.db, f.lastDay).At(f.lastDay));
}
} // namespace

BENCHMARK(BM_EnergyEstimate_FiftyYears)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EnergyFilter_FiftyYears)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EnergyEstimates_FilesUnchanged)->Unit(benchmark::kMicrosecond);
