#include "accounts/accountfiles.h"
#include "accounts/accountsstore.h"
#include "calories/foodlog.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "store/scramble.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/noaccessoverride.h"
#include "testsupport/tempdir.h"
#include "weight/weightrecords.h"

#include <QtTest>

#include <sys/stat.h>

namespace {
QByteArray allBytes(int length) {
    QByteArray b(length, '\0');
    for (int i = 0; i < length; ++i)
        b[i] = char(i % 256);
    return b;
}

unsigned modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QByteArray scrambled(QByteArray bytes, const char* key) {
    TransformBytes(bytes, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Scramble);
    return bytes;
}
} // namespace

class TestScramble : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void knownVectors();
    void keyWrapsAfterItsLastLetter();
    void everyByteComesBack();
    void accountsFileRoundTrip();
    void accountFilesFollowTheWeightFile();
    void unreadableCopyIsNeverReplacedNorDeleted_data();
    void unreadableCopyIsNeverReplacedNorDeleted();
    void writerKeepsFilesPrivateAndNamesShort();
    void bothCopiesPresentTheSourceWins();
    void accentedAndDifferentlyCasedAccountNames();
    void failedConversionKeepsTheSource();
    void longestAccountNameFitsItsFiles();
    void interruptedConversionLosesNothing();
};

void TestScramble::knownVectors() {
    // 'A' (65) + 'm' (109) = 174; 'b' (98) + 'o' (111) = 209; 0xFF + 'u' (117) wraps to 116.
    QCOMPARE(scrambled(QByteArray("Ab\xFF"), AccountsFileKey), QByteArray("\xAE\xD1t"));
    QCOMPARE(scrambled(QByteArray(), AccountFilesKey), QByteArray());
    QByteArray back("\xAE\xD1t");
    TransformBytes(back, AccountsFileKey, ScrambleDirection::Unscramble);
    QCOMPARE(back, QByteArray("Ab\xFF"));
}

void TestScramble::keyWrapsAfterItsLastLetter() {
    const QByteArray zeros9(9, '\0');
    const QByteArray s9 = scrambled(zeros9, AccountsFileKey);
    QCOMPARE(s9, QByteArray("moulinetm"));
    const QByteArray s13 = scrambled(QByteArray(13, '\0'), AccountFilesKey);
    QCOMPARE(s13, QByteArray("tambourinaget"));
}

void TestScramble::everyByteComesBack() {
    for (const char* key : {AccountsFileKey, AccountFilesKey}) {
        const QByteArray plain = allBytes(256 * 13 + 5);
        QByteArray s = scrambled(plain, key);
        QVERIFY(s != plain);
        QCOMPARE(s.size(), plain.size());
        TransformBytes(s, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Unscramble);
        QCOMPARE(s, plain);
    }
}

void TestScramble::accountsFileRoundTrip() {
    WorkingDir dir;
    UnscrambleAccountsFile(); // nothing to restore, nothing written
    ScrambleAccountsFile();
    QVERIFY(FilesHere().isEmpty());

    const QByteArray plain = "[Hélène]\r\npassword=\xE9t\xE9\r\n";
    WriteBytes(dir.file(QStringLiteral("compte.ini")), plain);
    ScrambleAccountsFile();
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini.cry")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini.cry"))), scrambled(plain, AccountsFileKey));
    UnscrambleAccountsFile();
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), plain);

    WriteBytes(dir.file(QStringLiteral("compte.ini")), QByteArray());
    ScrambleAccountsFile();
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini.cry"))), QByteArray());
}

void TestScramble::accountFilesFollowTheWeightFile() {
    WorkingDir dir;
    // A food log without a weight file stays plain, both ways.
    WriteBytes(dir.file(QStringLiteral("Paul.cal")), "[5/3/2004]\r\nAbats=2\r\n");
    ScrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Paul.cal")});

    // With the weight file, both go; without a food log, only the weight file.
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), "[3/2004]\r\nv1=70\r\n");
    ScrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal.cry"), QStringLiteral("Paul.ini.cry")}));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal.cry"))),
             scrambled("[5/3/2004]\r\nAbats=2\r\n", AccountFilesKey));

    UnscrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal"), QStringLiteral("Paul.ini")}));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.ini"))), QByteArray("[3/2004]\r\nv1=70\r\n"));

    QFile::remove(dir.file(QStringLiteral("Paul.cal")));
    ScrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Paul.ini.cry")});

    // A run stopped between the two restores: the food log's copy comes back on its own.
    QFile::remove(dir.file(QStringLiteral("Paul.ini.cry")));
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), "[3/2004]\r\nv1=70\r\n");
    WriteBytes(dir.file(QStringLiteral("Paul.cal.cry")),
               scrambled("[5/3/2004]\r\nAbats=2\r\n", AccountFilesKey));
    UnscrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal"), QStringLiteral("Paul.ini")}));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))), QByteArray("[5/3/2004]\r\nAbats=2\r\n"));
}

