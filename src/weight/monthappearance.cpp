// The main window's month chart (TForm2, all of it in weight/): its appearance, line and background
// colours, line thickness and value labels, kept per account in the accounts file.
#include "weight/tform2.h"

#include "app/windowset.h"
#include "charts/colourswatch.h"
#include "charts/weightchart.h"
#include "ui/spinedit.h"

#include <QCheckBox>

void TForm2::ApplyStoredAppearance() {
    ShowStoredAppearance(AccountsFile(), CurrentAccountName(), Chart1, Panel1, Panel2, CSpinEdit2);
}

void TForm2::Panel1Click() {
    if (!ChooseColour(this, Panel1))
        return;
    Chart1->SetLineColour(0, Panel1->colour());
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("trace"),
                                StoredFromColour(Panel1->colour()));
}

void TForm2::Panel2Click() {
    if (!ChooseColour(this, Panel2))
        return;
    Chart1->SetBackWallColour(Panel2->colour());
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("fond"),
                                StoredFromColour(Panel2->colour()));
}

void TForm2::CSpinEdit2Change() {
    const int width = CSpinEdit2->value();
    Chart1->SetLineWidth(0, width);
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("largeur"), width);
}

void TForm2::CheckBox1Click() {
    const bool shown = CheckBox1->isChecked();
    Chart1->SetMarksVisible(0, shown);
    Chart1->SetMarksVisible(1, shown);
    AccountsFile().WriteBool(CurrentAccountName(), QStringLiteral("details"), shown);
}
