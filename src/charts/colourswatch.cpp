#include "colourswatch.h"

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
