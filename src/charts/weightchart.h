#pragma once

#include <QChartView>
#include <QColor>
#include <QGraphicsItem>
#include <QList>
#include <QPointF>
#include <QStringList>

#include <functional>

class QPainter;
class QLineSeries;
class QValueAxis;
class QDateTimeAxis;
class QAbstractSeries;

// A chart view that zooms on a rectangle dragged down and to the right, and comes back to the
// whole chart when the rectangle is dragged up and to the left.
class ZoomChartView : public QChartView {
    Q_OBJECT
  public:
    explicit ZoomChartView(QChart* chart, QWidget* parent = nullptr);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint m_pressedAt;
};

// A weight line chart: a title, weights against the left (and right) axis, and each point set
// at the next position with a label of its own.
class WeightChart : public QChart {
    Q_OBJECT
  public:
    // With dayLabels, the horizontal axis shows each position's label; without, it shows none.
    WeightChart(int seriesCount, bool dayLabels, QGraphicsItem* parent = nullptr);

    QLineSeries* series(int index) const { return m_series.at(index); }

    // Starts a redraw: the series are emptied in memory until Commit().
    void Begin(const QString& title);
    // Adds a point with its label at the series' next position.
    void AddPoint(int seriesIndex, double value, const QString& label);
    // Adds a point at the position given (after those added before), where the chart has fixed
    // positions (SetFixedPositions).
    void AddPointAt(int seriesIndex, double position, double value, const QString& label);
    // The horizontal axis spans first to last whatever the points, and names its parts under the
    // plot area in place of the points' labels: each name (or, where the full names would run
    // together, its short form) centred on its position, those that fit side by side.
    struct PositionName {
        double position;
        QString name;
        QString shortName;
    };
    void SetFixedPositions(double first, double last, const QList<PositionName>& names);
    // Puts the points collected since Begin() on the chart and fits the axes to them.
    void Commit();

    void SetLineColour(int seriesIndex, const QColor& colour);
    QColor LineColour(int seriesIndex) const;
    void SetLineWidth(int seriesIndex, int width);
    void SetBackWallColour(const QColor& colour);
    QColor BackWallColour() const { return m_backWall; }
    void SetMarksVisible(int seriesIndex, bool visible);
    bool MarksVisible(int seriesIndex) const { return m_marksVisible.at(seriesIndex); }
    // The year chart has its weight labels on the left only.
    void HideRightAxis();

    // The side of the square drawn on every point for a line of the given width: at least three
    // pixels, so that a lone weight shows at every thickness.
    static int MarkerSide(int lineWidth);
    // Draws the squares on the points and, where shown, each value above its point joined to it
    // by a connector 8 pixels long; only the points inside the plot area (after a zoom).
    // Where they would cover one another, only some value labels are drawn (the first and last
    // days, the lowest and highest weights first); none leaves the plot area.
    void PaintMarkers(QPainter* painter);

    QStringList Labels(int seriesIndex) const { return m_labels.at(seriesIndex); }

  private:
    void fitAxes();
    // The day labels under the plot area, as many as fit side by side.
    void paintDayLabels(QPainter* painter);
    // The names of the parts of the horizontal axis (SetFixedPositions) under the plot area.
    void paintPositionNames(QPainter* painter);

    QList<QLineSeries*> m_series;
    QList<QList<QPointF>> m_points;
    QList<QStringList> m_labels;
    QValueAxis* m_left = nullptr;
    QValueAxis* m_right = nullptr;
    QValueAxis* m_days = nullptr;
    QValueAxis* m_positions = nullptr;
    QColor m_backWall = Qt::white;
    QList<bool> m_marksVisible;
    bool m_fixedPositions = false;
    double m_firstPosition = 0;
    double m_lastPosition = 0;
    QList<PositionName> m_positionNames;
    QGraphicsItem* m_markers = nullptr;
};

// The step between labelled positions, slot pixels apart, for labels up to widest pixels wide:
// every one, then every 2nd, 5th, 7th, 10th, 14th...
int DayLabelStep(double slot, double widest);

// Texts under a chart's plot area, each centred on its x (in the chart's coordinates) but kept
// within the plot's width. Those that would touch another are left out, the first and the last
// never.
struct BottomLabel {
    double x;
    QString text;
};
void DrawBottomLabels(QPainter* painter, const QRectF& plot, const QList<BottomLabel>& labels,
                      const QFont& font, const QColor& colour);

// A date axis whose labels DrawDateLabels draws: Qt draws every date it is given, over one
// another or cut to "..." when the axis is short. The axis only keeps their room, with blank
// labels (invisible ones would still be found as text in a printed PDF).
void KeepRoomForDateLabels(QDateTimeAxis* dates);
// As many dates as fit under the plot area, evenly spread over the axis' range, placed by the
// series' mapping, in the colour of the value axis' labels.
void DrawDateLabels(QPainter* painter, QChart* chart, QAbstractSeries* series, const QDateTimeAxis* dates,
                    const QColor& colour);

// Paints over a chart, above its series and axes, with the function given.
class ChartOverlay final : public QGraphicsItem {
  public:
    ChartOverlay(QChart* chart, std::function<void(QPainter*)> paint);
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

  private:
    QChart* m_chart;
    std::function<void(QPainter*)> m_paint;
};

// A colour as the accounts file stores it: red in the lowest byte, then green, then blue.
QColor ColourFromStored(int stored);
int StoredFromColour(const QColor& colour);
