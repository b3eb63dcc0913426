#include "energybalance.h"

#include "calories/fooddatabase.h"
#include "calories/foodlog.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"

#include <QDate>
#include <QHash>

#include <algorithm>

namespace {
// The years an estimate reads: a date typed by hand a thousand years off must not make it walk
// through every day in between.
const qint64 FirstReadDay = QDate(1900, 1, 1).toJulianDay();
const qint64 LastReadDay = QDate(2199, 12, 31).toJulianDay();

// A quantity as the "Calories" page reads it (a whole number, 0 when it is not one), straight
// from the bytes when they are plain digits.
int quantityOf(QByteArrayView raw) {
    qsizetype b = 0, e = raw.size();
    while (b < e && (raw[b] == ' ' || raw[b] == '\t'))
        ++b;
    while (e > b && (raw[e - 1] == ' ' || raw[e - 1] == '\t'))
        --e;
    const bool negative = b < e && raw[b] == '-';
    qsizetype i = b + ((b < e && (raw[b] == '-' || raw[b] == '+')) ? 1 : 0);
    if (i < e && e - i <= 9) {
        int n = 0;
        for (; i < e && raw[i] >= '0' && raw[i] <= '9'; ++i)
            n = n * 10 + (raw[i] - '0');
        if (i == e)
            return negative ? -n : n;
    }
    return ParseInteger(ProfileDocument::ValueText(raw)).value_or(0);
}

struct LoggedDay {
    qint64 day;
    double kcal;
    bool unknownFood;
};

QString plural(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n <= 1 ? one : many));
}
} // namespace

EnergyJournal ReadEnergyJournal(const std::vector<DayWeight>& weights, const ProfileDocument& log,
                                const ProfileDocument& db) {
    // Each food's calories are read once, however many days name it.
    struct Food {
        double kcal;
        bool known;
    };
    QHash<QString, Food> foods;
    // Days name the same foods in the same order, day after day: each line is first compared
    // with the line at the same place the day before.
    std::vector<std::pair<QString, Food>> dayBefore, today;
    const QString c = QStringLiteral("c");
    std::vector<LoggedDay> logged;
    const QString* section = nullptr; // the section of the day being read
    bool skipping = false;
    log.ForEachSectionValue([&](const QString& name, const QString& food, QByteArrayView raw) {
        if (&name != section) {
            section = &name;
            const std::optional<qint64> day = DayOfKey(name);
            skipping = !day || *day < FirstReadDay || *day > LastReadDay;
            if (!skipping)
                logged.push_back({*day, 0, false});
            std::swap(dayBefore, today);
            today.clear();
        }
        if (skipping)
            return;
        Food value;
        const size_t at = today.size();
        if (at < dayBefore.size() && dayBefore[at].first == food) {
            value = dayBefore[at].second;
        } else {
            auto it = foods.constFind(food);
            if (it == foods.constEnd()) {
                const std::optional<QString> text = db.Value(food, c);
                it = foods.insert(food, {text ? ParseDecimal(*text).value_or(0.0) : 0.0, text.has_value()});
            }
            value = *it;
        }
        today.emplace_back(food, value);
        LoggedDay& entry = logged.back();
        entry.kcal += value.kcal * quantityOf(raw);
        entry.unknownFood = entry.unknownFood || !value.known;
    });

    EnergyJournal journal;
    qint64 first = std::numeric_limits<qint64>::max(), last = std::numeric_limits<qint64>::min();
    for (const DayWeight& w : weights)
        if (w.day >= FirstReadDay && w.day <= LastReadDay) {
            first = std::min(first, w.day);
            last = std::max(last, w.day);
        }
    for (const LoggedDay& l : logged) {
        first = std::min(first, l.day);
        last = std::max(last, l.day);
    }
    if (first > last)
        return journal;
    journal.firstDay = first;
    journal.days.resize(size_t(last - first + 1));
    for (const DayWeight& w : weights)
        if (w.day >= FirstReadDay && w.day <= LastReadDay)
            journal.days[size_t(w.day - first)].kg = float(w.kg);
    for (const LoggedDay& l : logged) {
        JournalDay& d = journal.days[size_t(l.day - first)];
        d.kcal = float(l.kcal);
        d.unknownFood = l.unknownFood;
    }
    return journal;
}

