// The figures of the "Bilan" page and the journal's CSV files, without any window.
#include "store/kalimoerror.h"
#include "store/profilefile.h"
#include "summary/journalcsv.h"
#include "summary/weighttrend.h"
#include "testsupport/tempdir.h"
#include "weight/weightrecords.h"

#include <QProcess>
#include <QTest>

namespace {
// 80 kg on the 1st of March 2005, nothing on the 2nd ("0") and 4th (unreadable), 70 on the 3rd,
// 90 on the 5th; a key beyond February's length and a section with a leading zero are not read.
const QByteArray MarchWithGaps = "[3/2005]\r\nv1=80\r\nv2=0\r\nV3=70\r\nv4=7,,1\r\nv5=90\r\nv6=\r\n"
                                 "[2/2005]\r\nv30=75\r\n[03/2005]\r\nv7=60\r\n";

DateRange range(int y1, int m1, int d1, int y2, int m2, int d2) {
    return {QDate(y1, m1, d1), QDate(y2, m2, d2)};
}
} // namespace

class TestSummary : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void trendSlopeAndGoalOnAHandComputedSeries();
    void goalOutlook_data();
    void goalOutlook();
    void spans_data();
    void spans();
    void goalTypedLikeAWeight_data();
    void goalTypedLikeAWeight();
    void exportIsWhatASpreadsheetReads();
    void exportedFieldsAreNeverFormulas_data();
    void exportedFieldsAreNeverFormulas();
    void importRefusals_data();
    void importRefusals();
    void importOfBothFormsWritesWholeMonths();
    void filesThatCannotBeTaken_data();
    void filesThatCannotBeTaken();
};

void TestSummary::trendSlopeAndGoalOnAHandComputedSeries() {
    const std::vector<DayWeight> journal = ReadWeightJournal(ProfileDocument::Parse(MarchWithGaps));
    QCOMPARE(journal.size(), size_t(3));
    const std::vector<double> trend = SmoothedTrend(journal);
    // 80; 80 + 0,1 × (70 − 80) = 79; 79 + 0,1 × (90 − 79) = 80,1.
    QCOMPARE(trend, (std::vector<double>{80, 79, 80.1}));

    const SpanFigures f = ComputeSpanFigures(journal, range(2005, 3, 1, 2005, 3, 31));
    QCOMPARE(f.daysWeighed, 3);
    QCOMPARE(f.lowest, 70.0);
    QCOMPARE(f.highest, 90.0);
    QCOMPARE(f.mean, 80.0);
    QCOMPARE(*f.latestTrend, 80.1);
    QCOMPARE(f.latestDay, QDate(2005, 3, 5));
    // The trend day by day, days without weight holding it: 80, 80, 79, 79, 80,1 on x = 0 … 4.
    QVERIFY(f.slopePerDay);
    QVERIFY(qAbs(*f.slopePerDay - -0.08) < 1e-12);
    // 79,7 is 0,4 kg below at 0,08 kg a day: five days after the 5th.
    QCOMPARE(GoalText(ProjectGoal(79.7, f)), QStringLiteral("Objectif atteint vers le 10/03/2005"));
    QCOMPARE(GoalText(ProjectGoal(81, f)), QStringLiteral("La tendance s'éloigne de l'objectif"));

    // The span's weights only, but the trend carried from the journal's start.
    const SpanFigures last = ComputeSpanFigures(journal, range(2005, 3, 4, 2005, 3, 31));
    QCOMPARE(last.daysWeighed, 1);
    QCOMPARE(*last.latestTrend, 80.1);
    // The one-pass reading finds what one read per day finds.
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), MarchWithGaps);
    const std::vector<DayWeight> byDay = ReadWeightJournalByDay(ProfileFile(QStringLiteral("./Paul.ini")));
    QCOMPARE(byDay.size(), journal.size());
    for (size_t i = 0; i < journal.size(); ++i)
        QVERIFY(byDay[i].day == journal[i].day && byDay[i].kg == journal[i].kg);
}

