#include "tform2.h"

#include "accounts/accountfiles.h"
#include "accounts/tform1.h"
#include "app/windowset.h"
#include "calories/caloriepage.h"
#include "calories/foodlog.h"
#include "charts/colourswatch.h"
#include "charts/weightchart.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "store/numbers.h"
#include "summary/backupwindow.h"
#include "summary/summarypage.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/guard.h"
#include "ui/spinedit.h"
#include "ui/windowframe.h"
#include "weight/stringgrid.h"
#include "weight/weightrecords.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
const QChar Backspace(8);
bool onlyDigits(QString& text) {
    return HoldsOnly(text, u"0123456789");
}
} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kalimo - "));
    setFont(QFont(QString::fromLatin1(ComicFont), 8));
    resize(681, 477);
    setMinimumSize(681, 477);

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    auto* left = new QWidget(this);
    left->setFixedWidth(153);
    main->addWidget(left);
    PageControl1 = Named(new QTabWidget(this), "PageControl1");
    main->addWidget(PageControl1, 1);

    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    SpeedButton7 = Named(new QToolButton(left), "SpeedButton7");
    SpeedButton7->setText(QStringLiteral("&Quitter"));
    SpeedButton7->setAutoRaise(true);
    SpeedButton7->setCursor(Qt::PointingHandCursor);
    SetGlyph(SpeedButton7, GlyphKind::Quit);
    SpeedButton7->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton7->setFixedHeight(32);
    column->addWidget(SpeedButton7, 0, Qt::AlignLeft);
    Panel6 = Named(new QLabel(QStringLiteral("Saisissez votre poids :"), left), "Panel6");
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel6->setAlignment(Qt::AlignCenter);
    Panel6->setFixedHeight(22);
    column->addWidget(Panel6);

    Panel5 = Named(new QFrame(left), "Panel5");
    Panel5->setFixedHeight(64);
    auto* pickers = new QGridLayout(Panel5);
    pickers->setContentsMargins(4, 4, 4, 4);
    Label4 = Named(new QLabel(QStringLiteral("Mois :"), Panel5), "Label4");
    ComboBox1 = Named(new QComboBox(Panel5), "ComboBox1");
    ComboBox1->addItems(MonthNames());
    ComboBox1->setToolTip(QStringLiteral("Choisir un autre Mois"));
    Label5 = Named(new QLabel(QStringLiteral("Année :"), Panel5), "Label5");
    CSpinEdit1 = Named(new CSpinEdit(Panel5), "CSpinEdit1");
    CSpinEdit1->setRange(2002, 2052);
    CSpinEdit1->setValue(2004);
    CSpinEdit1->setToolTip(QStringLiteral("Choisir une autre Année"));
    pickers->addWidget(Label4, 0, 0);
    pickers->addWidget(ComboBox1, 0, 1);
    pickers->addWidget(Label5, 1, 0);
    pickers->addWidget(CSpinEdit1, 1, 1);
    column->addWidget(Panel5);
    // Screen readers name each box by its label; the grid and the second month's box have none.
    Label4->setBuddy(ComboBox1);
    Label5->setBuddy(CSpinEdit1);

    StringGrid1 = Named(new StringGrid(left), "StringGrid1");
    StringGrid1->setToolTip(QStringLiteral("Cliquez sur le jour choisi afin d'ajouter ou modifier un poids"));
    column->addWidget(StringGrid1, 1);
    StringGrid1->setAccessibleName(QStringLiteral("Poids du mois"));

    GroupBox1 = Named(new QGroupBox(QStringLiteral("  Indice Masse Corporelle  "), left), "GroupBox1");
    GroupBox1->setFixedHeight(100);
    Label6 = Named(new QLabel(QStringLiteral("Taille :"), GroupBox1), "Label6");
    Label6->setGeometry(4, 20, 44, 20);
    CSpinEdit3 = Named(new CSpinEdit(GroupBox1), "CSpinEdit3");
    CSpinEdit3->setRange(100, 300);
    CSpinEdit3->setValue(155);
    CSpinEdit3->setToolTip(QStringLiteral("Choisir une autre Taille"));
    CSpinEdit3->setGeometry(48, 18, 58, 22);
    Label7 = Named(new QLabel(QStringLiteral("cm"), GroupBox1), "Label7");
    Label7->setGeometry(110, 20, 20, 20);
    Label8 = Named(new QLabel(QStringLiteral("Poids :"), GroupBox1), "Label8");
    Label8->setGeometry(4, 44, 44, 20);
    Edit2 = Named(new QLineEdit(GroupBox1), "Edit2");
    Edit2->setToolTip(QStringLiteral("Choisir un autre Poids"));
    Edit2->setGeometry(48, 42, 58, 22);
    Label9 = Named(new QLabel(QStringLiteral("Kg"), GroupBox1), "Label9");
    Label9->setGeometry(110, 44, 18, 20);
    SpeedButton5 = Named(new QToolButton(GroupBox1), "SpeedButton5");
    SpeedButton5->setText(QStringLiteral("&OK"));
    SpeedButton5->setToolTip(QStringLiteral("Calcul de l'IMC"));
    SpeedButton5->setAutoRaise(true);
    SpeedButton5->setCursor(Qt::PointingHandCursor);
    SpeedButton5->setGeometry(126, 42, 25, 22);
    for (QLineEdit** line : {&Edit1, &Edit3}) {
        *line = new QLineEdit(GroupBox1);
        (*line)->setReadOnly(true);
        (*line)->setFrame(false);
        (*line)->setFocusPolicy(Qt::NoFocus);
        (*line)->setStyleSheet(QStringLiteral("background: transparent;"));
    }
    Label6->setBuddy(CSpinEdit3);
    Label8->setBuddy(Edit2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit1->setGeometry(4, 66, 146, 15);
    Edit3->setGeometry(4, 81, 146, 15);
    column->addWidget(GroupBox1);

    buildChartPage();
    TabSheet2 = new CaloriePage;
    PageControl1->addTab(TabSheet2, QStringLiteral("Calories"));
    // "&Bilan": Alt+B reaches the page from anywhere in the window.
    TabSheet3 = new SummaryPage(this);
    PageControl1->addTab(TabSheet3, QStringLiteral("&Bilan"));

    connect(SpeedButton7, &QToolButton::clicked, this, Guard([this] { SpeedButton7Click(); }));
    connect(ComboBox1, &QComboBox::activated, this, Guard([this] { ComboBox1Change(); }));
    connect(CSpinEdit1, &CSpinEdit::changed, this, Guard([this] { CSpinEdit1Change(); }));
    CSpinEdit1->setKeyFilter([](QChar c) { return isDigit(c) || c == Backspace; });
    CSpinEdit1->setTextRule(onlyDigits);
    StringGrid1->textRule = StringGrid1KeyPress;
    StringGrid1->emptyMarker = QStringLiteral("0");
    connect(StringGrid1, &StringGrid::keyReleased, this, Guard([this] { StringGrid1KeyUp(); }));
    connect(StringGrid1, &StringGrid::cellMoved, this, [this](int col, int row) {
        RunGuarded([&] { StringGrid1SelectCell(col, row); });
        RunGuarded([this] { StringGrid1Click(); });
    });
    connect(SpeedButton5, &QToolButton::clicked, this, Guard([this] { SpeedButton5Click(); }));
    CSpinEdit3->setKeyFilter([this](QChar c) {
        bool accepted = false;
        RunGuarded([&] { accepted = CSpinEdit3KeyPress(c); });
        return accepted;
    });
    CSpinEdit3->setTextRule(onlyDigits);
    connect(CSpinEdit3, &CSpinEdit::changed, this, Guard([this] { CSpinEdit3Change(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Guard([this] { SpeedButton3Click(); }));
    connect(SpeedButton6, &QToolButton::clicked, this, Guard([this] { SpeedButton6Click(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guard([this] { SpeedButton1Click(); }));
    connect(CheckBox2, &QCheckBox::toggled, this, Guard([this] { CheckBox2Click(); }));
    connect(ComboBox3, &QComboBox::activated, this, Guard([this] { CheckBox2Click(); }));
    connect(CSpinEdit4, &CSpinEdit::changed, this, Guard([this] { CheckBox2Click(); }));
    CSpinEdit4->setKeyFilter([](QChar c) { return isDigit(c) || c == Backspace; });
    CSpinEdit4->setTextRule(onlyDigits);
    connect(Panel1, &ColourSwatch::clicked, this, Guard([this] { Panel1Click(); }));
    connect(Panel2, &ColourSwatch::clicked, this, Guard([this] { Panel2Click(); }));
    connect(CSpinEdit2, &CSpinEdit::changed, this, Guard([this] { CSpinEdit2Change(); }));
    connect(CheckBox1, &QCheckBox::toggled, this, Guard([this] { CheckBox1Click(); }));
    connect(SpeedButton2, &QToolButton::clicked, this, Guard([this] { SpeedButton2Click(); }));
    connect(SpeedButton4, &QToolButton::clicked, this, Guard([this] { SpeedButton4Click(); }));
    connect(SpeedButton8, &QToolButton::clicked, this, Guard([this] { SpeedButton8Click(); }));
    connect(TabSheet2->SpeedButton12, &QToolButton::clicked, this, Guard([this] { SpeedButton6Click(); }));
    // The "Bilan" page follows the grid once this window has saved and redrawn the month (queued,
    // so that the handlers of the same event here have run).
    const auto refreshSummary = [this] { TabSheet3->RefreshIfShown(); };
    connect(StringGrid1, &StringGrid::keyReleased, TabSheet3, refreshSummary, Qt::QueuedConnection);
    connect(ComboBox1, &QComboBox::activated, TabSheet3, refreshSummary, Qt::QueuedConnection);
    connect(CSpinEdit1, &CSpinEdit::changed, TabSheet3, refreshSummary, Qt::QueuedConnection);
    // So does the target of the day on the "Calories" page, which the weights move.
    connect(
        StringGrid1, &StringGrid::keyReleased, TabSheet2,
        [this] {
            if (TabSheet2->isVisible())
                RunGuarded([this] { TabSheet2->ShowDayTarget(); });
        },
        Qt::QueuedConnection);
    connect(TabSheet3, &SummaryPage::weightsImported, this, Guard([this] { showJournalAnew(false); }));
    connect(TabSheet3->Form7, &BackupWindow::restored, this, Guard([this] { showJournalAnew(true); }));

    CentreOnFirstShow(this);

    FormCreate();
}

void TForm2::buildChartPage() {
    TabSheet1 = Named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("Graphique"));
    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    auto* buttons = new QWidget(TabSheet1);
    buttons->setFixedHeight(33);
    auto* strip = new QHBoxLayout(buttons);
    strip->setContentsMargins(2, 2, 2, 2);
    auto* fileButtons = MakeLoweredPanel(buttons);
    SpeedButton4 = MakeGlyphButton(fileButtons, "SpeedButton4",
                                   QStringLiteral("Imprimer le graphique en cours"), GlyphKind::Print);
    SpeedButton2 = MakeGlyphButton(fileButtons, "SpeedButton2",
                                   QStringLiteral("Enregistrer le graphique en cours"), GlyphKind::Save);
    SpeedButton1 = MakeGlyphButton(fileButtons, "SpeedButton1", QStringLiteral("Rafraîchir le graphique"),
                                   GlyphKind::Refresh);
    PutInRow(fileButtons, {SpeedButton4, SpeedButton2, SpeedButton1});
    strip->addWidget(fileButtons);
    SpeedButton8 = MakeGlyphButton(buttons, "SpeedButton8", QStringLiteral("Afficher une année entière"),
                                   GlyphKind::Year);
    strip->addWidget(SpeedButton8);
    strip->addStretch(1);
    auto* helpButtons = MakeLoweredPanel(buttons);
    SpeedButton6 =
        MakeGlyphButton(helpButtons, "SpeedButton6", QStringLiteral("Afficher l'aide"), GlyphKind::Help);
    SpeedButton3 =
        MakeGlyphButton(helpButtons, "SpeedButton3", QStringLiteral("A propos..."), GlyphKind::About);
    PutInRow(helpButtons, {SpeedButton6, SpeedButton3});
    strip->addWidget(helpButtons);
    page->addWidget(buttons);

    Chart1 = Named(new WeightChart(2, true), "Chart1");
    Chart1->setTitle(QStringLiteral("Mois et Année"));
    Chart1->SetLineColour(0, QColor(Qt::red));
    Chart1->SetLineColour(1, QColor(0, 255, 0)); // the comparison month is always lime
    Chart1->SetMarksVisible(0, true);
    Chart1->SetLineWidth(0, 1);
    Chart1->SetLineWidth(1, 1);
    ChartView1 = Named(new ZoomChartView(Chart1, TabSheet1), "ChartView1");
    page->addWidget(ChartView1, 1);

    auto* settings = new QWidget(TabSheet1);
    settings->setFixedHeight(33);
    auto* row = new QHBoxLayout(settings);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    Panel11 = Named(MakeLoweredPanel(settings), "Panel11");
    Panel11->setFixedWidth(248);
    QHBoxLayout* look = MakeAppearanceControls(Panel11, "Panel1", "Panel2", Label2, Panel1, Label3, Panel2,
                                               Label1, CSpinEdit2);
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Détails"), Panel11), "CheckBox1");
    CheckBox1->setToolTip(QStringLiteral("Afficher les détails"));
    CheckBox1->setChecked(true);
    look->addWidget(CheckBox1);
    row->addWidget(Panel11);
    Panel13 = Named(new QFrame(settings), "Panel13");
    row->addWidget(Panel13, 1);
    Panel12 = Named(MakeLoweredPanel(settings), "Panel12");
    Panel12->setFixedWidth(267);
    auto* compare = new QHBoxLayout(Panel12);
    compare->setContentsMargins(3, 0, 3, 0);
    compare->setSpacing(3);
    CheckBox2 = Named(new QCheckBox(QStringLiteral("2° Mois :"), Panel12), "CheckBox2");
    CheckBox2->setToolTip(QStringLiteral("Afficher le 2° Mois"));
    ComboBox3 = Named(new QComboBox(Panel12), "ComboBox3");
    ComboBox3->addItems(MonthNames());
    ComboBox3->setCurrentIndex(-1);
    ComboBox3->setToolTip(QStringLiteral("Choisir le 2° Mois"));
    Label10 = Named(new QLabel(QStringLiteral("Année :"), Panel12), "Label10");
    CSpinEdit4 = Named(new CSpinEdit(Panel12), "CSpinEdit4");
    CSpinEdit4->setRange(2002, 2052);
    CSpinEdit4->setValue(2004);
    CSpinEdit4->setToolTip(QStringLiteral("Choisir la 2° Année"));
    CSpinEdit4->setFixedWidth(56);
    ComboBox3->setAccessibleName(QStringLiteral("2° Mois"));
    CSpinEdit4->setAccessibleName(QStringLiteral("Année du 2° Mois"));
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox2, ComboBox3, Label10, CSpinEdit4})
        compare->addWidget(w);
    row->addWidget(Panel12);
    page->addWidget(settings);
}

void TForm2::PrepareForAccount(const QString& account) {
    AccountsStore::CheckAccountName(account);
    setWindowTitle(QStringLiteral("Kalimo - ") + account);
    // Before the window shows: a page on screen refreshes as soon as it is shown.
    tellPages();
}

void TForm2::tellPages() {
    TabSheet2->ShowDay(FoodLogFile(), CurrentDayKey());
    TabSheet2->ShowWeights(WeightFile(), CurrentAccountName());
    TabSheet3->ShowJournal({CurrentAccountName(), ShownMonth(), ShownYear(), &WeightFile(), &FoodLogFile(),
                            &TabSheet2->FoodDatabase});
}

void TForm2::showJournalAnew(bool foodsToo) {
    ShowSelectedMonth();
    RefreshMonthChart();
    if (!foodsToo)
        return;
    TabSheet2->ShowDayFoods();
    TabSheet3->RefreshSummary();
}

void TForm2::FormCreate() {
    StringGrid1->SetCells(0, 0, QStringLiteral("Jour"));
    StringGrid1->SetCells(1, 0, QStringLiteral("Poids (Kg)"));
    ComboBox1->setCurrentIndex(QDate::currentDate().month() - 1);
}

void TForm2::FormShow() {
    CSpinEdit1->setValue(QDate::currentDate().year());
    CSpinEdit4->setValue(CSpinEdit1->value());
    UnscrambleAccountFiles(CurrentAccountName());
    ShowSelectedMonth();
    RefreshMonthChart();
    TabSheet2->LoadCategoryList();
    StringGrid1->setFocus();
    StringGrid1->ShowEditor();
}

void TForm2::FormClose() {
    // A height typed and not yet brought within bounds (the box still has the focus) is stored
    // as the box would show it on leaving it; any other was stored as it was made.
    RunGuarded([this] {
        const std::optional<int> height = ParseInteger(CSpinEdit3->text());
        if (!height || *height != std::clamp(*height, CSpinEdit3->minimum(), CSpinEdit3->maximum()))
            StoreHeight();
    });
    // The program ends whatever becomes of the scrambling: a file that could not be scrambled
    // stays plain and is used as it is at the next start, as after "&Quitter".
    RunGuarded([] { ScrambleAccountFiles(CurrentAccountName()); });
    Form1->close();
}

ProfileFile& TForm2::WeightFile() {
    return HandleNamed(m_weightFile, WeightFileName(CurrentAccountName()));
}

ProfileFile& TForm2::FoodLogFile() {
    return HandleNamed(m_foodLogFile, FoodLogFileName(CurrentAccountName()));
}

int TForm2::ShownMonth() const {
    return ComboBox1->currentIndex() + 1;
}

int TForm2::ShownYear() const {
    return CSpinEdit1->value();
}

QString TForm2::CurrentDayKey() const {
    return StringGrid1->Cells(0, StringGrid1->Row()) + QLatin1Char('/') + QString::number(ShownMonth()) +
           QLatin1Char('/') + QString::number(ShownYear());
}

void TForm2::SetDayRows(int dayCount) {
    StringGrid1->SetRowCount(dayCount + 1);
    for (int d = 1; d <= dayCount; ++d)
        StringGrid1->SetCells(0, d, QString::number(d));
}

void TForm2::ShowSelectedMonth() {
    if (ComboBox1->currentIndex() >= 0)
        SetDayRows(DaysInMonth(ShownMonth(), ShownYear()));
    tellPages();
    LoadMonthWeights(ShownMonth(), ShownYear());
}

QStringList TForm2::weightCells() const {
    QStringList cells;
    for (int d = 1; d < StringGrid1->RowCount(); ++d)
        cells << StringGrid1->Cells(1, d);
    return cells;
}

void TForm2::LoadMonthWeights(int month, int year) {
    const QString account = CurrentAccountName();
    const QStringList weights = ReadMonthWeights(WeightFile(), month, year, StringGrid1->RowCount() - 1);
    for (int d = 1; d <= weights.size(); ++d)
        StringGrid1->SetCells(1, d, weights.at(d - 1));
    ProfileFile& accounts = AccountsFile();
    {
        const QScopedValueRollback loading(m_loadingHeight, true);
        CSpinEdit3->setValue(accounts.ReadInteger(account, QStringLiteral("taille"), 100));
    }
    CheckBox1->setChecked(accounts.ReadBool(account, QStringLiteral("details"), false));
}

void TForm2::SaveMonthWeights(int month, int year) {
    QStringList cells = weightCells();
    // Empty cells become "0" on screen too, even when the write then fails.
    for (int d = 1; d <= cells.size(); ++d)
        if (cells.at(d - 1).isEmpty())
            StringGrid1->SetCells(1, d, QStringLiteral("0"));
    WriteMonthWeights(WeightFile(), month, year, cells);
}

void TForm2::ComboBox1Change() {
    ShowSelectedMonth();
    RefreshMonthChart();
}

void TForm2::CSpinEdit1Change() {
    ShowSelectedMonth();
    RefreshMonthChart();
}

bool TForm2::StringGrid1KeyPress(QString& text, const QString& before) {
    return TakesWeightCellText(text, before);
}

void TForm2::StringGrid1KeyUp() {
    SaveMonthWeights(ShownMonth(), ShownYear());
    RefreshMonthChart();
    Edit2->setText(IndexWeightText(StringGrid1->Cells(1, StringGrid1->Row())));
    SpeedButton5Click();
}

void TForm2::StringGrid1SelectCell(int, int row) {
    Edit2->setText(IndexWeightText(StringGrid1->Cells(1, row)));
    SpeedButton5Click();
}

void TForm2::StringGrid1Click() {
    tellPages();
    TabSheet2->ShowDayFoods();
}

void TForm2::SpeedButton7Click() {
    StoreHeight();
    Form1->close();
}

void TForm2::SpeedButton3Click() {
    setEnabled(false);
    ShowOver(Form3, this);
}

void TForm2::SpeedButton6Click() {
    Bring(Form4);
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunGuarded([this] { FormShow(); });
}

void TForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    RunGuarded([this] { FormClose(); });
}
