// The "Bilan" figures for "Tout" on fifty years of weights, against the same figures read with
// one ReadString per day; the export of every weight and the import of 18 600 lines.
#include "benchsupport.h"

#include "store/profilefile.h"
#include "summary/journalcsv.h"
#include "summary/weighttrend.h"

#include <benchmark/benchmark.h>

namespace {
// What the page computes, from the journal read however the caller reads it.
void figuresFor(const std::vector<DayWeight>& journal, const ProfileDocument& log,
                const ProfileDocument& db) {
    const DateRange range = SpanRange(SummarySpan::All, 12, 2049, QDate(2050, 1, 1), journal);
    const SpanFigures f = ComputeSpanFigures(journal, range);
    const FoodMeans food = MeanFoodValues(log, db, range);
    benchmark::DoNotOptimize(GoalText(ProjectGoal(70.0, f)));
    benchmark::DoNotOptimize(FigureLines(f, food, 175));
}

class FiftyYears {
  public:
    FiftyYears() {
        WriteFile(dir.file(QStringLiteral("Paul.ini")), FiftyYearsOfWeights());
        weights.Document(); // parsed once, as the main window has it when the page opens
    }
    BenchDir dir;
    ProfileFile weights{QStringLiteral(".\\Paul.ini")};
    ProfileDocument log;
    ProfileDocument db;
};

void BM_Summary_All(benchmark::State& state) {
    FiftyYears f;
    for (auto _ : state)
        figuresFor(ReadWeightJournal(f.weights.Document()), f.log, f.db);
    state.counters["days"] = double(ReadWeightJournal(f.weights.Document()).size());
}

void BM_Summary_All_ReadStringPerDay(benchmark::State& state) {
    FiftyYears f;
    for (auto _ : state)
        figuresFor(ReadWeightJournalByDay(f.weights), f.log, f.db);
}

void BM_ExportAllWeights(benchmark::State& state) {
    FiftyYears f;
    for (auto _ : state)
        WriteCsvFile(QStringLiteral("Poids Paul.csv"),
                     WeightsCsv(ReadWeightJournal(f.weights.Document()), DateRange{}));
}

// 18 600 lines in the ";" form, read, sorted against the weight file, summed up, and written.
QByteArray eighteenThousandSixHundredLines() {
    QByteArray csv = "\xEF\xBB\xBF"
                     "date;poids\r\n";
    QDate day(2002, 1, 1);
    for (int i = 0; i < 18600; ++i, day = day.addDays(1))
        csv += day.toString(QStringLiteral("dd/MM/yyyy")).toLatin1() + ";" + QByteArray::number(60 + i % 30) +
               "," + QByteArray::number(i % 10) + "\r\n";
    return csv;
}

void BM_ImportIntoEmptyJournal(benchmark::State& state) {
    BenchDir dir;
    WriteFile(QStringLiteral("import.csv"), eighteenThousandSixHundredLines());
    ProfileFile weights(QStringLiteral(".\\Paul.ini"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(QStringLiteral("Paul.ini"));
        weights.Document();
        state.ResumeTiming();
        const WeightImport plan =
            PlanWeightImport(ReadImportFile(QStringLiteral("import.csv")), weights.Document());
        benchmark::DoNotOptimize(ImportSummary(plan));
        ApplyWeightImport(weights, plan, false);
    }
}

// The same lines against a journal that already holds them all: the summary only.
void BM_ImportSummaryAgainstFullJournal(benchmark::State& state) {
    BenchDir dir;
    WriteFile(QStringLiteral("import.csv"), eighteenThousandSixHundredLines());
    ProfileFile weights(QStringLiteral(".\\Paul.ini"));
    ApplyWeightImport(
        weights, PlanWeightImport(ReadImportFile(QStringLiteral("import.csv")), weights.Document()), false);
    for (auto _ : state) {
        const WeightImport plan =
            PlanWeightImport(ReadImportFile(QStringLiteral("import.csv")), weights.Document());
        benchmark::DoNotOptimize(ImportSummary(plan));
    }
}
} // namespace

BENCHMARK(BM_Summary_All)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Summary_All_ReadStringPerDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportAllWeights)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ImportIntoEmptyJournal)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ImportSummaryAgainstFullJournal)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