void TestSummary::goalOutlook_data() {
    QTest::addColumn<QByteArray>("weights");
    QTest::addColumn<double>("goal");
    QTest::addColumn<QString>("text");
    // Falling 1 kg a day from the 1st to the 28th of February 2005.
    QByteArray falling = "[2/2005]\r\n";
    for (int d = 1; d <= 28; ++d)
        falling += "v" + QByteArray::number(d) + "=" + QByteArray::number(100 - d) + "\r\n";
    QTest::newRow("on a date") << falling << 50.0 << QString();
    QTest::newRow("upwards goal") << falling << 95.0 << QStringLiteral("La tendance s'éloigne de l'objectif");
    QTest::newRow("one weighing") << QByteArray("[2/2005]\r\nv3=70\r\n") << 60.0
                                  << QStringLiteral("Pas assez de pesées pour situer l'objectif");
    QTest::newRow("on the trend") << QByteArray("[2/2005]\r\nv3=70\r\n") << 70.0
                                  << QStringLiteral("Objectif atteint");
    QTest::newRow("flat") << QByteArray("[2/2005]\r\nv3=70\r\nv9=70\r\n") << 60.0
                          << QStringLiteral("La tendance s'éloigne de l'objectif");
}

void TestSummary::goalOutlook() {
    QFETCH(QByteArray, weights);
    QFETCH(double, goal);
    QFETCH(QString, text);
    const SpanFigures f = ComputeSpanFigures(ReadWeightJournal(ProfileDocument::Parse(weights)),
                                             range(2005, 1, 1, 2005, 2, 28));
    const GoalOutlook outlook = ProjectGoal(goal, f);
    if (text.isEmpty()) {
        // The date is the last weighed day plus the gap over the slope, rounded up.
        QCOMPARE(outlook.outcome, GoalOutcome::OnDate);
        const double days = std::ceil((goal - *f.latestTrend) / *f.slopePerDay);
        QCOMPARE(outlook.date, QDate(2005, 2, 28).addDays(qint64(days)));
        QVERIFY(*f.slopePerDay < -0.5 && *f.slopePerDay > -1.0); // the trend lags the weights
    } else {
        QCOMPARE(GoalText(outlook), text);
    }
}

void TestSummary::spans_data() {
    QTest::addColumn<int>("span");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    const QDate later(2026, 1, 1);
    QTest::newRow("4 semaines") << 0 << later << QDate(2005, 3, 4) << QDate(2005, 3, 31);
    QTest::newRow("3 mois") << 1 << later << QDate(2005, 1, 1) << QDate(2005, 3, 31);
    QTest::newRow("1 an") << 2 << later << QDate(2004, 4, 1) << QDate(2005, 3, 31);
    QTest::newRow("Tout") << 3 << later << QDate(2004, 12, 30) << QDate(2005, 3, 31);
    // The month under way ends today, or on a day weighed ahead of it.
    QTest::newRow("mois en cours") << 0 << QDate(2005, 3, 10) << QDate(2005, 2, 11) << QDate(2005, 3, 10);
    QTest::newRow("pesée à venir") << 0 << QDate(2005, 3, 2) << QDate(2005, 2, 6) << QDate(2005, 3, 5);
}

void TestSummary::spans() {
    QFETCH(int, span);
    QFETCH(QDate, today);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    std::vector<DayWeight> journal = ReadWeightJournal(ProfileDocument::Parse(MarchWithGaps));
    journal.insert(journal.begin(), DayWeight{QDate(2004, 12, 30).toJulianDay(), 81});
    journal.push_back(DayWeight{QDate(2005, 4, 2).toJulianDay(), 79});
    const DateRange r = SpanRange(SummarySpan(span), 3, 2005, today, journal);
    QCOMPARE(r.first, first);
    QCOMPARE(r.last, last);
}