EnergySeries EstimateEnergy(const EnergyJournal& journal, const EnergyFilterSettings& s) {
    EnergySeries series;
    series.m_firstDay = journal.firstDay;
    series.m_driftSd = s.driftSd;
    // One day more than the journal: the day after its last, as its meals leave it (the day a
    // person logs what they eat, before weighing again).
    const size_t n = journal.days.empty() ? 0 : journal.days.size() + 1;
    series.m_days.resize(n);
    series.m_counted.assign(n, false);
    series.m_weighed.assign(n, false);
    series.m_intake.resize(n);
    constexpr double perKg = 1.0 / KcalPerKg;
    const double rho = s.waterCorrelation;
    const double waterNoise = (1 - rho * rho) * s.waterSd * s.waterSd;
    const double drift = s.driftSd * s.driftSd;
    const double scale = s.scaleSd * s.scaleSd;

    // The state: weight without water, expenditure, water; P its covariance.
    double W = 0, E = s.priorKcal, w = 0;
    double p00 = 1e6, p01 = 0, p02 = 0, p11 = s.priorSd * s.priorSd, p12 = 0, p22 = s.waterSd * s.waterSd;
    double usual = 0; // the person's usual intake: a slow mean of the days counted
    bool anyUsual = false;
    // The last 28 days: the intakes counted (and their sum), the weighings.
    int mealDays = 0, weighings = 0;
    double mealSum = 0;
    double trend = std::numeric_limits<double>::quiet_NaN();
    bool weighedYet = false;
    int rejected = 0; // weighings left out in a row

    const JournalDay nothing;
    for (size_t i = 0; i < n; ++i) {
        const JournalDay& day = i < journal.days.size() ? journal.days[i] : nothing;
        if (i >= EstimateWindowDays && series.m_weighed[i - EstimateWindowDays])
            --weighings;
        if (day.Weighed()) {
            ++weighings;
            series.m_weighed[i] = true;
            const double y = day.kg;
            const double S = p00 + 2 * p02 + p22 + scale;
            const double innovation = y - (W + w);
            // A weight far from what the journal foretells is a slip of the keyboard (7 for 70),
            // and is left out; the same surprise three weighings in a row is a new start (another
            // scale, a journal taken up again), from which the weight is followed anew.
            const bool surprising = weighedYet && std::fabs(innovation) > std::max(2.0, 5 * std::sqrt(S));
            rejected = surprising ? rejected + 1 : 0;
            if (!weighedYet || rejected >= 3) {
                // The weight is this weighing, give or take the water; the expenditure stays.
                W = y;
                w = 0;
                p00 = s.waterSd * s.waterSd + scale;
                p01 = 0;
                p02 = -s.waterSd * s.waterSd;
                p12 = 0;
                p22 = s.waterSd * s.waterSd;
                weighedYet = true;
                rejected = 0;
            } else if (!surprising) {
                const double k0 = (p00 + p02) / S, k1 = (p01 + p12) / S, k2 = (p02 + p22) / S;
                W += k0 * innovation;
                E += k1 * innovation;
                w += k2 * innovation;
                // P -= K S K'
                p00 -= k0 * k0 * S;
                p01 -= k0 * k1 * S;
                p02 -= k0 * k2 * S;
                p11 -= k1 * k1 * S;
                p12 -= k1 * k2 * S;
                p22 -= k2 * k2 * S;
            }
            // The "Bilan" page's trend, every weighing in it.
            trend = std::isnan(trend) ? y : trend + TrendFactor * (y - trend);
        }

        // The filter's expenditure weighed against the mean intake of the last 28 days.
        double kcal = E, var = p11;
        if (mealDays > 0) {
            const double anchorVar = s.anchorSd * s.anchorSd + 300.0 * 300.0 / mealDays;
            const double mean = mealSum / mealDays;
            var = 1 / (1 / p11 + 1 / anchorVar);
            kcal = var * (E / p11 + mean / anchorVar);
        }
        DayEnergy& out = series.m_days[i];
        out.kcal = float(kcal);
        out.sd = float(std::sqrt(std::max(var, 0.0)));
        out.trendKg = float(trend);
        out.mealDays = short(mealDays);
        out.weighings = short(weighings);

        // The day's meals, when they can be the whole day, move tomorrow's weight by what they
        // hold; otherwise by the usual intake, not known closely.
        const bool counted =
            day.HasMeals() && !day.unknownFood && day.kcal >= kcal / 3 && day.kcal <= MostKcalInADay;
        double u, uVar;
        if (counted) {
            u = day.kcal;
            uVar = (s.loggingSd * u) * (s.loggingSd * u);
            usual = anyUsual ? usual + (u - usual) / 14 : u;
            anyUsual = true;
        } else {
            u = anyUsual ? usual : E;
            uVar = s.unknownIntakeSd * s.unknownIntakeSd;
        }
        series.m_counted[i] = counted;
        series.m_intake[i] = day.kcal;
        // The window moves on by a day for the meals: today's join, those of 28 days ago leave.
        if (counted) {
            ++mealDays;
            mealSum += u;
        }
        if (i >= EstimateWindowDays && series.m_counted[i - EstimateWindowDays]) {
            --mealDays;
            mealSum -= series.m_intake[i - EstimateWindowDays];
        }

        // Tomorrow: W += (u - E) / 7700, the water fades, the expenditure drifts.
        W += (u - E) * perKg;
        w *= rho;
        const double n00 = p00 - 2 * perKg * p01 + perKg * perKg * p11 + uVar * perKg * perKg;
        const double n01 = p01 - perKg * p11;
        const double n02 = rho * (p02 - perKg * p12);
        p00 = n00;
        p01 = n01;
        p02 = n02;
        p11 += drift;
        p12 *= rho;
        p22 = rho * rho * p22 + waterNoise;
    }
    return series;
}

