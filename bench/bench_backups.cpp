// The backups on the 50-year journal: the backup made at close (with the removal of old ones),
// the list of 26 backups, a restore (with the backup of the present journal it makes first).
#include "benchsupport.h"

#include "store/datafiles.h"
#include "store/scramble.h"
#include "summary/backups.h"

#include <benchmark/benchmark.h>

namespace {
// Fifty years of meals: three foods a day from 2000 to 2049.
QByteArray fiftyYearsOfMeals() {
    QByteArray out;
    for (QDate day(2000, 1, 1); day.year() < 2050; day = day.addDays(1))
        out += "[" + QByteArray::number(day.day()) + "/" + QByteArray::number(day.month()) + "/" +
               QByteArray::number(day.year()) + "]\r\nAbats=2\r\nPain=" + QByteArray::number(day.day()) +
               "\r\nPomme=1\r\n";
    return out;
}

QByteArray scrambled(QByteArray bytes) {
    TransformBytes(bytes, QByteArrayView(AccountFilesKey, qstrlen(AccountFilesKey)),
                   ScrambleDirection::Scramble);
    return bytes;
}

// The journal with one weight of its last month changed, as a day of use leaves it.
QByteArray weightsVersion(int n) {
    return FiftyYearsOfWeights() + "[1/2050]\r\nv1=" + QByteArray::number(60 + n % 30) + "\r\n";
}

// Paul's journal at rest, the accounts file, the food database, and `backups` days of backups.
class Journal {
  public:
    explicit Journal(int backups) {
        WriteFile(dir.file(QStringLiteral("Paul.ini.cry")), scrambled(weightsVersion(0)));
        WriteFile(dir.file(QStringLiteral("Paul.cal.cry")), scrambled(meals));
        WriteFile(dir.file(QStringLiteral("compte.ini.cry")), "[Paul]\r\npassword=pw\r\n");
        WriteFile(dir.file(QStringLiteral("calories.ini")), QByteArray(40000, 'x'));
        for (int i = 0; i < backups; ++i) {
            WriteFile(dir.file(QStringLiteral("Paul.ini.cry")), scrambled(weightsVersion(i + 1)));
            WriteFile(dir.file(QStringLiteral("Paul.cal.cry")),
                      scrambled(meals + "[1/1/2050]\r\nPain=" + QByteArray::number(i) + "\r\n"));
            BackupAtClose(QStringLiteral("Paul"), first.addDays(i));
        }
    }
    BenchDir dir;
    const QByteArray meals = fiftyYearsOfMeals();
    const QDate first{2030, 1, 1};
};

// Each close after a day's use: both files changed, a new day's backup, old ones removed.
void BM_BackupAtClose(benchmark::State& state) {
    Journal j(14);
    int n = 100;
    for (auto _ : state) {
        state.PauseTiming();
        // Written and synced as the close's scrambling leaves them, so that the backup is not
        // charged with flushing them.
        WriteFileAtomically(QStringLiteral("Paul.ini.cry"), scrambled(weightsVersion(n)));
        if (state.range(0))
            WriteFileAtomically(QStringLiteral("Paul.cal.cry"),
                                scrambled(j.meals + "[2/1/2050]\r\nPain=" + QByteArray::number(n) + "\r\n"));
        const QDate today = j.first.addDays(n++);
        state.ResumeTiming();
        if (BackupAtClose(QStringLiteral("Paul"), today) == BackupResult::Made)
            RemoveOldBackups(QStringLiteral("Paul"), today);
    }
    state.counters["backups"] = double(ListBackups(QStringLiteral("Paul")).size());
}
BENCHMARK(BM_BackupAtClose)->Arg(0)->Arg(1)->ArgName("foodLogChanged")->Unit(benchmark::kMillisecond);

// 26 backups, every one with its own weight file and food log (none linked to another).
void BM_ListBackups26(benchmark::State& state) {
    Journal j(26);
    for (auto _ : state)
        benchmark::DoNotOptimize(ListBackups(QStringLiteral("Paul")));
    state.counters["backups"] = double(ListBackups(QStringLiteral("Paul")).size());
}
BENCHMARK(BM_ListBackups26)->Unit(benchmark::kMillisecond);

// Two backups restored in turn: each restore first backs up the present journal under today's date.
void BM_RestoreBackup(benchmark::State& state) {
    Journal j(2);
    WriteFile(j.dir.file(QStringLiteral("Paul.ini")), weightsVersion(50));
    QFile::remove(j.dir.file(QStringLiteral("Paul.ini.cry")));
    int n = 0;
    for (auto _ : state)
        RestoreBackup(QStringLiteral("Paul"), j.first.addDays(n++ % 2), QDate(2031, 1, 1));
}
BENCHMARK(BM_RestoreBackup)->Unit(benchmark::kMillisecond);
} // namespace
