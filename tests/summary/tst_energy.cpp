// The estimated expenditure and the target of the day, without any window: the estimate on
// simulated journals, the days it leaves out, when it is shown, the rates and the target's rules,
// and the estimates kept while a day's meals change.
#include "calories/foodlog.h"
#include "store/numbers.h"
#include "store/profilefile.h"
#include "summary/energybalance.h"
#include "testsupport/tempdir.h"

#include <QTest>

#include <random>

namespace {
const qint64 FirstDay = QDate(2024, 1, 1).toJulianDay();

// A person who spends `spent` kcal a day and eats `spent + balance` give or take 300 kcal,
// weighed with 0,6 kg of water most mornings; the same days every time for a seed.
EnergyJournal person(double spent, double balance, int days, quint32 seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0, 1);
    std::uniform_real_distribution<double> uniform(0, 1);
    EnergyJournal j{FirstDay, std::vector<JournalDay>(size_t(days))};
    double kg = 90, water = 0;
    for (JournalDay& day : j.days) {
        water = 0.5 * water + 0.5 * normal(random);
        if (uniform(random) < 0.7)
            day.kg = float(kg + water);
        const double eaten = spent + balance + 300 * normal(random);
        if (uniform(random) < 0.8)
            day.kcal = float(eaten * (1 + 0.1 * normal(random)));
        kg += (eaten - spent) / KcalPerKg;
    }
    return j;
}

DayEnergy energyOf(const EnergyJournal& j, int day) {
    return *EstimateEnergy(j).At(FirstDay + day);
}

DayEnergy known(double kcal, double trendKg) {
    DayEnergy e;
    e.kcal = float(kcal);
    e.sd = 100;
    e.trendKg = float(trendKg);
    e.mealDays = 20;
    e.weighings = 20;
    return e;
}
} // namespace

class TestEnergy : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void convergesAndNarrows_data();
    void convergesAndNarrows();
    void daysThatCannotBeWholeAreLeftOut_data();
    void daysThatCannotBeWholeAreLeftOut();
    void slipsOfTheKeyboardAreLeftOut();
    void shownOnceEnoughMealsAndWeighings_data();
    void shownOnceEnoughMealsAndWeighings();
    void journalsValuedAsTheCaloriesPage();
    void rates_data();
    void rates();
    void targets_data();
    void targets();
    void estimatesKeptWhileTheDayChanges();
};

void TestEnergy::convergesAndNarrows_data() {
    QTest::addColumn<double>("spent");
    QTest::addColumn<double>("balance");
    QTest::newRow("loses") << 2600.0 << -600.0;
    QTest::newRow("keeps") << 1900.0 << 0.0;
    QTest::newRow("gains") << 3000.0 << 250.0;
}

void TestEnergy::convergesAndNarrows() {
    QFETCH(double, spent);
    QFETCH(double, balance);
    for (quint32 seed = 1; seed <= 3; ++seed) {
        const EnergySeries series = EstimateEnergy(person(spent, balance, 120, seed));
        const DayEnergy at28 = *series.At(FirstDay + 28), at56 = *series.At(FirstDay + 56),
                        at112 = *series.At(FirstDay + 112);
        QVERIFY2(std::fabs(at56.kcal - spent) < 250 && std::fabs(at112.kcal - spent) < 150,
                 qPrintable(QStringLiteral("%1 then %2").arg(at56.kcal).arg(at112.kcal)));
        // The range narrows as the journal grows; beyond it, it widens again.
        QVERIFY(at28.sd > at56.sd && at56.sd > at112.sd);
        QVERIFY(series.At(FirstDay + 400)->sd > series.At(FirstDay + 119)->sd);
    }
}

void TestEnergy::daysThatCannotBeWholeAreLeftOut_data() {
    QTest::addColumn<float>("kcal");
    QTest::addColumn<bool>("unknownFood");
    QTest::newRow("no meals") << JournalDay::None << false;
    QTest::newRow("noted in part") << 600.0f << false;
    QTest::newRow("over 10 000 kcal") << 10001.0f << false;
    QTest::newRow("a food no longer held") << 2500.0f << true;
}

