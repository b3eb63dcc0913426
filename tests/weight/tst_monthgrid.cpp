#include "accounts/tform1.h"
#include "charts/colourswatch.h"
#include "charts/weightchart.h"
#include "help/tform3.h"
#include "testsupport/keyboard.h"
#include "testsupport/windowfixture.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {
void typeInDay(int day, const QString& keys) {
    Form2->StringGrid1->SetRow(day);
    QVERIFY(Form2->StringGrid1->Editor());
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), keys);
}

QStringList labels(int series) {
    return Form2->Chart1->Labels(series);
}

QList<double> values(int series) {
    QList<double> v;
    for (const QPointF& p : Form2->Chart1->series(series)->points())
        v << p.y();
    return v;
}
} // namespace

class TestMonthGrid : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void showsTheCurrentMonthAndItsDays();
    void keyFilterTurnsPeriodsIntoCommas();
    void everyKeyReleasedSavesTheWholeMonth();
    void emptiedCellIsStoredAndShownAsZero();
    void dayRowsFollowTheYearBeingTyped();
    void changingMonthsLosesNothing();
    void chartPlotsOnlyDaysWithAWeight();
    void comparisonMonth();
    void unreadableWeightStopsTheRedraw();
    void errorBoxFromAKeyLeavesTheEditorOpen();
    void indexFollowsTheCurrentDay();
    void heightIsStoredAsItIsTyped();
    void newAccountGetsDetailsOffOnFirstLoad();
    void storedThicknessIsBroughtIntoBounds();
    void coloursAndDetails();
    void zoomByDraggingAndBack();
    void pickersKeepTheFocusAndSaveNothing();
    void onlyWeightsReachACellAndEnteredCellsAreTypedOver();
    void savingChangesOnlyTheDayTyped();
    void cellsTakeOnlyWhatReadsBackAsAWeight();
};

void TestMonthGrid::showsTheCurrentMonthAndItsDays() {
    OpenAccount p;
    const QDate today = QDate::currentDate();
    QCOMPARE(Form2->ComboBox1->currentIndex(), today.month() - 1);
    QCOMPARE(Form2->CSpinEdit1->value(), std::clamp(today.year(), 2002, 2052));
    QCOMPARE(Form2->StringGrid1->RowCount(), today.daysInMonth() + 1);
    QCOMPARE(Form2->StringGrid1->Cells(0, 0), QStringLiteral("Jour"));
    QCOMPARE(Form2->StringGrid1->Cells(1, 0), QStringLiteral("Poids (Kg)"));
    QCOMPARE(Form2->StringGrid1->Cells(0, 5), QStringLiteral("5"));
    QCOMPARE(Form2->StringGrid1->Cells(1, 5), QStringLiteral("0"));
    QCOMPARE(Form2->CSpinEdit4->value(), Form2->CSpinEdit1->value());
    QCOMPARE(Form2->CSpinEdit3->value(), 100);                       // no height stored yet
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.ini")))); // loading creates nothing
}

void TestMonthGrid::keyFilterTurnsPeriodsIntoCommas() {
    OpenAccount p;
    ShowMonth(3, 2005);
    typeInDay(4, QStringLiteral("71.4"));
    QCOMPARE(Form2->StringGrid1->Cells(1, 4), QStringLiteral("71,4"));
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("a-+ e"));
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Form2->StringGrid1->Cells(1, 4), QStringLiteral("71,4"));
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_Backspace);
    QCOMPARE(Form2->StringGrid1->Cells(1, 4), QStringLiteral("71,"));
}

