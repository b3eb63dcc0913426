// The "Bilan" page in the main window: the goal, the figures following the grid, and the CSV
// files written and read through the dialogs.
#include "charts/weightchart.h"
#include "summary/summarypage.h"
#include "testsupport/chartlabels.h"
#include "testsupport/windowfixture.h"
#include "weight/stringgrid.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>
#include <QValueAxis>
#include <QXYSeries>

namespace {
// Paul, 175 cm, weighed on the 1st and 2nd of March 2005.
const QByteArray Accounts = "[Paul]\r\npassword=pw\r\ntaille=175\r\ndetails=0\r\n";
const QByteArray Weights = "[3/2005]\r\nv1=80\r\nv2=79,5\r\n";

SummaryPage* page() {
    return Form2->TabSheet3;
}

// Whether the weight axis of the page's chart shows every value given.
bool axisShows(std::initializer_list<double> kilos) {
    const auto* axis = qobject_cast<QValueAxis*>(page()->Chart2->axes(Qt::Vertical).value(0));
    return axis && std::all_of(kilos.begin(), kilos.end(),
                               [&](double k) { return k > axis->min() && k < axis->max(); });
}

void openBilan() {
    ShowMonth(3, 2005);
    Form2->PageControl1->setCurrentWidget(page());
    QVERIFY(page()->isVisible());
}
} // namespace

class TestSummaryPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void thirdPageFollowsTheGrid();
    void goalIsTypedLikeAWeight();
    void exportWritesTheChosenFile();
    void chartIsSavedAndPrintedLikeTheMonthChart();
    void importAsksBeforeWriting_data();
    void importAsksBeforeWriting();
    void chartLabelsReadCleanly_data();
    void chartLabelsReadCleanly();
    void rateIsStoredOrRefused();
    void energyChartReadsCleanly_data();
    void energyChartReadsCleanly();
    void aLoneWeighingShows();
};

void TestSummaryPage::thirdPageFollowsTheGrid() {
    OpenAccount p(Accounts, Weights);
    QCOMPARE(Form2->PageControl1->count(), 3);
    QCOMPARE(Form2->PageControl1->tabText(0), QStringLiteral("Graphique"));
    QCOMPARE(Form2->PageControl1->tabText(1), QStringLiteral("Calories"));
    QCOMPARE(Form2->PageControl1->tabText(2), QStringLiteral("&Bilan"));
    openBilan();
    QVERIFY(page()->Label33->text().contains(QStringLiteral("Jours pesés : 2")));
    QVERIFY(axisShows({79.5, 80}));
    QVERIFY(page()->Label33->text().contains(QStringLiteral("IMC de la tendance : 26,11 (Surpoids)")));
    QVERIFY(!page()->Label33->accessibleName().isEmpty() && !page()->Label34->accessibleName().isEmpty());
    // A weight typed in the grid while the page is in front shows at once.
    Form2->StringGrid1->SetRow(3);
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("79"));
    QTRY_VERIFY(page()->Label33->text().contains(QStringLiteral("Jours pesés : 3")));
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestSummaryPage::goalIsTypedLikeAWeight() {
    OpenAccount p(Accounts, Weights);
    openBilan();
    QCOMPARE(page()->Label34->text(), QStringLiteral("Aucun objectif fixé"));
    QTest::keyClicks(page()->Edit5, QStringLiteral("7a-8.5"));
    QCOMPARE(page()->Edit5->text(), QStringLiteral("78,5"));
    QTest::keyClick(page()->Edit5, Qt::Key_Return);
    QCOMPARE(p.accountsFile(), Accounts + "objectif=78,5\r\n");
    QCOMPARE(page()->Label34->text(), QStringLiteral("Objectif atteint vers le 31/03/2005"));
    QVERIFY(axisShows({78.5, 80}));

    // Out of bounds: refused with its message, nothing written.
    page()->Edit5->setText(QStringLiteral("15"));
    QTest::mouseClick(page()->SpeedButton15, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{"L'objectif doit être un poids de 20 à 500 kg."});
    QCOMPARE(p.accountsFile(), Accounts + "objectif=78,5\r\n");
}

