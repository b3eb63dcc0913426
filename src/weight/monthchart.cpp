// The month chart of the main window: the weights of the month shown, and a second month to
// compare with.
#include "weight/tform2.h"

#include "charts/weightchart.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/weightrecords.h"

#include <QCheckBox>
#include <QComboBox>

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
    const QString comparedMonth = MonthKey(ComboBox3->currentIndex() + 1, CSpinEdit4->value());
    const ProfileDocument* weights = compare ? &WeightFile().Document() : nullptr;
    const QString noWeight = QStringLiteral("0");
    for (int d = 1; d < StringGrid1->RowCount(); ++d) {
        const QString label = StringGrid1->Cells(0, d);
        if (const auto weight = ChartWeight(StringGrid1->Cells(1, d)))
            Chart1->AddPoint(0, *weight, label);
        if (weights) {
            if (const auto weight =
                    ChartWeight(weights->ReadString(comparedMonth, DayWeightKey(d), noWeight)))
                Chart1->AddPoint(1, *weight, label);
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