void TestMonthGrid::everyKeyReleasedSavesTheWholeMonth() {
    OpenAccount p;
    ShowMonth(2, 2005);
    typeInDay(2, QStringLiteral("7"));
    QByteArray expected = "[2/2005]\r\n";
    for (int d = 1; d <= 28; ++d)
        expected += "v" + QByteArray::number(d) + "=" + (d == 2 ? "7" : "0") + "\r\n";
    QCOMPARE(p.weightFile(), expected);
    QCOMPARE(values(0), QList<double>{7});
    QCOMPARE(Form2->Edit2->text(), QStringLiteral("7"));
    QCOMPARE(Form2->Edit1->text(), QStringLiteral("IMC = 7")); // 7 kg at 100 cm

    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("2.5"));
    typeInDay(4, QStringLiteral("71.8"));
    expected.replace("v2=7\r\n", "v2=72,5\r\n");
    expected.replace("v4=0\r\n", "v4=71,8\r\n");
    QCOMPARE(p.weightFile(), expected);
    QCOMPARE(values(0), (QList<double>{72.5, 71.8}));
}

void TestMonthGrid::emptiedCellIsStoredAndShownAsZero() {
    OpenAccount p;
    ShowMonth(3, 2005);
    typeInDay(1, QStringLiteral("80"));
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_Backspace);
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_Backspace);
    QCOMPARE(Form2->StringGrid1->Cells(1, 1), QStringLiteral("0"));
    QCOMPARE(Form2->StringGrid1->Editor()->text(), QStringLiteral("0"));
    QVERIFY(p.weightFile().startsWith("[3/2005]\r\nv1=0\r\n"));
    QVERIFY(values(0).isEmpty());
}

void TestMonthGrid::dayRowsFollowTheYearBeingTyped() {
    OpenAccount p;
    ShowMonth(2, 2004);
    QCOMPARE(Form2->StringGrid1->RowCount(), 30);
    ShowMonth(2, 2005);
    QCOMPARE(Form2->StringGrid1->RowCount(), 29);

    CSpinEdit* year = Form2->CSpinEdit1;
    year->setFocus();
    QLineEdit* text = year->findChild<QLineEdit*>();
    text->selectAll();
    QTest::keyClicks(year, QStringLiteral("2x0.00"));
    QCOMPARE(text->text(), QStringLiteral("2000")); // only digits pass
    QCOMPARE(Form2->StringGrid1->RowCount(), 30);   // 2000 is a leap year
    text->selectAll();
    QTest::keyClicks(year, QStringLiteral("2100"));
    QCOMPARE(Form2->StringGrid1->RowCount(), 29);
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Février 2100"));
    // Leaving the box brings the year back within 2002 to 2052, which counts as a change.
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(year, &out);
    QCOMPARE(year->value(), 2052);
    QCOMPARE(Form2->StringGrid1->RowCount(), 30);
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Février 2052"));
}

void TestMonthGrid::changingMonthsLosesNothing() {
    OpenAccount p;
    ShowMonth(1, 2006);
    typeInDay(10, QStringLiteral("65"));
    ShowMonth(2, 2006);
    QCOMPARE(Form2->StringGrid1->Cells(1, 10), QStringLiteral("0"));
    ShowMonth(1, 2006);
    QCOMPARE(Form2->StringGrid1->Cells(1, 10), QStringLiteral("65"));
    ShowMonth(1, 2030); // a year without data shows zeros and writes nothing
    const QByteArray before = p.weightFile();
    QCOMPARE(Form2->StringGrid1->Cells(1, 10), QStringLiteral("0"));
    QCOMPARE(p.weightFile(), before);
}

void TestMonthGrid::chartPlotsOnlyDaysWithAWeight() {
    OpenAccount p("[Paul]\r\npassword=pw\r\n", "[12/2004]\r\nv3=70\r\nv10=72.5\r\nv11=0,0\r\nv12=\r\n");
    ShowMonth(12, 2004);
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Décembre 2004"));
    QCOMPARE(labels(0), (QStringList{QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("11")}));
    QCOMPARE(values(0), (QList<double>{70, 72.5, 0}));
    // Equal distances: positions 0, 1, 2 whatever the days.
    QCOMPARE(Form2->Chart1->series(0)->points().at(2).x(), 2.0);
    QCOMPARE(Form2->StringGrid1->Cells(1, 10), QStringLiteral("72.5")); // the grid keeps the text
    ShowMonth(1, 2005);
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Janvier 2005"));
    QVERIFY(values(0).isEmpty());
}

