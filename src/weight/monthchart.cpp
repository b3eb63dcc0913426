// The month chart of the main window: the weights of the month shown, and a second month to
// compare with.
#include "weight/tform2.h"

#include "charts/weightchart.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/weightrecords.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>

#include <algorithm>

namespace {
// Puts the points gathered so far on the chart however the redraw ends: a weight that does not
// convert stops it, and the points before it stay.
struct CommitOnExit {
    WeightChart* chart;
    ~CommitOnExit() { chart->Commit(); }
};
} // namespace

void TForm2::RefreshMonthChart() {
    ApplyStoredAppearance();
    Chart1->Begin(ComboBox1->currentText() + QLatin1Char(' ') + QString::number(ShownYear()));
    const CommitOnExit commit{Chart1};

    const bool compare = CheckBox2->isChecked();
    const int comparedYear = CSpinEdit4->value();
    const int comparedMonthNumber = ComboBox3->currentIndex() + 1;
    const QString comparedMonth = MonthKey(comparedMonthNumber, comparedYear);
    const ProfileDocument* weights = compare ? &WeightFile().Document() : nullptr;
    // Every day of the compared month, whatever the length of the month shown: a 31st compared
    // with a 30-day month is drawn too.
    const int comparedDays = weights ? QDate(comparedYear, comparedMonthNumber, 1).daysInMonth() : 0;
    const int days = std::max(StringGrid1->RowCount() - 1, comparedDays);
    const QString noWeight = QStringLiteral("0");
    for (int d = 1; d <= days; ++d) {
        if (d < StringGrid1->RowCount()) {
            if (const auto weight = ChartWeight(StringGrid1->Cells(1, d)))
                Chart1->AddPoint(0, *weight, StringGrid1->Cells(0, d));
        }
        if (d <= comparedDays) {
            if (const auto weight =
                    ChartWeight(weights->ReadString(comparedMonth, DayWeightKey(d), noWeight)))
                Chart1->AddPoint(1, *weight, QString::number(d));
        }
    }
}

void TForm2::SpeedButton1Click() {
    RefreshMonthChart();
}

void TForm2::CheckBox2Click() {
    if (ComboBox3->currentText().isEmpty()) {
        CheckBox2->setChecked(false);
        return;
    }
    RefreshMonthChart();
}
