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
    // A height is a whole number of centimetres: a comma would only make the box read as 100
    // behind a text that says something else.
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QChar(8);
}

void TForm2::CSpinEdit3Change() {
    // Each height the person makes is stored as the box shows it; a number still being typed
    // outside 100 to 300 ("1", "17") waits until the box brings it within them on leaving it.
    if (m_loadingHeight)
        return;
    const std::optional<int> height = ParseInteger(CSpinEdit3->text());
    if (height && *height >= CSpinEdit3->minimum() && *height <= CSpinEdit3->maximum())
        AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("taille"), *height);
}

void TForm2::StoreHeight() {
    // The box shows the height stored: a number typed out of bounds is brought within them first.
    CSpinEdit3->setValue(CSpinEdit3->value());
    AccountsFile().WriteInteger(CurrentAccountName(), QStringLiteral("taille"), CSpinEdit3->value());
}
