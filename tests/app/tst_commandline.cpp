// The program started from a terminal without any graphical session: what it prints, where, and
// the code it ends with; nothing is written in the folder it is started in.
#include "testsupport/tempdir.h"

#include <QProcess>
#include <QtTest>

class TestCommandLine : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void withoutDisplay_data();
    void withoutDisplay();
};

void TestCommandLine::withoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the start of the standard output
    QTest::addColumn<QString>("err"); // the start of the standard error
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Kalimo, journal de poids et de calories."
                          << "";
    QTest::newRow("short help") << QStringList{"-h"} << 0 << "Kalimo, journal de poids et de calories."
                                << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Kalimo version 2.0\n"
                             << "";
    QTest::newRow("help beside Qt's own option")
        << QStringList{"-platform", "xcb", "--help"} << 0 << "Kalimo, journal de poids"
        << "";
    QTest::newRow("unknown option") << QStringList{"--aide"} << 2 << ""
                                    << "Option inconnue : --aide\nUsage : kalimo [--dossier DOSSIER]";
    QTest::newRow("folder missing") << QStringList{"--dossier"} << 2 << ""
                                    << "Il manque le dossier après --dossier.\nUsage : kalimo";
    QTest::newRow("no option, no display") << QStringList() << 1 << ""
                                           << "Kalimo ne trouve pas d'écran où ouvrir ses fenêtres";
    QTest::newRow("a folder, no display") << QStringList{"--dossier", "donnees"} << 1 << ""
                                          << "Kalimo ne trouve pas d'écran";
}

void TestCommandLine::withoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    WorkingDir dir;
    QProcess kalimo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    kalimo.setProcessEnvironment(environment);
    kalimo.start(QStringLiteral(KALIMO_PROGRAM), arguments);
    QVERIFY(kalimo.waitForFinished(120000));
    const QString stdOut = QString::fromUtf8(kalimo.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(kalimo.readAllStandardError());
    QCOMPARE(kalimo.exitStatus(), QProcess::NormalExit); // not aborted
    QCOMPARE(kalimo.exitCode(), exitCode);
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
