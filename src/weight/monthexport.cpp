// The main window's month chart (TForm2, all of it in weight/): its file buttons, save, print,
// and the whole year in its own window.
#include "weight/tform2.h"

#include "app/windowset.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "ui/windowframe.h"

void TForm2::SpeedButton2Click() {
    SaveChart(this, ChartView1, SaveDialog1);
}

void TForm2::SpeedButton4Click() {
    PrintChart(this, ChartView1, PrintDialog1);
}

void TForm2::SpeedButton8Click() {
    // The year window reads the year shown here when it opens; this window waits until it closes.
    ShowOver(Form5, this);
    setEnabled(false);
}
