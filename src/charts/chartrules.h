#pragma once

// What keeps every chart of the program readable at any size, saved or printed: value labels that
// Qt never cuts down to "...", texts drawn at the size they have on screen whatever the device,
// and points that show at a glance.

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>

class QChart;
class QPainter;
class QValueAxis;
class QXYSeries;

// The most steps between the labels of a vertical value axis `length` pixels long whose labels
// are written in `font`. Qt gives each label an equal share of the axis and cuts down to "..."
// every label taller than its share: with this many steps or fewer, none is.
int MostValueSteps(double length, const QFont& font);

// Keeps the labels of a chart's vertical value axis on round values, at least 1 apart, as many as
// its height lets be read: again at every change of its range (a zoom too) and of the plot area
// (the window resized, a label of the other axis grown).
void KeepValueLabelsReadable(QChart* chart, QValueAxis* axis);

// The font that draws on the painter's device at the size the text has on screen. A chart printed
// or saved is drawn through a transform from the screen's pixels to the device's, so a font sized
// in points would be enlarged twice on a printer: once by its resolution, once by the transform.
QFont ScreenSizedFont(const QFont& font, const QPainter* painter);

// Draws a filled square of the given side, edged in `edge` when it is valid, on every point of the
// series that lies inside the plot area, and returns them by the point's index (an empty rectangle
// for the points outside).
QList<QRectF> PaintPointSquares(QPainter* painter, QChart* chart, QXYSeries* series, int side,
                                const QColor& fill, const QColor& edge = QColor());