void TestSummaryPage::exportWritesTheChosenFile() {
    OpenAccount p(Accounts, Weights);
    openBilan();
    p.dialogs.nextFileName = p.dir.file(QStringLiteral("poids"));
    QTest::mouseClick(page()->SpeedButton16, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("Poids Paul"));
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("poids.csv"))),
             QByteArray("\xEF\xBB\xBF"
                        "date;poids\r\n01/03/2005;80\r\n02/03/2005;79,5\r\n"));
    // Written again over the same file: the question names the file really written, ".csv" and all.
    WriteBytes(p.dir.file(QStringLiteral("poids.csv")), "edited in a spreadsheet");
    p.dialogs.answers = {QMessageBox::Yes};
    QTest::mouseClick(page()->SpeedButton16, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY(p.dialogs.texts().constFirst().contains(QStringLiteral("poids.csv")));
    QVERIFY(ReadBytes(p.dir.file(QStringLiteral("poids.csv"))).startsWith("\xEF\xBB\xBF"));
    p.dialogs.shown.clear();
    // Cancelled: nothing written.
    p.dialogs.nextFileName.clear();
    QTest::mouseClick(page()->SpeedButton18, Qt::LeftButton);
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Repas Paul.csv"))));
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestSummaryPage::chartIsSavedAndPrintedLikeTheMonthChart() {
    OpenAccount p(Accounts, Weights);
    openBilan();
    p.dialogs.nextFileName = p.dir.file(QStringLiteral("bilan"));
    QTest::mouseClick(page()->SpeedButton14, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredCaption, QStringLiteral("Enregistrement de ce graphique..."));
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("Bilan 3 mois - Mars 2005"));
    QVERIFY(ReadBytes(p.dir.file(QStringLiteral("bilan.jpg"))).startsWith("\xFF\xD8"));
    p.dialogs.acceptPrint = false;
    QTest::mouseClick(page()->SpeedButton13, Qt::LeftButton);
    QCOMPARE(p.dialogs.printRequests, 1);
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestSummaryPage::importAsksBeforeWriting_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("day2");
    QTest::addColumn<QString>("day3");
    QTest::addColumn<QString>("done");
    QTest::newRow("annuler") << int(QMessageBox::Cancel) << "79,5"
                             << "0" << QString();
    QTest::newRow("garder") << int(QMessageBox::No) << "79,5"
                            << "78"
                            << "1 jour importé.";
    QTest::newRow("remplacer") << int(QMessageBox::Yes) << "79"
                               << "78"
                               << "2 jours importés.";
}

void TestSummaryPage::importAsksBeforeWriting() {
    QFETCH(int, answer);
    QFETCH(QString, day2);
    QFETCH(QString, day3);
    QFETCH(QString, done);
    OpenAccount p(Accounts, Weights);
    openBilan();
    WriteBytes(p.dir.file(QStringLiteral("ailleurs.csv")),
               "date,weight\n2005-03-02,79\n2005-03-03,78\n2005-03-04,x\n");
    p.dialogs.nextOpenFileName = p.dir.file(QStringLiteral("ailleurs.csv"));
    p.dialogs.answers = {QMessageBox::StandardButton(answer)};
    QTest::mouseClick(page()->SpeedButton17, Qt::LeftButton);
    const QString summary = p.dialogs.shown.value(0).text;
    QVERIFY(summary.contains(QStringLiteral("Jours nouveaux : 1\n")));
    QVERIFY(summary.contains(QStringLiteral("Jours différents de ceux enregistrés : 1\n")));
    QVERIFY(summary.contains(QStringLiteral("ligne 4 : poids illisible « x »")));
    QCOMPARE(p.dialogs.shown.value(0).buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
        QCOMPARE(p.weightFile(), Weights);
        QCOMPARE(p.dialogs.shown.size(), 1);
        return;
    }
    // The grid shows the month as written; the file holds the whole month.
    QCOMPARE(Form2->StringGrid1->Cells(1, 2), day2);
    QCOMPARE(Form2->StringGrid1->Cells(1, 3), day3);
    QCOMPARE(p.weightFile().count("\r\n"), 32);
    QCOMPARE(p.dialogs.shown.last().text, done);
}

