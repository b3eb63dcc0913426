// The calorie page as the main window shows it: a day of 50 entries, list and totals.
#include "benchsupport.h"

#include "accounts/tform1.h"
#include "app/spinedit.h"
#include "app/windowset.h"
#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "store/profilefile.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
void BM_CaloriePage_ShowDayFoods50Entries(benchmark::State& state) {
    BenchDir dir;
    CreateDefaultFoodDatabase();
    WriteFile(dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    const QStringList foods =
        CategoryFoods(ProfileFile(QStringLiteral("./calories.ini")).Document(), QStringLiteral("viande"))
            .mid(0, 50);
    QByteArray day = "[5/3/2004]\r\n";
    for (const QString& food : foods)
        day += food.toLatin1() + "=2\r\n";
    WriteFile(dir.file(QStringLiteral("Paul.cal")), day);

    auto windows = std::make_unique<WindowSet>();
    Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
    Form1->Edit2->setText(QStringLiteral("pw"));
    Form1->SpeedButton3Click();
    Form2->CSpinEdit1->setValue(2004);
    Form2->ComboBox1->setCurrentIndex(2);
    Form2->ComboBox1Change();
    Form2->StringGrid1->SetRow(5);
    for (auto _ : state)
        Form2->ShowDayFoods();
}
} // namespace

BENCHMARK(BM_CaloriePage_ShowDayFoods50Entries)->Unit(benchmark::kMicrosecond);
