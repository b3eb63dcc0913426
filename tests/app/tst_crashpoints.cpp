// Every crash point of a real session, not a random sample. A short session of the real windows
// (start, an account deleted, login, two weights, a food added and one removed, a food added in
// the editor, the day before copied, an old backup restored, a weekly rate chosen, the close box with
// its backup and the removal of an expired one) is run once to list every change it makes to its files.
// It is then run again once per change: killed at that change, or with that one call failing (a full
// disk, an input/output error). After each run the program is started again, logs in and is closed by
// its close box: what it finds must hold everything typed before the operation in flight, and that
// operation whole or not at all (a restore never leaves a mix of two journals); its close must leave only
// the scrambled copies, with the same content, and no temporary file; no backup is lost or cut in two and
// every backup listed can be read; the deleted account is either whole or without a trace a new account
// of its name could read.
#include "calories/defaultfooddatabase.h"
#include "store/scramble.h"
#include "summary/backups.h"
#include "testsupport/sessionfacts.h"
#include "testsupport/tempdir.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <future>
#include <map>
#include <memory>

namespace {
QByteArray scrambled(QByteArray bytes, const char* key) {
    TransformBytes(bytes, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Scramble);
    return bytes;
}
QByteArray restored(const QString& path, const char* key) {
    QByteArray bytes = ReadBytes(path);
    TransformBytes(bytes, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Unscramble);
    return bytes;
}

// What each step of the session changes.
const QList<QPair<int, QPair<QString, QString>>> StepChanges = {
    {1, {QStringLiteral("zoe"), QString()}},
    {3, {QStringLiteral("v1"), QStringLiteral("7")}},
    {4, {QStringLiteral("v2"), QStringLiteral("8")}},
    {5, {QStringLiteral("added"), QStringLiteral("2")}},
    {6, {QStringLiteral("pizza"), QString()}},
    {7, {QStringLiteral("tarte"), QStringLiteral("250")}},
    // The 9th of March copied to the 10th at once.
    {8, {QStringLiteral("copiedpizza"), QStringLiteral("2")}},
    {8, {QStringLiteral("copiedsauce"), QStringLiteral("1")}},
    // The backup of the 1st of March 2005 restored: its 9th of March is the journal's, its 10th empty.
    {9, {QStringLiteral("v1"), QStringLiteral("61")}},
    {9, {QStringLiteral("v2"), QStringLiteral("62")}},
    {9, {QStringLiteral("february"), QStringLiteral("60")}},
    {9, {QStringLiteral("added"), QString()}},
    {9, {QStringLiteral("pizza"), QStringLiteral("4")}},
    {9, {QStringLiteral("older"), QStringLiteral("9")}},
    {9, {QStringLiteral("copiedpizza"), QString()}},
    {9, {QStringLiteral("copiedsauce"), QString()}},
    {10, {QStringLiteral("rythme"), QStringLiteral("-0,25")}},
};
const int StepCount = 12;
const int RestoreStep = 9;
const QStringList JournalFacts{"v1",    "v2",    "february",    "added",
                               "pizza", "older", "copiedpizza", "copiedsauce"};
const QString OldBackup = QStringLiteral("sauvegardes/2005-03-01/");
// Paul's oldest backup, shared with Marie: it expires once today's backup is made, the thirteen
// after it (2005-03-01 to 2005-03-13) and today's being the fourteen kept.
const QString ExpiredBackup = QStringLiteral("sauvegardes/2005-02-01/");
// Zoé's files, all of which her deletion takes; one backup of hers stands alone in its folder.
const QStringList ZoesFiles{"Zoé.ini.cry",
                            "Zoé.cal.cry",
                            "sauvegardes/2005-03-01/Zoé.ini.cry",
                            "sauvegardes/2004-12-01/Zoé.ini.cry",
                            "sauvegardes/2004-12-01/Zoé.cal.cry",
                            "sauvegardes/2004-12-01/compte.ini.cry"};
QString todaysFolder() {
    return QStringLiteral("sauvegardes/") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd/"));
}

// Every name under the folder, at any depth, relative to it.
QStringList everything(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    return names;
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir())
            copyFolder(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

struct Run {
    int exitCode = -1;
    bool crashed = false;
    QStringList boxes;
    SessionFacts facts;
};

// One row's two runs, in a folder of its own: the faulty session, then the check.
struct Outcome {
    std::unique_ptr<QTemporaryDir> live;
    Run faulty;
    Run again;
};
} // namespace

class TestCrashPoints : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void everyChangeKilledOrFailed_data();
    void everyChangeKilledOrFailed();

