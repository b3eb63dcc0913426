#include "accounts/tform1.h"
#include "charts/axisscale.h"
#include "charts/colourswatch.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "testsupport/chartlabels.h"
#include "testsupport/windowfixture.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QLineSeries>
#include <QToolButton>
#include <QtTest>
#include <QValueAxis>

#include <cmath>

namespace {
// Paul's account open, his files as given, the main window on `year`.
struct OpenYear : OpenAccount {
    explicit OpenYear(const QByteArray& accounts = "[Paul]\r\npassword=pw\r\n",
                      const QByteArray& weights = {}, int year = 2004)
        : OpenAccount(accounts, weights) {
        Form2->CSpinEdit1->setValue(year);
        dialogs.clear();
    }
};

void openYearWindow() {
    QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
}

// The points of the year chart: (day slot, weight).
QList<QPointF> yearPoints() {
    return Form5->Chart1->series(0)->points();
}

QValueAxis* verticalAxis(WeightChart* chart, Qt::Alignment side) {
    for (QAbstractAxis* axis : chart->axes(Qt::Vertical))
        if (axis->alignment() == side)
            return qobject_cast<QValueAxis*>(axis);
    return nullptr;
}

bool isRoundStep(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double factor = step / power;
    return step >= 1 &&
           (qFuzzyCompare(factor, 1.0) || qFuzzyCompare(factor, 2.0) || qFuzzyCompare(factor, 5.0));
}

// Where a point of a series is drawn, in the pixels of the chart's view.
QPoint onView(QChartView* view, WeightChart* chart, const QPointF& value, int seriesIndex = 0) {
    return view->mapFromScene(chart->mapToScene(chart->mapToPosition(value, chart->series(seriesIndex))));
}

// Whether a 3 x 3 block of exactly this colour lies within two pixels of the point.
bool squareAround(const QImage& image, QPoint at, const QColor& colour) {
    for (int top = at.y() - 3; top <= at.y() + 1; ++top)
        for (int left = at.x() - 3; left <= at.x() + 1; ++left) {
            bool all = true;
            for (int y = top; y < top + 3 && all; ++y)
                for (int x = left; x < left + 3 && all; ++x)
                    all = image.rect().contains(x, y) && image.pixelColor(x, y) == colour;
            if (all)
                return true;
        }
    return false;
}

int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                ++dark;
    return dark;
}
} // namespace

class TestYearWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void yearWithoutWeightsIsEmpty();
    void onlyTheDaysWeighedAreDrawn_data();
    void onlyTheDaysWeighedAreDrawn();
    void weightsTypedMeanwhileShow();
    void appearanceChangesStayInTheWindow();
    void axisScale_data();
    void axisScale();
    void yearAxesStayOnRoundValues();
    void footTextUnderThePlotArea();
    void pointsAndMarksShowAtEveryThickness_data();
    void pointsAndMarksShowAtEveryThickness();
};

void TestYearWindow::yearWithoutWeightsIsEmpty() {
    OpenYear p;
    const QStringList filesBefore = FilesHere();
    openYearWindow();
    QVERIFY(Form5->isVisible());
    QVERIFY(!Form2->isEnabled());
    QCOMPARE(Form5->pos(), QPoint(140, 165));
    QCOMPARE(Form5->windowTitle(), QStringLiteral("Affichage du graphique pour 1 année"));
    QCOMPARE(Form5->Chart1->title(), QStringLiteral("2004"));
    QCOMPARE(yearPoints(), QList<QPointF>());
    QCOMPARE(FilesHere(), filesBefore); // reading creates no weight file

    Form5->close();
    QVERIFY(!Form5->isVisible());
    QVERIFY(Form2->isEnabled());
}

