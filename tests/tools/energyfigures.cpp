// What the core makes of an account's journals on a day, for tests run from the shell: the
// target line of the "Calories" page against the day's total, then the expenditure line of the
// "Bilan" page, each on a line, in UTF-8. Run in the data folder while the files are plain.
// Usage: kalimo_energy_figures ACCOUNT DAY (DAY as the food log names it: 5/3/2004)
#include "calories/foodlog.h"
#include "store/numbers.h"
#include "store/profilefile.h"
#include "summary/energybalance.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QString account = QString::fromLocal8Bit(argv[1]);
    const QString dayKey = QString::fromLocal8Bit(argv[2]);
    const std::optional<qint64> day = DayOfKey(dayKey);
    if (!day)
        return 2;
    const ProfileFile accounts(QStringLiteral(".\\compte.ini")),
        weights(QStringLiteral(".\\") + account + ".ini"), log(QStringLiteral(".\\") + account + ".cal"),
        db(QStringLiteral("./calories.ini"));
    const std::optional<DayEnergy> energy =
        EstimateEnergy(
            ReadEnergyJournal(ReadWeightJournal(weights.Document()), log.Document(), db.Document()))
            .At(*day);
    const DayTarget target = TargetOfDay(energy, StoredGoalOf(accounts.Document(), account),
                                         StoredRateOf(accounts.Document(), account));
    const double eaten =
        ParseDecimal(ReadDayFoods(log.Document(), db.Document(), dayKey).calories).value_or(0);
    std::printf("%s\n%s\n", TargetLine(target, eaten).toUtf8().constData(),
                ExpenditureLine(energy).toUtf8().constData());
    return 0;
}