// A day that cannot hold the whole day's meals moves the weight by an unknown intake, as a day
// without meals does: never by zero, nor by a part.
void TestEnergy::daysThatCannotBeWholeAreLeftOut() {
    QFETCH(float, kcal);
    QFETCH(bool, unknownFood);
    EnergyJournal withoutMeals = person(2500, -500, 60, 7);
    for (int d = 30; d < 37; ++d)
        withoutMeals.days[size_t(d)].kcal = JournalDay::None;
    EnergyJournal odd = withoutMeals;
    for (int d = 30; d < 37; ++d) {
        odd.days[size_t(d)].kcal = kcal;
        odd.days[size_t(d)].unknownFood = unknownFood;
    }
    const EnergySeries expected = EstimateEnergy(withoutMeals), found = EstimateEnergy(odd);
    for (int d = 0; d < 60; ++d) {
        QCOMPARE(found.At(FirstDay + d)->kcal, expected.At(FirstDay + d)->kcal);
        QCOMPARE(found.At(FirstDay + d)->mealDays, expected.At(FirstDay + d)->mealDays);
    }
    QVERIFY(!found.IntakeCounted(FirstDay + 33));
    QVERIFY(std::fabs(energyOf(withoutMeals, 59).kcal - 2500) < 200);
}

void TestEnergy::slipsOfTheKeyboardAreLeftOut() {
    EnergyJournal j = person(2400, -400, 60, 11);
    j.days[40].kg = JournalDay::None;
    EnergyJournal slip = j;
    slip.days[40].kg = 8.7f; // 87 typed with a comma too early
    QCOMPARE(energyOf(slip, 59).kcal, energyOf(j, 59).kcal);
    // Three weighings in a row 5 kg up: another scale, followed from there on.
    EnergyJournal scale = j;
    for (size_t d = 40; d < 60; ++d)
        if (scale.days[d].Weighed())
            scale.days[d].kg += 5;
    QVERIFY(std::fabs(energyOf(scale, 59).kcal - 2400) < 300);
}

void TestEnergy::shownOnceEnoughMealsAndWeighings_data() {
    QTest::addColumn<int>("mealDays");
    QTest::addColumn<int>("weighings");
    QTest::addColumn<QString>("line");
    QTest::newRow("neither") << 9 << 5 << "Dépense estimée : encore 5 jours de repas et 2 pesées";
    QTest::newRow("one of each") << 13 << 6 << "Dépense estimée : encore 1 jour de repas et 1 pesée";
    QTest::newRow("meals") << 12 << 7 << "Dépense estimée : encore 2 jours de repas";
    QTest::newRow("weighings") << 14 << 0 << "Dépense estimée : encore 7 pesées";
    QTest::newRow("enough") << 14 << 7 << QString();
}

void TestEnergy::shownOnceEnoughMealsAndWeighings() {
    QFETCH(int, mealDays);
    QFETCH(int, weighings);
    QFETCH(QString, line);
    // Old days beyond the last 28 count for nothing; the day's own meals not yet.
    EnergyJournal j{FirstDay, std::vector<JournalDay>(80)};
    for (int d = 0; d < 40; ++d)
        j.days[size_t(d)] = {2000, false, 70};
    for (int k = 0; k < mealDays; ++k)
        j.days[size_t(51 + k)].kcal = 2100;
    for (int k = 0; k < weighings; ++k)
        j.days[size_t(79 - 3 * k)].kg = 70;
    j.days[79].kcal = 2000;
    const DayEnergy e = energyOf(j, 79);
    QCOMPARE(e.mealDays, mealDays);
    QCOMPARE(e.weighings, weighings);
    if (line.isEmpty())
        QVERIFY(ExpenditureLine(e).contains(QStringLiteral(" kcal par jour (± ")));
    else
        QCOMPARE(ExpenditureLine(e), line);
    QCOMPARE(ExpenditureLine(std::nullopt),
             QStringLiteral("Dépense estimée : encore 14 jours de repas et 7 pesées"));
    QCOMPARE(ExpenditureLine(known(2346, 80)),
             QStringLiteral("Dépense estimée : 2 350 kcal par jour (± 100)"));
    // Weighings of two persons in one journal lead the filter anywhere: nothing is shown then.
    QCOMPARE(
        ExpenditureLine(known(-150, 80)),
        QStringLiteral("Dépense estimée : les pesées et les repas des 28 derniers jours ne s'accordent pas"));
}

