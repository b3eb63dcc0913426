// The calorie page as the main window shows it: a day of 50 entries, list and totals.
#include "benchwindow.h"
#include "calories/caloriepage.h"

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "store/profilefile.h"
#include "weight/stringgrid.h"

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
} // namespace

BENCHMARK(BM_CaloriePage_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