void TestMonthGrid::comparisonMonth() {
    OpenAccount p("[Paul]\r\npassword=pw\r\n", "[3/2005]\r\nv1=70\r\nv2=71\r\n[2/2005]\r\nv1=60\r\nv28=61\r\n"
                                               "[3/2004]\r\nv30=50\r\nv31=51\r\nv5=52\r\n");
    ShowMonth(3, 2005);
    // Ticking without a month unticks at once.
    Form2->CheckBox2->setChecked(true);
    QVERIFY(!Form2->CheckBox2->isChecked());

    Form2->ComboBox3->setCurrentIndex(1);
    Q_EMIT Form2->ComboBox3->activated(1);
    Form2->CSpinEdit4->setValue(2005);
    QVERIFY(values(1).isEmpty()); // chosen but not ticked
    Form2->CheckBox2->setChecked(true);
    QCOMPARE(values(1), (QList<double>{60, 61}));
    QCOMPARE(labels(1), (QStringList{QStringLiteral("1"), QStringLiteral("28")}));
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Mars 2005"));

    // February shown, March 2004 compared: every day of March is drawn, the 30th and 31st too.
    ShowMonth(2, 2005);
    Form2->ComboBox3->setCurrentIndex(2);
    Q_EMIT Form2->ComboBox3->activated(2);
    Form2->CSpinEdit4->setValue(2004);
    QCOMPARE(values(1), (QList<double>{52, 50, 51}));
    QCOMPARE(labels(1), (QStringList{QStringLiteral("5"), QStringLiteral("30"), QStringLiteral("31")}));
    // April shown (30 days): the 31st of March still.
    ShowMonth(4, 2005);
    QCOMPARE(values(1), (QList<double>{52, 50, 51}));
    Form2->CheckBox2->setChecked(false);
    QVERIFY(values(1).isEmpty());
}

void TestMonthGrid::unreadableWeightStopsTheRedraw() {
    OpenAccount p("[Paul]\r\npassword=pw\r\n", "[3/2005]\r\nv1=70\r\nv2=7,,1\r\nv3=72\r\n");
    ShowMonth(3, 2005);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("'7,,1' n'est pas une valeur en virgule flottante correcte.")});
    QCOMPARE(values(0), QList<double>{70}); // the points before it stay
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Mars 2005"));

    // After a key release the month is saved, but the index is left as it was.
    p.dialogs.clear();
    Form2->StringGrid1->SetRow(3);
    Form2->Edit1->setText(QStringLiteral("avant"));
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_5);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY(p.weightFile().contains("v3=5\r\n"));
    QCOMPARE(Form2->Edit1->text(), QStringLiteral("avant"));
}

// A real box, closed with Return as a person would: the key is pressed in the box and released
// in the grid once the box is gone.
void TestMonthGrid::errorBoxFromAKeyLeavesTheEditorOpen() {
    OpenAccount p("[Paul]\r\npassword=pw\r\n", "[3/2005]\r\nv1=70\r\nv2=7,,1\r\nv3=72\r\n");
    ShowMonth(3, 2005);
    Form2->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form2));
    Form2->StringGrid1->SetRow(3);
    SetDialogs(nullptr);
    int boxes = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            QTest::keyPress(box, Qt::Key_Return);
        }
    });
    closer.start(20);
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_5);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(Form2->StringGrid1->Editor());
        QTest::keyRelease(QApplication::focusWidget() ? QApplication::focusWidget() : Form2, key);
    }
    QTest::qWait(100);
    SetDialogs(&p.dialogs);
    QCOMPARE(boxes, 1);
    QVERIFY(p.weightFile().contains("v3=5\r\n"));
    QVERIFY(Form2->StringGrid1->Editor());
    QCOMPARE(Form2->StringGrid1->Row(), 3);
    QCOMPARE(Form2->StringGrid1->Editor()->text(), QStringLiteral("5"));
}

