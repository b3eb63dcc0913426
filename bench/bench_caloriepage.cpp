// The calorie page as the main window shows it: a day of 50 entries, list and totals; a key
// typed in "Rechercher :", results listed, over 991 foods and over 20 000.
#include "benchwindow.h"
#include "calories/caloriepage.h"

#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/quickentry.h"
#include "store/profilefile.h"
#include "weight/stringgrid.h"

#include <QTabWidget>

#include <QLineEdit>
#include <QListView>

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
// Each key of "cafe lait" typed in turn: the search and its results listed, no painting.
void BM_CaloriePage_SearchKey(benchmark::State& state) {
    BenchAccount account("[Paul]\r\npassword=pw\r\n", QByteArray(),
                         state.range(0) == 991 ? DefaultFoodDatabaseBytes() : TwentyThousandFoods());
    ShowMonthForBench(3, 2004);
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->LoadCategoryList();
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
    BenchAccount account("[Paul]\r\npassword=pw\r\n", QByteArray(),
                         state.range(0) == 991 ? DefaultFoodDatabaseBytes() : TwentyThousandFoods());
    ShowMonthForBench(3, 2004);
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->LoadCategoryList();
    QLineEdit* search = Form2->TabSheet2->Quick->Edit6;
    QListView* results = Form2->TabSheet2->Quick->ListBox3;
    bool accent = false;
    for (auto _ : state)
        search->setText((accent = !accent) ? QStringLiteral("é") : QStringLiteral("e"));
    results->doItemsLayout();
}
} // namespace

BENCHMARK(BM_CaloriePage_SearchOneCommonLetter)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaloriePage_SearchKey)->Arg(991)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaloriePage_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
