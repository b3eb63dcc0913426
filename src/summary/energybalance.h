#pragma once

#include "store/profiledocument.h"
#include "store/profilefile.h"
#include "summary/weighttrend.h"

#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

// What a person really spends each day, estimated from their own journals, and what that leaves
// to eat on a given day to keep the weekly rate they chose.
//
// The estimate is a Kalman filter run day by day over three unknowns: the weight stripped of its
// water (kg), the day's expenditure (kcal) and the water the scale also weighs (kg, which drifts
// back to zero from one day to the next). Each day the stripped weight moves by what was eaten
// minus what was spent, over 7 700 kcal per kg; each weighing sees that weight plus the water.
// A day without meals, or whose meals cannot be complete, still moves the weight, by an intake
// the filter does not know: it assumes the person's usual intake with a wide uncertainty, never
// zero. The filter's estimate is then weighed against the mean intake of the last 28 days: a
// person's expenditure is rarely more than a few hundred kcal away from what they eat.

// One day of the journals as the estimate reads it.
struct JournalDay {
    static constexpr float None = std::numeric_limits<float>::quiet_NaN();
    float kcal = None;        // calories of the day's food log; NaN when nothing is logged
    bool unknownFood = false; // the day names a food the database no longer holds
    float kg = None;          // the day's weight; NaN when not weighed
    bool HasMeals() const { return !std::isnan(kcal); }
    bool Weighed() const { return !std::isnan(kg); }
};

// Every day from the first that holds a weight or a meal to the last, one entry per day.
struct EnergyJournal {
    qint64 firstDay = 0; // Julian day of days[0]
    std::vector<JournalDay> days;
};

// The journals read together: the weights as the "Bilan" page reads them, each day of the food
// log valued from the food database as the "Calories" page values it (calories × quantity).
EnergyJournal ReadEnergyJournal(const std::vector<DayWeight>& weights, const ProfileDocument& log,
                                const ProfileDocument& db);

// The filter's noises. The defaults are what docs/PERFORMANCE.md reports; the simulator of
// bench/ tries others.
struct EnergyFilterSettings {
    double priorKcal = 2400;       // the expenditure before any data…
    double priorSd = 800;          // …and how little that says
    double driftSd = 12;           // change of the expenditure from one day to the next (kcal)
    double loggingSd = 0.12;       // share of a logged intake that may be wrong
    double unknownIntakeSd = 700;  // a day without (complete) meals around the usual intake (kcal)
    double waterSd = 0.6;          // water in a weighing (kg)
    double waterCorrelation = 0.6; // of the water from one day to the next
    double scaleSd = 0.1;          // the scale itself (kg)
    double anchorSd = 450;         // the expenditure around the mean intake of the last 28 days
};

inline constexpr int EstimateWindowDays = 28;
inline constexpr int MealDaysNeeded = 14;
inline constexpr int WeighingsNeeded = 7;
inline constexpr double MostKcalInADay = 10000;

// The estimate as it stands on a day: after that day's weighing, before its meals count (they
// may still be logged; they tell nothing of that day's expenditure before the next weighings).
struct DayEnergy {
    float kcal = 0;      // the expenditure
    float sd = 0;        // one standard deviation of it
    float trendKg = 0;   // the "Bilan" page's trend on that day (its last weighing's)
    short mealDays = 0;  // days of the last 28 whose meals counted (the day itself excluded)
    short weighings = 0; // weighings in the last 28 days, the day itself included
    bool Enough() const { return mealDays >= MealDaysNeeded && weighings >= WeighingsNeeded; }
    // Enough data, and a result a person can spend: weighings that belong to someone else, or
    // meals logged by the kilo, can lead the filter anywhere.
    bool Shown() const { return Enough() && kcal >= 500 && kcal <= MostKcalInADay; }
};

// The estimate for every day of the journal and the day after, and forward from there.
class EnergySeries {
  public:
    qint64 FirstDay() const { return m_firstDay; }
    qint64 LastDay() const { return m_firstDay + qint64(m_days.size()) - 1; }
    bool Empty() const { return m_days.empty(); }
    // The estimate on a day; nothing before the first weighing. After the journal's last day the
    // expenditure is carried forward, less sure each day.
    std::optional<DayEnergy> At(qint64 day) const;
    // Whether the day's meals counted (logged, and whole as far as one can tell).
    bool IntakeCounted(qint64 day) const;
    // The calories logged on the day; nothing without meals.
    std::optional<double> Intake(qint64 day) const;
    // The "Bilan" page's trend after the journal's last weighing; nothing without any.
    std::optional<double> LatestTrend() const;