void TestMonthGrid::indexFollowsTheCurrentDay() {
    OpenAccount p("[Paul]\r\npassword=pw\r\ntaille=175\r\n", "[3/2005]\r\nv1=72,5\r\nv2=0\r\nv3=91,875\r\n");
    ShowMonth(3, 2005);
    QCOMPARE(Form2->CSpinEdit3->value(), 175);
    Form2->StringGrid1->SetRow(2);
    Form2->StringGrid1->SetRow(1);
    QCOMPARE(Form2->Edit2->text(), QStringLiteral("72,5"));
    QCOMPARE(Form2->Edit1->text(), QStringLiteral("IMC = 23,67"));
    QCOMPARE(Form2->StringGrid1->Editor()->accessibleName(), QStringLiteral("Poids du 1"));
    QCOMPARE(Form2->Edit3->text(), QStringLiteral("Poids normal"));
    // An arrow key moves, saves and computes the index of the row moved to.
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_Down);
    QCOMPARE(Form2->StringGrid1->Row(), 2);
    QCOMPARE(Form2->Edit1->text(), QString()); // no weight, no index
    QCOMPARE(Form2->Edit3->text(), QString());
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_Down);
    QCOMPARE(Form2->Edit3->text(), QStringLiteral("Surpoids"));
    QVERIFY(p.weightFile().contains("v31=0\r\n"));

    // A weight typed with a period in the index box is refused with the conversion message.
    Form2->Edit2->setText(QStringLiteral("72.5"));
    QTest::mouseClick(Form2->SpeedButton5, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts().constLast(),
             QStringLiteral("'72.5' n'est pas une valeur en virgule flottante correcte."));
    QCOMPARE(Form2->Edit1->text(), QString());
    QCOMPARE(Form2->Edit3->text(), QString());
}

void TestMonthGrid::heightIsStoredAsItIsTyped() {
    OpenAccount p("[Paul]\r\npassword=pw\r\ntaille=155\r\n");
    QLineEdit* text = Form2->CSpinEdit3->findChild<QLineEdit*>();
    const auto stored = [] {
        return Form1->Accounts.File().ReadString(QStringLiteral("Paul"), QStringLiteral("taille"), {});
    };
    // Each height made is stored as the box shows it; one still being typed below 100 waits.
    text->selectAll();
    QStringList seen;
    for (const QChar c : QStringLiteral("175")) {
        QTest::keyClick(Form2->CSpinEdit3, c.toLatin1());
        seen << stored();
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("155"), QStringLiteral("155"), QStringLiteral("175")}));
    // A comma is no part of a height: "16,8" never shows as 1008 nor reads as 100.
    QTest::keyClick(Form2->CSpinEdit3, ',');
    QCOMPARE(text->text(), QStringLiteral("175"));
    Form2->CSpinEdit3->stepBy(1);
    QCOMPARE(stored(), QStringLiteral("176"));

    // Out of bounds, the box shows and stores the nearest bound as the person leaves it.
    text->selectAll();
    QTest::keyClick(Form2->CSpinEdit3, '1');
    QTest::keyClick(Form2->CSpinEdit3, '7');
    QCOMPARE(stored(), QStringLiteral("176"));
    Form2->StoreHeight();
    QCOMPARE(text->text(), QStringLiteral("100"));
    QCOMPARE(stored(), QStringLiteral("100"));

    // A height of 0, typed, computes nothing and stores nothing.
    text->selectAll();
    QTest::keyClick(Form2->CSpinEdit3, '0');
    Form2->Edit2->setText(QStringLiteral("72,5"));
    QTest::mouseClick(Form2->SpeedButton5, Qt::LeftButton);
    QCOMPARE(Form2->Edit1->text(), QString());
    QVERIFY(p.accountsFile().contains("taille=100\r\n"));
}

void TestMonthGrid::newAccountGetsDetailsOffOnFirstLoad() {
    OpenAccount p;
    QVERIFY(!Form2->CheckBox1->isChecked());
    QCOMPARE(p.accountsFile(), QByteArray("[Paul]\r\npassword=pw\r\ndetails=0\r\n"));
    QVERIFY(!Form2->Chart1->MarksVisible(0));
    QCOMPARE(Form2->Panel1->colour(), QColor(234, 0, 0));
    QCOMPARE(Form2->Panel2->colour(), QColor(223, 223, 223));
    QCOMPARE(Form2->CSpinEdit2->value(), 1);
    QCOMPARE(Form2->Chart1->series(0)->pen().width(), 1);
}

