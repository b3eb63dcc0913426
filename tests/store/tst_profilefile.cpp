#include "store/kalimoerror.h"
#include "store/profilefile.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/tempdir.h"

#include <QtTest>

#include <sys/stat.h>

class TestProfileFile : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void missingFileReadsDefaultsAndFirstWriteCreatesIt();
    void untouchedLinesKeepTheirBytesAndOrder();
    void partsCopiedAsReadMatchPartsLaidOut();
    void newKeysAndSectionsGoWhereExpected();
    void byteOrderMarkIsReadAsAbsentAndKept();
    void namesIgnoreLetterCaseAccentsIncluded();
    void valuesAreTrimmedAndUnquoted();
    void readInteger_data();
    void readInteger();
    void readBoolAndFloat();
    void sectionsAndKeysListing();
    void eraseSectionAndDeleteKey();
    void bytesAreWindows1252();
    void textOutsideTheCodePageIsRefused();
    void bothPrefixesNameTheSameFileAndErrorsShowTheNameAsPassed();
    void fileNamesResolveWithoutRegardToCase();
    void changesMadeByAnotherProgramAreSeen();
    void failedWriteLeavesTheOldFileAsItWas();
    void batchWritesOnceAndOnlyWhenSomethingChanged();
};

void TestProfileFile::missingFileReadsDefaultsAndFirstWriteCreatesIt() {
    WorkingDir dir;
    ProfileFile f(QStringLiteral(".\\compte.ini"));
    QCOMPARE(f.ReadString(QStringLiteral("Paul"), QStringLiteral("password"), QStringLiteral("def")),
             QStringLiteral("def"));
    QCOMPARE(f.ReadInteger(QStringLiteral("Paul"), QStringLiteral("taille"), 100), 100);
    QVERIFY(f.ReadSections().isEmpty());
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("compte.ini"))));

    f.WriteString(QStringLiteral("Paul"), QStringLiteral("password"), QStringLiteral("secret"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))), QByteArray("[Paul]\r\npassword=secret\r\n"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini")}); // no temporary file left behind
}

void TestProfileFile::untouchedLinesKeepTheirBytesAndOrder() {
    WorkingDir dir;
    // Mixed line ends, comments, blank lines, unknown keys and a key spelled in capitals.
    WriteBytes(dir.file(QStringLiteral("w.ini")),
               "; journal\n[2/2005]\r\nv1=0\rV2 = 72,5 \n\n[autre]\r\nvaleur=3\r\n;fin");
    ProfileFile f(QStringLiteral("./w.ini"));
    f.WriteString(QStringLiteral("2/2005"), QStringLiteral("v2"), QStringLiteral("71,8"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("w.ini"))),
             QByteArray("; journal\r\n[2/2005]\r\nv1=0\r\nV2 =71,8\r\n\r\n[autre]\r\nvaleur=3\r\n;fin\r\n"));
    QCOMPARE(f.ReadString(QStringLiteral("2/2005"), QStringLiteral("v2"), {}), QStringLiteral("71,8"));
}

void TestProfileFile::byteOrderMarkIsReadAsAbsentAndKept() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("compte.ini")), "\xEF\xBB\xBF[Paul]\r\npassword=pw\r\n");
    ProfileFile f(QStringLiteral(".\\compte.ini"));
    QCOMPARE(f.ReadSections(), QStringList{QStringLiteral("Paul")});
    QVERIFY(f.SectionExists(QStringLiteral("paul")));
    f.WriteString(QStringLiteral("Paul"), QStringLiteral("taille"), QStringLiteral("180"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("compte.ini"))),
             QByteArray("\xEF\xBB\xBF[Paul]\r\npassword=pw\r\ntaille=180\r\n"));
}

void TestProfileFile::newKeysAndSectionsGoWhereExpected() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("a.ini")), "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    ProfileFile f(QStringLiteral("./a.ini"));
    f.WriteString(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("3"));
    f.WriteString(QStringLiteral("c"), QStringLiteral("w"), QStringLiteral("4"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("a.ini"))),
             QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nw=4\r\n"));
}