void TestSummary::goalTypedLikeAWeight_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("goal"); // 0: no goal; -1: refused
    QTest::addColumn<QString>("message");
    QTest::newRow("comma") << "68,5" << 68.5 << QString();
    QTest::newRow("period") << "68.5" << 68.5 << QString();
    QTest::newRow("empty") << "" << 0.0 << QString();
    QTest::newRow("zero") << "0" << 0.0 << QString();
    QTest::newRow("letters") << "soixante" << -1.0
                             << "'soixante' n'est pas une valeur en virgule flottante correcte";
    QTest::newRow("two commas") << "6,8,5" << -1.0
                                << "'6,8,5' n'est pas une valeur en virgule flottante correcte";
    QTest::newRow("exponent") << "1E2" << -1.0 << "'1E2' n'est pas une valeur en virgule flottante correcte";
    QTest::newRow("sign") << "-70" << -1.0 << "'-70' n'est pas une valeur en virgule flottante correcte";
    QTest::newRow("lone comma") << "," << -1.0 << "',' n'est pas une valeur en virgule flottante correcte";
    QTest::newRow("too light") << "19,9" << -1.0 << "L'objectif doit être un poids de 20 à 500 kg";
    QTest::newRow("too heavy") << "500,1" << -1.0 << "L'objectif doit être un poids de 20 à 500 kg";
}

void TestSummary::goalTypedLikeAWeight() {
    QFETCH(QString, typed);
    QFETCH(double, goal);
    QFETCH(QString, message);
    try {
        const std::optional<double> parsed = ParseGoal(typed);
        QCOMPARE(parsed.value_or(0), goal);
    } catch (const KalimoError& e) {
        QCOMPARE(goal, -1.0);
        QCOMPARE(e.message(), message);
    }
}

void TestSummary::exportIsWhatASpreadsheetReads() {
    WorkingDir dir;
    const ProfileDocument db =
        ProfileDocument::Parse("[catégories]\r\n[Pain; \"complet\"]\r\nc=2,5\r\np=0,1\r\n"
                               "[Eau]\r\nc=0\r\n");
    const ProfileDocument log = ProfileDocument::Parse("[5/3/2005]\r\nPain; \"complet\"=100\r\nEau=3\r\n"
                                                       "[1/3/2005]\r\nEau=1\r\n[9/9/2009]\r\nEau=2\r\n");
    WriteCsvFile(dir.file(QStringLiteral("repas.csv")), FoodLogCsv(log, db, range(2005, 3, 1, 2005, 3, 31)));
    const QByteArray bytes = ReadBytes(dir.file(QStringLiteral("repas.csv")));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "date;aliment;quantit\xC3\xA9;calories;prot\xC3\xA9ines;glucides;"
                             "lipides\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count("\n"));
    QVERIFY(bytes.contains("05/03/2005;\"Pain; \"\"complet\"\"\";100;250;10;0;0\r\n"));

    const QByteArray weights =
        WeightsCsv(ReadWeightJournal(ProfileDocument::Parse(MarchWithGaps)), DateRange{});
    QCOMPARE(weights, QByteArray("\xEF\xBB\xBF"
                                 "date;poids\r\n01/03/2005;80\r\n03/03/2005;70\r\n05/03/2005;90\r\n"));

    // Python's csv module, with the ";" dialect, reads the rows back field for field.
    const QString python = QStringLiteral("python3");
    QProcess p;
    p.start(python, {QStringLiteral("-c"),
                     QStringLiteral("import csv,sys\n"
                                    "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                    "    for row in csv.reader(f, delimiter=';'):\n"
                                    "        print('|'.join(row))\n"),
                     dir.file(QStringLiteral("repas.csv"))});
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit)
        QSKIP("python3 is not at hand");
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()),
             QStringLiteral("date|aliment|quantité|calories|protéines|glucides|lipides\n"
                            "01/03/2005|Eau|1|0|0|0|0\n"
                            "05/03/2005|Pain; \"complet\"|100|250|10|0|0\n"
                            "05/03/2005|Eau|3|0|0|0|0\n"));
}