void TestYearWindow::onlyTheDaysWeighedAreDrawn_data() {
    QTest::addColumn<QByteArray>("weights");
    QTest::addColumn<int>("year");
    QTest::addColumn<QList<QPointF>>("drawn"); // day slot (31 per month), weight
    QTest::newRow("days missing") << QByteArray("[1/2004]\r\nv1=70,5\r\nv4=71\r\n[3/2004]\r\nv15=80\r\n"
                                                "[12/2004]\r\nv31=75\r\n")
                                  << 2004 << QList<QPointF>{{0, 70.5}, {3, 71}, {2 * 31 + 14, 80}, {371, 75}};
    QTest::newRow("no weight, no number, nothing")
        << QByteArray("[1/2004]\r\nv1=0\r\nv2=abc\r\nv3=\r\nv4=72\r\n"
                      "v5=0,0\r\nv6=-3\r\n")
        << 2004 << QList<QPointF>{{3, 72}};
    QTest::newRow("dates the calendar lacks") << QByteArray("[2/2004]\r\nv29=79,25\r\nv30=79\r\nv31=79\r\n"
                                                            "[4/2004]\r\nv30=78\r\nv31=78\r\n")
                                              << 2004 << QList<QPointF>{{31 + 28, 79.25}, {3 * 31 + 29, 78}};
    QTest::newRow("no 29 February in 2005")
        << QByteArray("[2/2005]\r\nv28=80\r\nv29=81\r\n") << 2005 << QList<QPointF>{{31 + 27, 80}};
    QTest::newRow("other years") << QByteArray(
                                        "[3/2003]\r\nv1=90\r\n[3/2005]\r\nv1=90\r\n[13/2004]\r\nv1=90\r\n")
                                 << 2004 << QList<QPointF>();
}

void TestYearWindow::onlyTheDaysWeighedAreDrawn() {
    QFETCH(QByteArray, weights);
    QFETCH(int, year);
    QFETCH(QList<QPointF>, drawn);
    OpenYear p("[Paul]\r\npassword=pw\r\n", weights, year);
    openYearWindow();
    QCOMPARE(yearPoints(), drawn);
    // The weight axis spans the weights drawn, never down to 0 for a day that was not weighed.
    const QValueAxis* left = verticalAxis(Form5->Chart1, Qt::AlignLeft);
    for (const QPointF& point : std::as_const(drawn))
        QVERIFY(point.y() > left->min() + 0.5 && point.y() < left->max() - 0.5);
    if (!drawn.isEmpty())
        QVERIFY2(left->min() > 50, qPrintable(QString::number(left->min())));
    // The months are named along the bottom, January and December at least.
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    QStringList seen;
    for (const DrawnText& t : TextsDrawn(Form5->ChartView1))
        seen << t.text;
    QVERIFY2(seen.contains(QStringLiteral("Janv.")) && seen.contains(QStringLiteral("Déc.")),
             qPrintable(seen.join(QLatin1Char('|'))));
}

void TestYearWindow::weightsTypedMeanwhileShow() {
    OpenYear p("[Paul]\r\npassword=pw\r\n", "[3/2004]\r\nv15=80\r\n");
    openYearWindow();
    QCOMPARE(yearPoints(), (QList<QPointF>{{76, 80}}));
    Form5->close();
    // A weight typed in the main window meanwhile is there at the next opening.
    ShowMonth(3, 2004);
    Form2->StringGrid1->SetRow(15);
    QVERIFY(Form2->StringGrid1->Editor());
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("81.5"));
    openYearWindow();
    QCOMPARE(yearPoints(), (QList<QPointF>{{76, 81.5}}));
}