void TestScramble::unreadableCopyIsNeverReplacedNorDeleted_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("copy");
    QTest::newRow("weights") << "Paul.ini"
                             << "Paul.ini.cry";
    QTest::newRow("food log") << "Paul.cal"
                              << "Paul.cal.cry";
    QTest::newRow("accounts") << "compte.ini"
                              << "compte.ini.cry";
}

void TestScramble::unreadableCopyIsNeverReplacedNorDeleted() {
    QFETCH(QString, plain);
    QFETCH(QString, copy);
    WorkingDir dir;
    const QByteArray old = scrambled("[1/2004]\r\nv1=60\r\n", AccountFilesKey);
    WriteBytes(dir.file(copy), old);
    QFile(dir.file(copy)).setPermissions({});
    NoAccessOverride noOverride;
    const auto restore = [&] {
        if (plain.startsWith(QLatin1String("compte")))
            UnscrambleAccountsFile();
        else
            UnscrambleAccountFiles(QStringLiteral("Paul"));
    };
    const auto scramble = [&] {
        if (plain.startsWith(QLatin1String("compte")))
            ScrambleAccountsFile();
        else
            ScrambleAccountFiles(QStringLiteral("Paul"));
    };
    QVERIFY_THROWS_EXCEPTION(KalimoError, restore());
    QCOMPARE(plain.startsWith(QLatin1String("compte")) ? UnreadableAccountsFile()
                                                       : FirstUnreadableAccountFile(QStringLiteral("Paul")),
             copy);
    // A plain file made meanwhile does not replace the copy at close: it stays plain beside it.
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), "[2/2004]\r\nv1=61\r\n");
    WriteBytes(dir.file(plain), "[2/2004]\r\nv1=61\r\n");
    QVERIFY_THROWS_EXCEPTION(KalimoError, scramble());
    QVERIFY(FilesHere().contains(copy));
    QVERIFY(FilesHere().contains(plain));
    QFile(dir.file(copy)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(ReadBytes(dir.file(copy)), old);
}

void TestScramble::writerKeepsFilesPrivateAndNamesShort() {
    WorkingDir dir;
    // The longest name the system takes still gets written: the temporary name is short.
    const QString longest = QString(247, QLatin1Char('a')) + QStringLiteral(".ini.cry");
    QVERIFY(WriteFileAtomically(longest, "x"));
    QCOMPARE(modeOf(longest), 0600u);
    // So can every file of an account whose name is as long as creation accepts.
    const QString account(247, QChar(0x62));
    WriteBytes(dir.file(account + QStringLiteral(".ini")), "[3/2004]\r\nv1=70\r\n");
    WriteBytes(dir.file(account + QStringLiteral(".cal")), "[1/3/2004]\r\nAbats=1\r\n");
    ScrambleAccountFiles(account);
    UnscrambleAccountFiles(account);
    QCOMPARE(ReadBytes(dir.file(account + QStringLiteral(".cal"))), QByteArray("[1/3/2004]\r\nAbats=1\r\n"));
    QFile::remove(dir.file(account + QStringLiteral(".ini")));
    QFile::remove(dir.file(account + QStringLiteral(".cal")));
    // A file that is replaced keeps its mode.
    WriteBytes(dir.file(QStringLiteral("calories.ini")), "old");
    QFile(dir.file(QStringLiteral("calories.ini")))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                        QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QVERIFY(WriteFileAtomically(QStringLiteral("calories.ini"), "new"));
    QCOMPARE(modeOf(QStringLiteral("calories.ini")), 0644u);
    QCOMPARE(FilesHere(), (QStringList{longest, QStringLiteral("calories.ini")}));

    // What an interrupted write left goes. Names of the form earlier versions used may be a
    // person's own copies ("Paul.ini.backup"): they stay, readable by their owner only.
    WriteBytes(dir.file(QStringLiteral(".kalimo-Ab12cD.tmp")), "plain text");
    const QStringList kept = {QStringLiteral("compte.ini.Xa1b2c"), QStringLiteral("Paul.ini.backup")};
    for (const QString& name : kept) {
        WriteBytes(dir.file(name), "plain text");
        QFile(dir.file(name))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
    }
    WriteBytes(dir.file(QStringLiteral("notes.txt.abcdef")), "keep");
    QCOMPARE(RemoveInterruptedWrites(QStringLiteral(".")), 1);
    QStringList expected = kept;
    expected << longest << QStringLiteral("calories.ini") << QStringLiteral("notes.txt.abcdef");
    expected.sort();
    QCOMPARE(FilesHere(), expected);
    for (const QString& name : kept)
        QCOMPARE(modeOf(name), 0600u);
}