  private:
    Run run(const QString& folder, const QStringList& arguments, const QStringList& environment) const;
    Outcome runRow(const QString& kind, int change) const;
    void startRow(qsizetype row);
    SessionFacts factsAfter(int steps) const;
    QString m_session;
    QString m_shim;
    QTemporaryDir m_base;
    SessionFacts m_initial;
    QList<int> m_stepEnds; // changes made when each step ends
    QStringList m_changes; // each change: the call and the name
    // The rows, and the runs of the row checked and of the next one, made while the row before is
    // checked: each run mostly waits for its processes, so two at once take half the time.
    QList<QPair<QString, int>> m_rows;
    std::map<qsizetype, std::future<Outcome>> m_running;
};

void TestCrashPoints::initTestCase() {
    const QString tools = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/");
    m_session = tools + QStringLiteral("kalimo_session");
    m_shim = tools + QStringLiteral("libkalimo_faultshim.so");
    QVERIFY(QFile::exists(m_session) && QFile::exists(m_shim));

    const QByteArray accounts =
        "[Marie]\r\npassword=m\r\n[Paul]\r\npassword=pw\r\n[Zo\xE9]\r\npassword=z\r\n";
    const QByteArray weights = "[2/2005]\r\nv1=69\r\n[3/2005]\r\nv1=70\r\nv2=71\r\n";
    const QByteArray dayToCopy = "[9/3/2005]\r\nPizza=2\r\nAbats en sauce=1\r\n";
    const QByteArray foodLog = "[1/2/2005]\r\nAbats=3\r\n[2/3/2005]\r\nPizza=1\r\n" + dayToCopy;
    const QDir base(m_base.path());
    WriteBytes(base.filePath(QStringLiteral("compte.ini.cry")), scrambled(accounts, AccountsFileKey));
    WriteBytes(base.filePath(QStringLiteral("Paul.ini.cry")), scrambled(weights, AccountFilesKey));
    WriteBytes(base.filePath(QStringLiteral("Paul.cal.cry")), scrambled(foodLog, AccountFilesKey));
    WriteBytes(base.filePath(QStringLiteral("calories.ini")), DefaultFoodDatabaseBytes());
    base.mkpath(OldBackup);
    WriteBytes(base.filePath(OldBackup + QStringLiteral("Paul.ini.cry")),
               scrambled("[2/2005]\r\nv1=60\r\n[3/2005]\r\nv1=61\r\nv2=62\r\n", AccountFilesKey));
    WriteBytes(base.filePath(OldBackup + QStringLiteral("Paul.cal.cry")),
               scrambled("[1/2/2005]\r\nAbats=9\r\n[2/3/2005]\r\nPizza=4\r\n" + dayToCopy, AccountFilesKey));
    const QByteArray paulsOlder = scrambled("[2/2005]\r\nv1=50\r\n", AccountFilesKey);
    base.mkpath(ExpiredBackup);
    WriteBytes(base.filePath(ExpiredBackup + QStringLiteral("Paul.ini.cry")), paulsOlder);
    WriteBytes(base.filePath(ExpiredBackup + QStringLiteral("Paul.cal.cry")),
               scrambled(foodLog, AccountFilesKey));
    WriteBytes(base.filePath(ExpiredBackup + QStringLiteral("Marie.ini.cry")), paulsOlder);
    WriteBytes(base.filePath(ExpiredBackup + QStringLiteral("compte.ini.cry")),
               scrambled(accounts, AccountsFileKey));
    for (int day = 2; day <= 13; ++day) {
        const QString folder = QStringLiteral("sauvegardes/2005-03-%1/").arg(day, 2, 10, QLatin1Char('0'));
        base.mkpath(folder);
        WriteBytes(base.filePath(folder + QStringLiteral("Paul.ini.cry")), paulsOlder);
    }
    base.mkpath(QStringLiteral("sauvegardes/2004-12-01"));
    for (const QString& name : ZoesFiles)
        WriteBytes(base.filePath(name), scrambled("[1/2005]\r\nv1=55\r\n", AccountFilesKey));
    // Marie closed earlier today: her backup of the day is kept as it is.
    base.mkpath(todaysFolder());
    WriteBytes(base.filePath(todaysFolder() + QStringLiteral("Marie.ini.cry")),
               scrambled(weights, AccountFilesKey));
    m_initial = FactsOf(accounts, weights, foodLog, DefaultFoodDatabaseBytes());

    // The session as it goes when nothing fails: its changes, step by step.
    QTemporaryDir live;
    copyFolder(base.path(), live.path());
    const QString log = QDir(live.path()).filePath(QStringLiteral("../crashpoints.log"));
    QFile::remove(log);
    const Run recorded = run(live.path(), {}, {QStringLiteral("KALIMO_FAULT_LOG=") + log});
    QCOMPARE(recorded.exitCode, 0);
    QCOMPARE(recorded.boxes, QStringList());
    int changes = 0;
    for (const QByteArray& line : ReadBytes(log).split('\n')) {
        if (line.startsWith("M ")) {
            ++changes;
            m_changes << QString::fromLocal8Bit(line.mid(line.indexOf(' ', 2) + 1));
        } else if (line.startsWith("STEP "))
            m_stepEnds << changes;
    }
    QFile::remove(log);
    QCOMPARE(m_stepEnds.size(), StepCount);
    const Run checked = run(live.path(), {QStringLiteral("check")}, {});
    QCOMPARE(checked.facts, factsAfter(StepCount));
    qInfo("the session makes %d changes to its files", changes);
    if (qEnvironmentVariableIsSet("KALIMO_CRASHPOINTS_LIST"))
        for (int k = 0; k < m_changes.size(); ++k)
            qInfo("%d %s", k + 1, qPrintable(m_changes.at(k)));
}