std::optional<DayEnergy> EnergySeries::At(qint64 day) const {
    if (m_days.empty() || day < m_firstDay)
        return std::nullopt;
    if (day <= LastDay())
        return m_days[size_t(day - m_firstDay)];
    // Beyond the journal: the last estimate, less sure each day, and the window emptied as it
    // moves past the last days.
    DayEnergy e = m_days.back();
    const double gap = double(day - LastDay());
    e.sd = float(std::sqrt(double(e.sd) * e.sd + gap * m_driftSd * m_driftSd));
    int meals = 0, weighings = 0;
    for (qint64 d = std::max(m_firstDay, day - EstimateWindowDays); d <= LastDay(); ++d) {
        meals += m_counted[size_t(d - m_firstDay)] ? 1 : 0;
        weighings += d > day - EstimateWindowDays && m_weighed[size_t(d - m_firstDay)] ? 1 : 0;
    }
    e.mealDays = short(meals);
    e.weighings = short(weighings);
    return e;
}

bool EnergySeries::IntakeCounted(qint64 day) const {
    return day >= m_firstDay && day <= LastDay() && m_counted[size_t(day - m_firstDay)];
}

std::optional<double> EnergySeries::LatestTrend() const {
    if (m_days.empty() || !std::isfinite(m_days.back().trendKg) || m_days.back().trendKg <= 0)
        return std::nullopt;
    return m_days.back().trendKg;
}

std::optional<double> EnergySeries::Intake(qint64 day) const {
    if (day < m_firstDay || day > LastDay() || std::isnan(m_intake[size_t(day - m_firstDay)]))
        return std::nullopt;
    return m_intake[size_t(day - m_firstDay)];
}

int RoundToTen(double kcal) {
    return int(std::lround(kcal / 10)) * 10;
}

QString FormatKcal(long long kcal) {
    QString digits = QString::number(kcal < 0 ? -kcal : kcal);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return kcal < 0 ? QLatin1Char('-') + digits : digits;
}

QString MissingText(const DayEnergy& energy) {
    const int meals = std::max(0, MealDaysNeeded - energy.mealDays);
    const int weighings = std::max(0, WeighingsNeeded - energy.weighings);
    QStringList parts;
    if (meals > 0)
        parts << plural(meals, "jour de repas", "jours de repas");
    if (weighings > 0)
        parts << plural(weighings, "pesée", "pesées");
    if (!parts.isEmpty())
        return QStringLiteral("encore ") + parts.join(QStringLiteral(" et "));
    return energy.Shown()
               ? QString()
               : QStringLiteral("les pesées et les repas des 28 derniers jours ne s'accordent pas");
}

QString ExpenditureLine(const std::optional<DayEnergy>& energy) {
    const QString head = QStringLiteral("Dépense estimée : ");
    if (!energy || !energy->Shown())
        return head + MissingText(energy.value_or(DayEnergy{}));
    return head + QStringLiteral("%1 kcal par jour (± %2)")
                      .arg(FormatKcal(RoundToTen(energy->kcal)), FormatKcal(RoundToTen(energy->sd)));
}

QString RateText(double rate) {
    const QString number = FormatDecimal(std::fabs(rate), 2);
    const QString sign = rate < 0 ? QStringLiteral("\u2212") : rate > 0 ? QStringLiteral("+") : QString();
    return sign + number + QStringLiteral(" kg par semaine");
}

QString StoredRateText(double rate) {
    return FormatDecimal(rate, 2);
}

std::optional<double> ParseStoredRate(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    const std::optional<double> value = ParseDecimal(t);
    if (!value)
        return std::nullopt;
    for (const double choice : RateChoices)
        if (std::fabs(*value - choice) < 1e-9)
            return choice;
    return std::nullopt;
}

namespace {
// The goal counts as reached within 50 g, as the "Bilan" page says it.
constexpr double GoalTolerance = 0.05;
bool usable(double kg) {
    return std::isfinite(kg) && kg > 0;
}
} // namespace

double DefaultRate(std::optional<double> goal, std::optional<double> trendKg) {
    if (!goal || !trendKg || std::fabs(*goal - *trendKg) < GoalTolerance)
        return 0;
    return *goal < *trendKg ? -0.5 : 0.25;
}

