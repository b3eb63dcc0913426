#include "chartrules.h"

#include "charts/axisscale.h"

#include <QChart>
#include <QFontMetricsF>
#include <QPainter>
#include <QValueAxis>
#include <QXYSeries>

#include <cmath>

int MostValueSteps(double length, const QFont& font) {
    // Qt measures a label as rich text, about the font's line, and wants a padding of 4 pixels above
    // and below it within its share.
    const double share = QFontMetricsF(font).height() + 9;
    const double labels = std::floor(length / share);
    return std::max(1, int(labels) - 1);
}

void KeepValueLabelsReadable(QChart* chart, QValueAxis* axis) {
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    const auto fit = [chart, axis] {
        const double step = RoundStep(axis->max() - axis->min(),
                                      MostValueSteps(chart->plotArea().height(), axis->labelsFont()));
        if (axis->tickInterval() != step)
            axis->setTickInterval(step);
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, chart, fit);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, fit);
    fit();
}

QFont ScreenSizedFont(const QFont& font, const QPainter* painter) {
    const QPaintDevice* device = painter->device();
    if (!device || font.pointSizeF() <= 0)
        return font;
    // The metrics without a device are the screen's, those that placed the texts.
    const double onScreen = QFontMetricsF(font).height();
    const double onDevice = QFontMetricsF(font, device).height();
    if (onDevice <= 0 || std::abs(onDevice - onScreen) < 0.01)
        return font;
    QFont scaled = font;
    scaled.setPointSizeF(font.pointSizeF() * onScreen / onDevice);
    return scaled;
}

QList<QRectF> PaintPointSquares(QPainter* painter, QChart* chart, QXYSeries* series, int side,
                                const QColor& fill, const QColor& edge) {
    const QRectF inside = chart->plotArea().adjusted(-0.5, -0.5, 0.5, 0.5);
    const QList<QPointF> points = series->points();
    QList<QRectF> squares(points.size());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(edge.isValid() ? QPen(edge, 1) : QPen(Qt::NoPen));
    painter->setBrush(fill);
    for (qsizetype k = 0; k < points.size(); ++k) {
        const QPointF at = chart->mapToPosition(points.at(k), series);
        if (!inside.contains(at))
            continue;
        const QRectF square(std::round(at.x() - side / 2.0), std::round(at.y() - side / 2.0), side, side);
        if (edge.isValid())
            painter->drawRect(square.adjusted(0.5, 0.5, -0.5, -0.5));
        else
            painter->fillRect(square, fill);
        squares[k] = square;
    }
    painter->restore();
    return squares;
}