// The estimate takes each day's calories as the "Calories" page totals them; a day naming a food
// the database no longer holds is marked, and days named otherwise than the page names them
// are not read.
void TestEnergy::journalsValuedAsTheCaloriesPage() {
    const ProfileDocument db =
        ProfileDocument::Parse("[Abats]\r\na=Abats\r\nc=120\r\n[Pizza]\r\nc=252,5\r\n[Eau]\r\nc=0.00\r\n");
    const ProfileDocument log = ProfileDocument::Parse("[1/3/2005]\r\nAbats=3\r\npizza=2\r\nEau=4\r\n"
                                                       "[2/3/2005]\r\nAbats=-1\r\nTarte=1\r\n"
                                                       "[03/3/2005]\r\nAbats=9\r\n[4/3/2005]\r\n"
                                                       "[5/3/3005]\r\nAbats=1\r\n");
    const std::vector<DayWeight> weights{{QDate(2005, 2, 27).toJulianDay(), 80}};
    const EnergyJournal j = ReadEnergyJournal(weights, log, db);
    QCOMPARE(j.firstDay, QDate(2005, 2, 27).toJulianDay());
    QCOMPARE(j.days.size(), size_t(4));
    QCOMPARE(j.days[0].kg, 80.0f);
    QVERIFY(!j.days[1].HasMeals() && !j.days[1].Weighed());
    for (int d = 1; d <= 2; ++d) {
        const QString key = DayKey(d, 3, 2005);
        QCOMPARE(double(j.days[size_t(d + 1)].kcal),
                 ParseDecimal(ReadDayFoods(log, db, key).calories).value_or(-1));
    }
    QCOMPARE(j.days[2].kcal, 865.0f);
    QVERIFY(!j.days[2].unknownFood && j.days[3].unknownFood);
}

void TestEnergy::rates_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("goal"); // 0: none
    QTest::addColumn<double>("trend");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("stored") << "-0,75" << 70.0 << 80.0 << -0.75 << QString();
    QTest::newRow("a period, a plus") << "+0.25" << 0.0 << 80.0 << 0.25 << QString();
    QTest::newRow("not a choice: default down") << "-0,6" << 70.0 << 80.0 << -0.5 << QString();
    QTest::newRow("none: default up") << QString() << 90.0 << 80.0 << 0.25 << QString();
    QTest::newRow("no goal") << "rapide" << 0.0 << 80.0 << 0.0 << QString();
    QTest::newRow("goal reached") << QString() << 80.04 << 80.0 << 0.0 << QString();
    QTest::newRow("too fast") << "-1" << 70.0 << 80.0 << -1.0
                              << "Ce rythme est trop rapide : au plus 1 % du poids par semaine, soit 0,8 kg "
                                 "par semaine pour une tendance de 80 kg.";
    QTest::newRow("1 % exactly") << "0,5" << 0.0 << 50.0 << 0.5 << QString();
}

void TestEnergy::rates() {
    QFETCH(QString, stored);
    QFETCH(double, goal);
    QFETCH(double, trend);
    QFETCH(double, rate);
    QFETCH(QString, refusal);
    const ProfileDocument accounts =
        ProfileDocument::Parse("[Paul]\r\nobjectif=" + QByteArray::number(goal) + "\r\n" +
                               (stored.isNull() ? QByteArray() : "rythme=" + stored.toLatin1() + "\r\n"));
    const std::optional<double> goalRead = StoredGoalOf(accounts, QStringLiteral("paul"));
    QCOMPARE(goalRead.has_value(), goal > 0);
    QCOMPARE(StoredRateOf(accounts, QStringLiteral("Paul")).value_or(DefaultRate(goalRead, trend)), rate);
    QCOMPARE(RateRefusal(rate, trend), refusal);
    QCOMPARE(ParseStoredRate(StoredRateText(rate)).value_or(9), rate);
}

