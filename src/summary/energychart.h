#pragma once

#include "summary/energybalance.h"
#include "summary/weighttrend.h"

#include <QChart>

class QDateTimeAxis;
class QLineSeries;
class QPainter;
class QValueAxis;

// The "Bilan" page's other chart: over the span, the expenditure estimated day by day and the
// calories logged, both in kcal per day. The dates under it are drawn as many as fit, as on the
// weight chart beside it.
class EnergyChart : public QChart {
    Q_OBJECT
  public:
    EnergyChart();

    QLineSeries* Expenditure() const { return m_spent; }
    QLineSeries* Intake() const { return m_eaten; }

    // The days of the range: the expenditure where it can be shown (enough meals and
    // weighings), the intake of every day with meals. Long spans are drawn as runs of days.
    void Show(const QString& title, const EnergySeries& series, const DateRange& range);
    // The account's appearance: the expenditure in its line colour and thickness.
    void SetAppearance(const QColor& line, const QColor& background, int width);

  private:
    // The kcal axis: round steps, as many labels as the plot's height holds.
    void fitAxis();

    QDateTimeAxis* m_dates = nullptr;
    QValueAxis* m_kcal = nullptr;
    QLineSeries* m_spent = nullptr;
    QLineSeries* m_eaten = nullptr;
    double m_low = 1500, m_high = 3000; // the values shown
};
