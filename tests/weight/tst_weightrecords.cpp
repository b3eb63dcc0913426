#include "store/kalimoerror.h"
#include "testsupport/tempdir.h"
#include "weight/bodymassindex.h"
#include "weight/weightrecords.h"

#include <QtTest>

class TestWeightRecords : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void calendar();
    void monthNeverSavedReadsZeros();
    void savingWritesEveryDayOfTheMonth();
    void sectionsAreReadOnlyUnderTheirExactKey();
    void chartWeights();
    void bodyMassIndex_data();
    void bodyMassIndex();
    void indexFormat_data();
    void indexFormat();
};

void TestWeightRecords::calendar() {
    QCOMPARE(DaysInMonth(2, 2004), 29);
    QCOMPARE(DaysInMonth(2, 2005), 28);
    QCOMPARE(DaysInMonth(2, 2000), 29);
    QCOMPARE(DaysInMonth(2, 2100), 28);
    QCOMPARE(DaysInMonth(4, 2005), 30);
    QCOMPARE(DaysInMonth(12, 2005), 31);
    QCOMPARE(MonthKey(3, 2005), QStringLiteral("3/2005"));
    QCOMPARE(WeightFileName(QStringLiteral("Paul")), QStringLiteral(".\\Paul.ini"));
}

void TestWeightRecords::monthNeverSavedReadsZeros() {
    WorkingDir dir;
    const ProfileFile f(WeightFileName(QStringLiteral("Paul")));
    QCOMPARE(ReadMonthWeights(f, 3, 2005, 31), QStringList(31, QStringLiteral("0")));
    QVERIFY(FilesHere().isEmpty());
}

void TestWeightRecords::savingWritesEveryDayOfTheMonth() {
    WorkingDir dir;
    ProfileFile f(WeightFileName(QStringLiteral("Paul")));
    QStringList february(28, QString());
    february[1] = QStringLiteral("72,5");
    february[3] = QStringLiteral("71,8");
    WriteMonthWeights(f, 2, 2005, february);
    QByteArray expected = "[2/2005]\r\n";
    for (int d = 1; d <= 28; ++d)
        expected += "v" + QByteArray::number(d) + "=" + (d == 2 ? "72,5" : d == 4 ? "71,8" : "0") + "\r\n";
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.ini"))), expected);
    QCOMPARE(february.at(0), QStringLiteral("0")); // empty cells became "0"

    QStringList leap(29, QStringLiteral("0"));
    WriteMonthWeights(f, 2, 2004, leap);
    QCOMPARE(f.ReadSection(QStringLiteral("2/2004")).size(), 29);
    QCOMPARE(ReadMonthWeights(f, 2, 2005, 28), february);
}

void TestWeightRecords::sectionsAreReadOnlyUnderTheirExactKey() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("Paul.ini")),
               "[03/2005]\r\nv1=80\r\n[3/2005]\r\nv2=72.5\r\nv40=9\r\n");
    const QStringList march = ReadMonthWeights(ProfileFile(QStringLiteral(".\\Paul.ini")), 3, 2005, 31);
    QCOMPARE(march.at(0), QStringLiteral("0"));
    QCOMPARE(march.at(1), QStringLiteral("72.5")); // shown as the file holds it
    QCOMPARE(march.size(), 31);
}

void TestWeightRecords::chartWeights() {
    QVERIFY(!ChartWeight(QStringLiteral("0")));
    QVERIFY(!ChartWeight(QString()));
    QCOMPARE(*ChartWeight(QStringLiteral("0,0")), 0.0);
    QCOMPARE(*ChartWeight(QStringLiteral("72.5")), 72.5);
    QCOMPARE(*ChartWeight(QStringLiteral("68")), 68.0);
    try {
        ChartWeight(QStringLiteral("7.2,5"));
        QFAIL("no error");
    } catch (const KalimoError& e) {
        // The message shows the text after the period became a comma.
        QCOMPARE(e.message(), QStringLiteral("'7,2,5' n'est pas une valeur en virgule flottante correcte"));
    }
    QVERIFY_THROWS_EXCEPTION(KalimoError, ChartWeight(QStringLiteral(",")));
}

void TestWeightRecords::bodyMassIndex_data() {
    QTest::addColumn<double>("weight");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("category");
    QTest::newRow("72,5 kg at 175 cm") << 72.5 << 175 << "23,67"
                                       << "Poids normal";
    QTest::newRow("exactly 18,5") << 56.65625 << 175 << "18,5"
                                  << "Maigreur";
    QTest::newRow("exactly 25") << 76.5625 << 175 << "25"
                                << "Poids normal";
    QTest::newRow("exactly 30") << 91.875 << 175 << "30"
                                << "Surpoids";
    QTest::newRow("64 kg at 160 cm") << 64.0 << 160 << "25"
                                     << "Poids normal";
    QTest::newRow("just above 30") << 92.0 << 175 << "30,04"
                                   << "Obésité modérée";
    QTest::newRow("just above 35") << 107.5 << 175 << "35,1"
                                   << "Obésité sévère";
    QTest::newRow("60 kg at 100 cm") << 60.0 << 100 << "60"
                                     << "Obésité très sévère";
    QTest::newRow("no weight") << 0.0 << 175 << "0"
                               << "Maigreur";
}

void TestWeightRecords::bodyMassIndex() {
    QFETCH(double, weight);
    QFETCH(int, height);
    QFETCH(QString, shown);
    QFETCH(QString, category);
    const auto index = BodyMassIndex(float(weight), height);
    QVERIFY(index);
    QCOMPARE(FormatBodyMassIndex(*index), shown);
    QCOMPARE(BodyMassClass(*index), category);
    QVERIFY(!BodyMassIndex(float(weight), 0));
}

void TestWeightRecords::indexFormat_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two decimals") << 23.6734 << "23,67";
    QTest::newRow("whole") << 25.0 << "25";
    QTest::newRow("one decimal") << 18.5 << "18,5";
    QTest::newRow("under ten") << 9.8765 << "9,88";
    QTest::newRow("four digits at most") << 123.456 << "123,5";
    QTest::newRow("rounds to whole") << 39.999 << "40";
    QTest::newRow("thousands") << 1234.56 << "1235";
}

void TestWeightRecords::indexFormat() {
    QFETCH(double, value);
    QFETCH(QString, shown);
    QCOMPARE(FormatBodyMassIndex(float(value)), shown);
}

QTEST_APPLESS_MAIN(TestWeightRecords)
#include "tst_weightrecords.moc"
