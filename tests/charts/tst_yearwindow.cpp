#include "accounts/tform1.h"
#include "app/spinedit.h"
#include "charts/colourswatch.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "testsupport/windowfixture.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QToolButton>
#include <QtTest>

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

QList<double> yearValues() {
    QList<double> v;
    const QList<QPointF> points = Form5->Chart1->series(0)->points();
    for (qsizetype k = 0; k < points.size(); ++k) {
        if (points.at(k).x() != double(k))
            return {}; // every point at its own position, in order
        v << points.at(k).y();
    }
    return v;
}

// The year's values when only the given slots hold a weight.
QList<double> onlyAt(const QList<QPair<int, double>>& weights) {
    QList<double> v(TForm5::PointCount, 0.0);
    for (const auto& [position, weight] : weights)
        v[position] = weight;
    return v;
}
} // namespace

class TestYearWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void yearWithoutWeightsIsAFlatLine();
    void weightsLandInTheirDaySlots();
    void appearanceChangesStayInTheWindow();
};

void TestYearWindow::yearWithoutWeightsIsAFlatLine() {
    OpenYear p;
    const QStringList filesBefore = FilesHere();
    openYearWindow();
    QVERIFY(Form5->isVisible());
    QVERIFY(!Form2->isEnabled());
    QCOMPARE(Form5->pos(), QPoint(140, 165));
    QCOMPARE(Form5->windowTitle(), QStringLiteral("Affichage du graphique pour 1 année"));
    QCOMPARE(Form5->Chart1->title(), QStringLiteral("2004"));
    QCOMPARE(yearValues(), onlyAt({}));

    const QStringList labels = Form5->Chart1->Labels(0);
    QCOMPARE(labels.size(), 372);
    QCOMPARE(labels.first(), QStringLiteral("1"));
    QCOMPARE(labels.at(30), QStringLiteral("1"));
    QCOMPARE(labels.at(31), QStringLiteral("2"));
    QCOMPARE(labels.last(), QStringLiteral("12"));
    QCOMPARE(FilesHere(), filesBefore); // reading creates no weight file

    Form5->close();
    QVERIFY(!Form5->isVisible());
    QVERIFY(Form2->isEnabled());
}

void TestYearWindow::weightsLandInTheirDaySlots() {
    OpenYear p("[Paul]\r\npassword=pw\r\n", "[1/2004]\r\nv1=70,5\r\nv2=abc\r\nv3=0\r\nv4=\r\n"
                                            "[3/2004]\r\nv15=80\r\n"
                                            "[2/2004]\r\nv29=79,25\r\n"
                                            "[12/2004]\r\nv31=75\r\n"
                                            "[3/2005]\r\nv15=90\r\n");
    openYearWindow();
    // 15 March is slot 2 × 31 + 14; 29 February follows the 31 January slots.
    QCOMPARE(yearValues(), onlyAt({{0, 70.5}, {31 + 28, 79.25}, {76, 80}, {371, 75}}));
    Form5->close();

    Form2->CSpinEdit1->setValue(2005);
    openYearWindow();
    QCOMPARE(Form5->Chart1->title(), QStringLiteral("2005"));
    QCOMPARE(yearValues(), onlyAt({{76, 90}}));
    Form5->close();

    // A weight typed in the main window meanwhile is there at the next opening.
    Form2->ComboBox1->setCurrentIndex(2);
    Q_EMIT Form2->ComboBox1->activated(2);
    Form2->StringGrid1->SetRow(15);
    QVERIFY(Form2->StringGrid1->Editor());
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("81.5"));
    openYearWindow();
    QCOMPARE(yearValues(), onlyAt({{76, 81.5}}));
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