void TestMonthGrid::storedThicknessIsBroughtIntoBounds() {
    OpenAccount p("[Paul]\r\npassword=pw\r\nlargeur=25\r\n");
    QCOMPARE(Form2->CSpinEdit2->value(), 10);
    QVERIFY(p.accountsFile().contains("largeur=10\r\n"));
    QCOMPARE(Form2->Chart1->series(0)->pen().width(), 10);

    Form2->CSpinEdit2->setValue(4);
    QVERIFY(p.accountsFile().contains("largeur=4\r\n"));
    ShowMonth(5, 2005);
    QCOMPARE(Form2->CSpinEdit2->value(), 4);
}

void TestMonthGrid::coloursAndDetails() {
    OpenAccount p;
    const QByteArray before = p.accountsFile();
    p.dialogs.nextColour.reset(); // cancelled
    QTest::mouseClick(Form2->Panel1, Qt::LeftButton);
    QCOMPARE(p.dialogs.colourRequests, 1);
    QCOMPARE(p.dialogs.lastInitialColour, QColor(234, 0, 0));
    QCOMPARE(p.accountsFile(), before);
    QCOMPARE(Form2->Panel1->colour(), QColor(234, 0, 0));

    p.dialogs.nextColour = QColor(0, 0, 255);
    QTest::mouseClick(Form2->Panel1, Qt::LeftButton);
    QVERIFY(p.accountsFile().contains("trace=16711680\r\n"));
    QCOMPARE(Form2->Chart1->LineColour(0), QColor(0, 0, 255));
    QCOMPARE(Form2->Chart1->LineColour(1), QColor(0, 255, 0)); // the comparison line stays lime

    p.dialogs.nextColour = QColor(1, 2, 3);
    QTest::mouseClick(Form2->Panel2, Qt::LeftButton);
    QVERIFY(p.accountsFile().contains("fond=197121\r\n"));
    QCOMPARE(Form2->Chart1->BackWallColour(), QColor(1, 2, 3));
    QTest::mouseClick(Form2->SpeedButton1, Qt::LeftButton); // a redraw keeps them
    QCOMPARE(Form2->Panel2->colour(), QColor(1, 2, 3));

    Form2->CheckBox1->setChecked(true);
    QVERIFY(Form2->Chart1->MarksVisible(0));
    QVERIFY(Form2->Chart1->MarksVisible(1));
    QVERIFY(p.accountsFile().contains("details=1\r\n"));
}

void TestMonthGrid::zoomByDraggingAndBack() {
    OpenAccount p("[Paul]\r\npassword=pw\r\n", "[3/2005]\r\nv1=70\r\nv2=75\r\nv3=72\r\nv4=71\r\n");
    ShowMonth(3, 2005);
    Form2->resize(900, 700);
    Form2->PageControl1->setCurrentIndex(0);
    QWidget* view = Form2->ChartView1->viewport();
    QVERIFY(QTest::qWaitForWindowExposed(Form2));
    const QRectF area = Form2->Chart1->plotArea();
    const QPoint topLeft = area.topLeft().toPoint() + QPoint(20, 20);
    const QPoint bottomRight = area.center().toPoint();
    // Down and to the right: the rectangle is zoomed in.
    QTest::mousePress(view, Qt::LeftButton, {}, topLeft);
    QTest::mouseMove(view, bottomRight);
    QTest::mouseRelease(view, Qt::LeftButton, {}, bottomRight);
    QTRY_VERIFY(Form2->Chart1->isZoomed());
    // Up and to the left: back to the whole chart.
    QTest::mousePress(view, Qt::LeftButton, {}, bottomRight);
    QTest::mouseMove(view, topLeft);
    QTest::mouseRelease(view, Qt::LeftButton, {}, topLeft);
    QTRY_VERIFY(!Form2->Chart1->isZoomed());
}

