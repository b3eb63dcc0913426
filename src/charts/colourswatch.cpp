#include "colourswatch.h"

#include "accounts/accountsstore.h"
#include "charts/weightchart.h"
#include "ui/controls.h"
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

AppearanceControls MakeAppearanceControls(QFrame* panel, const char* lineName, const char* backgroundName) {
    AppearanceControls c{};
    c.lineLabel = MakeLabel(panel, "Label2", QStringLiteral("Tracé :"));
    c.line = Named(new ColourSwatch(panel), lineName);
    c.line->setToolTip(QStringLiteral("Modifier la couleur du tracé"));
    c.line->setAccessibleName(c.line->toolTip());
    c.line->setColour(ColourFromStored(AccountsStore::DefaultLineColour));
    c.backgroundLabel = MakeLabel(panel, "Label3", QStringLiteral("Fond :"));
    c.background = Named(new ColourSwatch(panel), backgroundName);
    c.background->setToolTip(QStringLiteral("Modifier la couleur du fond"));
    c.background->setAccessibleName(c.background->toolTip());
    c.background->setColour(ColourFromStored(AccountsStore::DefaultBackgroundColour));
    c.thicknessLabel = MakeLabel(panel, "Label1", QStringLiteral("Epaisseur :"));
    c.thickness = Named(new CSpinEdit(panel), "CSpinEdit2");
    c.thickness->setRange(1, 10);
    c.thickness->setValue(1);
    c.thickness->setToolTip(QStringLiteral("Modifier l'épaisseur du tracé"));
    c.thickness->setFixedWidth(34);
    c.thicknessLabel->setBuddy(c.thickness);
    c.row = PutInRow(
        panel, {c.lineLabel, c.line, c.backgroundLabel, c.background, c.thicknessLabel, c.thickness}, 2, 2);
    return c;
}