Run TestCrashPoints::run(const QString& folder, const QStringList& arguments,
                         const QStringList& environment) const {
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), m_shim);
    for (const QString& setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    // Under the address sanitizer the shim comes before its run-time, and a killed process
    // reports no leaks.
    QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    asan += QStringLiteral("%1verify_asan_link_order=0:detect_leaks=0").arg(asan.isEmpty() ? "" : ":");
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan);
    process.setProcessEnvironment(env);
    process.start(m_session, arguments);
    Run result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result; // hung: exit code -1
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("BOX "))
            result.boxes << QString::fromUtf8(line.mid(4));
        else if (line.startsWith("FACT ")) {
            const qsizetype eq = line.indexOf('=');
            result.facts.insert(QString::fromUtf8(line.mid(5, eq - 5)), QString::fromUtf8(line.mid(eq + 1)));
        }
    }
    return result;
}

SessionFacts TestCrashPoints::factsAfter(int steps) const {
    SessionFacts facts = m_initial;
    for (const auto& change : StepChanges)
        if (change.first < steps)
            facts[change.second.first] = change.second.second;
    return facts;
}

void TestCrashPoints::everyChangeKilledOrFailed_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("change");
    const int changes = m_stepEnds.isEmpty() ? 0 : m_stepEnds.constLast();
    const bool full = qEnvironmentVariableIsSet("KALIMO_CRASHPOINTS_FULL");
    m_rows.clear();
    for (int k = 1; k <= changes; ++k) {
        m_rows.append({QStringLiteral("kill"), k});
        // The program treats every failing call alike: each change fails once, with one error
        // or the other in turn (both with KALIMO_CRASHPOINTS_FULL set).
        if (full || k % 2 == 0)
            m_rows.append({QStringLiteral("ENOSPC"), k});
        if (full || k % 2 == 1)
            m_rows.append({QStringLiteral("EIO"), k});
    }
    for (const auto& [kind, change] : m_rows)
        QTest::addRow("%s %d", qPrintable(kind), change) << kind << change;
}

Outcome TestCrashPoints::runRow(const QString& kind, int change) const {
    Outcome outcome;
    outcome.live = std::make_unique<QTemporaryDir>();
    const QString folder = outcome.live->path();
    copyFolder(m_base.path(), folder);
    outcome.faulty =
        run(folder, {},
            {QStringLiteral("KALIMO_FAULT_AT=%1").arg(change), QStringLiteral("KALIMO_FAULT_KIND=") + kind});
    outcome.again = run(folder, {QStringLiteral("check")}, {});
    return outcome;
}