namespace {
// Weighed every day for `days` days up to 31 March 2005, between 70,5 and 82,5 kg.
QByteArray daysUpToMarch2005(int days) {
    QMap<QDate, QByteArray> months;
    for (int i = 0; i < days; ++i) {
        const QDate day = QDate(2005, 3, 31).addDays(-i);
        months[QDate(day.year(), day.month(), 1)] +=
            "v" + QByteArray::number(day.day()) + "=" + QByteArray::number(70 + i * 7 % 13) + ",5\r\n";
    }
    QByteArray weights;
    for (auto it = months.cbegin(); it != months.cend(); ++it)
        weights += "[" + QByteArray::number(it.key().month()) + "/" + QByteArray::number(it.key().year()) +
                   "]\r\n" + it.value();
    return weights;
}

// Lets the chart lay its axes out again after a change of range or of labels' step.
void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}
} // namespace

void TestSummaryPage::chartLabelsReadCleanly_data() {
    QTest::addColumn<int>("days");
    QTest::addColumn<QSize>("window"); // empty: the smallest the main window allows, its default
    QTest::addColumn<bool>("printed");
    for (const int days : {1, 7, 91, 3652}) {
        QTest::addRow("%d days, smallest", days) << days << QSize() << false;
        QTest::addRow("%d days, 1280x1024", days) << days << QSize(1280, 1000) << false;
        QTest::addRow("%d days, full HD", days) << days << QSize(1920, 1050) << false;
        QTest::addRow("%d days, printed", days) << days << QSize() << true;
    }
}

