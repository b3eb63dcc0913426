#include "tform5.h"

#include "app/windowset.h"
#include "charts/colourswatch.h"
#include "charts/weightchart.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "store/numbers.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/guard.h"
#include "ui/spinedit.h"
#include "ui/windowframe.h"
#include "weight/tform2.h"
#include "weight/weightrecords.h"

#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QShowEvent>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <array>

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Affichage du graphique pour 1 année"));
    setFont(QFont(QString::fromLatin1(ComicFont), 8));
    UseSecondaryFrame(this);
    resize(688, 446);
    // Smaller, the chart would have no room for its labels.
    setMinimumSize(688, 446);
    move(140, 165);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFixedHeight(33);
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(2, 2, 2, 2);
    Panel8 = MakeLoweredPanel(Panel1, "Panel8");
    SpeedButton4 = MakeGlyphButton(Panel8, "SpeedButton4", QStringLiteral("Imprimer le graphique en cours"),
                                   GlyphKind::Print);
    SpeedButton7 = MakeGlyphButton(Panel8, "SpeedButton7",
                                   QStringLiteral("Enregistrer le graphique en cours"), GlyphKind::Save);
    PutInRow(Panel8, {SpeedButton4, SpeedButton7});
    top->addWidget(Panel8);
    top->addStretch(1);
    Panel9 = MakeLoweredPanel(Panel1, "Panel9");
    SpeedButton10 =
        MakeGlyphButton(Panel9, "SpeedButton10", QStringLiteral("Afficher l'aide"), GlyphKind::Help);
    SpeedButton9 = MakeGlyphButton(Panel9, "SpeedButton9", QStringLiteral("A propos..."), GlyphKind::About);
    PutInRow(Panel9, {SpeedButton10, SpeedButton9});
    top->addWidget(Panel9);
    main->addWidget(Panel1);

    // One line of the days weighed, the months named under it.
    Chart1 = Named(new WeightChart(1, true), "Chart1");
    Chart1->setTitle(QStringLiteral("Année"));
    Chart1->SetLineColour(0, QColor(Qt::red));
    Chart1->SetLineWidth(0, 1);
    Chart1->SetMarksVisible(0, false);
    Chart1->HideRightAxis();
    static const QStringList shortNames = {
        QStringLiteral("Janv."), QStringLiteral("Févr."), QStringLiteral("Mars"),  QStringLiteral("Avr."),
        QStringLiteral("Mai"),   QStringLiteral("Juin"),  QStringLiteral("Juil."), QStringLiteral("Août"),
        QStringLiteral("Sept."), QStringLiteral("Oct."),  QStringLiteral("Nov."),  QStringLiteral("Déc.")};
    QList<WeightChart::PositionName> months;
    for (int m = 0; m < 12; ++m)
        months.append({m * DaySlots + (DaySlots - 1) / 2.0, MonthNames().at(m), shortNames.at(m)});
    Chart1->SetFixedPositions(0, SlotCount - 1, months);
    const QFont axisFont(QString::fromLatin1(ComicFont), 8);
    for (QAbstractAxis* axis : Chart1->axes()) {
        axis->setTitleFont(axisFont);
        axis->setTitleBrush(Qt::black);
    }
    ChartView1 = Named(new ZoomChartView(Chart1, this), "ChartView1");
    main->addWidget(ChartView1, 1);

    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setFixedHeight(37);
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(2, 2, 2, 2);
    Panel11 = MakeLoweredPanel(Panel2, "Panel11");
    MakeAppearanceControls(Panel11, "Panel3", "Panel4", Label2, Panel3, Label3, Panel4, Label1, CSpinEdit2);
    bottom->addWidget(Panel11);
    bottom->addStretch(1);
    main->addWidget(Panel2);

    // The hints are kept with the controls but this window never shows them.
    for (QWidget* w : std::initializer_list<QWidget*>{SpeedButton4, SpeedButton7, SpeedButton10, SpeedButton9,
                                                      Panel3, Panel4, CSpinEdit2})
        w->installEventFilter(this);

    connect(SpeedButton4, &QToolButton::clicked, this, Guard([this] { SpeedButton4Click(); }));
    connect(SpeedButton7, &QToolButton::clicked, this, Guard([this] { SpeedButton7Click(); }));
    connect(SpeedButton10, &QToolButton::clicked, this, Guard([this] { SpeedButton10Click(); }));
    connect(SpeedButton9, &QToolButton::clicked, this, Guard([this] { SpeedButton9Click(); }));
    connect(Panel3, &ColourSwatch::clicked, this, Guard([this] { Panel3Click(); }));
    connect(Panel4, &ColourSwatch::clicked, this, Guard([this] { Panel4Click(); }));
    connect(CSpinEdit2, &CSpinEdit::changed, this, Guard([this] { CSpinEdit2Change(); }));
}

void TForm5::FormShow() {
    // The account's stored appearance, read afresh at each opening: what was changed here last
    // time is gone.
    ShowStoredAppearance(AccountsFile(), CurrentAccountName(), Chart1, Panel3, Panel4, CSpinEdit2);
    loadYear(Form2->ShownYear());
}

void TForm5::loadYear(int year) {
    static const std::array<QString, DaySlots> dayKeys = [] {
        std::array<QString, DaySlots> keys;
        for (int d = 1; d <= DaySlots; ++d)
            keys[d - 1] = DayWeightKey(d);
        return keys;
    }();

    Chart1->Begin(QString::number(year));
    // The main window's handle on the weight file parses it only when it has changed, where
    // reading the keys one by one from the file would parse it for each.
    const ProfileDocument& weights = Form2->WeightFile().Document();
    for (int month = 1; month <= 12; ++month) {
        const QString section = MonthKey(month, year);
        const QString label = QString::number(month);
        // Only the days weighed: a day without a weight, a date the calendar does not have
        // (30 February) and a value that is no weight are left out, and the line joins the others.
        const int days = QDate(year, month, 1).daysInMonth();
        for (int day = 1; day <= days; ++day) {
            const std::optional<QString> text = weights.Value(section, dayKeys[day - 1]);
            const std::optional<double> kg = text ? ParseDecimal(*text) : std::nullopt;
            if (kg && *kg > 0)
                Chart1->AddPointAt(0, (month - 1) * DaySlots + day - 1, *kg, label);
        }
    }
    Chart1->Commit();
}

void TForm5::FormClose() {
    Form2->setEnabled(true);
}

void TForm5::Panel3Click() {
    if (ChooseColour(this, Panel3))
        Chart1->SetLineColour(0, Panel3->colour());
}

void TForm5::Panel4Click() {
    if (ChooseColour(this, Panel4))
        Chart1->SetBackWallColour(Panel4->colour());
}

void TForm5::CSpinEdit2Change() {
    Chart1->SetLineWidth(0, CSpinEdit2->value());
}

void TForm5::SpeedButton9Click() {
    setEnabled(false);
    ShowOver(Form3, this);
}

void TForm5::SpeedButton10Click() {
    Bring(Form4);
}

void TForm5::SpeedButton4Click() {
    PrintChart(this, ChartView1, PrintDialog1);
}

void TForm5::SpeedButton7Click() {
    SaveChart(this, ChartView1, SaveDialog1);
}

void TForm5::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunGuarded([this] { FormShow(); });
}

void TForm5::closeEvent(QCloseEvent* event) {
    event->accept();
    RunGuarded([this] { FormClose(); });
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        return true;
    return QWidget::eventFilter(watched, event);
}
