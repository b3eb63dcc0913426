#include "accounts/accountsstore.h"
#include "calories/foodlog.h"
#include "store/kalimoerror.h"
#include "store/scramble.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/tempdir.h"
#include "weight/weightrecords.h"

#include <QtTest>

namespace {
QByteArray allBytes(int length) {
    QByteArray b(length, '\0');
    for (int i = 0; i < length; ++i)
        b[i] = char(i % 256);
    return b;
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

    // Without the weight file's copy, the food log's copy is not restored either.
    QFile::remove(dir.file(QStringLiteral("Paul.ini.cry")));
    WriteBytes(dir.file(QStringLiteral("Paul.cal.cry")), "xyz");
    UnscrambleAccountFiles(QStringLiteral("Paul"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Paul.cal.cry")});
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
    // 240 bytes once encoded: the scrambled copy and its temporary name stay within what the
    // file system takes for one name. A byte more is refused before any file is named.
    WorkingDir dir;
    const QString longest(120, QChar(0xE9));
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
