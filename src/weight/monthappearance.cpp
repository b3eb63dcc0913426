// The main window's month chart (TForm2, all of it in weight/): its appearance, line and background
// colours, line thickness and value labels, kept per account in the accounts file.
#include "weight/tform2.h"

#include "accounts/accountsstore.h"
#include "app/windowset.h"
#include "charts/colourswatch.h"
#include "charts/weightchart.h"
#include "ui/dialogs.h"
#include "ui/spinedit.h"

#include <QCheckBox>

void TForm2::ApplyStoredAppearance() {
    const QString account = CurrentAccountName();
    Chart1->SetLineColour(0, ColourFromStored(AccountsFile().ReadInteger(account, QStringLiteral("trace"),
                                                                         AccountsStore::DefaultLineColour)));
    Chart1->SetBackWallColour(ColourFromStored(
        AccountsFile().ReadInteger(account, QStringLiteral("fond"), AccountsStore::DefaultBackgroundColour)));
    // The swatches copy the chart.
    Panel1->setColour(Chart1->LineColour(0));
    Panel2->setColour(Chart1->BackWallColour());
    CSpinEdit2->setValue(AccountsFile().ReadInteger(account, QStringLiteral("largeur"), 0));
}

void TForm2::Panel1Click() {
    const std::optional<QColor> chosen = Dialogs().Color(this, Panel1->colour());
    if (!chosen)
        return;
    Panel1->setColour(*chosen);
    Chart1->SetLineColour(0, Panel1->colour());
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("trace"),
                                StoredFromColour(Panel1->colour()));
}

void TForm2::Panel2Click() {
    const std::optional<QColor> chosen = Dialogs().Color(this, Panel2->colour());
    if (!chosen)
        return;
    Panel2->setColour(*chosen);
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