void TestSummary::exportedFieldsAreNeverFormulas_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plus") << "+1" << QByteArray("'+1");
    QTest::newRow("minus") << "-2+3" << QByteArray("'-2+3");
    QTest::newRow("at") << "@SOMME(A1:A9)" << QByteArray("'@SOMME(A1:A9)");
    QTest::newRow("equals") << "=1+1" << QByteArray("'=1+1");
    QTest::newRow("tab") << "\tx" << QByteArray("'\tx");
    QTest::newRow("carriage return, quoted") << "\rx" << QByteArray("\"'\rx\"");
    QTest::newRow("separator, quoted") << "=A1;B1" << QByteArray("\"'=A1;B1\"");
    QTest::newRow("negative number") << "-2,5" << QByteArray("-2,5");
    QTest::newRow("exponent") << "-1,5E-7" << QByteArray("-1,5E-7");
    QTest::newRow("date") << "05/03/2005" << QByteArray("05/03/2005");
    QTest::newRow("inside") << "Pain + beurre" << QByteArray("Pain + beurre");
}

void TestSummary::exportedFieldsAreNeverFormulas() {
    QFETCH(QString, field);
    QFETCH(QByteArray, written);
    QCOMPARE(CsvLine({QStringLiteral("05/03/2005"), field, QStringLiteral("2")}),
             "05/03/2005;" + written + ";2");
}

void TestSummary::importRefusals_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text for a weight")
        << QByteArray("date;poids\r\n01/03/2005;lourd\r\n") << 2 << "poids illisible « lourd »";
    QTest::newRow("impossible date") << QByteArray("31/02/2005;70\r\n") << 1
                                     << "date impossible « 31/02/2005 »";
    QTest::newRow("unreadable date") << QByteArray("01/03/2005;70\r\nhier;70\r\n") << 2
                                     << "date illisible « hier », attendue sous la forme JJ/MM/AAAA";
    QTest::newRow("iso date in ; form") << QByteArray("01/03/2005;70\r\n2005-03-02;70\r\n") << 2
                                        << "date illisible « 2005-03-02 », attendue sous la forme JJ/MM/AAAA";
    QTest::newRow("zero") << QByteArray("01/03/2005;0\r\n") << 1 << "poids nul";
    QTest::newRow("below 20") << QByteArray("01/03/2005;19,9\r\n") << 1
                              << "poids « 19,9 » en dehors de 20 à 500 kg";
    QTest::newRow("above 500") << QByteArray("2005-03-01,500.5\n") << 1
                               << "poids « 500.5 » en dehors de 20 à 500 kg";
    QTest::newRow("comma in , form") << QByteArray("2005-03-01,70,5\n") << 1
                                     << "3 champs au lieu de 2 (la date et le poids, séparés par « , »)";
    QTest::newRow("one field") << QByteArray("01/03/2005;70\r\n02/03/2005\r\n") << 2
                               << "1 champ au lieu de 2 (la date et le poids, séparés par « ; »)";
    QTest::newRow("two weights one day") << QByteArray("01/03/2005;70\r\n02/03/2005;71\r\n01/03/2005;72\r\n")
                                         << 3 << "le 01/03/2005 a des poids différents lignes 1, 3";
    QTest::newRow("year out of reach")
        << QByteArray("01/03/1999;70\r\n") << 1
        << "année 1999 en dehors de 2002 à 2052, les années que Kalimo affiche";
    QTest::newRow("open quote") << QByteArray("01/03/2005;70\r\n\"02/03/2005;71\r\n") << 2
                                << "guillemet ouvert jamais fermé";
}

void TestSummary::importRefusals() {
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, reason);
    const WeightImport plan = PlanWeightImport(file, ProfileDocument());
    QVERIFY(!plan.refused.isEmpty());
    QCOMPARE(plan.refused.last().line, line);
    QCOMPARE(plan.refused.last().reason, reason);
    QVERIFY(ImportSummary(plan).contains(QStringLiteral("ligne %1 : %2").arg(line).arg(reason)));
}

