// The year window's filling on a weight file of fifty years, against a reading of its 372 keys
// each through a fresh handle (which parses the whole file every time), and the saving of a
// 1000 × 600 chart as JPEG.
#include "benchwindow.h"

#include "accounts/tform1.h"
#include "app/windowset.h"
#include "charts/chartexport.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "store/profilefile.h"
#include "ui/spinedit.h"
#include "weight/tform2.h"
#include "weight/weightrecords.h"

#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
// Paul's account open on 2024, in a data folder holding fifty years of his weights.
class OpenYear : public BenchAccount {
  public:
    OpenYear() : BenchAccount("[Paul]\r\npassword=pw\r\ntrace=255\r\nlargeur=2\r\n", FiftyYearsOfWeights()) {
        Form2->CSpinEdit1->setValue(2024);
    }
};

// Each opening on another year than the last, so that the whole line really changes.
void BM_YearWindowFill(benchmark::State& state) {
    OpenYear window;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Form2->CSpinEdit1->setValue(++i % 2 ? 2051 : 2024); // a year without weights, then a full one
        state.ResumeTiming();
        Form5->FormShow();
    }
}

// The same, right after the weight file changed on disk: the opening parses it again.
void BM_YearWindowFill_FileChanged(benchmark::State& state) {
    OpenYear window;
    const QByteArray weights = FiftyYearsOfWeights();
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(QStringLiteral("Paul.ini"), weights);
        state.ResumeTiming();
        Form5->FormShow();
    }
}

// The same filling with every key read through a handle of its own, as a profile-file API
// without a parsed copy does.
void BM_YearWindowFill_LiteralReads(benchmark::State& state) {
    OpenYear window;
    for (auto _ : state) {
        Form5->Chart1->Begin(QStringLiteral("2024"));
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= TForm5::DaySlots; ++day)
                Form5->Chart1->AddPoint(0,
                                        ProfileFile(WeightFileName(QStringLiteral("Paul")))
                                            .ReadFloat(MonthKey(month, 2024), DayWeightKey(day), 0.0),
                                        QString::number(month));
        Form5->Chart1->Commit();
    }
}

// A month chart of 31 weights in a 1000 × 600 view, written as JPEG through its temporary bitmap.
void BM_SaveChartJpeg(benchmark::State& state) {
    BenchDir dir;
    auto* chart = new WeightChart(1, true);
    chart->Begin(QStringLiteral("Mars 2004"));
    for (int d = 1; d <= 31; ++d)
        chart->AddPoint(0, 60 + (d * 7) % 30 + 0.1 * (d % 10), QString::number(d));
    chart->Commit();
    ZoomChartView view(chart); // owns the chart
    view.resize(1000, 600);
    view.show();
    for (auto _ : state)
        WriteChartPicture(&view, QStringLiteral("Mars 2004"), ChartPictureType::Jpeg);
}
} // namespace

BENCHMARK(BM_YearWindowFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_YearWindowFill_FileChanged)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_YearWindowFill_LiteralReads)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveChartJpeg)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