void TestProfileFile::namesIgnoreLetterCaseAccentsIncluded() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("c.ini")),
               "[Cat\xE9gories]\r\nViande=\r\n[\xC9T\xC9]\r\nCl\xE9=oui\r\n");
    ProfileFile f(QStringLiteral("./c.ini"));
    QCOMPARE(f.ReadSection(QStringLiteral("catégories")), QStringList{QStringLiteral("Viande")});
    QVERIFY(f.ValueExists(QStringLiteral("CATÉGORIES"), QStringLiteral("viande")));
    QCOMPARE(f.ReadString(QStringLiteral("été"), QStringLiteral("clé"), {}), QStringLiteral("oui"));
    // Writing through another spelling changes the existing line, keeping its spelling.
    f.WriteString(QStringLiteral("été"), QStringLiteral("CLÉ"), QStringLiteral("non"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("c.ini"))),
             QByteArray("[Cat\xE9gories]\r\nViande=\r\n[\xC9T\xC9]\r\nCl\xE9=non\r\n"));
}

void TestProfileFile::valuesAreTrimmedAndUnquoted() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("v.ini")),
               "[s]\r\na=  72,5  \r\nb=\"entre guillemets\"\r\nc='simples'\r\nd=\"seul\r\ne=x=y\r\nf=\r\n");
    ProfileFile f(QStringLiteral("./v.ini"));
    const QString s = QStringLiteral("s");
    QCOMPARE(f.ReadString(s, QStringLiteral("a"), {}), QStringLiteral("72,5"));
    QCOMPARE(f.ReadString(s, QStringLiteral("b"), {}), QStringLiteral("entre guillemets"));
    QCOMPARE(f.ReadString(s, QStringLiteral("c"), {}), QStringLiteral("simples"));
    QCOMPARE(f.ReadString(s, QStringLiteral("d"), {}), QStringLiteral("\"seul"));
    QCOMPARE(f.ReadString(s, QStringLiteral("e"), {}), QStringLiteral("x=y"));
    QCOMPARE(f.ReadString(s, QStringLiteral("f"), QStringLiteral("def")), QString());
}

void TestProfileFile::readInteger_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("175") << 175;
    QTest::newRow("negative") << QByteArray("-20") << -20;
    QTest::newRow("hex") << QByteArray("0x1F") << 31;
    QTest::newRow("hex capital X") << QByteArray("0X10") << 16;
    QTest::newRow("hex full range") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("0x alone") << QByteArray("0x") << -7;
    QTest::newRow("digits then letters") << QByteArray("12abc") << -7;
    QTest::newRow("empty") << QByteArray("") << -7;
    QTest::newRow("decimal comma") << QByteArray("1,5") << -7;
    QTest::newRow("too large") << QByteArray("2147483648") << -7;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483648LL);
}

void TestProfileFile::readInteger() {
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("i.ini")), "[s]\r\nk=" + stored + "\r\n");
    QCOMPARE(ProfileFile(QStringLiteral("./i.ini")).ReadInteger(QStringLiteral("s"), QStringLiteral("k"), -7),
             expected);
}

void TestProfileFile::readBoolAndFloat() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("b.ini")),
               "[s]\r\nyes=1\r\nno=0\r\nodd=2\r\nbad=oui\r\nw=72,5\r\np=72.5\r\n");
    ProfileFile f(QStringLiteral("./b.ini"));
    const QString s = QStringLiteral("s");
    QVERIFY(f.ReadBool(s, QStringLiteral("yes"), false));
    QVERIFY(!f.ReadBool(s, QStringLiteral("no"), true));
    QVERIFY(f.ReadBool(s, QStringLiteral("odd"), false));
    QVERIFY(f.ReadBool(s, QStringLiteral("bad"), true));
    QVERIFY(!f.ReadBool(s, QStringLiteral("missing"), false));
    QCOMPARE(f.ReadFloat(s, QStringLiteral("w"), 0), 72.5);
    QCOMPARE(f.ReadFloat(s, QStringLiteral("p"), -1), -1.0); // the comma is the separator
    f.WriteBool(s, QStringLiteral("d"), true);
    f.WriteInteger(s, QStringLiteral("n"), -3);
    QCOMPARE(f.ReadString(s, QStringLiteral("d"), {}), QStringLiteral("1"));
    QCOMPARE(f.ReadString(s, QStringLiteral("n"), {}), QStringLiteral("-3"));
}