void TestSummaryPage::chartLabelsReadCleanly() {
    QFETCH(int, days);
    QFETCH(QSize, window);
    QFETCH(bool, printed);
    OpenAccount p(Accounts + "objectif=74\r\n", daysUpToMarch2005(days));
    Form2->resize(window.isEmpty() ? Form2->minimumSize() : window);
    Form2->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form2));
    openBilan();
    for (int span = 0; span < page()->ComboBox4->count(); ++span) {
        page()->ComboBox4->setCurrentIndex(span);
        page()->RefreshSummary();
        settle();
        QRectF sheet(QPoint(), page()->ChartView2->size());
        const QList<DrawnText> texts =
            printed ? TextsPrinted(page()->ChartView2, &sheet) : TextsDrawn(page()->ChartView2);
        const QStringList faults = printed ? PrintedFaults(texts, sheet) : LabelFaults(texts, sheet);
        const QString name = page()->ComboBox4->currentText();
        QVERIFY2(faults.isEmpty(),
                 qPrintable(name + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
        QStringList seen;
        for (const DrawnText& t : texts)
            seen << t.text;
        QVERIFY2(seen.filter(QRegularExpression(QStringLiteral("^\\d\\d$"))).size() >= 2 &&
                     seen.filter(QStringLiteral("/20")).size() >= 2,
                 qPrintable(name + QStringLiteral(": ") + seen.join(QLatin1Char('|'))));
    }
}

// The rate beside the goal: the default shown until one is chosen, one faster than 1 % of the
// trend weight refused with the reason and nothing written, another stored as it is.
void TestSummaryPage::rateIsStoredOrRefused() {
    OpenAccount p(Accounts + "objectif=70\r\nrythme=vite\r\n", Weights);
    openBilan();
    QComboBox* rate = page()->ComboBox40;
    QCOMPARE(rate->currentText(), QStringLiteral("\u22120,5 kg par semaine"));
    QCOMPARE(page()->Label42->text(),
             QStringLiteral("Dépense estimée : encore 14 jours de repas et 7 pesées"));
    const QByteArray before = p.accountsFile();
    rate->setCurrentIndex(0);
    Q_EMIT rate->activated(0);
    QCOMPARE(p.dialogs.texts(),
             QStringList{"Ce rythme est trop rapide : au plus 1 % du poids par semaine, soit "
                         "0,8 kg par semaine pour une tendance de 79,9 kg."});
    QCOMPARE(rate->currentText(), QStringLiteral("\u22120,5 kg par semaine"));
    QCOMPARE(p.accountsFile(), before);
    rate->setFocus();
    QTest::keyClick(rate, Qt::Key_Down);
    QCOMPARE(rate->currentText(), QStringLiteral("\u22120,25 kg par semaine"));
    QCOMPARE(p.accountsFile(), Accounts + "objectif=70\r\nrythme=-0,25\r\n");
    QCOMPARE(p.dialogs.shown.size(), 1);
}

void TestSummaryPage::energyChartReadsCleanly_data() {
    QTest::addColumn<QSize>("window"); // empty: the smallest the main window allows
    QTest::addColumn<bool>("printed");
    QTest::newRow("smallest") << QSize() << false;
    QTest::newRow("full HD") << QSize(1920, 1050) << false;
    QTest::newRow("printed") << QSize() << true;
}

// The chart of expenditure and intake takes the weight chart's place, reads cleanly at every
// size and on paper, and is what the save and print buttons take.
void TestSummaryPage::energyChartReadsCleanly() {
    QFETCH(QSize, window);
    QFETCH(bool, printed);
    // A year of weights and meals up to March 2005.
    QByteArray weights, log;
    for (int month = 1; month <= 15; ++month) {
        const int m = (month - 1) % 12 + 1, y = month <= 12 ? 2004 : 2005;
        weights += "[" + QByteArray::number(m) + "/" + QByteArray::number(y) + "]\r\n";
        for (int d = 1; d <= 28; ++d) {
            weights += "v" + QByteArray::number(d) + "=" + QByteArray::number(90 - month - d / 10) + "\r\n";
            log += "[" + QByteArray::number(d) + "/" + QByteArray::number(m) + "/" + QByteArray::number(y) +
                   "]\r\nAbats=" + QByteArray::number(15 + d % 5) + "\r\n";
        }
    }
    OpenAccount p(Accounts, weights);
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")), log);
    Form2->resize(window.isEmpty() ? Form2->minimumSize() : window);
    Form2->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form2));
    openBilan();
    QVERIFY(page()->Label42->text().startsWith(QStringLiteral("Dépense estimée : 2 ")));
    QTest::mouseClick(page()->CheckBox40, Qt::LeftButton);
    QVERIFY(page()->ChartView40->isVisible() && !page()->ChartView2->isVisible());
    for (const SummarySpan span : {SummarySpan::FourWeeks, SummarySpan::All}) {
        page()->ComboBox4->setCurrentIndex(int(span));
        page()->RefreshSummary();
        QCoreApplication::processEvents();
        QRectF sheet(QPoint(), page()->ChartView40->size());
        const QList<DrawnText> texts =
            printed ? TextsPrinted(page()->ChartView40, &sheet) : TextsDrawn(page()->ChartView40);
        const QStringList faults =
            printed ? PrintedFaults(texts, sheet, QStringLiteral("kcal")) : LabelFaults(texts, sheet);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QStringList seen;
        for (const DrawnText& t : texts)
            seen << t.text;
        // A PDF reader finds the words one by one: "Dépense", "2", "400".
        QVERIFY2(seen.filter(QStringLiteral("Dépense")).size() >= 1 &&
                     seen.filter(QStringLiteral("/20")).size() >= 2 &&
                     seen.filter(QRegularExpression(QStringLiteral("^([12]\\s?)?\\d00$"))).size() >= 2,
                 qPrintable(seen.join(QLatin1Char('|'))));
    }
    p.dialogs.nextFileName = p.dir.file(QStringLiteral("energie"));
    QTest::mouseClick(page()->SpeedButton14, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("Dépense et apports Tout - Mars 2005"));
    QVERIFY(ReadBytes(p.dir.file(QStringLiteral("energie.jpg"))).startsWith("\xFF\xD8"));
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestSummaryPage::aLoneWeighingShows() {
    OpenAccount p(Accounts, "[3/2005]\r\nv15=80\r\n");
    Form2->resize(Form2->minimumSize());
    Form2->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form2));
    openBilan();
    settle();
    QChart* chart = page()->Chart2;
    QXYSeries* weights = qobject_cast<QXYSeries*>(chart->series().value(0));
    QVERIFY(weights && weights->count() == 1);
    const QPoint at =
        page()->ChartView2->mapFromScene(chart->mapToScene(chart->mapToPosition(weights->at(0), weights)));
    // A square of at least 5 x 5 pixels in the weights' colours (red on grey), at the point.
    const QImage image = page()->ChartView2->grab().toImage();
    const auto red = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return c.red() - c.green() > 60;
    };
    int wide = 0;
    int high = 0;
    for (int d = -5; d <= 5; ++d) {
        wide += red(at.x() + d, at.y());
        high += red(at.x(), at.y() + d);
    }
    QVERIFY2(wide >= 5 && high >= 5, qPrintable(QStringLiteral("%1 x %2").arg(wide).arg(high)));
}

QTEST_MAIN(TestSummaryPage)
#include "tst_summarypage.moc"
