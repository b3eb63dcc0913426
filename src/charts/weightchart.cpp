#include "weightchart.h"

#include "charts/axisscale.h"
#include "charts/chartrules.h"
#include "ui/appsetup.h"

#include <QDateTime>
#include <QDateTimeAxis>
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
#include <numeric>

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
constexpr int ConnectorLength = 8;
// From the bottom of the plot area to the top of the day labels: clear of the axis line.
constexpr int DayLabelOffset = 6;
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
    addAxis(m_left, Qt::AlignLeft);
    addAxis(m_right, Qt::AlignRight);
    for (QValueAxis* axis : {m_left, m_right}) {
        axis->setLabelFormat(QStringLiteral("%.4g"));
        KeepValueLabelsReadable(this, axis);
    }

    // The points stand at positions 0, 1, 2... of this axis.
    m_positions = new QValueAxis(this);
    m_positions->setLabelsVisible(false);
    addAxis(m_positions, Qt::AlignTop);
    if (dayLabels) {
        // Qt draws every label of a category axis, even where they run together, and lays all the
        // chart's axis labels out again whenever the range of a shown axis changes (at each change
        // of month, 1 ms): the positions' axis is hidden, the chart draws the day labels itself
        // (paintDayLabels), and this axis, of a fixed range, keeps their room and the title "Jour".
        m_positions->setVisible(false);
        m_days = new QValueAxis(this);
        m_days->setTitleText(QStringLiteral("Jour"));
        m_days->setLabelsBrush(Qt::transparent);
        m_days->setLabelFormat(QStringLiteral("00"));
        m_days->setGridLineVisible(false);
        m_days->setTickCount(2);
        addAxis(m_days, Qt::AlignBottom);
        // An axis without a series gets no room on the chart.
        auto* footing = new QLineSeries(this);
        addSeries(footing);
        footing->attachAxis(m_days);
        footing->attachAxis(m_left);
    }

    for (int i = 0; i < seriesCount; ++i) {
        auto* s = new QLineSeries(this);
        s->setPointLabelsVisible(false);
        s->setPointsVisible(false);
        addSeries(s);
        s->attachAxis(m_positions);
        s->attachAxis(m_left);
        s->attachAxis(m_right);
        m_series << s;
        m_points << QList<QPointF>();
        m_labels << QStringList();
        m_marksVisible << false;
    }
    // The squares on the points, the value marks and the day labels, drawn over the lines by
    // the chart itself: Qt's own point labels sit on the line under a thick marker, have no
    // connector and stay on screen for points zoomed out of the plot area.
    auto* markers = new ChartOverlay(this, [this](QPainter* painter) { PaintMarkers(painter); });
    m_markers = markers;
    for (QValueAxis* axis : {m_left, m_right})
        connect(axis, &QValueAxis::rangeChanged, this, [markers] { markers->update(); });
    connect(m_positions, &QValueAxis::rangeChanged, this, [markers] { markers->update(); });
    for (QLineSeries* s : std::as_const(m_series))
        connect(s, &QXYSeries::pointsReplaced, this, [markers] { markers->update(); });
    Commit();
}

void WeightChart::HideRightAxis() {
    m_right->setVisible(false);
}

int WeightChart::MarkerSide(int lineWidth) {
    return std::max(3, lineWidth + 2);
}

