#include "colourswatch.h"

#include "accounts/accountsstore.h"
#include "charts/weightchart.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/spinedit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

ColourSwatch::ColourSwatch(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(16, 16);
}

void ColourSwatch::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!hasFocus())
        return;
    // A box of both colours around the swatch shows the focus on any colour chosen.
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

QHBoxLayout* MakeAppearanceControls(QFrame* panel, const char* lineName, const char* backgroundName,
                                    QLabel*& lineLabel, ColourSwatch*& line, QLabel*& backgroundLabel,
                                    ColourSwatch*& background, QLabel*& thicknessLabel,
                                    CSpinEdit*& thickness) {
    lineLabel = MakeLabel(panel, "Label2", QStringLiteral("Tracé :"));
    line = Named(new ColourSwatch(panel), lineName);
    line->setToolTip(QStringLiteral("Modifier la couleur du tracé"));
    line->setAccessibleName(line->toolTip());
    line->setColour(ColourFromStored(AccountsStore::DefaultLineColour));
    backgroundLabel = MakeLabel(panel, "Label3", QStringLiteral("Fond :"));
    background = Named(new ColourSwatch(panel), backgroundName);
    background->setToolTip(QStringLiteral("Modifier la couleur du fond"));
    background->setAccessibleName(background->toolTip());
    background->setColour(ColourFromStored(AccountsStore::DefaultBackgroundColour));
    thicknessLabel = MakeLabel(panel, "Label1", QStringLiteral("Epaisseur :"));
    thickness = Named(new CSpinEdit(panel), "CSpinEdit2");
    thickness->setRange(1, 10);
    thickness->setValue(1);
    thickness->setToolTip(QStringLiteral("Modifier l'épaisseur du tracé"));
    thickness->setFixedWidth(34);
    thicknessLabel->setBuddy(thickness);
    return PutInRow(panel, {lineLabel, line, backgroundLabel, background, thicknessLabel, thickness}, 2, 2);
}

void ShowStoredAppearance(const ProfileFile& accounts, const QString& account, WeightChart* chart,
                          ColourSwatch* line, ColourSwatch* background, CSpinEdit* thickness) {
    chart->SetLineColour(0, ColourFromStored(accounts.ReadInteger(account, QStringLiteral("trace"),
                                                                  AccountsStore::DefaultLineColour)));
    chart->SetBackWallColour(ColourFromStored(
        accounts.ReadInteger(account, QStringLiteral("fond"), AccountsStore::DefaultBackgroundColour)));
    line->setColour(chart->LineColour(0));
    background->setColour(chart->BackWallColour());
    thickness->setValue(accounts.ReadInteger(account, QStringLiteral("largeur"), 0));
}

bool ChooseColour(QWidget* window, ColourSwatch* swatch) {
    const std::optional<QColor> chosen = Dialogs().Color(window, swatch->colour());
    if (chosen)
        swatch->setColour(*chosen);
    return chosen.has_value();
}