void TestProfileFile::sectionsAndKeysListing() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("l.ini")),
               "[Paul]\r\npassword=a\r\ntrace=1\r\n[Vide]\r\n[Marie]\r\npassword=b\r\n");
    ProfileFile f(QStringLiteral("./l.ini"));
    QCOMPARE(f.ReadSections(),
             (QStringList{QStringLiteral("Paul"), QStringLiteral("Vide"), QStringLiteral("Marie")}));
    QCOMPARE(f.ReadSection(QStringLiteral("paul")),
             (QStringList{QStringLiteral("password"), QStringLiteral("trace")}));
    QVERIFY(f.ReadSection(QStringLiteral("absent")).isEmpty());
    QVERIFY(f.SectionExists(QStringLiteral("Marie")));
    QVERIFY(!f.SectionExists(QStringLiteral("Vide"))); // a header without keys does not count
    QVERIFY(!f.ValueExists(QStringLiteral("Paul"), QStringLiteral("taille")));
}

void TestProfileFile::eraseSectionAndDeleteKey() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("e.ini")),
               "[Paul]\r\npassword=a\r\n[Marie]\r\npassword=b\r\nvaleur=2\r\n");
    ProfileFile f(QStringLiteral("./e.ini"));
    f.DeleteKey(QStringLiteral("Marie"), QStringLiteral("PASSWORD"));
    f.DeleteKey(QStringLiteral("Marie"), QStringLiteral("valeur"));
    QVERIFY(!f.SectionExists(QStringLiteral("Marie")));
    QVERIFY(f.ReadSections().contains(QStringLiteral("Marie"))); // the section stays, empty
    f.EraseSection(QStringLiteral("paul"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("e.ini"))), QByteArray("[Marie]\r\n"));
    f.DeleteKey(QStringLiteral("absent"), QStringLiteral("k")); // reports nothing
}

void TestProfileFile::bytesAreWindows1252() {
    WorkingDir dir;
    ProfileFile f(QStringLiteral("./calories.ini"));
    f.WriteString(QStringLiteral("légume"), QStringLiteral("Bœuf à l'étouffée"), QStringLiteral("5 €"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calories.ini"))), QByteArray("[l\xE9gume]\r\nB\x9C"
                                                                             "uf \xE0 l'\xE9touff\xE9"
                                                                             "e=5 \x80\r\n"));

    // Bytes the code page leaves undefined survive on lines nobody touches.
    WriteBytes(dir.file(QStringLiteral("u.ini")), "[s]\r\nodd=\x81\x8D\x8F\x90\x9D\r\nk=1\r\n");
    ProfileFile u(QStringLiteral("./u.ini"));
    u.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("2"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("u.ini"))),
             QByteArray("[s]\r\nodd=\x81\x8D\x8F\x90\x9D\r\nk=2\r\n"));
}

void TestProfileFile::textOutsideTheCodePageIsRefused() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("t.ini")), "[s]\r\nk=1\r\n");
    ProfileFile f(QStringLiteral("./t.ini"));
    QVERIFY_THROWS_EXCEPTION(KalimoError,
                             f.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("Łódź")));
    QVERIFY_THROWS_EXCEPTION(KalimoError,
                             f.WriteString(QStringLiteral("日本"), QStringLiteral("k"), QStringLiteral("1")));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("t.ini"))), QByteArray("[s]\r\nk=1\r\n"));
    QCOMPARE(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), {}), QStringLiteral("1"));
}