void WeightChart::PaintMarkers(QPainter* painter) {
    const QRectF plot = plotArea();
    QLocale french(QLocale::French, QLocale::France);
    french.setNumberOptions(QLocale::OmitGroupSeparator); // 1000,5 as the grid shows it
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (m_days && m_fixedPositions)
        paintPositionNames(painter);
    else if (m_days)
        paintDayLabels(painter);
    QList<QRectF> taken; // the value labels drawn so far, of every series
    for (int i = 0; i < m_series.size(); ++i) {
        QLineSeries* s = m_series.at(i);
        if (!s->isVisible())
            continue;
        const QColor colour = s->pen().color();
        const QList<QPointF> points = s->points();
        QList<qsizetype> shown; // the points inside the plot area (after a zoom)
        QList<QRectF> squares;
        const QList<QRectF> drawn = PaintPointSquares(painter, this, s, MarkerSide(s->pen().width()), colour);
        for (qsizetype k = 0; k < drawn.size(); ++k) {
            if (drawn.at(k).isEmpty())
                continue;
            shown << k;
            squares << drawn.at(k);
        }
        if (!m_marksVisible.at(i) || shown.isEmpty())
            continue;
        // Where labels would cover one another, the first and last days, the lowest and the
        // highest weights keep theirs; the others take their turn in day order.
        QList<qsizetype> order{0, shown.size() - 1};
        const auto byValue = [&](qsizetype a, qsizetype b) {
            return points.at(shown.at(a)).y() < points.at(shown.at(b)).y();
        };
        QList<qsizetype> all(shown.size());
        std::iota(all.begin(), all.end(), 0);
        order << *std::min_element(all.begin(), all.end(), byValue)
              << *std::max_element(all.begin(), all.end(), byValue) << all;
        QList<bool> done(shown.size(), false);
        const QFontMetricsF metrics(s->pointLabelsFont());
        painter->setFont(ScreenSizedFont(s->pointLabelsFont(), painter));
        for (const qsizetype j : std::as_const(order)) {
            if (done.at(j))
                continue;
            done[j] = true;
            const QString text = french.toString(points.at(shown.at(j)).y(), 'g', 6);
            const QRectF& square = squares.at(j);
            // Above the point, joined to it by a connector that starts clear of the square
            // whatever the thickness of the line; below it where the top of the plot is near.
            const double x = square.center().x();
            double from = square.top() - 1;
            double to = from - ConnectorLength;
            QRectF box(0, 0, metrics.horizontalAdvance(text), metrics.height());
            box.moveBottom(to);
            if (box.top() < plot.top()) {
                from = square.bottom() + 1;
                to = from + ConnectorLength;
                box.moveTop(to);
            }
            if (box.bottom() > plot.bottom() || box.width() > plot.width())
                continue;
            box.moveLeft(std::clamp(x - box.width() / 2, plot.left(), plot.right() - box.width()));
            if (std::any_of(taken.cbegin(), taken.cend(), [&](const QRectF& r) { return r.intersects(box); }))
                continue;
            taken << box;
            painter->setPen(QPen(colour, 1));
            painter->drawLine(QPointF(x, from), QPointF(x, to));
            painter->setPen(s->pointLabelsColor());
            painter->drawText(box, Qt::AlignCenter, text);
        }
    }
    painter->restore();
}

void WeightChart::paintDayLabels(QPainter* painter) {
    qsizetype count = 0;
    for (const QStringList& labels : std::as_const(m_labels))
        count = std::max(count, labels.size());
    // The positions in view (all of them unless zoomed).
    const qsizetype first = std::max<qsizetype>(0, qsizetype(std::ceil(m_positions->min())));
    const qsizetype last = std::min<qsizetype>(count - 1, qsizetype(std::floor(m_positions->max())));
    if (first > last)
        return;
    const auto label = [&](qsizetype k) {
        for (const QStringList& labels : std::as_const(m_labels))
            if (k < labels.size())
                return labels.at(k);
        return QString();
    };
    const QFont font = m_days->labelsFont();
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (qsizetype k = first; k <= last; ++k)
        widest = std::max(widest, metrics.horizontalAdvance(label(k)));
    const double gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    const auto xAt = [&](double k) { return mapToPosition(QPointF(k, 0), m_series.first()).x(); };
    const int step = DayLabelStep(xAt(1) - xAt(0), widest + gap);

    QList<BottomLabel> shown;
    for (qsizetype k = first; k <= last; k += step)
        shown.append({xAt(double(k)), label(k)});
    if (shown.constLast().x != xAt(double(last)))
        shown.append({xAt(double(last)), label(last)});
    DrawBottomLabels(painter, plotArea(), shown, font, m_left->labelsBrush().color());
}

void WeightChart::paintPositionNames(QPainter* painter) {
    if (m_positionNames.isEmpty())
        return;
    const QFont font = m_days->labelsFont();
    const QFontMetricsF metrics(font);
    const auto xAt = [&](double position) {
        return mapToPosition(QPointF(position, 0), m_series.first()).x();
    };
    // Full names when each has room between its neighbours, short ones otherwise.
    bool full = true;
    const double gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    for (qsizetype k = 1; k < m_positionNames.size() && full; ++k) {
        const PositionName& a = m_positionNames.at(k - 1);
        const PositionName& b = m_positionNames.at(k);
        const double room = xAt(b.position) - xAt(a.position);
        full = (metrics.horizontalAdvance(a.name) + metrics.horizontalAdvance(b.name)) / 2 + gap <= room;
    }
    QList<BottomLabel> shown;
    for (const PositionName& n : std::as_const(m_positionNames))
        if (n.position >= m_positions->min() && n.position <= m_positions->max())
            shown.append({xAt(n.position), full ? n.name : n.shortName});
    DrawBottomLabels(painter, plotArea(), shown, font, m_left->labelsBrush().color());
}

void KeepRoomForDateLabels(QDateTimeAxis* dates) {
    dates->setFormat(QStringLiteral(" "));
    dates->setTickCount(2);
}

