// How close the estimated expenditure comes to the truth, on simulated persons whose real
// expenditure is known, beside two simpler answers computed on the same persons:
//   - "apports" : the mean logged intake of the last 28 days;
//   - "bilan"   : that mean minus the slope of the "Bilan" page's trend × 7 700.
//
// A person: a true expenditure of 1 700 to 3 200 kcal that drifts a little each day (a random
// walk of 5 kcal a day) and falls by 25 kcal for each kg lost (rises for each kg gained); an
// intake plan of −750 to +250 kcal around that first expenditure, eaten give or take 300 kcal a
// day (one standard deviation); each day logged with an error of 10 % (one standard deviation),
// 20 % of the days not logged at all; a weighing on 70 % of the mornings, with water of 0,6 kg
// (one standard deviation) correlated 0,5 from one day to the next, shown to 0,1 kg.
//
// Run: kalimo_energy_sim [--persons N] [--seed S] [--water-correlation R] [--set name=value]...
//      [--tune]
// The figures are reported on persons 1 000 001 on; --tune searches the filter's settings on
// persons 1 on, which are never reported.
#include "summary/energybalance.h"
#include "summary/weighttrend.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
const int Checkpoints[] = {14, 28, 56, 84};
constexpr int Days = 85;

struct Simulation {
    double waterCorrelation = 0.5;
    double loggingSd = 0.10;
    double missingMeals = 0.20;
    double missingWeighings = 0.30;
};

struct Person {
    EnergyJournal journal;
    std::vector<double> trueKcal; // expenditure of each day
};

Person simulate(quint64 seed, const Simulation& sim) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::normal_distribution<double> normal(0, 1);
    auto between = [&](double a, double b) { return a + (b - a) * uniform(random); };

    Person p;
    const double start = between(1700, 3200);
    const double plan = between(-750, 250);
    const double firstKg = between(55, 130);
    double kg = firstKg, drift = 0;
    double water = 0.6 * normal(random);
    const double rho = sim.waterCorrelation;
    p.journal.firstDay = QDate(2024, 1, 1).toJulianDay();
    p.journal.days.resize(Days);
    for (int d = 0; d < Days; ++d) {
        const double spent = start + drift + 25 * (kg - firstKg);
        p.trueKcal.push_back(spent);
        JournalDay& day = p.journal.days[size_t(d)];
        // The morning's weighing, before the day's meals.
        if (uniform(random) >= sim.missingWeighings)
            day.kg = float(std::round((kg + water) * 10) / 10);
        const double eaten = std::max(0.0, start + plan + 300 * normal(random));
        if (uniform(random) >= sim.missingMeals)
            day.kcal = float(std::max(0.0, eaten * (1 + sim.loggingSd * normal(random))));
        kg += (eaten - spent) / KcalPerKg;
        drift += 5 * normal(random);
        water = rho * water + std::sqrt(1 - rho * rho) * 0.6 * normal(random);
    }
    return p;
}

// The mean logged intake of the 28 days before the day.
std::optional<double> meanIntake(const EnergyJournal& j, int day) {
    double sum = 0;
    int n = 0;
    for (int d = std::max(0, day - EstimateWindowDays); d < day; ++d)
        if (j.days[size_t(d)].HasMeals()) {
            sum += j.days[size_t(d)].kcal;
            ++n;
        }
    return n > 0 ? std::optional<double>(sum / n) : std::nullopt;
}

// What the "Bilan" page says of the same days: the trend's slope over the last 28 days.
std::optional<double> pageBalance(const EnergyJournal& j, int day) {
    std::vector<DayWeight> weights;
    for (int d = 0; d <= day; ++d)
        if (j.days[size_t(d)].Weighed())
            weights.push_back({j.firstDay + d, j.days[size_t(d)].kg});
    const qint64 last = j.firstDay + day;
    const SpanFigures f = ComputeSpanFigures(
        weights, {QDate::fromJulianDay(last - EstimateWindowDays + 1), QDate::fromJulianDay(last)});
    const std::optional<double> intake = meanIntake(j, day);
    if (!f.slopePerDay || !intake)
        return std::nullopt;
    return *intake - *f.slopePerDay * KcalPerKg;
}

struct Errors {
    std::vector<double> filter, intake, page;
    int shown = 0, withinSd = 0;
    std::vector<double> sd;
};

double percentile(std::vector<double> v, double q) {
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    const double at = q * double(v.size() - 1);
    const size_t i = size_t(at);
    return i + 1 < v.size() ? v[i] + (v[i + 1] - v[i]) * (at - double(i)) : v[i];
}

std::vector<Errors> run(const EnergyFilterSettings& settings, const Simulation& sim, quint64 firstSeed,
                        int persons) {
    std::vector<Errors> errors(std::size(Checkpoints));
    for (int k = 0; k < persons; ++k) {
        const Person p = simulate(firstSeed + quint64(k), sim);
        const EnergySeries series = EstimateEnergy(p.journal, settings);
        for (size_t c = 0; c < std::size(Checkpoints); ++c) {
            const int day = Checkpoints[c];
            const double truth = p.trueKcal[size_t(day)];
            const DayEnergy e = *series.At(p.journal.firstDay + day);
            Errors& out = errors[c];
            out.filter.push_back(std::fabs(e.kcal - truth));
            out.sd.push_back(e.sd);
            out.shown += e.Shown() ? 1 : 0;
            out.withinSd += std::fabs(e.kcal - truth) <= e.sd ? 1 : 0;
            if (const auto m = meanIntake(p.journal, day))
                out.intake.push_back(std::fabs(*m - truth));
            if (const auto b = pageBalance(p.journal, day))
                out.page.push_back(std::fabs(*b - truth));
        }
    }
    return errors;
}