QString RateRefusal(double rate, std::optional<double> trendKg) {
    if (!trendKg || std::fabs(rate) <= FastestRateShare * *trendKg + 1e-9)
        return {};
    return QStringLiteral("Ce rythme est trop rapide : au plus 1 % du poids par semaine, soit %1 kg par "
                          "semaine pour une tendance de %2 kg.")
        .arg(FormatDecimal(FastestRateShare * *trendKg, 2), FormatDecimal(*trendKg, 1));
}

DayTarget TargetOfDay(const std::optional<DayEnergy>& energy, std::optional<double> goal,
                      std::optional<double> storedRate) {
    DayTarget target;
    target.energy = energy;
    if (!target.energy)
        return target;
    const std::optional<double> trend =
        usable(target.energy->trendKg) ? std::optional<double>(target.energy->trendKg) : std::nullopt;
    double rate = storedRate.value_or(DefaultRate(goal, trend));
    if (!RateRefusal(rate, trend).isEmpty()) {
        // A rate chosen when the weight was higher: the fastest that is still allowed.
        double allowed = 0;
        for (const double choice : RateChoices)
            if (choice * rate > 0 && RateRefusal(choice, trend).isEmpty() &&
                std::fabs(choice) > std::fabs(allowed))
                allowed = choice;
        rate = allowed;
        target.rateLimited = true;
    }
    if (goal && trend &&
        ((rate < 0 && *trend <= *goal + GoalTolerance) || (rate > 0 && *trend >= *goal - GoalTolerance))) {
        target.goalReached = true;
        rate = 0;
    }
    target.rate = rate;
    target.kcal = RoundToTen(target.energy->kcal + rate * KcalPerKg / 7);
    if (target.kcal < LowestTarget) {
        target.kcal = int(LowestTarget);
        target.floored = true;
    }
    return target;
}

QString TargetLine(const DayTarget& target, double eaten) {
    const QString head = QStringLiteral("Objectif : ");
    if (!target.Known())
        return head + MissingText(target.energy.value_or(DayEnergy{}));
    const long long left = std::llround(target.kcal - eaten);
    return head + FormatKcal(target.kcal) + QStringLiteral(" kcal ; ") +
           (left >= 0 ? QStringLiteral("reste ") + FormatKcal(left)
                      : QStringLiteral("dépassé de ") + FormatKcal(-left));
}

QString TargetNote(const DayTarget& target) {
    if (!target.Known())
        return {};
    QStringList notes;
    if (target.rateLimited)
        notes << QStringLiteral("rythme ramené à %1 (au plus 1 % du poids par semaine)")
                     .arg(RateText(target.rate));
    if (target.goalReached)
        notes << QStringLiteral("objectif de poids atteint : de quoi garder ce poids");
    if (target.floored)
        notes << (target.rate < 0 ? QStringLiteral("rythme trop rapide pour cette dépense : "
                                                   "l'objectif ne descend pas sous 1 200 kcal")
                                  : QStringLiteral("l'objectif ne descend pas sous 1 200 kcal"));
    if (notes.isEmpty())
        return {};
    notes.front()[0] = notes.front()[0].toUpper();
    return notes.join(QStringLiteral(" ; "));
}

std::optional<double> StoredGoalOf(const ProfileDocument& accounts, const QString& account) {
    try {
        return ParseGoal(accounts.ReadString(account, QStringLiteral("objectif"), QStringLiteral("0")));
    } catch (const KalimoError&) {
        return std::nullopt; // edited by hand into something else: no goal
    }
}

std::optional<double> StoredRateOf(const ProfileDocument& accounts, const QString& account) {
    const std::optional<QString> text = accounts.Value(account, RateKey);
    return text ? ParseStoredRate(*text) : std::nullopt;
}

std::optional<qint64> DayOfKey(QStringView dayKey) {
    const QDate date = DateOfDayKey(dayKey);
    return date.isValid() ? std::optional(date.toJulianDay()) : std::nullopt;
}

const EnergySeries& EnergyEstimates::For(const ProfileFile& weights, const ProfileFile& log,
                                         const ProfileFile& db, qint64 day) {
    const quint64 w = weights.Generation(), l = log.Generation(), d = db.Generation();
    if (m_computed && w == m_weights && l == m_log && d == m_db && day <= m_goodThrough)
        return m_series;
    m_series = EstimateEnergy(
        ReadEnergyJournal(ReadWeightJournal(weights.Document()), log.Document(), db.Document()));
    m_computed = true;
    m_weights = w;
    m_log = l;
    m_db = d;
    m_goodThrough = std::numeric_limits<qint64>::max();
    ++m_computations;
    return m_series;
}

void EnergyEstimates::MealsChanged(qint64 day, quint64 before, quint64 after) {
    if (!m_computed || m_log != before)
        return;
    m_log = after;
    m_goodThrough = std::min(m_goodThrough, day);
}
