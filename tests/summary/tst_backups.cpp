// The backups of the journals: which dates are kept, what a backup holds, how the list reads
// them and what a restore puts back, without any window.
#include "store/kalimoerror.h"
#include "store/scramble.h"
#include "summary/backups.h"
#include "summary/weighttrend.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/tempdir.h"

#include <QDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>

namespace {
QByteArray scrambled(QByteArray bytes) {
    TransformBytes(bytes, QByteArrayView(AccountFilesKey, qstrlen(AccountFilesKey)),
                   ScrambleDirection::Scramble);
    return bytes;
}
const QByteArray Weights = "[2/2005]\r\nv1=69\r\nv2=0\r\nv3=68,5\r\n";
const QByteArray FoodLog = "[1/2/2005]\r\nAbats=3\r\n[2/2/2005]\r\n[3/2/2005]\r\nPizza=1\r\n";

QString entry(const QDate& day, const QString& name) {
    return BackupsFolder + QLatin1Char('/') + day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('/') +
           name;
}
ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}
QList<QDate> dates(const QStringList& texts) {
    QList<QDate> list;
    for (const QString& t : texts)
        list << QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    return list;
}
} // namespace

class TestBackups : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void retention_data();
    void retention();
    void backupsAtCloseOncePerDayLinkingWhatDidNotChange();
    void listShowsOnlyThisAccountAndMarksUnreadableBackups();
    void restoreKeepsThePresentFirstAndReplacesBothFiles();
    void aFolderThatCannotHoldBackupsChangesNothing_data();
    void aFolderThatCannotHoldBackupsChangesNothing();
};

void TestBackups::retention_data() {
    QTest::addColumn<QStringList>("backups");
    QTest::addColumn<QStringList>("kept");
    const QDate today(2026, 12, 8);
    QStringList daily;
    for (QDate d = today.addDays(-400); d <= today; d = d.addDays(1))
        daily << d.toString(QStringLiteral("yyyy-MM-dd"));
    QStringList last14;
    for (int i = 0; i < 14; ++i)
        last14 << today.addDays(-i).toString(QStringLiteral("yyyy-MM-dd"));
    // Every day for more than a year: 14 days, then the 1st of each of the 11 months before.
    QTest::newRow("daily") << daily
                           << (last14 + QStringList{"2026-11-01", "2026-10-01", "2026-09-01", "2026-08-01",
                                                    "2026-07-01", "2026-06-01", "2026-05-01", "2026-04-01",
                                                    "2026-03-01", "2026-02-01", "2026-01-01"});
    QTest::newRow("fewer than 14, years apart")
        << QStringList{"2026-12-08", "2020-01-01", "2026-03-05", "2026-03-20"}
        << QStringList{"2026-12-08", "2026-03-20", "2026-03-05", "2020-01-01"};
    // The 14 most recent days that have one, however old; an older one only as its month's first.
    QStringList sparse;
    for (int i = 0; i < 20; ++i)
        sparse << QDate(2026, 1, 1).addDays(i * 10).toString(QStringLiteral("yyyy-MM-dd"));
    QStringList sparseKept = sparse.mid(6);
    std::reverse(sparseKept.begin(), sparseKept.end());
    sparseKept << "2026-02-10"
               << "2026-01-01";
    QTest::newRow("sparse") << sparse << sparseKept;
    QTest::newRow("none") << QStringList() << QStringList();
}

void TestBackups::retention() {
    QFETCH(QStringList, backups);
    QFETCH(QStringList, kept);
    QCOMPARE(BackupDatesToKeep(dates(backups), QDate(2026, 12, 8)), dates(kept));
}

