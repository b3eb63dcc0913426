#include "weighttrend.h"

#include "calories/fooddatabase.h"
#include "calories/foodlog.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "weight/bodymassindex.h"
#include "weight/weightrecords.h"

#include <algorithm>
#include <cmath>

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "3/2005" -> March 2005.
std::optional<QDate> monthOfSection(const QString& name) {
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    const auto month = ParsePlainNumber(QStringView(name).left(slash));
    const auto year = ParsePlainNumber(QStringView(name).mid(slash + 1));
    if (!month || !year || *month > 12)
        return std::nullopt;
    return QDate(*year, *month, 1);
}

// "v12" (or "V12": names are matched without regard to case) -> 12.
std::optional<int> dayOfKey(const QString& key) {
    if (key.size() < 2 || (key.front() != QLatin1Char('v') && key.front() != QLatin1Char('V')))
        return std::nullopt;
    return ParsePlainNumber(QStringView(key).mid(1));
}

const double powersOfTen[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
} // namespace

std::optional<double> JournalWeight(QByteArrayView raw) {
    while (!raw.isEmpty() && (raw.front() == ' ' || raw.front() == '\t'))
        raw = raw.sliced(1);
    while (!raw.isEmpty() && (raw.back() == ' ' || raw.back() == '\t'))
        raw.chop(1);
    // Nearly every stored weight is digits with one comma: read those straight from the bytes.
    // Digits and the power of ten are both exact in a double, so their quotient is the correctly
    // rounded number, the same that the general conversion gives.
    if (!raw.isEmpty() && raw.size() <= 15) {
        qint64 digits = 0;
        int decimals = -1;
        bool plain = true;
        for (const char c : raw) {
            if (isDigit(c)) {
                digits = digits * 10 + (c - '0');
                if (decimals >= 0)
                    ++decimals;
            } else if ((c == ',' || c == '.') && decimals < 0) {
                decimals = 0;
            } else {
                plain = false;
                break;
            }
        }
        if (plain && raw.size() > (decimals >= 0 ? 1 : 0)) {
            const double kg = double(digits) / powersOfTen[std::max(decimals, 0)];
            return kg > 0 ? std::optional<double>(kg) : std::nullopt;
        }
    }
    const QString text = ProfileDocument::ValueText(raw);
    if (text.isEmpty() || text == QLatin1String("0"))
        return std::nullopt;
    QString copy = text;
    copy.replace(QLatin1Char('.'), QLatin1Char(','));
    const std::optional<double> kg = ParseDecimal(copy);
    if (!kg || *kg <= 0)
        return std::nullopt;
    return kg;
}

std::vector<DayWeight> ReadWeightJournal(const ProfileDocument& weights) {
    std::vector<DayWeight> journal;
    for (const QString& section : weights.Sections()) {
        const std::optional<QDate> month = monthOfSection(section);
        if (!month)
            continue;
        const int days = month->daysInMonth();
        const qint64 first = month->toJulianDay();
        quint32 seen = 0; // the first key of a day is the one read, as everywhere else
        weights.ForEachValue(section, [&](const QString& key, QByteArrayView raw) {
            const std::optional<int> day = dayOfKey(key);
            if (!day || *day > days || (seen & (1u << *day)))
                return;
            seen |= 1u << *day;
            if (const std::optional<double> kg = JournalWeight(raw))
                journal.push_back({first + *day - 1, *kg});
        });
    }
    // Months are nearly always stored in the order they were typed in; sort only when not.
    const auto earlier = [](const DayWeight& a, const DayWeight& b) { return a.day < b.day; };
    if (!std::is_sorted(journal.begin(), journal.end(), earlier))
        std::sort(journal.begin(), journal.end(), earlier);
    return journal;
}

std::vector<DayWeight> ReadWeightJournalByDay(const ProfileFile& weights) {
    int firstYear = 0;
    int lastYear = -1;
    for (const QString& section : weights.ReadSections())
        if (const std::optional<QDate> month = monthOfSection(section)) {
            firstYear = lastYear < firstYear ? month->year() : std::min(firstYear, month->year());
            lastYear = std::max(lastYear, month->year());
        }
    std::vector<DayWeight> journal;
    const QString noWeight = QStringLiteral("0");
    for (int year = firstYear; year <= lastYear; ++year)
        for (int month = 1; month <= 12; ++month) {
            const qint64 first = QDate(year, month, 1).toJulianDay();
            for (int d = 1; d <= DaysInMonth(month, year); ++d) {
                const QString text = weights.ReadString(MonthKey(month, year), DayWeightKey(d), noWeight);
                if (const std::optional<double> kg = JournalWeight(text.toLatin1()))
                    journal.push_back({first + d - 1, *kg});
            }
        }
    return journal;
}

std::vector<double> SmoothedTrend(const std::vector<DayWeight>& journal) {
    std::vector<double> trend;
    trend.reserve(journal.size());
    double t = journal.empty() ? 0 : journal.front().kg;
    for (const DayWeight& w : journal) {
        t += TrendFactor * (w.kg - t);
        trend.push_back(t);
    }
    return trend;
}

