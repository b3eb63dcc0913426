#include "weightchart.h"

#include "app/appsetup.h"

#include <QCategoryAxis>
#include <QImage>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

ZoomChartView::ZoomChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    // Point labels are left behind by partial repaints.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
}

void ZoomChartView::mousePressEvent(QMouseEvent* event) {
    m_pressedAt = event->pos();
    QChartView::mousePressEvent(event);
}

void ZoomChartView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint d = event->pos() - m_pressedAt;
    if (event->button() == Qt::LeftButton && d.x() < 0 && d.y() < 0) {
        // Up and to the left: back to the whole chart instead of zooming on the rectangle.
        setRubberBand(QChartView::NoRubberBand);
        QChartView::mouseReleaseEvent(event);
        setRubberBand(QChartView::RectangleRubberBand);
        chart()->zoomReset();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

namespace {
QImage squareMarker(const QColor& colour) {
    QImage image(5, 5, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}
} // namespace

WeightChart::WeightChart(int seriesCount, bool dayLabels, QGraphicsItem* parent) : QChart(parent) {
    legend()->hide();
    setLocalizeNumbers(true);
    setLocale(QLocale(QLocale::French, QLocale::France));
    setAnimationOptions(QChart::NoAnimation);
    QFont titleFont(QString::fromLatin1(ComicFont), 8);
    setTitleFont(titleFont);
    setTitleBrush(Qt::blue);
    setPlotAreaBackgroundVisible(true);
    SetBackWallColour(Qt::white);

    m_left = new QValueAxis(this);
    m_left->setTitleText(QStringLiteral("Poids (Kg)"));
    m_left->setLabelFormat(QStringLiteral("%.4g"));
    addAxis(m_left, Qt::AlignLeft);
    m_right = new QValueAxis(this);
    m_right->setLabelFormat(QStringLiteral("%.4g"));
    addAxis(m_right, Qt::AlignRight);

    QAbstractAxis* horizontal = nullptr;
    if (dayLabels) {
        m_days = new QCategoryAxis(this);
        m_days->setTitleText(QStringLiteral("Jour"));
        horizontal = m_days;
        addAxis(m_days, Qt::AlignBottom);
    } else {
        m_positions = new QValueAxis(this);
        m_positions->setLabelsVisible(false);
        horizontal = m_positions;
        addAxis(m_positions, Qt::AlignTop);
    }

    for (int i = 0; i < seriesCount; ++i) {
        auto* s = new QLineSeries(this);
        s->setPointLabelsFormat(QStringLiteral("@yPoint"));
        s->setPointLabelsClipping(false);
        s->setPointLabelsVisible(false);
        addSeries(s);
        s->attachAxis(horizontal);
        s->attachAxis(m_left);
        s->attachAxis(m_right);
        m_series << s;
        m_points << QList<QPointF>();
        m_labels << QStringList();
    }
    Commit();
}

void WeightChart::Begin(const QString& title) {
    setTitle(title);
    for (int i = 0; i < m_series.size(); ++i) {
        m_points[i].clear();
        m_labels[i].clear();
    }
}

void WeightChart::AddPoint(int seriesIndex, double value, const QString& label) {
    m_labels[seriesIndex] << label;
    m_points[seriesIndex] << QPointF(m_points[seriesIndex].size(), value);
}

void WeightChart::Commit() {
    for (int i = 0; i < m_series.size(); ++i)
        m_series[i]->replace(m_points[i]);
    fitAxes();
}

void WeightChart::fitAxes() {
    double low = 0;
    double high = 0;
    qsizetype count = 0;
    bool any = false;
    for (const QList<QPointF>& points : std::as_const(m_points)) {
        count = std::max(count, points.size());
        for (const QPointF& p : points) {
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
        }
    }
    // Whole-number steps of at least 1 between the weight labels, at most about ten of them.
    double lo = std::floor(low) - 1;
    double hi = std::ceil(high) + 1;
    const double step = std::max(1.0, std::ceil((hi - lo) / 10.0));
    lo = std::floor(lo / step) * step;
    hi = std::ceil(hi / step) * step;
    // Every change of an axis lays the chart out again at once: change only what differs.
    const int ticks = int((hi - lo) / step) + 1;
    for (QValueAxis* axis : {m_left, m_right}) {
        if (axis->min() != lo || axis->max() != hi)
            axis->setRange(lo, hi);
        if (axis->tickCount() != ticks)
            axis->setTickCount(ticks);
    }

    const double last = std::max<double>(0, double(count) - 1);
    if (m_days) {
        QStringList axisLabels;
        for (qsizetype k = 0; k < count; ++k) {
            QString label;
            for (const QStringList& labels : std::as_const(m_labels))
                if (k < labels.size()) {
                    label = labels.at(k);
                    break;
                }
            // The axis needs distinct texts; an invisible mark keeps a repeated one apart.
            while (axisLabels.contains(label))
                label += QChar(0x200B);
            axisLabels << label;
        }
        // Relabelling the axis costs more than the rest of a redraw: only the labels that
        // differ are replaced (a month of 31 days after one of 30 keeps the first 30).
        if (axisLabels != m_axisLabels) {
            qsizetype same = 0;
            while (same < axisLabels.size() && same < m_axisLabels.size() && axisLabels[same] == m_axisLabels[same])
                ++same;
            for (qsizetype k = m_axisLabels.size() - 1; k >= same; --k)
                m_days->remove(m_axisLabels.at(k));
            // Each category spans k - 0.5 to k + 0.5, so its label stands under point k.
            m_days->setStartValue(-0.5);
            for (qsizetype k = same; k < axisLabels.size(); ++k)
                m_days->append(axisLabels.at(k), double(k) + 0.5);
            m_axisLabels = axisLabels;
        }
        if (m_days->min() != -0.5 || m_days->max() != last + 0.5)
            m_days->setRange(-0.5, last + 0.5);
    } else {
        if (m_positions->min() != 0 || m_positions->max() != last)
            m_positions->setRange(0, last);
    }
}

void WeightChart::SetLineColour(int seriesIndex, const QColor& colour) {
    QLineSeries* s = m_series.at(seriesIndex);
    if (s->pen().color() == colour && !s->lightMarker().isNull())
        return;
    QPen pen = s->pen();
    pen.setColor(colour);
    s->setPen(pen);
    s->setLightMarker(squareMarker(colour));
    s->setPointLabelsColor(Qt::black);
}

QColor WeightChart::LineColour(int seriesIndex) const {
    return m_series.at(seriesIndex)->pen().color();
}

void WeightChart::SetLineWidth(int seriesIndex, int width) {
    QLineSeries* s = m_series.at(seriesIndex);
    if (s->pen().width() == std::max(0, width))
        return;
    QPen pen = s->pen();
    pen.setWidth(std::max(0, width));
    s->setPen(pen);
}

void WeightChart::SetBackWallColour(const QColor& colour) {
    if (m_backWall == colour && plotAreaBackgroundBrush().color() == colour)
        return;
    m_backWall = colour;
    setPlotAreaBackgroundBrush(QBrush(colour, Qt::SolidPattern));
}

void WeightChart::SetMarksVisible(int seriesIndex, bool visible) {
    m_series.at(seriesIndex)->setPointLabelsVisible(visible);
}

QColor ColourFromStored(int stored) {
    const auto v = static_cast<quint32>(stored);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int StoredFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}