void TestBackups::backupsAtCloseOncePerDayLinkingWhatDidNotChange() {
    WorkingDir dir;
    const QDate day1(2026, 3, 1);
    const QDate day2 = day1.addDays(1);
    WriteBytes(QStringLiteral("Paul.ini.cry"), scrambled(Weights));
    WriteBytes(QStringLiteral("Paul.cal"), FoodLog); // left plain by "Quitter"
    WriteBytes(QStringLiteral("compte.ini.cry"), "x");
    WriteBytes(QStringLiteral("calories.ini"), "[Abats]\r\nc=120\r\n");
    QCOMPARE(BackupAtClose(QStringLiteral("Marie"), day1), BackupResult::NothingToSave);
    QCOMPARE(BackupAtClose(QStringLiteral("paul"), day1), BackupResult::Made);
    QCOMPARE(ReadBytes(entry(day1, QStringLiteral("paul.ini.cry"))), scrambled(Weights));
    QCOMPARE(ReadBytes(entry(day1, QStringLiteral("paul.cal.cry"))), scrambled(FoodLog));
    QCOMPARE(ReadBytes(entry(day1, QStringLiteral("compte.ini.cry"))), QByteArray("x"));
    QCOMPARE(QDir(BackupsFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("2026-03-01")});
    WriteBytes(QStringLiteral("Paul.cal"), FoodLog + "[4/2/2005]\r\nPain=2\r\n");
    QCOMPARE(BackupAtClose(QStringLiteral("Paul"), day1), BackupResult::AlreadyMadeToday);

    // Marie closes the same day: Paul's files of that day stay the very same files.
    WriteBytes(QStringLiteral("Marie.ini"), Weights);
    const ino_t paulsFile = inodeOf(entry(day1, QStringLiteral("paul.cal.cry")));
    QCOMPARE(BackupAtClose(QStringLiteral("Marie"), day1), BackupResult::Made);
    QCOMPARE(inodeOf(entry(day1, QStringLiteral("paul.cal.cry"))), paulsFile);
    QVERIFY(QFile::exists(entry(day1, QStringLiteral("Marie.ini.cry"))));

    // Next day only the food log changed: the weight file is linked, not copied again.
    QCOMPARE(BackupAtClose(QStringLiteral("Paul"), day2), BackupResult::Made);
    QCOMPARE(inodeOf(entry(day2, QStringLiteral("Paul.ini.cry"))),
             inodeOf(entry(day1, QStringLiteral("paul.ini.cry"))));
    QCOMPARE(ReadBytes(entry(day2, QStringLiteral("Paul.cal.cry"))),
             scrambled(FoodLog + "[4/2/2005]\r\nPain=2\r\n"));
    QCOMPARE(BackupAtClose(QStringLiteral("Paul"), day2.addDays(1)), BackupResult::Unchanged);

    // Old ones go by each account's own dates.
    for (int i = 1; i <= 20; ++i) {
        WriteBytes(QStringLiteral("Paul.ini"), Weights + "v" + QByteArray::number(i) + "=70\r\n");
        QCOMPARE(BackupAtClose(QStringLiteral("Paul"), day2.addDays(i)), BackupResult::Made);
    }
    RemoveOldBackups(QStringLiteral("Paul"), day2.addDays(20));
    QCOMPARE(ListBackups(QStringLiteral("Paul")).size(), 15); // 14 days and the 1st of March
    QCOMPARE(ListBackups(QStringLiteral("Marie")).size(), 1);
    QVERIFY(!QFile::exists(entry(day2, QStringLiteral("Paul.ini.cry"))));
}

void TestBackups::listShowsOnlyThisAccountAndMarksUnreadableBackups() {
    WorkingDir dir;
    const auto put = [](const QString& day, const QString& name, const QByteArray& bytes) {
        QDir().mkpath(BackupsFolder + QLatin1Char('/') + day);
        WriteBytes(BackupsFolder + QLatin1Char('/') + day + QLatin1Char('/') + name, bytes);
    };
    put(QStringLiteral("2026-01-05"), QStringLiteral("Paul.ini.cry"), scrambled(Weights));
    put(QStringLiteral("2026-01-05"), QStringLiteral("Paul.cal.cry"), scrambled(FoodLog));
    put(QStringLiteral("2026-01-06"), QStringLiteral("Paul.ini.cry"), "pas un fichier de poids");
    put(QStringLiteral("2026-01-07"), QStringLiteral("Paul.cal.cry"), scrambled(FoodLog)); // no weights
    put(QStringLiteral("2026-01-08"), QStringLiteral("Marie.ini.cry"), scrambled(Weights));
    put(QStringLiteral("brouillon"), QStringLiteral("Paul.ini.cry"), scrambled(Weights));
    // A food log that is not a file: the backup cannot be restored whole.
    put(QStringLiteral("2026-01-04"), QStringLiteral("Paul.ini.cry"), scrambled(Weights));
    QDir().mkpath(BackupsFolder + QStringLiteral("/2026-01-04/Paul.cal.cry"));
    WriteBytes(QStringLiteral("Paul.cal"), FoodLog);
    // Read as the "Bilan" page reads a journal: gaps, "0", unreadable texts, a key beyond the
    // month's length and a section with a leading zero.
    const QByteArray gaps = "[3/2005]\r\nv1=80\r\nv2=0\r\nV3=70\r\nv4=7,,1\r\nv5=90\r\nv6=\r\n"
                            "[2/2005]\r\nv30=75\r\nv 7 =71\r\n[03/2005]\r\nv8=60\r\n";
    put(QStringLiteral("2025-12-31"), QStringLiteral("paul.ini.cry"), scrambled(gaps));
    const QList<BackupInfo> list = ListBackups(QStringLiteral("Paul"));
    QCOMPARE(list.size(), 5);
    const std::vector<DayWeight> journal = ReadWeightJournal(ProfileDocument::Parse(gaps));
    QCOMPARE(list[4].weighedDays, int(journal.size()));
    QCOMPARE(list[4].lastWeight, std::optional<double>(journal.back().kg));
    QCOMPARE(list[4].lastWeightDate, QDate::fromJulianDay(journal.back().day));
    QVERIFY(!list[3].readable);
    QCOMPARE(list[0].date, QDate(2026, 1, 7));
    QVERIFY(!list[0].readable && !list[1].readable);
    QVERIFY(list[2].readable);
    QCOMPARE(list[2].weighedDays, 2);
    QCOMPARE(list[2].lastWeight, std::optional<double>(68.5));
    QCOMPARE(list[2].lastWeightDate, QDate(2005, 2, 3));
    QCOMPARE(list[2].mealDays, 2);
    for (const QDate& day : {QDate(2026, 1, 4), QDate(2026, 1, 6), QDate(2026, 1, 7)})
        QVERIFY_THROWS_EXCEPTION(KalimoError, RestoreBackup(QStringLiteral("Paul"), day, QDate(2026, 2, 1)));
    QCOMPARE(ReadBytes(QStringLiteral("Paul.cal")), FoodLog);
}