// Month and year are picked with the keyboard: Shift+Tab leaves the grid, every intermediate month
// is loaded and drawn, the keys stay in the picker (the grid growing or shrinking takes no
// focus), and nothing is saved.
void TestMonthGrid::pickersKeepTheFocusAndSaveNothing() {
    const QByteArray stored = "[2/2002]\r\nv1=70\r\n";
    OpenAccount p("[Paul]\r\npassword=pw\r\n", stored);
    QVERIFY(Activate(Form2));
    ShowMonth(2, 2004);
    Form2->StringGrid1->SetRow(29); // the row that typing a year takes away
    CSpinEdit* year = Form2->CSpinEdit1;
    QCOMPARE(QApplication::focusWidget(), Form2->StringGrid1->Editor());
    PressKey(Qt::Key_Backtab); // Shift+Tab leaves the grid for the year, saving nothing
    QCOMPARE(QApplication::focusWidget(), year);
    QCOMPARE(p.weightFile(), stored);
    year->findChild<QLineEdit*>()->selectAll();
    TypeKeys(QStringLiteral("2005")); // 28 days in year 2, 29 in year 20
    QCOMPARE(QApplication::focusWidget(), year);
    QCOMPARE(year->value(), 2005);
    QCOMPARE(Form2->StringGrid1->RowCount(), 29);
    QCOMPARE(p.weightFile(), stored);

    QComboBox* month = Form2->ComboBox1;
    month->setFocus();
    PressKey(Qt::Key_Down); // March: 31 days
    PressKey(Qt::Key_Up);
    PressKey(Qt::Key_Up); // January
    QCOMPARE(month->currentIndex(), 0);
    QCOMPARE(Form2->Chart1->title(), QStringLiteral("Janvier 2005"));
    QCOMPARE(QApplication::focusWidget(), month);
    QCOMPARE(p.weightFile(), stored);

    // Back in the grid by Tab, typing still saves at once.
    PressKey(Qt::Key_Tab);
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Form2->StringGrid1->Editor());
    // Out by Tab and back by Shift+Tab: the keys released in the grid were pressed elsewhere,
    // whatever keys left the grid before them.
    PressKey(Qt::Key_Tab);
    PressKey(Qt::Key_Backtab);
    QVERIFY(Form2->StringGrid1->hasFocus() || Form2->StringGrid1->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(p.weightFile(), stored);
    TypeKeys(QStringLiteral("6"));
    QCOMPARE(Form2->StringGrid1->Row(), 28); // where the removal of day 29 left it
    QVERIFY(p.weightFile().contains("[1/2005]\r\n"));
    QVERIFY(p.weightFile().contains("v28=6\r\nv29=0\r\n"));
}

