// Kills a process in the middle of writing the data files, again and again, and checks that
// every file still holds either what it held before the interrupted operation or what it holds
// after it: never a mix, never nothing, and that the scrambled copies still restore.
#include "calories/defaultfooddatabase.h"
#include "store/scramble.h"
#include "testsupport/crashscript.h"
#include "testsupport/tempdir.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

namespace {
const QByteArray Absent = "<absent>";

// What a data file holds as the program would read it: the plain file, or its scrambled copy
// restored. Reports a mismatch when both are there and disagree.
QByteArray logicalContent(const QDir& dir, const QString& name, QString* problem) {
    const bool hasPlain = QFile::exists(dir.filePath(name));
    const bool hasCopy = QFile::exists(dir.filePath(name + QStringLiteral(".cry")));
    QByteArray copy;
    if (hasCopy) {
        copy = ReadBytes(dir.filePath(name + QStringLiteral(".cry")));
        const char* key = name == QLatin1String("compte.ini") ? AccountsFileKey : AccountFilesKey;
        TransformBytes(copy, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Unscramble);
    }
    if (hasPlain) {
        const QByteArray plain = ReadBytes(dir.filePath(name));
        if (hasCopy && copy != plain)
            *problem = name + QStringLiteral(": the plain file and its scrambled copy disagree");
        return plain;
    }
    return hasCopy ? copy : Absent;
}

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QDir& dir) {
    Snapshot s;
    QString ignored;
    for (const QString& name : CrashScript::DataFiles())
        s.insert(name, logicalContent(dir, name, &ignored));
    return s;
}

void copyFolder(const QString& from, const QString& to) {
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}
} // namespace

class TestCrash : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void killedWritersLeaveWholeFiles();

  private:
    QTemporaryDir m_base;
};

void TestCrash::initTestCase() {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_base.path());
    CreateDefaultFoodDatabase();
    WriteBytes(m_base.filePath(QStringLiteral("compte.ini")), "[H\xE9l\xE8ne]\r\npassword=pw\r\n");
    WriteBytes(m_base.filePath(CrashScript::Account + QStringLiteral(".ini")), "[3/2004]\r\nv1=70\r\n");
    QDir::setCurrent(previous);
    QVERIFY(QFile::exists(m_base.filePath(CrashScript::Account + QStringLiteral(".ini"))));
}

void TestCrash::killedWritersLeaveWholeFiles() {
    const QString writer =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/kalimo_crashwriter");
    QVERIFY2(QFile::exists(writer), qPrintable(writer));
    const int rounds = qEnvironmentVariableIntValue("KALIMO_CRASH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("KALIMO_CRASH_ROUNDS")
                           : 200;
    int interruptedWork = 0;
    for (int round = 0; round < rounds; ++round) {
        const quint32 seed = QRandomGenerator::global()->generate();
        QTemporaryDir live;
        copyFolder(m_base.path(), live.path());

        // Let the writer finish a random number of operations first, then kill it a random
        // moment later: the kill lands inside the work however slowly the writer starts
        // (under the sanitizers it takes far longer to load than to run an operation).
        const qint64 warmUp = 1 + QRandomGenerator::global()->bounded(4);
        QProcess process;
        process.setWorkingDirectory(live.path());
        process.start(writer, {QString::number(seed)});
        QVERIFY(process.waitForStarted());
        qint64 reported = 0;
        while (reported < warmUp) {
            QVERIFY2(process.canReadLine() || process.waitForReadyRead(30000), "the writer reported nothing");
            while (process.canReadLine())
                reported = process.readLine().trimmed().toLongLong();
        }
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        process.kill();
        QVERIFY(process.waitForFinished());

        const qint64 done = ReadBytes(QDir(live.path()).filePath(QStringLiteral("progress"))).toLongLong();
        QVERIFY2(done >= warmUp, qPrintable(QStringLiteral("seed %1: %2 operations done, %3 reported")
                                                .arg(seed)
                                                .arg(done)
                                                .arg(warmUp)));
        interruptedWork += done > warmUp;

        // The same operations, run to the step before and the step after the kill.
        QTemporaryDir replay;
        copyFolder(m_base.path(), replay.path());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(replay.path());
        Snapshot before;
        Snapshot after;
        {
            CrashScript script(seed);
            for (qint64 i = 0; i < done; ++i)
                script.Run();
            before = snapshot(QDir(replay.path()));
            script.Run();
            after = snapshot(QDir(replay.path()));
        }
        QDir::setCurrent(previous);

        for (const QString& name : CrashScript::DataFiles()) {
            QString problem;
            const QByteArray actual = logicalContent(QDir(live.path()), name, &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(problem)));
            QVERIFY2(
                actual == before.value(name) || actual == after.value(name),
                qPrintable(QStringLiteral("seed %1, after %2 operations: %3 is neither its content before "
                                          "nor after the interrupted operation")
                               .arg(seed)
                               .arg(done)
                               .arg(name)));
        }
    }
    // Most kills land in the operation after the awaited ones; how many land further on shows
    // how widely the delays spread them.
    qInfo("%d of %d kills came after more than the awaited operations", interruptedWork, rounds);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