void DrawDateLabels(QPainter* painter, QChart* chart, QAbstractSeries* series, const QDateTimeAxis* dates,
                    const QColor& colour) {
    const QRectF plot = chart->plotArea();
    const QFont font = dates->labelsFont();
    const double room = QFontMetricsF(font).horizontalAdvance(QStringLiteral("00/00/0000  "));
    const int count = std::clamp(int(plot.width() / room), 2, 7);
    const double from = double(dates->min().toMSecsSinceEpoch());
    const double to = double(dates->max().toMSecsSinceEpoch());
    QList<BottomLabel> labels;
    for (int i = 0; i < count; ++i) {
        const double at = from + (to - from) * i / (count - 1);
        labels.append({chart->mapToPosition(QPointF(at, 0), series).x(),
                       QDateTime::fromMSecsSinceEpoch(qint64(at)).toString(QStringLiteral("dd/MM/yyyy"))});
    }
    DrawBottomLabels(painter, plot, labels, font, colour);
}

void DrawBottomLabels(QPainter* painter, const QRectF& plot, const QList<BottomLabel>& labels,
                      const QFont& font, const QColor& colour) {
    if (labels.isEmpty())
        return;
    const QFontMetricsF metrics(font);
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    QList<QRectF> boxes;
    for (const BottomLabel& label : labels) {
        QRectF box(0, plot.bottom() + DayLabelOffset, metrics.horizontalAdvance(label.text),
                   metrics.height());
        // Inside the width of the plot area: the first and last are not cut at the window's
        // edge nor laid over the weight axis' labels.
        box.moveLeft(std::clamp(label.x - box.width() / 2, plot.left(), plot.right() - box.width()));
        boxes << box;
    }
    // The first and the last come first; each other one only with a gap on both sides.
    QList<qsizetype> order{0};
    if (labels.size() > 1)
        order << labels.size() - 1;
    for (qsizetype k = 1; k + 1 < labels.size(); ++k)
        order << k;
    QList<QRectF> taken;
    painter->setFont(ScreenSizedFont(font, painter));
    painter->setPen(colour);
    for (const qsizetype k : std::as_const(order)) {
        const QRectF spaced = boxes.at(k).adjusted(-gap, 0, gap, 0);
        if (std::any_of(taken.cbegin(), taken.cend(), [&](const QRectF& r) { return r.intersects(spaced); }))
            continue;
        taken << boxes.at(k);
        painter->drawText(boxes.at(k), Qt::AlignCenter, labels.at(k).text);
    }
}

ChartOverlay::ChartOverlay(QChart* chart, std::function<void(QPainter*)> paint)
    : QGraphicsItem(chart), m_chart(chart), m_paint(std::move(paint)) {
    setZValue(100); // above the series, the axes and the grid
    setAcceptedMouseButtons(Qt::NoButton);
    QObject::connect(chart, &QGraphicsWidget::geometryChanged, chart, [this] { prepareGeometryChange(); });
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { update(); });
}

QRectF ChartOverlay::boundingRect() const {
    return m_chart->rect();
}

void ChartOverlay::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    m_paint(painter);
}

int DayLabelStep(double slot, double widest) {
    for (const int step : {1, 2, 5, 7, 10, 14, 20, 30, 50, 100, 200, 500, 1000})
        if (step * slot >= widest)
            return step;
    return 1000;
}

void WeightChart::Begin(const QString& title) {
    setTitle(title);
    for (int i = 0; i < m_series.size(); ++i) {
        m_points[i].clear();
        m_labels[i].clear();
    }
}

void WeightChart::AddPointAt(int seriesIndex, double position, double value, const QString& label) {
    m_labels[seriesIndex] << label;
    m_points[seriesIndex] << QPointF(position, value);
}

void WeightChart::SetFixedPositions(double first, double last, const QList<PositionName>& names) {
    m_fixedPositions = true;
    m_firstPosition = first;
    m_lastPosition = last;
    m_positionNames = names;
    fitAxes();
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
    // Every change of an axis lays the chart out again at once: change only what differs. The
    // labels' step follows the range and the chart's height (KeepValueLabelsReadable).
    for (QValueAxis* axis : {m_left, m_right})
        if (axis->min() != scale.min || axis->max() != scale.max)
            axis->setRange(scale.min, scale.max);

    const double last = m_fixedPositions ? m_lastPosition : std::max<double>(0, double(count) - 1);
    // With day labels, each point stands in the middle of its own slot, its label under it.
    const double first = (m_fixedPositions ? m_firstPosition : 0) - (m_days ? 0.5 : 0);
    const double end = m_days ? last + 0.5 : last;
    if (m_positions->min() != first || m_positions->max() != end)
        m_positions->setRange(first, end);
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