void TestCrashPoints::startRow(qsizetype row) {
    if (row < m_rows.size() && !m_running.count(row))
        m_running.emplace(row, std::async(std::launch::async, [this, row] {
                              return runRow(m_rows.at(row).first, m_rows.at(row).second);
                          }));
}

void TestCrashPoints::everyChangeKilledOrFailed() {
    QFETCH(QString, kind);
    QFETCH(int, change);
    const qsizetype row = m_rows.indexOf(QPair<QString, int>(kind, change));
    QVERIFY(row >= 0);
    startRow(row);
    startRow(row + 1);
    const Outcome outcome = [&] {
        auto it = m_running.find(row);
        Outcome o = it->second.get();
        m_running.erase(it);
        return o;
    }();
    const QDir dir(outcome.live->path());
    const Run& faulty = outcome.faulty;
    int inFlight = 0; // the step the change belongs to
    while (inFlight < StepCount && m_stepEnds.at(inFlight) < change)
        ++inFlight;
    if (kind == QLatin1String("kill")) {
        QVERIFY(faulty.crashed);
    } else if (m_changes.value(change - 1)
                   .contains(QRegularExpression(QStringLiteral(
                       "^((unlink|rmdir) sauvegardes/\\.kalimo-|rmdir sauvegardes/\\.restauration$)"))) ||
               m_changes.value(change - 2) == QLatin1String("unlink .kalimo-suppression")) {
        // What an earlier write left under a temporary name goes when it can, or at the next backup;
        // so does the folder of a restore once everything in it has been moved into place, and the
        // mark of a deletion done (the folder's sync after it).
        QCOMPARE(faulty.exitCode, 0);
        QCOMPARE(faulty.boxes, QStringList());
    } else {
        // One clear box, no crash, no hang, and the session went on to its end.
        QCOMPARE(faulty.exitCode, 0);
        QVERIFY2(faulty.boxes.size() == 1, qPrintable(faulty.boxes.join(QLatin1Char('|'))));
        QVERIFY2(faulty.boxes.constFirst().startsWith(QLatin1String("Impossible")),
                 qPrintable(faulty.boxes.constFirst()));
    }

    const Run& again = outcome.again;
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(again.boxes, QStringList());
    // Steps done before the fault are all there; the step in flight is there or not; after a
    // kill, later steps never ran, after a failure they all did.
    const SessionFacts before = factsAfter(inFlight);
    const SessionFacts after =
        kind == QLatin1String("kill") ? factsAfter(inFlight + 1) : factsAfter(StepCount);
    const SessionFacts skipped = [&] {
        SessionFacts f = after;
        for (const auto& c : StepChanges)
            if (c.first == inFlight)
                f[c.second.first] = before.value(c.second.first);
        return f;
    }();
    // The step in flight took effect as a whole or not at all.
    bool tookEffect = true;
    for (const auto& c : StepChanges)
        if (c.first == inFlight && again.facts.value(c.second.first) != after.value(c.second.first))
            tookEffect = false;
    const SessionFacts expected = tookEffect ? after : skipped;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString found = again.facts.value(it.key(), QStringLiteral("<missing>"));
        QVERIFY2(found == it.value(), qPrintable(QStringLiteral("%1 in step %2: \"%3\" is \"%4\", not \"%5\"")
                                                     .arg(kind)
                                                     .arg(inFlight)
                                                     .arg(it.key(), found, it.value())));
    }

    // No backup lost, none left half made, and the journal before a restore kept under today's date.
    const QDir backups(dir.filePath(QStringLiteral("sauvegardes")));
    QCOMPARE(ReadBytes(dir.filePath(OldBackup + QStringLiteral("Paul.cal.cry"))),
             ReadBytes(QDir(m_base.path()).filePath(OldBackup + QStringLiteral("Paul.cal.cry"))));
    QCOMPARE(ReadBytes(dir.filePath(todaysFolder() + QStringLiteral("Marie.ini.cry"))),
             ReadBytes(QDir(m_base.path()).filePath(todaysFolder() + QStringLiteral("Marie.ini.cry"))));
    QCOMPARE(
        backups.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(QStringLiteral(".")),
        QStringList());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QList<BackupInfo> listed = ListBackups(QStringLiteral("Paul"));
    QDir::setCurrent(previous);
    for (const BackupInfo& backup : listed)
        QVERIFY2(backup.readable, qPrintable(backup.date.toString()));
    const bool restoreRan =
        inFlight > RestoreStep || (inFlight == RestoreStep ? tookEffect : kind != QLatin1String("kill"));
    if (restoreRan) {
        const QString today = todaysFolder();
        const SessionFacts kept =
            FactsOf({}, restored(dir.filePath(today + QStringLiteral("Paul.ini.cry")), AccountFilesKey),
                    restored(dir.filePath(today + QStringLiteral("Paul.cal.cry")), AccountFilesKey), {});
        // The journal as the steps before the restore left it, the one in flight whole or skipped.
        SessionFacts whole = factsAfter(RestoreStep);
        SessionFacts skippedStep = whole;
        for (const auto& c : StepChanges)
            if (c.first == inFlight && inFlight < RestoreStep)
                skippedStep[c.second.first] = before.value(c.second.first);
        bool isWhole = true;
        bool isSkipped = true;
        for (const QString& fact : JournalFacts) {
            isWhole = isWhole && kept.value(fact) == whole.value(fact);
            isSkipped = isSkipped && kept.value(fact) == skippedStep.value(fact);
        }
        QVERIFY2(isWhole || isSkipped, "today's backup is not the journal before the restore");
    }

    // The expired backup is whole or gone, never cut in two; Marie's part of its folder stays.
    const QStringList expired{QStringLiteral("Paul.ini.cry"), QStringLiteral("Paul.cal.cry")};
    const int left = int(std::count_if(expired.cbegin(), expired.cend(), [&](const QString& name) {
        return QFile::exists(dir.filePath(ExpiredBackup + name));
    }));
    QVERIFY2(left == 0 || left == 2, "the expired backup was cut in two");
    for (const QString& name : expired)
        if (left == 2)
            QCOMPARE(ReadBytes(dir.filePath(ExpiredBackup + name)),
                     ReadBytes(QDir(m_base.path()).filePath(ExpiredBackup + name)));
    QCOMPARE(ReadBytes(dir.filePath(ExpiredBackup + QStringLiteral("Marie.ini.cry"))),
             ReadBytes(QDir(m_base.path()).filePath(ExpiredBackup + QStringLiteral("Marie.ini.cry"))));

    // Zoé's account is whole, or nothing of it is left that an account of her name could read.
    const bool zoeWhole = !again.facts.value(QStringLiteral("zoe")).isEmpty();
    if (zoeWhole) {
        for (const QString& name : ZoesFiles)
            QVERIFY2(ReadBytes(dir.filePath(name)) == ReadBytes(QDir(m_base.path()).filePath(name)),
                     qPrintable(name));
    } else {
        for (const QString& name : everything(dir.path()))
            QVERIFY2(!QFileInfo(name).fileName().startsWith(QStringLiteral("zo"), Qt::CaseInsensitive) &&
                         !name.contains(QStringLiteral("suppression")),
                     qPrintable(name));
    }

    // The close box of the run after it leaves the scrambled copies only, holding the same.
    QStringList atRest{QStringLiteral("Paul.cal.cry"), QStringLiteral("Paul.ini.cry"),
                       QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")};
    if (zoeWhole)
        atRest << QStringLiteral("Zoé.cal.cry") << QStringLiteral("Zoé.ini.cry");
    std::sort(atRest.begin(), atRest.end());
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), atRest);
    const SessionFacts kept =
        FactsOf(restored(dir.filePath(QStringLiteral("compte.ini.cry")), AccountsFileKey),
                restored(dir.filePath(QStringLiteral("Paul.ini.cry")), AccountFilesKey),
                restored(dir.filePath(QStringLiteral("Paul.cal.cry")), AccountFilesKey),
                ReadBytes(dir.filePath(QStringLiteral("calories.ini"))));
    QCOMPARE(kept, again.facts);
}

QTEST_GUILESS_MAIN(TestCrashPoints)
#include "tst_crashpoints.moc"