void TestScramble::bothCopiesPresentTheSourceWins() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("compte.ini")), "ancien");
    WriteBytes(dir.file(QStringLiteral("compte.ini.cry")), scrambled("copie", AccountsFileKey));
    UnscrambleAccountsFile();
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), QByteArray("copie"));

    WriteBytes(dir.file(QStringLiteral("compte.ini.cry")), "vieille copie plus longue");
    ScrambleAccountsFile();
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini.cry")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini.cry"))), scrambled("copie", AccountsFileKey));
}

void TestScramble::accentedAndDifferentlyCasedAccountNames() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("Élodie.ini")), "[1/2005]\r\nv1=60\r\n");
    ScrambleAccountFiles(QStringLiteral("Élodie"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Élodie.ini.cry")});

    // Opened as "élodie": the same files, under the names they already have.
    UnscrambleAccountFiles(QStringLiteral("élodie"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Élodie.ini")});
    WriteBytes(dir.file(QStringLiteral("ÉLODIE.ini.cry")), "old copy");
    ScrambleAccountFiles(QStringLiteral("élodie"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("ÉLODIE.ini.cry")});
    UnscrambleAccountFiles(QStringLiteral("ÉLODIE"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("ÉLODIE.ini"))), QByteArray("[1/2005]\r\nv1=60\r\n"));
}

void TestScramble::failedConversionKeepsTheSource() {
    WorkingDir dir;
    const QByteArray plain(4096, 'x');
    WriteBytes(dir.file(QStringLiteral("compte.ini")), plain);
    {
        FileSizeLimit full(100);
        QVERIFY_THROWS_EXCEPTION(KalimoError, ScrambleAccountsFile());
    }
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), plain);
}

void TestScramble::longestAccountNameFitsItsFiles() {
    // 247 bytes once encoded: the scrambled copy stays within what the file system takes for one
    // name. A byte more is refused before any file is named.
    WorkingDir dir;
    const QString longest = QString(123, QChar(0xE9)) + QLatin1Char('a');
    QVERIFY(!AccountsStore::IsForbiddenName(longest));
    ProfileFile(WeightFileName(longest))
        .WriteString(QStringLiteral("3/2005"), QStringLiteral("v1"), QStringLiteral("70"));
    ProfileFile(FoodLogFileName(longest))
        .WriteString(QStringLiteral("5/3/2005"), QStringLiteral("Abats"), QStringLiteral("1"));
    ScrambleAccountFiles(longest);
    QCOMPARE(FilesHere(),
             (QStringList{longest + QStringLiteral(".cal.cry"), longest + QStringLiteral(".ini.cry")}));
    UnscrambleAccountFiles(longest);
    QCOMPARE(ReadBytes(dir.file(longest + QStringLiteral(".ini"))), QByteArray("[3/2005]\r\nv1=70\r\n"));

    const QString tooLong = longest + QLatin1Char('a');
    QVERIFY(AccountsStore::IsForbiddenName(tooLong));
    QVERIFY_THROWS_EXCEPTION(KalimoError, WeightFileName(tooLong));
    QVERIFY_THROWS_EXCEPTION(KalimoError, ScrambleAccountFiles(tooLong));
}

void TestScramble::interruptedConversionLosesNothing() {
    // A conversion is: write the copy under a temporary name, rename it into place, delete the
    // source. Whatever step a crash stops at, the next run finds the journal whole.
    WorkingDir dir;
    const QByteArray plain = "[Paul]\r\npassword=a\r\n";

    // Stopped before the rename: a stray temporary file, the source untouched.
    WriteBytes(dir.file(QStringLiteral("compte.ini")), plain);
    WriteBytes(dir.file(QStringLiteral("compte.ini.cry.Xa1b2c")), "half");
    ScrambleAccountsFile();
    UnscrambleAccountsFile();
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), plain);

    // Stopped after the rename, before the source was deleted: both hold the same journal.
    WriteBytes(dir.file(QStringLiteral("compte.ini.cry")), scrambled(plain, AccountsFileKey));
    UnscrambleAccountsFile();
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), plain);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("compte.ini.cry"))));
}

QTEST_APPLESS_MAIN(TestScramble)
#include "tst_scramble.moc"