// Alt+letter, the clipboard or an insertion bring nothing but a weight into a cell; a cell
// entered, emptied, left with Escape or given the focus back after the about window is typed over.
void TestMonthGrid::onlyWeightsReachACellAndEnteredCellsAreTypedOver() {
    OpenAccount p;
    QVERIFY(Activate(Form2));
    ShowMonth(3, 2005);
    StringGrid* grid = Form2->StringGrid1;
    grid->SetRow(2);
    QCOMPARE(grid->Editor()->selectedText(), QStringLiteral("0"));
    PressKey(Qt::Key_C, Qt::AltModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    PressKey(Qt::Key_Insert, Qt::ShiftModifier);
    grid->Editor()->insert(QStringLiteral("7,,1"));
    QCOMPARE(grid->Cells(1, 2), QStringLiteral("0"));
    QGuiApplication::clipboard()->setText(QStringLiteral("64.45"));
    PressKey(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->Cells(1, 2), QStringLiteral("64,45"));
    PressKey(Qt::Key_Return);
    QCOMPARE(grid->Editor()->selectedText(), QStringLiteral("64,45"));
    grid->Editor()->deselect();
    PressKey(Qt::Key_Escape);
    QVERIFY(grid->Editor() && grid->Editor()->isVisible());
    TypeKeys(QStringLiteral("7"));
    PressKey(Qt::Key_Down);
    TypeKeys(QStringLiteral("70"));
    PressKey(Qt::Key_Backspace);
    PressKey(Qt::Key_Backspace);
    TypeKeys(QStringLiteral("64.4"));
    QVERIFY(p.weightFile().contains("v2=7\r\nv3=64,4\r\n"));

    QTest::mouseClick(Form2->SpeedButton3, Qt::LeftButton);
    QVERIFY(Activate(Form3));
    Form3->close();
    QVERIFY(Activate(Form2));
    QCOMPARE(QApplication::focusWidget(), grid->Editor());
    TypeKeys(QStringLiteral("65"));
    QVERIFY(p.weightFile().contains("v3=65\r\n"));
}

// A journal written on Windows or by hand ("72.5", blanks, quotes, another month) keeps every
// byte but those of the day typed, whichever cells the editor went through.
void TestMonthGrid::savingChangesOnlyTheDayTyped() {
    QByteArray march = "[3/2005]\r\nv1=72.5\r\nv2 = 71 \r\nv3=\"70\"\r\n";
    for (int d = 4; d <= 31; ++d)
        march += "v" + QByteArray::number(d) + "=0\r\n";
    const QByteArray journal = "; Windows\r\n[2/2005]\r\nv1=69.5\r\n" + march + "[4/2005]\r\nv1=68.5\r\n";
    OpenAccount p("[Paul]\r\npassword=pw\r\n", journal);
    ShowMonth(3, 2005);
    for (int day : {3, 2, 1})
        Form2->StringGrid1->SetRow(day);
    QCOMPARE(Form2->StringGrid1->Cells(1, 1), QStringLiteral("72.5"));
    // Visiting the day computes its index, as the chart reads the weight: no error box.
    QCOMPARE(Form2->Edit2->text(), QStringLiteral("72,5"));
    QCOMPARE(Form2->Edit1->text(), QStringLiteral("IMC = 72,5"));
    QCOMPARE(p.dialogs.texts(), QStringList());
    typeInDay(5, QStringLiteral("7"));
    QByteArray expected = journal;
    expected.replace("v5=0\r\n", "v5=7\r\n");
    QCOMPARE(p.weightFile(), expected);
    QCOMPARE(values(0), (QList<double>{72.5, 71, 70, 7}));
    // Typed in, the day is written as the grid writes a weight.
    Form2->StringGrid1->SetRow(1);
    Form2->StringGrid1->Editor()->end(false);
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("5"));
    expected.replace("v1=72.5\r\n", "v1=72,55\r\n");
    QCOMPARE(p.weightFile(), expected);
}

// A lone comma never reaches a cell, and the no-weight "0" never stays before the digits typed
// after it, wherever the click put the caret.
void TestMonthGrid::cellsTakeOnlyWhatReadsBackAsAWeight() {
    OpenAccount p;
    ShowMonth(3, 2005);
    typeInDay(1, QStringLiteral("70"));
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral(","));
    QCOMPARE(Form2->StringGrid1->Cells(1, 1), QStringLiteral("70"));
    for (const int caret : {1, 0}) {
        Form2->StringGrid1->SetRow(2 + caret);
        QLineEdit* editor = Form2->StringGrid1->Editor();
        editor->deselect();
        editor->setCursorPosition(caret);
        QTest::keyClicks(editor, QStringLiteral("70"));
        QCOMPARE(Form2->StringGrid1->Cells(1, 2 + caret), QStringLiteral("70"));
    }
    // Pasted after the marker, the digits take its place too.
    Form2->StringGrid1->SetRow(4);
    Form2->StringGrid1->Editor()->end(false);
    Form2->StringGrid1->Editor()->insert(QStringLiteral("55"));
    QTRY_VERIFY(p.weightFile().startsWith("[3/2005]\r\nv1=70\r\nv2=70\r\nv3=70\r\nv4=55\r\n"));
    QCOMPARE(Form2->StringGrid1->Editor()->text(), QStringLiteral("55"));
}

QTEST_MAIN(TestMonthGrid)
#include "tst_monthgrid.moc"