void TestProfileFile::bothPrefixesNameTheSameFileAndErrorsShowTheNameAsPassed() {
    WorkingDir dir;
    ProfileFile back(QStringLiteral(".\\compte.ini"));
    ProfileFile slash(QStringLiteral("./compte.ini"));
    back.WriteString(QStringLiteral("Paul"), QStringLiteral("password"), QStringLiteral("x"));
    QCOMPARE(slash.ReadString(QStringLiteral("Paul"), QStringLiteral("password"), {}), QStringLiteral("x"));

    // A folder in the way of the file: the write cannot happen.
    ProfileFile blocked(QStringLiteral(".\\sous/dossier.ini"));
    WriteBytes(dir.file(QStringLiteral("sous")), "un fichier, pas un dossier");
    try {
        blocked.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
        QFAIL("the write should have failed");
    } catch (const KalimoError& e) {
        QCOMPARE(e.message(), QStringLiteral("Impossible d'écrire dans .\\sous/dossier.ini"));
    }
}

void TestProfileFile::fileNamesResolveWithoutRegardToCase() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), "[3/2005]\r\nv1=70\r\n");
    ProfileFile f(QStringLiteral(".\\paul.ini"));
    QCOMPARE(f.ReadString(QStringLiteral("3/2005"), QStringLiteral("v1"), {}), QStringLiteral("70"));
    f.WriteString(QStringLiteral("3/2005"), QStringLiteral("v2"), QStringLiteral("71"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("Paul.ini")});
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.ini"))), QByteArray("[3/2005]\r\nv1=70\r\nv2=71\r\n"));
}

void TestProfileFile::changesMadeByAnotherProgramAreSeen() {
    WorkingDir dir;
    const QString path = dir.file(QStringLiteral("x.ini"));
    WriteBytes(path, "[s]\r\nk=1\r\n");
    ProfileFile f(QStringLiteral("./x.ini"));
    QCOMPARE(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), {}), QStringLiteral("1"));
    // Same size, rewritten in place: only the modification time tells.
    WriteBytes(path, "[s]\r\nk=2\r\n");
    QCOMPARE(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), {}), QStringLiteral("2"));
    // Replaced by another file.
    WriteBytes(dir.file(QStringLiteral("y.ini")), "[s]\r\nk=3\r\n");
    QFile::remove(path);
    QFile::rename(dir.file(QStringLiteral("y.ini")), path);
    QCOMPARE(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), {}), QStringLiteral("3"));
    QFile::remove(path);
    QCOMPARE(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("gone")),
             QStringLiteral("gone"));
}

void TestProfileFile::failedWriteLeavesTheOldFileAsItWas() {
    WorkingDir dir;
    const QString path = dir.file(QStringLiteral("compte.ini"));
    const QByteArray before = "[Paul]\r\npassword=secret\r\n";
    WriteBytes(path, before);
    ProfileFile f(QStringLiteral(".\\compte.ini"));
    {
        FileSizeLimit full(16); // the new text no longer fits: as on a full disk
        QVERIFY_THROWS_EXCEPTION(KalimoError, f.WriteString(QStringLiteral("Paul"), QStringLiteral("trace"),
                                                            QStringLiteral("234")));
    }
    QCOMPARE(ReadBytes(path), before);
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("compte.ini")});
    QVERIFY(!f.ValueExists(QStringLiteral("Paul"), QStringLiteral("trace")));
    // And the next write, with room again, works from the file as it is.
    f.WriteString(QStringLiteral("Paul"), QStringLiteral("trace"), QStringLiteral("234"));
    QCOMPARE(ReadBytes(path), QByteArray("[Paul]\r\npassword=secret\r\ntrace=234\r\n"));
}