void TestSummary::importOfBothFormsWritesWholeMonths() {
    WorkingDir dir;
    // What the Windows program left: a comment line, March with two weights, May untouched.
    const QByteArray before = "; journal\r\n[3/2005]\r\nv1=80\r\nv2=70,5\r\nv4=\r\n[5/2005]\r\nv1=66\r\n";
    WriteBytes(dir.file(QStringLiteral("Paul.ini")), before);
    ProfileFile file(QStringLiteral(".\\Paul.ini"));

    // The ";" form from a French spreadsheet, quoted fields and a repeated line included.
    const QByteArray french = "\xEF\xBB\xBF"
                              "date;poids\r\n01/03/2005;80,0\r\n\"02/03/2005\";\"71,5\"\r\n"
                              "04/03/2005;72\r\n04/03/2005;72,0\r\n1/2/2004;69\r\n";
    WeightImport plan = PlanWeightImport(french, file.Document());
    QCOMPARE(plan.fresh.size(), size_t(2)); // the 4th (empty) and February 2004
    QCOMPARE(plan.equal.size(), size_t(1));
    QCOMPARE(plan.differing.size(), size_t(1));
    QCOMPARE(plan.differing[0].stored, QStringLiteral("70,5"));
    QVERIFY(plan.refused.isEmpty());
    QVERIFY(ImportSummary(plan).contains(
        QStringLiteral("le 02/03/2005 : 70,5 enregistré, 71,5 dans le fichier (ligne 3)")));

    // Kept: only the new days are written, each month whole and in day order.
    QCOMPARE(ApplyWeightImport(file, plan, false), 2);
    QByteArray expected = "; journal\r\n[3/2005]\r\nv1=80\r\nv2=70,5\r\nv4=72\r\nv3=0\r\n";
    for (int d = 5; d <= 31; ++d)
        expected += "v" + QByteArray::number(d) + "=0\r\n";
    expected += "[5/2005]\r\nv1=66\r\n[2/2004]\r\nv1=69\r\n";
    for (int d = 2; d <= 29; ++d)
        expected += "v" + QByteArray::number(d) + "=0\r\n";
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.ini"))), expected);

    // The other form, replacing what differs.
    plan = PlanWeightImport("date,weight\n2005-03-02,71.5\n2005-05-02,65.25\n", file.Document());
    QCOMPARE(plan.fresh.size(), size_t(1));
    QCOMPARE(plan.differing.size(), size_t(1));
    QCOMPARE(ApplyWeightImport(file, plan, true), 2);
    const QStringList march = ReadMonthWeights(file, 3, 2005, 31);
    QCOMPARE(march.mid(0, 4), (QStringList{"80", "71,5", "0", "72"}));
    QCOMPARE(ReadMonthWeights(file, 5, 2005, 3), (QStringList{"66", "65,25", "0"}));
    QVERIFY(ReadBytes(dir.file(QStringLiteral("Paul.ini"))).startsWith("; journal\r\n[3/2005]\r\nv1=80\r\n"));
}

void TestSummary::filesThatCannotBeTaken_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "Le fichier est vide : rien n'a été importé";
    QTest::newRow("mark and blanks") << QByteArray("\xEF\xBB\xBF\r\n  \r\n")
                                     << "Le fichier est vide : rien n'a été importé";
    QTest::newRow("binary") << QByteArray("date;poids\r\n\x89PNG\x00\x01", 19)
                            << "Ligne 2 : ce fichier n'est pas un fichier texte. Rien n'a été importé";
    QTest::newRow("tabs")
        << QByteArray("\r\n01/03/2005\t70\r\n")
        << "Ligne 2 : ni « ; » ni « , » entre la date et le poids. Le fichier doit être de la "
           "forme « JJ/MM/AAAA;poids » ou « AAAA-MM-JJ,weight ». Rien n'a été importé";
}

void TestSummary::filesThatCannotBeTaken() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    try {
        PlanWeightImport(file, ProfileDocument());
        QFAIL("the file was taken");
    } catch (const KalimoError& e) {
        QCOMPARE(e.message(), message);
    }
    // A file of 100 MB is refused before it is read.
    WorkingDir dir;
    QFile big(dir.file(QStringLiteral("gros.csv")));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(100 * 1024 * 1024));
    big.close();
    QVERIFY_THROWS_EXCEPTION(KalimoError, ReadImportFile(big.fileName()));
}

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