void TestEnergy::targets_data() {
    QTest::addColumn<double>("spent");
    QTest::addColumn<double>("trend");
    QTest::addColumn<double>("goal");   // 0: none
    QTest::addColumn<double>("stored"); // 9: none
    QTest::addColumn<double>("eaten");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("note");
    QTest::newRow("loss, some left") << 2347.0 << 80.0 << 70.0 << 9.0 << 1370.0
                                     << "Objectif : 1 800 kcal ; reste 430" << QString();
    QTest::newRow("over") << 2347.0 << 80.0 << 70.0 << -0.25 << 2192.4
                          << "Objectif : 2 070 kcal ; dépassé de 122" << QString();
    QTest::newRow("no goal: keep") << 2347.0 << 80.0 << 0.0 << 9.0 << 0.0
                                   << "Objectif : 2 350 kcal ; reste 2 350" << QString();
    QTest::newRow("floor")
        << 1700.0 << 120.0 << 70.0 << -1.0 << 0.0 << "Objectif : 1 200 kcal ; reste 1 200"
        << "Rythme trop rapide pour cette dépense : l'objectif ne descend pas sous 1 200 kcal";
    QTest::newRow("goal reached") << 2347.0 << 69.98 << 70.0 << -0.5 << 0.0
                                  << "Objectif : 2 350 kcal ; reste 2 350"
                                  << "Objectif de poids atteint : de quoi garder ce poids";
    QTest::newRow("lighter since")
        << 2347.0 << 60.0 << 50.0 << -1.0 << 0.0 << "Objectif : 1 800 kcal ; reste 1 800"
        << "Rythme ramené à \u22120,5 kg par semaine (au plus 1 % du poids par semaine)";
}

void TestEnergy::targets() {
    QFETCH(double, spent);
    QFETCH(double, trend);
    QFETCH(double, goal);
    QFETCH(double, stored);
    QFETCH(double, eaten);
    QFETCH(QString, line);
    QFETCH(QString, note);
    const DayTarget target =
        TargetOfDay(known(spent, trend), goal > 0 ? std::optional<double>(goal) : std::nullopt,
                    stored < 9 ? std::optional<double>(stored) : std::nullopt);
    QCOMPARE(TargetLine(target, eaten), line);
    QCOMPARE(TargetNote(target), note);
    DayEnergy early = known(spent, trend);
    early.weighings = 6;
    QCOMPARE(TargetLine(TargetOfDay(early, std::nullopt, std::nullopt), eaten),
             QStringLiteral("Objectif : encore 1 pesée"));
}

// A food added to a day leaves the estimates up to that day as they were: the "reste" after an
// addition needs no new pass over the journals. Any other change of the files does.
void TestEnergy::estimatesKeptWhileTheDayChanges() {
    WorkingDir dir;
    WriteBytes(QStringLiteral("calories.ini"), "[Pizza]\r\nc=250\r\n");
    WriteBytes(QStringLiteral("Paul.ini"), "[3/2005]\r\nv1=80\r\nv2=79,8\r\nv3=79,9\r\n");
    ProfileFile weights(QStringLiteral("./Paul.ini")), log(QStringLiteral("./Paul.cal")),
        db(QStringLiteral("./calories.ini"));
    for (int d = 1; d <= 3; ++d)
        AddFoodToDay(log, DayKey(d, 3, 2005), QStringLiteral("Pizza"), QStringLiteral("8"));
    EnergyEstimates estimates;
    const qint64 day2 = QDate(2005, 3, 2).toJulianDay();
    const float before = estimates.For(weights, log, db, day2).At(day2)->kcal;
    QCOMPARE(estimates.Computations(), 1);
    const quint64 generation = log.Generation();
    AddFoodToDay(log, DayKey(2, 3, 2005), QStringLiteral("Pizza"), QStringLiteral("1"));
    estimates.MealsChanged(day2, generation, log.Generation());
    QCOMPARE(estimates.For(weights, log, db, day2).At(day2)->kcal, before);
    QCOMPARE(estimates.Computations(), 1);
    // The next day's estimate takes the new meal into account.
    const float after = estimates.For(weights, log, db, day2 + 1).At(day2 + 1)->kcal;
    QCOMPARE(estimates.Computations(), 2);
    QCOMPARE(after, EstimateEnergy(ReadEnergyJournal(ReadWeightJournal(weights.Document()), log.Document(),
                                                     db.Document()))
                        .At(day2 + 1)
                        ->kcal);
    weights.WriteString(QStringLiteral("3/2005"), QStringLiteral("v1"), QStringLiteral("81"));
    estimates.For(weights, log, db, day2);
    QCOMPARE(estimates.Computations(), 3);
}

QTEST_GUILESS_MAIN(TestEnergy)
#include "tst_energy.moc"