void TestYearWindow::appearanceChangesStayInTheWindow() {
    OpenYear p("[Paul]\r\npassword=pw\r\ntrace=16711680\r\nfond=197121\r\nlargeur=4\r\n",
               "[3/2004]\r\nv15=80\r\n");
    const QColor blue(0, 0, 255);
    const QColor stored(1, 2, 3);
    openYearWindow();
    QCOMPARE(Form5->Chart1->LineColour(0), blue);
    QCOMPARE(Form5->Chart1->BackWallColour(), stored);
    QCOMPARE(Form5->Panel3->colour(), blue);
    QCOMPARE(Form5->Panel4->colour(), stored);
    QCOMPARE(Form5->CSpinEdit2->value(), 4);
    QCOMPARE(Form5->Chart1->series(0)->pen().width(), 4);

    const QByteArray accountsBefore = p.accountsFile();
    const QByteArray weightsBefore = p.weightFile();
    const QStringList filesBefore = FilesHere();

    p.dialogs.nextColour.reset(); // cancelled
    QTest::mouseClick(Form5->Panel3, Qt::LeftButton);
    QCOMPARE(p.dialogs.lastInitialColour, blue);
    QCOMPARE(Form5->Chart1->LineColour(0), blue);

    p.dialogs.nextColour = QColor(0, 128, 0);
    QTest::mouseClick(Form5->Panel3, Qt::LeftButton);
    p.dialogs.nextColour = QColor(250, 250, 200);
    QTest::mouseClick(Form5->Panel4, Qt::LeftButton);
    QCOMPARE(p.dialogs.lastInitialColour, stored);
    Form5->CSpinEdit2->setValue(7);
    QCOMPARE(Form5->Chart1->LineColour(0), QColor(0, 128, 0));
    QCOMPARE(Form5->Panel3->colour(), QColor(0, 128, 0));
    QCOMPARE(Form5->Chart1->BackWallColour(), QColor(250, 250, 200));
    QCOMPARE(Form5->Panel4->colour(), QColor(250, 250, 200));
    QCOMPARE(Form5->Chart1->series(0)->pen().width(), 7);

    QCOMPARE(p.accountsFile(), accountsBefore);
    QCOMPARE(p.weightFile(), weightsBefore);
    QCOMPARE(FilesHere(), filesBefore);
    QCOMPARE(Form2->Chart1->LineColour(0), blue);
    QCOMPARE(Form2->Chart1->BackWallColour(), stored);
    QCOMPARE(Form2->CSpinEdit2->value(), 4);

    Form5->close();
    openYearWindow();
    QCOMPARE(Form5->Chart1->LineColour(0), blue);
    QCOMPARE(Form5->Chart1->BackWallColour(), stored);
    QCOMPARE(Form5->Panel3->colour(), blue);
    QCOMPARE(Form5->Panel4->colour(), stored);
    QCOMPARE(Form5->CSpinEdit2->value(), 4);
    QCOMPARE(Form5->Chart1->series(0)->pen().width(), 4);
}

QTEST_MAIN(TestYearWindow)
#include "tst_yearwindow.moc"

void TestYearWindow::axisScale_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("step");
    QTest::newRow("a year with days at 0") << 0.0 << 81.0 << false << 0.0 << 90.0 << 10.0;
    QTest::newRow("a month") << 67.3 << 70.2 << false << 66.0 << 72.0 << 1.0;
    QTest::newRow("one weight") << 72.5 << 72.5 << false << 71.0 << 74.0 << 1.0;
    QTest::newRow("only zeros") << 0.0 << 0.0 << false << 0.0 << 1.0 << 1.0;
    QTest::newRow("just under 1") << 0.4 << 0.9 << false << 0.0 << 2.0 << 1.0;
    QTest::newRow("negative weight typed") << -5.0 << 3.0 << false << -6.0 << 4.0 << 1.0;
    QTest::newRow("wide") << 3.0 << 999.0 << false << 0.0 << 1000.0 << 100.0;
    QTest::newRow("twelve units") << 60.0 << 70.0 << false << 58.0 << 72.0 << 2.0;
    QTest::newRow("no values") << 0.0 << 0.0 << true << 0.0 << 10.0 << 1.0;
}

void TestYearWindow::axisScale() {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(bool, empty);
    const AxisScale scale = ScaleFor(low, high, empty);
    QTEST(scale.min, "min");
    QTEST(scale.max, "max");
    QTEST(scale.step, "step");
}

void TestYearWindow::yearAxesStayOnRoundValues() {
    OpenYear p("[Paul]\r\npassword=pw\r\n", "[1/2004]\r\nv1=81\r\n[6/2004]\r\nv1=68\r\n");
    openYearWindow();
    QValueAxis* left = verticalAxis(Form5->Chart1, Qt::AlignLeft);
    QVERIFY(left);
    QCOMPARE(left->min(), 66.0); // the weights drawn, not the days without
    QCOMPARE(left->max(), 82.0);
    QCOMPARE(left->tickType(), QValueAxis::TicksDynamic);
    QCOMPARE(left->tickAnchor(), 0.0);
    const double whole = left->tickInterval();
    QVERIFY2(isRoundStep(whole), qPrintable(QString::number(whole)));
    const QValueAxis* right = verticalAxis(Form5->Chart1, Qt::AlignRight);
    QVERIFY(!right || !right->isVisible());

    const QRectF plot = Form5->Chart1->plotArea();
    for (const QRectF& zoom : {QRectF(plot.left() + 30, plot.top() + 7, 100, 37),
                               QRectF(plot.left() + 3, plot.top() + 11, 200, 3)}) {
        Form5->Chart1->zoomIn(zoom);
        QVERIFY(left->max() - left->min() < 16);
        QVERIFY2(isRoundStep(left->tickInterval()), qPrintable(QString::number(left->tickInterval())));
        QCOMPARE(left->tickAnchor(), 0.0);
    }
    Form5->Chart1->zoomReset();
    QCOMPARE(left->tickInterval(), whole);
}

