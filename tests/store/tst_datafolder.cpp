#include "store/datafolder.h"
#include "testsupport/tempdir.h"

#include <QtTest>

#include <sys/stat.h>

class TestDataFolder : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void options_data();
    void options();
    void folderIsCreatedAndEntered_data();
    void folderIsCreatedAndEntered();
    void unusableFolderIsReportedInFrench_data();
    void unusableFolderIsReportedInFrench();
};

void TestDataFolder::options_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("errorStart");

    const QString none;
    QTest::newRow("none: the working directory") << QStringList() << none << false << none;
    QTest::newRow("folder as next argument")
        << QStringList{"--dossier", "/d/Kalimo"} << "/d/Kalimo" << false << none;
    QTest::newRow("folder after =") << QStringList{"--dossier=~/Kalimo"} << "~/Kalimo" << false << none;
    QTest::newRow("folder with spaces")
        << QStringList{"--dossier", "Mes données"} << "Mes données" << false << none;
    QTest::newRow("folder missing at the end")
        << QStringList{"--dossier"} << none << false << "Il manque le dossier";
    QTest::newRow("folder empty") << QStringList{"--dossier", ""} << none << false << "Il manque le dossier";
    QTest::newRow("folder empty after =")
        << QStringList{"--dossier="} << none << false << "Il manque le dossier";
    QTest::newRow("two folders") << QStringList{"--dossier", "a", "--dossier", "b"} << "a" << false
                                 << "Un seul dossier";
    QTest::newRow("unknown option") << QStringList{"--folder", "a"} << none << false
                                    << "Option inconnue : --folder";
    QTest::newRow("bare folder name") << QStringList{"a"} << none << false << "Option inconnue : a";
    QTest::newRow("help") << QStringList{"--help"} << none << true << none;
    QTest::newRow("version") << QStringList{"--version"} << none << false << none;
}

void TestDataFolder::options() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    QFETCH(bool, help);
    QFETCH(QString, errorStart);

    const StartOptions options = ParseStartOptions(arguments);
    QCOMPARE(options.folder, folder);
    QCOMPARE(options.help, help);
    QCOMPARE(options.version, arguments == QStringList{"--version"});
    QVERIFY2(errorStart.isEmpty() ? options.error.isEmpty() : options.error.startsWith(errorStart),
             qPrintable(options.error));
    if (!errorStart.isEmpty())
        QVERIFY(options.error.endsWith(StartUsage));
}

void TestDataFolder::folderIsCreatedAndEntered_data() {
    QTest::addColumn<QString>("given");    // relative to a fresh home folder, "~" kept
    QTest::addColumn<QString>("expected"); // relative to that home folder
    QTest::addColumn<bool>("existsBefore");

    QTest::newRow("home's Kalimo, missing") << "~/Kalimo"
                                            << "Kalimo" << false;
    QTest::newRow("nested, missing") << "~/a/b/Kalimo"
                                     << "a/b/Kalimo" << false;
    QTest::newRow("existing, with a journal") << "~/Kalimo"
                                              << "Kalimo" << true;
    QTest::newRow("home itself") << "~"
                                 << "" << true;
    QTest::newRow("relative to the working directory") << "rel"
                                                       << "rel" << false;
}

void TestDataFolder::folderIsCreatedAndEntered() {
    QFETCH(QString, given);
    QFETCH(QString, expected);
    QFETCH(bool, existsBefore);

    WorkingDir home; // also the working directory
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString target = QDir(home.path()).filePath(expected);
    if (existsBefore) {
        QVERIFY(QDir().mkpath(target));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0755), 0);
        WriteBytes(QDir(target).filePath(QStringLiteral("compte.ini.cry")), "journal");
    }

    const QString problem = EnterDataFolder(given);
    qputenv("HOME", previousHome);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(QDir::currentPath(), QDir(target).canonicalPath());
    // A folder made for the journals is its owner's alone; one that existed keeps its mode.
    struct stat made {};
    QCOMPARE(::stat(".", &made), 0);
    QCOMPARE(made.st_mode & 07777, existsBefore ? 0755u : 0700u);
    // The write probe leaves nothing behind; what was there stays as it was.
    QStringList left = FilesHere();
    if (existsBefore && !expected.isEmpty()) {
        QCOMPARE(left, QStringList{QStringLiteral("compte.ini.cry")});
        QCOMPARE(ReadBytes(QStringLiteral("compte.ini.cry")), QByteArray("journal"));
    } else if (!existsBefore) {
        QCOMPARE(left, QStringList());
    }
}

void TestDataFolder::unusableFolderIsReportedInFrench_data() {
    QTest::addColumn<QString>("given"); // "@" is a fresh folder holding a file "fichier"
    QTest::addColumn<QString>("message");

    QTest::newRow("a file in the way") << "@/fichier/Kalimo"
                                       << "Impossible de créer le dossier @/fichier/Kalimo";
    QTest::newRow("the folder is a file") << "@/fichier"
                                          << "Impossible de créer le dossier @/fichier";
    // Not writable even by root.
    QTest::newRow("read-only file system") << "/proc"
                                           << "Impossible d'écrire dans le dossier /proc";
}

void TestDataFolder::unusableFolderIsReportedInFrench() {
    QFETCH(QString, given);
    QFETCH(QString, message);

    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("fichier")), "x");
    given.replace(QLatin1Char('@'), dir.path());
    message.replace(QLatin1Char('@'), dir.path());
    QCOMPARE(EnterDataFolder(given), message);
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("fichier"))), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
