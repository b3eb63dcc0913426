// Start-up to the login window shown, and the peak memory of a whole session.
#include "benchwindow.h"
#include "calories/caloriepage.h"

#include "calories/defaultfooddatabase.h"
#include "charts/chartexport.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "summary/summarypage.h"
#include "weight/stringgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {
// A data folder as a second start finds it: the food database and an account, scrambled.
void secondStartFolder(const BenchDir& dir) {
    WriteFile(dir.file(QStringLiteral("calories.ini")), DefaultFoodDatabaseBytes());
    WriteFile(dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
}

// The six windows created and the login window shown, as at every start.
void BM_StartUpToLoginWindow(benchmark::State& state) {
    BenchDir dir;
    secondStartFolder(dir);
    for (auto _ : state) {
        WindowSet windows;
        Form1->show();
        QApplication::processEvents();
        state.PauseTiming();
        Form1->close(); // scrambles the accounts file: restore it for the next round
        secondStartFolder(dir);
        state.ResumeTiming();
    }
}

// The same start with the default food database carried in a hidden text control of the login
// window, filled at every start, as a program keeping its data in a form would.
void BM_StartUpToLoginWindow_DatabaseInTextControl(benchmark::State& state) {
    BenchDir dir;
    secondStartFolder(dir);
    for (auto _ : state) {
        WindowSet windows;
        auto* memo = new QPlainTextEdit(Form1);
        memo->setGeometry(-50, 0, 40, 40);
        memo->setPlainText(DefaultFoodDatabaseText());
        Form1->show();
        QApplication::processEvents();
        state.PauseTiming();
        Form1->close();
        secondStartFolder(dir);
        state.ResumeTiming();
    }
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A session on fifty years of weights: twelve months shown, a day of fifty foods, the year
// window opened, the chart saved as JPEG, the "Bilan" page drawn for the whole journal (left out
// when KALIMO_BENCH_NO_BILAN is set, for comparison). Reports the process's peak resident memory.
void BM_SessionPeakMemory(benchmark::State& state) {
    const QByteArray database = DefaultFoodDatabaseBytes();
    for (auto _ : state) {
        BenchAccount account("[Paul]\r\npassword=pw\r\n", FiftyYearsOfWeights(), database);
        for (int month = 1; month <= 12; ++month)
            ShowMonthForBench(month, 2024);
        Form2->StringGrid1->SetRow(5);
        Form2->TabSheet2->ShowDayFoods();
        Form5->show();
        Form5->close();
        WriteChartPicture(Form2->ChartView1, account.file(QStringLiteral("Mars 2024")),
                          ChartPictureType::Jpeg);
        if (qEnvironmentVariableIsEmpty("KALIMO_BENCH_NO_BILAN")) {
            // The "Bilan" page over the whole journal.
            Form2->PageControl1->setCurrentWidget(Form2->TabSheet3);
            Form2->TabSheet3->ComboBox4->setCurrentIndex(int(SummarySpan::All));
            Form2->TabSheet3->RefreshSummary();
            Form2->TabSheet3->ChartView2->grab();
        }
    }
    state.counters["peak_rss_MiB"] = double(peakKilobytes()) / 1024.0;
}
} // namespace

BENCHMARK(BM_StartUpToLoginWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToLoginWindow_DatabaseInTextControl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
