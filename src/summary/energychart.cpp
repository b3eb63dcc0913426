#include "energychart.h"

#include "charts/weightchart.h"
#include "ui/appsetup.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
// As on the weight chart: beyond this many days, each run of days is one point.
constexpr qint64 MaxPlottedDays = 1500;
} // namespace

EnergyChart::EnergyChart() {
    setObjectName(QStringLiteral("Chart40"));
    setLocalizeNumbers(true);
    setLocale(QLocale(QLocale::French, QLocale::France));
    setAnimationOptions(QChart::NoAnimation);
    setTitleFont(QFont(QString::fromLatin1(ComicFont), 8));
    setTitleBrush(Qt::blue);
    setPlotAreaBackgroundVisible(true);
    legend()->setAlignment(Qt::AlignBottom);
    m_dates = new QDateTimeAxis(this);
    KeepRoomForDateLabels(m_dates); // the dates are drawn over the chart
    addAxis(m_dates, Qt::AlignBottom);
    m_kcal = new QValueAxis(this);
    m_kcal->setTitleText(QStringLiteral("kcal par jour"));
    m_kcal->setLabelFormat(QStringLiteral("%.0f"));
    addAxis(m_kcal, Qt::AlignLeft);
    m_spent = new QLineSeries(this);
    m_spent->setName(QStringLiteral("Dépense estimée"));
    m_eaten = new QLineSeries(this);
    m_eaten->setName(QStringLiteral("Calories notées"));
    for (QLineSeries* s : {m_eaten, m_spent}) {
        addSeries(s);
        s->attachAxis(m_dates);
        s->attachAxis(m_kcal);
    }
    m_eaten->setPen(QPen(QColor(0, 0, 160, 150), 1));
    auto* dates = new ChartOverlay(this, [this](QPainter* painter) {
        DrawDateLabels(painter, this, m_spent, m_dates, m_kcal->labelsBrush().color());
    });
    connect(this, &QChart::plotAreaChanged, this, [this] { fitAxis(); });
    connect(m_dates, &QDateTimeAxis::rangeChanged, this, [dates] { dates->update(); });
}

void EnergyChart::SetAppearance(const QColor& line, const QColor& background, int width) {
    setPlotAreaBackgroundBrush(QBrush(background, Qt::SolidPattern));
    m_spent->setPen(QPen(line, std::clamp(width, 1, 10)));
}

void EnergyChart::Show(const QString& title, const EnergySeries& series, const DateRange& range) {
    setTitle(title);
    const qint64 first = range.first.toJulianDay(), last = range.last.toJulianDay();
    const double originMs = double(QDateTime(range.first, QTime(12, 0)).toMSecsSinceEpoch());
    auto x = [&](double day) { return originMs + (day - double(first)) * 86400000.0; };
    const qint64 run = std::max<qint64>(1, (last - first + MaxPlottedDays) / MaxPlottedDays);
    QList<QPointF> spent, eaten;
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (qint64 start = first; start <= last; start += run) {
        const qint64 end = std::min(last + 1, start + run);
        // Each run: the last expenditure shown in it, the mean of its logged days.
        std::optional<double> kcal;
        double sum = 0;
        int meals = 0;
        for (qint64 d = start; d < end; ++d) {
            if (const std::optional<DayEnergy> e = series.At(d); e && e->Shown())
                kcal = e->kcal;
            if (const std::optional<double> i = series.Intake(d)) {
                sum += *i;
                ++meals;
            }
        }
        if (kcal) {
            spent << QPointF(x(double(end - 1)), *kcal);
            low = std::min(low, *kcal);
            high = std::max(high, *kcal);
        }
        if (meals > 0) {
            const double mean = sum / meals;
            eaten << QPointF(x(double(start + end - 1) / 2), mean);
            low = std::min(low, mean);
            high = std::max(high, mean);
        }
    }
    m_spent->replace(spent);
    m_eaten->replace(eaten);
    m_dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(x(double(first)))),
                      QDateTime::fromMSecsSinceEpoch(qint64(x(double(last)))));
    if (low > high) {
        low = 1500;
        high = 3000;
    }
    m_low = low;
    m_high = high;
    fitAxis();
}

void EnergyChart::fitAxis() {
    // Round steps of 100, 250, 500, 1 000… kcal, as many labels as the plot's height holds (Qt
    // cuts a label down to "..." when it has less than its height).
    const double room = QFontMetricsF(m_kcal->labelsFont()).height() * 2;
    const int labels = std::clamp(int(plotArea().height() / room), 2, 8);
    const double span = std::max(m_high - m_low, 200.0);
    double step = 0;
    for (const double s : {100.0, 200.0, 250.0, 500.0, 1000.0, 2000.0, 2500.0, 5000.0})
        if (step == 0 && span / s <= labels - 1)
            step = s;
    if (step == 0) // a day typed with a hundred thousand kcal
        step = std::pow(10.0, std::ceil(std::log10(span / (labels - 1))));
    const double bottom = std::floor(m_low / step - 0.001) * step;
    const double top = std::ceil(m_high / step + 0.001) * step;
    if (m_kcal->min() != bottom || m_kcal->max() != top)
        m_kcal->setRange(bottom, top);
    const int ticks = int(std::lround((top - bottom) / step)) + 1;
    if (m_kcal->tickCount() != ticks)
        m_kcal->setTickCount(ticks);
}
