#include "colourswatch.h"

#include "accounts/accountsstore.h"
#include "app/controls.h"
#include "app/spinedit.h"
#include "charts/weightchart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    setFixedSize(16, 16);
}

void ColourSwatch::setColour(const QColor& colour) {
    m_colour = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

AppearanceControls MakeAppearanceControls(QFrame* panel, const char* lineName, const char* backgroundName) {
    AppearanceControls c{};
    c.lineLabel = MakeLabel(panel, "Label2", QStringLiteral("Tracé :"));
    c.line = Named(new ColourSwatch(panel), lineName);
    c.line->setToolTip(QStringLiteral("Modifier la couleur du tracé"));
    c.line->setColour(ColourFromStored(AccountsStore::DefaultLineColour));
    c.backgroundLabel = MakeLabel(panel, "Label3", QStringLiteral("Fond :"));
    c.background = Named(new ColourSwatch(panel), backgroundName);
    c.background->setToolTip(QStringLiteral("Modifier la couleur du fond"));
    c.background->setColour(ColourFromStored(AccountsStore::DefaultBackgroundColour));
    c.thicknessLabel = MakeLabel(panel, "Label1", QStringLiteral("Epaisseur :"));
    c.thickness = Named(new CSpinEdit(panel), "CSpinEdit2");
    c.thickness->setRange(1, 10);
    c.thickness->setValue(1);
    c.thickness->setToolTip(QStringLiteral("Modifier l'épaisseur du tracé"));
    c.thickness->setFixedWidth(34);
    c.row = PutInRow(
        panel, {c.lineLabel, c.line, c.backgroundLabel, c.background, c.thicknessLabel, c.thickness}, 2, 2);
    return c;
}
