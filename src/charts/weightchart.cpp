#include "weightchart.h"

#include "app/appsetup.h"
#include "charts/axisscale.h"

#include <QCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsItem>
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
    // A picture zoomed with the mouse: as a stop of the Tab order it would do nothing.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
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
// The squares on the points and the value marks, drawn over the lines by the chart itself:
// Qt's own point labels sit on the line under a thick marker, have no connector and stay on
// screen for points zoomed out of the plot area.
class MarkerLayer final : public QGraphicsItem {
  public:
    explicit MarkerLayer(WeightChart* chart) : QGraphicsItem(chart), m_chart(chart) {
        setZValue(100); // above the series, the axes and the grid
        setAcceptedMouseButtons(Qt::NoButton);
    }
    QRectF boundingRect() const override { return m_chart->rect(); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        m_chart->PaintMarkers(painter);
    }
    using QGraphicsItem::prepareGeometryChange;

  private:
    WeightChart* m_chart;
};

constexpr int ConnectorLength = 8;
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
    m_right = new QValueAxis(this);
    for (QValueAxis* axis : {m_left, m_right}) {
        axis->setLabelFormat(QStringLiteral("%.4g"));
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(1);
    }
    addAxis(m_left, Qt::AlignLeft);
    addAxis(m_right, Qt::AlignRight);

    QAbstractAxis* horizontal = nullptr;
    if (dayLabels) {
        m_days = new QCategoryAxis(this);
        m_days->setTitleText(QStringLiteral("Jour"));
        // Day numbers are short: Qt would cut every one of a full month down to "...".
        m_days->setTruncateLabels(false);
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
        s->setPointLabelsVisible(false);
        s->setPointsVisible(false);
        addSeries(s);
        s->attachAxis(horizontal);
        s->attachAxis(m_left);
        s->attachAxis(m_right);
        m_series << s;
        m_points << QList<QPointF>();
        m_labels << QStringList();
        m_marksVisible << false;
    }
    auto* markers = new MarkerLayer(this);
    m_markers = markers;
    connect(this, &QGraphicsWidget::geometryChanged, this, [markers] { markers->prepareGeometryChange(); });
    connect(this, &QChart::plotAreaChanged, this, [markers] { markers->update(); });
    for (QValueAxis* axis : {m_left, m_right})
        connect(axis, &QValueAxis::rangeChanged, this, [this, axis] { followZoom(axis); });
    if (m_positions)
        connect(m_positions, &QValueAxis::rangeChanged, this, [markers] { markers->update(); });
    if (m_days)
        connect(m_days, &QCategoryAxis::rangeChanged, this, [markers] { markers->update(); });
    for (QLineSeries* s : std::as_const(m_series))
        connect(s, &QXYSeries::pointsReplaced, this, [markers] { markers->update(); });
    Commit();
}

void WeightChart::followZoom(QValueAxis* axis) {
    // A zoom sets any range: the labels stay on round values all the same.
    const double step = RoundStep(axis->max() - axis->min());
    if (axis->tickInterval() != step)
        axis->setTickInterval(step);
    m_markers->update();
}

void WeightChart::HideRightAxis() {
    m_right->setVisible(false);
}

int WeightChart::MarkerSide(int lineWidth) {
    return std::max(3, lineWidth + 2);
}

void WeightChart::PaintMarkers(QPainter* painter) {
    const QRectF plot = plotArea().adjusted(-0.5, -0.5, 0.5, 0.5);
    QLocale french(QLocale::French, QLocale::France);
    french.setNumberOptions(QLocale::OmitGroupSeparator); // 1000,5 as the grid shows it
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < m_series.size(); ++i) {
        QLineSeries* s = m_series.at(i);
        if (!s->isVisible())
            continue;
        const int side = MarkerSide(s->pen().width());
        const QColor colour = s->pen().color();
        const QFontMetricsF metrics(s->pointLabelsFont());
        painter->setFont(s->pointLabelsFont());
        const QList<QPointF> points = s->points();
        for (const QPointF& point : points) {
            const QPointF at = mapToPosition(point, s);
            if (!plot.contains(at))
                continue;
            const QRectF square(std::round(at.x() - side / 2.0), std::round(at.y() - side / 2.0), side, side);
            painter->fillRect(square, colour);
            if (!m_marksVisible.at(i))
                continue;
            // The connector starts clear of the square, whatever the thickness of the line.
            const double x = square.center().x();
            const double top = square.top() - 1;
            painter->setPen(QPen(colour, 1));
            painter->drawLine(QPointF(x, top), QPointF(x, top - ConnectorLength));
            const QString text = french.toString(point.y(), 'g', 6);
            const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
            const QRectF box(x - size.width() / 2, top - ConnectorLength - size.height(), size.width(),
                             size.height());
            painter->setPen(s->pointLabelsColor());
            painter->drawText(box, Qt::AlignCenter, text);
        }
    }
    painter->restore();
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
    const AxisScale scale = ScaleFor(low, high, !any);
    // Every change of an axis lays the chart out again at once: change only what differs.
    for (QValueAxis* axis : {m_left, m_right}) {
        if (axis->min() != scale.min || axis->max() != scale.max)
            axis->setRange(scale.min, scale.max);
        if (axis->tickInterval() != scale.step)
            axis->setTickInterval(scale.step);
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
        // An axis without categories is not laid out, and its title "Jour" would be drawn at the
        // top left of the chart: an empty month keeps one invisible category.
        if (axisLabels.isEmpty())
            axisLabels << QString(QChar(0x200B));
        // Relabelling the axis costs more than the rest of a redraw: only the labels that
        // differ are replaced (a month of 31 days after one of 30 keeps the first 30).
        if (axisLabels != m_axisLabels) {
            qsizetype same = 0;
            while (same < axisLabels.size() && same < m_axisLabels.size() &&
                   axisLabels[same] == m_axisLabels[same])
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
    if (s->pen().color() == colour)
        return;
    QPen pen = s->pen();
    pen.setColor(colour);
    s->setPen(pen);
    s->setPointLabelsColor(Qt::black);
    m_markers->update();
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
    m_markers->update();
}

void WeightChart::SetBackWallColour(const QColor& colour) {
    if (m_backWall == colour && plotAreaBackgroundBrush().color() == colour)
        return;
    m_backWall = colour;
    setPlotAreaBackgroundBrush(QBrush(colour, Qt::SolidPattern));
}

void WeightChart::SetMarksVisible(int seriesIndex, bool visible) {
    if (m_marksVisible.at(seriesIndex) == visible)
        return;
    m_marksVisible[seriesIndex] = visible;
    m_markers->update();
}

QColor ColourFromStored(int stored) {
    const auto v = static_cast<quint32>(stored);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int StoredFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}