void TestProfileFile::batchWritesOnceAndOnlyWhenSomethingChanged() {
    WorkingDir dir;
    ProfileFile f(QStringLiteral("./paul.ini"));
    auto writeMonth = [&f](const QString& value) {
        f.Update([&](ProfileDocument& doc) {
            bool changed = false;
            for (int d = 1; d <= 31; ++d)
                changed |= doc.WriteString(QStringLiteral("3/2005"), QStringLiteral("v%1").arg(d),
                                           d == 2 ? value : QStringLiteral("0"));
            return changed;
        });
    };
    writeMonth(QStringLiteral("72,5"));
    struct stat first {};
    QCOMPARE(::stat("paul.ini", &first), 0);
    QCOMPARE(f.ReadSection(QStringLiteral("3/2005")).size(), 31);

    writeMonth(QStringLiteral("72,5")); // nothing changes: the file is not replaced
    struct stat same {};
    QCOMPARE(::stat("paul.ini", &same), 0);
    QCOMPARE(same.st_ino, first.st_ino);

    writeMonth(QStringLiteral("71"));
    struct stat replaced {};
    QCOMPARE(::stat("paul.ini", &replaced), 0);
    QVERIFY(replaced.st_ino != first.st_ino); // a new file renamed into place, not an edit in place
    QCOMPARE(f.ReadString(QStringLiteral("3/2005"), QStringLiteral("v2"), {}), QStringLiteral("71"));

    // An edit that fails half-way changes nothing, in the file or in what is read afterwards.
    QVERIFY_THROWS_EXCEPTION(KalimoError, f.Update([](ProfileDocument& doc) {
        doc.WriteString(QStringLiteral("3/2005"), QStringLiteral("v1"), QStringLiteral("80"));
        doc.WriteString(QStringLiteral("3/2005"), QStringLiteral("v3"), QStringLiteral("€uro ☺"));
        return true;
    }));
    QCOMPARE(f.ReadString(QStringLiteral("3/2005"), QStringLiteral("v1"), {}), QStringLiteral("0"));
}

// A save copies the parts no edit touched as they were read, and lays out the others: whatever
// the edits, the file written is the one that laying out every line would give.
void TestProfileFile::partsCopiedAsReadMatchPartsLaidOut() {
    // Some parts end their lines with LF or CR only, or the file its last line without any: those
    // are always laid out. The same text with CR LF everywhere has every part copied.
    const QByteArray mixed = "\xEF\xBB\xBF; note\n[1/2005]\r\nv1=70\r\nv2=71\r\n[2/2005]\nv1=72\r\n"
                             "[3/2005]\r\nv1=73\r\n\r\n[4/2005]\r\nv1=74\r\n[5/2005]\rv1=75";
    QByteArray crlf = mixed;
    crlf.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
    crlf += "\r\n";
    ProfileDocument laidOut = ProfileDocument::Parse(mixed);
    ProfileDocument copied = ProfileDocument::Parse(crlf);
    QCOMPARE(copied.Serialize(), crlf);
    QCOMPARE(laidOut.Serialize(), crlf);
    QRandomGenerator random(31);
    for (int i = 0; i < 300; ++i) {
        const QString section = QStringLiteral("%1/2005").arg(1 + random.bounded(6));
        const QString key = QStringLiteral("v%1").arg(1 + random.bounded(3));
        const QString value = QString::number(random.bounded(3));
        switch (random.bounded(4)) {
        case 0:
            QCOMPARE(laidOut.EraseSection(section), copied.EraseSection(section));
            break;
        case 1:
            QCOMPARE(laidOut.DeleteKey(section, key), copied.DeleteKey(section, key));
            break;
        default:
            QCOMPARE(laidOut.WriteString(section, key, value), copied.WriteString(section, key, value));
        }
        QCOMPARE(copied.Serialize(), laidOut.Serialize());
        const QByteArray bytes = copied.Serialize();
        QCOMPARE(ProfileDocument::Parse(bytes).Serialize(), bytes);
    }
}

QTEST_APPLESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