void TestBackups::restoreKeepsThePresentFirstAndReplacesBothFiles() {
    WorkingDir dir;
    const QDate day1(2026, 3, 1);
    const QDate today(2026, 3, 9);
    WriteBytes(QStringLiteral("Paul.ini"), Weights);
    WriteBytes(QStringLiteral("Paul.cal"), FoodLog);
    QCOMPARE(BackupAtClose(QStringLiteral("Paul"), day1), BackupResult::Made);
    // A month typed over, the food log emptied; a stale scrambled copy lies about.
    WriteBytes(QStringLiteral("Paul.ini"), "[2/2005]\r\nv1=0\r\nv2=0\r\nv3=0\r\n");
    QFile::remove(QStringLiteral("Paul.cal"));
    WriteBytes(QStringLiteral("Paul.cal.cry"), "stale");
    RestoreBackup(QStringLiteral("Paul"), day1, today);
    QCOMPARE(ReadBytes(QStringLiteral("Paul.ini")), Weights);
    QCOMPARE(ReadBytes(QStringLiteral("Paul.cal")), FoodLog);
    QVERIFY(!QFile::exists(QStringLiteral("Paul.cal.cry")));
    QCOMPARE(ReadBytes(entry(today, QStringLiteral("Paul.ini.cry"))),
             scrambled("[2/2005]\r\nv1=0\r\nv2=0\r\nv3=0\r\n"));
    QCOMPARE(ReadBytes(entry(today, QStringLiteral("Paul.cal.cry"))), QByteArray("stale"));
    QVERIFY(!QFileInfo::exists(BackupsFolder + QStringLiteral("/.restauration")));
    // Today's backup restored: it trades places with the journal.
    RestoreBackup(QStringLiteral("Paul"), today, today);
    QCOMPARE(ReadBytes(QStringLiteral("Paul.ini")), QByteArray("[2/2005]\r\nv1=0\r\nv2=0\r\nv3=0\r\n"));
    QCOMPARE(ReadBytes(entry(today, QStringLiteral("Paul.ini.cry"))), scrambled(Weights));
    QVERIFY(!FinishInterruptedRestore());
    // A restore whose last step failed (its emptied folder left behind) is never applied again:
    // what was typed after it stays.
    WriteBytes(QStringLiteral("Paul.ini"), "[2/2005]\r\nv1=75\r\n");
    QVERIFY(QDir().mkpath(BackupsFolder + QStringLiteral("/.restauration")));
    QVERIFY(FinishInterruptedRestore());
    QCOMPARE(ReadBytes(QStringLiteral("Paul.ini")), QByteArray("[2/2005]\r\nv1=75\r\n"));
    QVERIFY(!QFileInfo::exists(BackupsFolder + QStringLiteral("/.restauration")));
}

void TestBackups::aFolderThatCannotHoldBackupsChangesNothing_data() {
    QTest::addColumn<bool>("aFile");
    QTest::newRow("a file") << true;
    QTest::newRow("full disk") << false;
}

void TestBackups::aFolderThatCannotHoldBackupsChangesNothing() {
    QFETCH(bool, aFile);
    WorkingDir dir;
    WriteBytes(QStringLiteral("Paul.ini.cry"), scrambled(Weights));
    if (aFile)
        WriteBytes(BackupsFolder, "x");
    std::optional<FileSizeLimit> full;
    if (!aFile)
        full.emplace(8);
    QVERIFY_THROWS_EXCEPTION(KalimoError, BackupAtClose(QStringLiteral("Paul"), QDate(2026, 3, 1)));
    full.reset();
    QCOMPARE(ReadBytes(QStringLiteral("Paul.ini.cry")), scrambled(Weights));
    if (aFile)
        QCOMPARE(ReadBytes(BackupsFolder), QByteArray("x"));
    else // no backup, and nothing of one, is left
        QCOMPARE(QDir(BackupsFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
}

QTEST_GUILESS_MAIN(TestBackups)
#include "tst_backups.moc"