double score(const std::vector<Errors>& e) {
    // Days 28 and 56 count most, with their 90th percentiles; day 84 a little.
    return percentile(e[1].filter, 0.5) + percentile(e[2].filter, 0.5) + 0.25 * percentile(e[1].filter, 0.9) +
           0.25 * percentile(e[2].filter, 0.9) + 0.5 * percentile(e[3].filter, 0.5);
}

void report(const std::vector<Errors>& errors, int persons) {
    std::printf("| Jour | Estimation : médiane | 90e centile | Apports (28 j) : médiane | 90e centile "
                "| Apports − pente × 7 700 : médiane | 90e centile | Affichée | Dans ± écart type | "
                "Écart type médian |\n|---|---|---|---|---|---|---|---|---|---|\n");
    for (size_t c = 0; c < std::size(Checkpoints); ++c) {
        const Errors& e = errors[c];
        std::printf("| %d | %.0f | %.0f | %.0f | %.0f | %.0f | %.0f | %.0f %% | %.0f %% | %.0f |\n",
                    Checkpoints[c], percentile(e.filter, 0.5), percentile(e.filter, 0.9),
                    percentile(e.intake, 0.5), percentile(e.intake, 0.9), percentile(e.page, 0.5),
                    percentile(e.page, 0.9), 100.0 * e.shown / persons, 100.0 * e.withinSd / persons,
                    percentile(e.sd, 0.5));
    }
}

struct Knob {
    const char* name;
    double EnergyFilterSettings::*field;
    std::vector<double> factors; // tried by --tune, times the best value so far
};
const std::vector<Knob> Knobs = {
    {"priorKcal", &EnergyFilterSettings::priorKcal, {}},
    {"priorSd", &EnergyFilterSettings::priorSd, {0.5, 0.75, 1.5, 2}},
    {"driftSd", &EnergyFilterSettings::driftSd, {0.25, 0.5, 0.75, 1.5, 2}},
    {"loggingSd", &EnergyFilterSettings::loggingSd, {0.5, 0.75, 1.5, 2}},
    {"unknownIntakeSd", &EnergyFilterSettings::unknownIntakeSd, {0.5, 0.75, 1.5, 2}},
    {"waterSd", &EnergyFilterSettings::waterSd, {0.75, 0.9, 1.1, 1.3}},
    {"waterCorrelation", &EnergyFilterSettings::waterCorrelation, {0.5, 0.75, 0.9, 1.1, 1.25, 1.4}},
    {"scaleSd", &EnergyFilterSettings::scaleSd, {0.5, 2, 3}},
    {"anchorSd", &EnergyFilterSettings::anchorSd, {0.5, 0.75, 1.5, 2, 4}},
};

void tune(const Simulation& sim, int persons) {
    EnergyFilterSettings best;
    double bestScore = score(run(best, sim, 1, persons));
    std::printf("start: %.1f\n", bestScore);
    // Coordinate search: each setting in turn, a few values around the best so far, until
    // nothing improves.
    for (bool improved = true; improved;) {
        improved = false;
        for (const Knob& knob : Knobs)
            for (const double f : knob.factors) {
                EnergyFilterSettings trial = best;
                trial.*knob.field *= f;
                if (trial.waterCorrelation >= 0.98)
                    continue;
                const double s = score(run(trial, sim, 1, persons));
                if (s < bestScore - 0.05) {
                    bestScore = s;
                    best = trial;
                    improved = true;
                    std::printf("%s=%g: %.1f\n", knob.name, trial.*knob.field, s);
                    std::fflush(stdout);
                }
            }
    }
    std::printf("priorKcal=%g priorSd=%g driftSd=%g loggingSd=%g unknownIntakeSd=%g waterSd=%g "
                "waterCorrelation=%g scaleSd=%g anchorSd=%g\n",
                best.priorKcal, best.priorSd, best.driftSd, best.loggingSd, best.unknownIntakeSd,
                best.waterSd, best.waterCorrelation, best.scaleSd, best.anchorSd);
}
} // namespace

int main(int argc, char** argv) {
    int persons = 1000;
    quint64 seed = 1000001;
    bool tuning = false;
    Simulation sim;
    EnergyFilterSettings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--persons" && more)
            persons = std::atoi(argv[++i]);
        else if (a == "--seed" && more)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--water-correlation" && more)
            sim.waterCorrelation = std::atof(argv[++i]);
        else if (a == "--set" && more) {
            // name=value: one of the filter's settings, as --tune prints them.
            const std::string setting = argv[++i];
            const size_t eq = setting.find('=');
            bool known = false;
            for (const Knob& knob : Knobs)
                if (eq != std::string::npos && setting.compare(0, eq, knob.name) == 0) {
                    settings.*knob.field = std::atof(setting.c_str() + eq + 1);
                    known = true;
                }
            if (!known) {
                std::fprintf(stderr, "unknown setting: %s\n", setting.c_str());
                return 2;
            }
        } else if (a == "--tune")
            tuning = true;
        else {
            std::fprintf(stderr, "usage: %s [--persons N] [--seed S] [--water-correlation R] [--tune]\n",
                         argv[0]);
            return 2;
        }
    }
    if (tuning) {
        tune(sim, persons);
        return 0;
    }
    std::printf("%d personnes à partir de la graine %llu, eau corrélée à %.2f d'un jour à l'autre ; "
                "erreurs absolues en kcal par jour\n\n",
                persons, static_cast<unsigned long long>(seed), sim.waterCorrelation);
    report(run(settings, sim, seed, persons), persons);
    return 0;
}