  private:
    friend EnergySeries EstimateEnergy(const EnergyJournal&, const EnergyFilterSettings&);
    qint64 m_firstDay = 0;
    std::vector<DayEnergy> m_days;
    std::vector<bool> m_counted;
    std::vector<bool> m_weighed;
    std::vector<float> m_intake;
    double m_driftSd = 0;
};

EnergySeries EstimateEnergy(const EnergyJournal& journal, const EnergyFilterSettings& settings = {});

// A value rounded to 10 kcal, as every figure of expenditure and target is shown.
int RoundToTen(double kcal);
// "2 350": groups of three digits apart.
QString FormatKcal(long long kcal);
// Why the estimate is not shown: "encore 5 jours de repas et 2 pesées", "encore 1 pesée", or
// that the journals disagree; empty when it is shown.
QString MissingText(const DayEnergy& energy);
// "Dépense estimée : 2 350 kcal par jour (± 120)", or what is missing for it.
QString ExpenditureLine(const std::optional<DayEnergy>& energy);

// The weekly rates one may choose (kg per week), slowest losses last.
inline constexpr double RateChoices[] = {-1, -0.75, -0.5, -0.25, 0, 0.25, 0.5};
inline constexpr double FastestRateShare = 0.01; // of the trend weight, per week
inline constexpr double LowestTarget = 1200;

// "−0,5 kg par semaine", "0 kg par semaine", "+0,25 kg par semaine".
QString RateText(double rate);
// As "compte.ini" holds it: "-0,5", "0", "0,25".
QString StoredRateText(double rate);
// A stored rate, when it is one of the choices (a period read as a comma, a "+" allowed).
std::optional<double> ParseStoredRate(const QString& text);
// −0,5 when the goal is below the trend, +0,25 above it, 0 without a goal or once it is reached.
double DefaultRate(std::optional<double> goal, std::optional<double> trendKg);
// Why a rate cannot be chosen with this trend weight; empty when it can.
QString RateRefusal(double rate, std::optional<double> trendKg);

// The target of a day.
struct DayTarget {
    std::optional<DayEnergy> energy; // nothing before any weighing
    double rate = 0;                 // the rate the target keeps
    bool rateLimited = false;        // the rate chosen was too fast for the trend: the fastest allowed
    bool goalReached = false;        // the trend has reached the goal: the target keeps the weight
    bool floored = false;            // the rate asks less than 1 200 kcal: 1 200
    int kcal = 0;
    bool Known() const { return energy && energy->Shown(); }
};
// The target of a day from the estimate on that day (EnergySeries::At), the goal and the rate
// stored, if any.
DayTarget TargetOfDay(const std::optional<DayEnergy>& energy, std::optional<double> goal,
                      std::optional<double> storedRate);
// "Objectif : 1 850 kcal ; reste 430", "… ; dépassé de 120", or what is missing for it.
QString TargetLine(const DayTarget& target, double eaten);
// What the page says under the target line: the floor or the limited rate; empty otherwise.
QString TargetNote(const DayTarget& target);

// The key of "compte.ini" that holds the account's rate, beside its goal "objectif".
inline const QString RateKey = QStringLiteral("rythme");
// The goal stored for an account; nothing when none or unreadable.
std::optional<double> StoredGoalOf(const ProfileDocument& accounts, const QString& account);
// The rate stored for an account; nothing when none, or not one of the choices (the default
// rate then applies).
std::optional<double> StoredRateOf(const ProfileDocument& accounts, const QString& account);
// "5/3/2004" -> its Julian day; nothing for a text that names no day.
std::optional<qint64> DayOfKey(QStringView dayKey);

// The estimates of the account open, kept while its files stay as they are: fifty years of
// journals take a few milliseconds to go through, a food added must not.
class EnergyEstimates {
  public:
    // The series for the files as they now stand, good at least up to `day`.
    const EnergySeries& For(const ProfileFile& weights, const ProfileFile& log, const ProfileFile& db,
                            qint64 day);
    // The food log went from generation `before` to `after` by a change of the meals of `day`
    // alone. A day's meals count from the next day on: the estimates up to that day stand.
    void MealsChanged(qint64 day, quint64 before, quint64 after);
    // How many times the series was computed (for the tests).
    int Computations() const { return m_computations; }

  private:
    EnergySeries m_series;
    bool m_computed = false;
    quint64 m_weights = 0, m_log = 0, m_db = 0;
    qint64 m_goodThrough = 0;
    int m_computations = 0;
};