const QStringList& SummarySpanNames() {
    static const QStringList names = {QStringLiteral("4 semaines"), QStringLiteral("3 mois"),
                                      QStringLiteral("1 an"), QStringLiteral("Tout")};
    return names;
}

DateRange SpanRange(SummarySpan span, int month, int year, const QDate& today,
                    const std::vector<DayWeight>& journal) {
    const QDate monthStart(year, month, 1);
    QDate last(year, month, monthStart.daysInMonth());
    if (today >= monthStart && today < last) {
        // The month under way: up to today, or to a day weighed ahead of it.
        last = today;
        for (auto it = journal.rbegin(); it != journal.rend() && it->day > today.toJulianDay(); ++it)
            if (it->day <= QDate(year, month, monthStart.daysInMonth()).toJulianDay()) {
                last = QDate::fromJulianDay(it->day);
                break;
            }
    }
    QDate first;
    switch (span) {
    case SummarySpan::FourWeeks:
        first = last.addDays(-27);
        break;
    case SummarySpan::ThreeMonths:
        first = last.addMonths(-3).addDays(1);
        break;
    case SummarySpan::OneYear:
        first = last.addYears(-1).addDays(1);
        break;
    case SummarySpan::All:
        first =
            journal.empty() ? monthStart : std::min(monthStart, QDate::fromJulianDay(journal.front().day));
        break;
    }
    return {first, last};
}

FoodMeans MeanFoodValues(const ProfileDocument& log, const ProfileDocument& db, const DateRange& range) {
    FoodMeans means;
    const QString c = QStringLiteral("c"), p = QStringLiteral("p"), g = QStringLiteral("g"),
                  l = QStringLiteral("l");
    for (const QString& section : log.Sections()) {
        const QDate date = DateOfDayKey(section);
        if (!date.isValid() || !range.contains(date.toJulianDay()))
            continue;
        bool any = false;
        log.ForEachValue(section, [&](const QString& food, QByteArrayView raw) {
            any = true;
            const int q = ParseInteger(ProfileDocument::ValueText(raw)).value_or(0);
            means.calories += FoodValue(db, food, c) * q;
            means.proteins += FoodValue(db, food, p) * q;
            means.glucides += FoodValue(db, food, g) * q;
            means.lipides += FoodValue(db, food, l) * q;
        });
        means.days += any ? 1 : 0;
    }
    if (means.days > 0)
        for (double* v : {&means.calories, &means.proteins, &means.glucides, &means.lipides})
            *v /= means.days;
    return means;
}

SpanFigures ComputeSpanFigures(const std::vector<DayWeight>& journal, const DateRange& range) {
    SpanFigures f;
    f.range = range;
    const std::vector<double> trend = SmoothedTrend(journal);
    const qint64 first = range.first.toJulianDay();
    const qint64 last = range.last.toJulianDay();
    const auto begin = std::lower_bound(journal.begin(), journal.end(), first,
                                        [](const DayWeight& w, qint64 day) { return w.day < day; });
    const auto end = std::upper_bound(journal.begin(), journal.end(), last,
                                      [](qint64 day, const DayWeight& w) { return day < w.day; });
    const size_t b = size_t(begin - journal.begin());
    const size_t e = size_t(end - journal.begin());
    f.weights.assign(begin, end);
    f.trend.reserve(e - b);
    double sum = 0;
    for (size_t i = b; i < e; ++i) {
        f.trend.push_back({journal[i].day, trend[i]});
        sum += journal[i].kg;
        f.lowest = i == b ? journal[i].kg : std::min(f.lowest, journal[i].kg);
        f.highest = i == b ? journal[i].kg : std::max(f.highest, journal[i].kg);
    }
    f.daysWeighed = int(e - b);
    if (e == b)
        return f;
    f.mean = sum / f.daysWeighed;
    f.latestTrend = trend[e - 1];
    f.latestDay = QDate::fromJulianDay(journal[e - 1].day);

    // The trend holds its value on days without weight: fit a line through every day of the window
    // on which the trend exists, x in days from the window's start.
    const qint64 windowEnd = journal[e - 1].day;
    const qint64 windowStart = std::max({windowEnd - 27, first, journal.front().day});
    size_t i = size_t(std::lower_bound(journal.begin(), journal.end(), windowStart,
                                       [](const DayWeight& w, qint64 day) { return w.day < day; }) -
                      journal.begin());
    // The trend on the window's first day: the value after the last weighing up to that day.
    double t = (i < journal.size() && journal[i].day == windowStart) ? trend[i] : trend[i - 1];
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (qint64 day = windowStart; day <= windowEnd; ++day) {
        while (i < journal.size() && journal[i].day <= day)
            t = trend[i++];
        const double x = double(day - windowStart);
        n += 1;
        sx += x;
        sy += t;
        sxx += x * x;
        sxy += x * t;
    }
    const double denominator = n * sxx - sx * sx;
    if (n >= 2 && denominator > 0)
        f.slopePerDay = (n * sxy - sx * sy) / denominator;
    return f;
}

