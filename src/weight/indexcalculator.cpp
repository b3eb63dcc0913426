// The body-mass index group of the main window.
#include "weight/tform2.h"

#include "app/windowset.h"
#include "store/numbers.h"
#include "ui/spinedit.h"
#include "weight/bodymassindex.h"

#include <QLineEdit>

void TForm2::SpeedButton5Click() {
    Edit1->clear();
    Edit3->clear();
    if (Edit2->text().isEmpty())
        return;
    const auto weight = static_cast<float>(StrToFloat(Edit2->text()));
    // A day without a weight puts the no-weight marker "0" here: no one's index is 0, and
    // "Maigreur" would be a plainly wrong statement.
    if (!(weight > 0))
        return;
    const std::optional<float> index = BodyMassIndex(weight, CSpinEdit3->value());
    if (!index)
        return; // a height of 0 cm, only while it is being typed: nothing to show or store
    Edit1->setText(QStringLiteral("IMC = ") + FormatBodyMassIndex(*index));
    StoreHeight();
    Edit3->setText(BodyMassClass(*index));
}

bool TForm2::CSpinEdit3KeyPress(QChar key) {
    const bool accepted =
        (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QChar(8) || key == QLatin1Char(',');
    // The height as it stands before this character.
    StoreHeight();
    return accepted;
}

void TForm2::StoreHeight() {
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("taille"), CSpinEdit3->value());
}
