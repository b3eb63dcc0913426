#pragma once

#include "store/profiledocument.h"
#include "store/profilefile.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The figures of the "Bilan" page: the weights of the whole journal read in one pass, the trend
// that smooths out the daily swings of water and salt, and what it says about the goal.

struct DayWeight {
    qint64 day; // Julian day number, as QDate::toJulianDay()
    double kg;
};

// Every weighed day of a weight file, in date order: the days whose stored text is a number above
// zero (a period read as a comma). "0", empty and unreadable texts are days without weight; keys
// beyond the length of their month and sections not named like "3/2005" are not read.
std::vector<DayWeight> ReadWeightJournal(const ProfileDocument& weights);

// The same days read with one ReadString per day of every month of the years the file covers:
// what the page would cost without the one-pass reading (kept for the benchmark).
std::vector<DayWeight> ReadWeightJournalByDay(const ProfileFile& weights);

// A weight as the journal holds it: nothing for "0", empty or unreadable text, or a value <= 0.
std::optional<double> JournalWeight(QByteArrayView raw);

// The exponentially smoothed average with factor 0,1: the first weight starts it, each weighed
// day moves it a tenth of the way towards that day's weight. One value per journal entry.
inline constexpr double TrendFactor = 0.1;
std::vector<double> SmoothedTrend(const std::vector<DayWeight>& journal);

enum class SummarySpan { FourWeeks, ThreeMonths, OneYear, All };
const QStringList& SummarySpanNames(); // "4 semaines", "3 mois", "1 an", "Tout"

// The days a span covers, ending with the month shown: its last day, or, for the month that holds
// today, today or the last day weighed in it if later. "Tout" starts with the journal's first day.
struct DateRange {
    QDate first;
    QDate last;
    bool contains(qint64 day) const { return day >= first.toJulianDay() && day <= last.toJulianDay(); }
};
DateRange SpanRange(SummarySpan span, int month, int year, const QDate& today,
                    const std::vector<DayWeight>& journal);

struct FoodMeans {
    int days = 0;                                                 // days of the span with at least one entry
    double calories = 0, proteins = 0, glucides = 0, lipides = 0; // per such day
};
// The food log's days within the range, valued from the food database as the "Calories" page does.
FoodMeans MeanFoodValues(const ProfileDocument& log, const ProfileDocument& db, const DateRange& range);

struct SpanFigures {
    DateRange range;
    std::vector<DayWeight> weights; // the weighed days of the span
    std::vector<DayWeight> trend;   // the trend on each of those days
    int daysWeighed = 0;
    double lowest = 0, highest = 0, mean = 0;
    std::optional<double> latestTrend; // on the span's last weighed day
    QDate latestDay;
    // Least-squares slope of the trend over the span's last 28 days (up to its last weighed day),
    // in kg per day; nothing with fewer than two days to fit.
    std::optional<double> slopePerDay;
};
SpanFigures ComputeSpanFigures(const std::vector<DayWeight>& journal, const DateRange& range);

inline constexpr double KcalPerKg = 7700;

enum class GoalOutcome { NoGoal, NotEnoughData, Reached, OnDate, MovingAway, OutOfReach };
struct GoalOutlook {
    GoalOutcome outcome = GoalOutcome::NoGoal;
    QDate date;
};
// When the trend reaches the goal at its current slope.
GoalOutlook ProjectGoal(std::optional<double> goal, const SpanFigures& figures);
QString GoalText(const GoalOutlook& outlook);

// A goal typed like a weight: digits and at most one comma (a period counts as a comma), from 20
// to 500 kg. "0" or an empty text means no goal. Raises the conversion error for other text and
// a message naming the bounds for a number outside them.
std::optional<double> ParseGoal(const QString& text);
inline constexpr double LowestWeight = 20;
inline constexpr double HighestWeight = 500;

QString FormatDate(const QDate& date); // JJ/MM/AAAA

// A count and its words, singular up to 1 as French has it: "1 jour importé", "0 ligne refusée",
// "3 jours importés".
QString Counted(qsizetype count, const QString& one, const QString& many);

// The lines of figures shown under the chart.
QStringList FigureLines(const SpanFigures& figures, const FoodMeans& food, int heightCm);