void TestYearWindow::footTextUnderThePlotArea() {
    // At login into a month without weights, and in the year window.
    OpenYear p;
    for (QChartView* view :
         {static_cast<QChartView*>(Form2->ChartView1), static_cast<QChartView*>(nullptr)}) {
        if (!view) {
            openYearWindow();
            view = Form5->ChartView1;
        }
        QChart* chart = view->chart();
        const QGraphicsTextItem* foot = nullptr;
        QTRY_VERIFY([&] {
            for (QGraphicsItem* item : view->scene()->items())
                if (auto* text = dynamic_cast<QGraphicsTextItem*>(item))
                    if (text->isVisible() && text->toPlainText() == QStringLiteral("Jour"))
                        foot = text;
            return foot != nullptr;
        }());
        const QRectF plot = chart->mapRectToScene(chart->plotArea());
        const QRectF at = foot->sceneBoundingRect();
        QVERIFY2(at.top() >= plot.bottom() && at.left() >= plot.left() && at.right() <= plot.right(),
                 qPrintable(QStringLiteral("%1,%2 under %3,%4")
                                .arg(at.left())
                                .arg(at.top())
                                .arg(plot.left())
                                .arg(plot.bottom())));
    }
}

void TestYearWindow::pointsAndMarksShowAtEveryThickness_data() {
    QTest::addColumn<int>("thickness");
    QTest::newRow("1") << 1;
    QTest::newRow("4") << 4;
    QTest::newRow("10") << 10;
}

void TestYearWindow::pointsAndMarksShowAtEveryThickness() {
    QFETCH(int, thickness);
    // One weight alone: no line, only its square, and its value above it when "Détails" is on.
    OpenYear p("[Paul]\r\npassword=pw\r\nfond=16777215\r\ndetails=1\r\nlargeur=" +
                   QByteArray::number(thickness) + "\r\n",
               "[3/2004]\r\nv10=72\r\n");
    ShowMonth(3, 2004);
    QVERIFY(Form2->CheckBox1->isChecked());
    QCOMPARE(Form2->Chart1->series(0)->pen().width(), thickness);
    const QColor red(234, 0, 0);
    QTRY_VERIFY(Form2->Chart1->plotArea().contains(Form2->Chart1->mapToPosition(QPointF(0, 72))));
    QImage shown = Form2->ChartView1->grab().toImage();
    QPoint at = onView(Form2->ChartView1, Form2->Chart1, QPointF(0, 72));
    QVERIFY(squareAround(shown, at, red));
    // The connector goes up from the square; the value is written above it, clear of the square.
    const int top = at.y() - WeightChart::MarkerSide(thickness) / 2 - 2;
    int connector = 0;
    for (int y = top - 7; y <= top; ++y)
        connector += shown.pixelColor(at.x(), y) == red || shown.pixelColor(at.x() + 1, y) == red ? 1 : 0;
    QVERIFY2(connector >= 6, qPrintable(QString::number(connector)));
    QVERIFY(darkPixels(shown, QRect(at.x() - 15, top - 30, 30, 22)) > 5);

    // The year window draws every point too.
    openYearWindow();
    QTRY_VERIFY(Form5->Chart1->plotArea().width() > 0);
    shown = Form5->ChartView1->grab().toImage();
    const QColor yearRed = Form5->Chart1->LineColour(0);
    at = onView(Form5->ChartView1, Form5->Chart1, QPointF(2 * 31 + 9, 72));
    QVERIFY(squareAround(shown, at, yearRed));
}