GoalOutlook ProjectGoal(std::optional<double> goal, const SpanFigures& figures) {
    if (!goal)
        return {GoalOutcome::NoGoal, {}};
    if (!figures.latestTrend)
        return {GoalOutcome::NotEnoughData, {}};
    const double gap = *goal - *figures.latestTrend;
    if (std::fabs(gap) < 0.05)
        return {GoalOutcome::Reached, {}};
    if (!figures.slopePerDay)
        return {GoalOutcome::NotEnoughData, {}};
    const double slope = *figures.slopePerDay;
    if (gap * slope <= 0 || std::fabs(slope) < 1e-9)
        return {GoalOutcome::MovingAway, {}};
    const double days = std::ceil(gap / slope - 1e-9); // 28,999999… days is 29
    if (days > 100 * 366)
        return {GoalOutcome::OutOfReach, {}};
    return {GoalOutcome::OnDate, figures.latestDay.addDays(qint64(days))};
}

QString GoalText(const GoalOutlook& outlook) {
    switch (outlook.outcome) {
    case GoalOutcome::NoGoal:
        return QStringLiteral("Aucun objectif fixé");
    case GoalOutcome::NotEnoughData:
        return QStringLiteral("Pas assez de pesées pour situer l'objectif");
    case GoalOutcome::Reached:
        return QStringLiteral("Objectif atteint");
    case GoalOutcome::OnDate:
        return QStringLiteral("Objectif atteint vers le %1").arg(FormatDate(outlook.date));
    case GoalOutcome::MovingAway:
        return QStringLiteral("La tendance s'éloigne de l'objectif");
    case GoalOutcome::OutOfReach:
        return QStringLiteral("Objectif hors d'atteinte à ce rythme");
    }
    return {};
}

std::optional<double> ParseGoal(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    if (t.isEmpty() || t == QLatin1String("0"))
        return std::nullopt;
    // Only what the weight grid lets a person type: digits and one comma.
    const bool typed = std::all_of(t.cbegin(), t.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',');
    });
    const std::optional<double> kg = typed ? ParseDecimal(t) : std::nullopt;
    if (!kg)
        throw KalimoError(Messages::NotAFloat(text));
    if (*kg < LowestWeight || *kg > HighestWeight)
        throw KalimoError(QStringLiteral("L'objectif doit être un poids de 20 à 500 kg"));
    return kg;
}

QString FormatDate(const QDate& date) {
    // Written out by hand: the locale-aware formatting costs more than the rest of an export.
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 0 || y > 9999)
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    const char16_t text[10] = {
        char16_t(u'0' + d / 10),   char16_t(u'0' + d % 10),       u'/',
        char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),       u'/',
        char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
        char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

QString Counted(qsizetype count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count <= 1 ? one : many);
}

QStringList FigureLines(const SpanFigures& f, const FoodMeans& food, int heightCm) {
    QStringList lines;
    lines << QStringLiteral("Du %1 au %2").arg(FormatDate(f.range.first), FormatDate(f.range.last));
    if (f.latestTrend)
        lines << QStringLiteral("Tendance le %1 : %2 kg")
                     .arg(FormatDate(f.latestDay), FormatDecimal(*f.latestTrend, 2));
    else
        lines << QStringLiteral("Aucune pesée sur cette période");
    if (f.slopePerDay) {
        const double week = *f.slopePerDay * 7;
        const double kcal = *f.slopePerDay * KcalPerKg;
        lines << QStringLiteral("Évolution : %1%2 kg par semaine, soit un bilan de %3%4 kcal par jour")
                     .arg(week > 0.005 ? QStringLiteral("+") : QString(), FormatDecimal(week, 2),
                          kcal >= 0.5 ? QStringLiteral("+") : QString(), FormatDecimal(kcal, 0));
    }
    if (f.daysWeighed > 0) {
        lines << QStringLiteral("Poids : le plus bas %1 kg, le plus haut %2 kg, moyen %3 kg")
                     .arg(FormatDecimal(f.lowest, 2), FormatDecimal(f.highest, 2), FormatDecimal(f.mean, 1));
    }
    lines << QStringLiteral("Jours pesés : %1").arg(f.daysWeighed);
    if (f.latestTrend) {
        if (const std::optional<float> index = BodyMassIndex(float(*f.latestTrend), heightCm))
            lines << QStringLiteral("IMC de la tendance : %1 (%2)")
                         .arg(FormatBodyMassIndex(*index), BodyMassClass(*index));
    }
    if (food.days > 0)
        lines << QStringLiteral("Repas : %1 ; par jour en moyenne %2 calories, %3 g de protéines, "
                                "%4 g de glucides, %5 g de lipides")
                     .arg(Counted(food.days, QStringLiteral("jour noté"), QStringLiteral("jours notés")))
                     .arg(FormatDecimal(food.calories, 0), FormatDecimal(food.proteins, 1),
                          FormatDecimal(food.glucides, 1), FormatDecimal(food.lipides, 1));
    else
        lines << QStringLiteral("Repas : aucun jour noté sur cette période");
    return lines;
}
