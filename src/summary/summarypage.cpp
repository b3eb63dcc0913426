#include "summarypage.h"

#include "accounts/accountsstore.h"
#include "app/windowset.h"
#include "calories/foodlog.h"
#include "charts/axisscale.h"
#include "charts/chartrules.h"
#include "charts/weightchart.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "summary/backupwindow.h"
#include "summary/energychart.h"
#include "summary/journalcsv.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "weight/weightrecords.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
const QString GoalKey = QStringLiteral("objectif");
constexpr size_t MaxPlottedDays = 1500;
} // namespace

SummaryPage::SummaryPage(QWidget* mainWindow) {
    setObjectName(QStringLiteral("TabSheet3"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    auto* top = new QWidget(this);
    top->setFixedHeight(33);
    auto* strip = new QHBoxLayout(top);
    strip->setContentsMargins(2, 2, 2, 2);
    strip->setSpacing(4);
    auto* fileButtons = MakeLoweredPanel(top);
    SpeedButton13 = MakeGlyphButton(fileButtons, "SpeedButton13",
                                    QStringLiteral("Imprimer le graphique en cours"), GlyphKind::Print);
    SpeedButton14 = MakeGlyphButton(fileButtons, "SpeedButton14",
                                    QStringLiteral("Enregistrer le graphique en cours"), GlyphKind::Save);
    PutInRow(fileButtons, {SpeedButton13, SpeedButton14});
    strip->addWidget(fileButtons);
    Label30 = MakeLabel(top, "Label30", QStringLiteral("Pério&de :"));
    ComboBox4 = Named(new QComboBox(top), "ComboBox4");
    ComboBox4->addItems(SummarySpanNames());
    ComboBox4->setCurrentIndex(int(SummarySpan::ThreeMonths));
    ComboBox4->setToolTip(QStringLiteral("Choisir la période, jusqu'au mois affiché"));
    Label31 = MakeLabel(top, "Label31", QStringLiteral("Ob&jectif :"));
    Edit5 = Named(new QLineEdit(top), "Edit5");
    Edit5->setToolTip(QStringLiteral("Poids à atteindre ; 0 ou vide : aucun"));
    Edit5->setFixedWidth(48);
    // The goal is typed like a weight in the grid.
    SetTextRule(Edit5, TakesWeightText);
    Label30->setBuddy(ComboBox4);
    Label31->setBuddy(Edit5);
    Label32 = MakeLabel(top, "Label32", QStringLiteral("Kg"));
    SpeedButton15 = MakeTextButton(top, "SpeedButton15", QStringLiteral("&Fixer"));
    SpeedButton15->setToolTip(QStringLiteral("Enregistrer l'objectif"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label30, ComboBox4, Label31, Edit5, Label32, SpeedButton15})
        strip->addWidget(w);
    strip->addStretch(1);
    SpeedButton19 = MakeTextButton(top, "SpeedButton19", QStringLiteral("Sauve&gardes…"));
    SpeedButton19->setToolTip(QStringLiteral("Voir les sauvegardes du journal et en restaurer une"));
    strip->addWidget(SpeedButton19);
    page->addWidget(top);

    Chart2 = Named(new QChart, "Chart2");
    Chart2->setLocalizeNumbers(true);
    Chart2->setLocale(QLocale(QLocale::French, QLocale::France));
    Chart2->setAnimationOptions(QChart::NoAnimation);
    Chart2->setTitleFont(QFont(QString::fromLatin1(ComicFont), 8));
    Chart2->setTitleBrush(Qt::blue);
    Chart2->setPlotAreaBackgroundVisible(true);
    Chart2->legend()->setAlignment(Qt::AlignBottom);
    m_dates = new QDateTimeAxis(Chart2);
    KeepRoomForDateLabels(m_dates); // the dates are drawn by paintOverChart
    Chart2->addAxis(m_dates, Qt::AlignBottom);
    m_kilos = new QValueAxis(Chart2);
    m_kilos->setTitleText(QStringLiteral("Poids (Kg)"));
    m_kilos->setLabelFormat(QStringLiteral("%.4g"));
    Chart2->addAxis(m_kilos, Qt::AlignLeft);
    KeepValueLabelsReadable(Chart2, m_kilos);
    // The weighed days as squares drawn over the chart (paintOverChart): the series draws no line.
    m_weights = new QLineSeries(Chart2);
    m_weights->setName(QStringLiteral("Poids"));
    m_trend = new QLineSeries(Chart2);
    m_trend->setName(QStringLiteral("Tendance"));
    m_goal = new QLineSeries(Chart2);
    m_goal->setName(QStringLiteral("Objectif"));
    for (QLineSeries* s : {m_weights, m_trend, m_goal}) {
        Chart2->addSeries(s);
        s->attachAxis(m_dates);
        s->attachAxis(m_kilos);
    }
    QPen goalPen(QColor(0, 128, 0), 1, Qt::DashLine);
    m_goal->setPen(goalPen);
    auto* overlay = new ChartOverlay(Chart2, [this](QPainter* painter) { paintOverChart(painter); });
    connect(m_dates, &QDateTimeAxis::rangeChanged, this, [overlay] { overlay->update(); });
    connect(m_kilos, &QValueAxis::rangeChanged, this, [overlay] { overlay->update(); });
    connect(m_weights, &QXYSeries::pointsReplaced, this, [overlay] { overlay->update(); });
    ChartView2 = Named(new ZoomChartView(Chart2, this), "ChartView2");
    page->addWidget(ChartView2, 1);

    Label33 = MakeLabel(this, "Label33", QString());
    Label33->setWordWrap(true);
    Label33->setContentsMargins(4, 2, 4, 0);
    Label33->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label33->setAccessibleName(QStringLiteral("Chiffres de la période"));
    page->addWidget(Label33);
    Label34 = MakeLabel(this, "Label34", QString());
    Label34->setContentsMargins(4, 0, 4, 2);
    QFont bold = Label34->font();
    bold.setBold(true);
    Label34->setFont(bold);
    Label34->setAccessibleName(QStringLiteral("Objectif"));
    page->addWidget(Label34);

    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(33);
    auto* row = new QHBoxLayout(bottom);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);
    SpeedButton16 = MakeTextButton(bottom, "SpeedButton16", QStringLiteral("Exporter les &poids"));
    SpeedButton16->setToolTip(QStringLiteral("Enregistrer les poids dans un fichier CSV pour un tableur"));
    SpeedButton18 = MakeTextButton(bottom, "SpeedButton18", QStringLiteral("Exporter les &repas"));
    SpeedButton18->setToolTip(QStringLiteral("Enregistrer le journal des calories dans un fichier CSV"));
    CheckBox3 = Named(new QCheckBox(QStringLiteral("&Tout le journal"), bottom), "CheckBox3");
    CheckBox3->setToolTip(QStringLiteral("Exporter tout le journal plutôt que la période"));
    SpeedButton17 = MakeTextButton(bottom, "SpeedButton17", QStringLiteral("&Importer des poids"));
    SpeedButton17->setToolTip(QStringLiteral("Lire des poids d'un fichier CSV"));
    row->addWidget(SpeedButton16);
    row->addWidget(SpeedButton18);
    row->addWidget(CheckBox3);
    row->addStretch(1);
    row->addWidget(SpeedButton17);
    page->addWidget(bottom);
    Form7 = new BackupWindow(mainWindow);
    buildEnergyControls(page, strip, row);

    connect(ComboBox4, &QComboBox::activated, this, Guard([this] { ComboBox4Change(); }));
    connect(SpeedButton15, &QToolButton::clicked, this, Guard([this] { SpeedButton15Click(); }));
    connect(Edit5, &QLineEdit::returnPressed, this, Guard([this] { SpeedButton15Click(); }));
    connect(SpeedButton13, &QToolButton::clicked, this, Guard([this] { SpeedButton13Click(); }));
    connect(SpeedButton14, &QToolButton::clicked, this, Guard([this] { SpeedButton14Click(); }));
    connect(SpeedButton16, &QToolButton::clicked, this, Guard([this] { SpeedButton16Click(); }));
    connect(SpeedButton18, &QToolButton::clicked, this, Guard([this] { SpeedButton18Click(); }));
    connect(SpeedButton17, &QToolButton::clicked, this, Guard([this] { SpeedButton17Click(); }));
    connect(SpeedButton19, &QToolButton::clicked, this, Guard([this] { SpeedButton19Click(); }));
}

void SummaryPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RunGuarded([this] { RefreshSummary(); });
}

void SummaryPage::RefreshIfShown() {
    if (isVisible())
        RunGuarded([this] { RefreshSummary(); });
}

SummarySpan SummaryPage::Span() const {
    return SummarySpan(std::clamp(ComboBox4->currentIndex(), 0, int(SummarySpan::All)));
}

std::optional<double> SummaryPage::StoredGoal() const {
    try {
        return ParseGoal(AccountsFile().ReadString(m_journal.account, GoalKey, QStringLiteral("0")));
    } catch (const KalimoError&) {
        return std::nullopt; // a value edited by hand into something else counts as no goal
    }
}

void SummaryPage::RefreshSummary() {
    const QString account = m_journal.account;
    const std::vector<DayWeight> journal = ReadWeightJournal(m_journal.weights->Document());
    const DateRange range = SpanRange(Span(), m_journal.month, m_journal.year, QDate::currentDate(), journal);
    const SpanFigures figures = ComputeSpanFigures(journal, range);
    const FoodMeans food =
        MeanFoodValues(m_journal.foodLog->Document(), m_journal.foodDatabase->Document(), range);
    const std::optional<double> goal = StoredGoal();
    if (!Edit5->isModified())
        Edit5->setText(goal ? FormatAmount(*goal) : QString());
    const int height = std::clamp(
        AccountsFile().ReadInteger(account, QStringLiteral("taille"), AccountsStore::DefaultHeight), 100,
        300);
    Label33->setText(FigureLines(figures, food, height).join(QLatin1Char('\n')));
    Label34->setText(GoalText(ProjectGoal(goal, figures)));

    // The chart, in the account's colours and thickness.
    const QColor line = ColourFromStored(
        AccountsFile().ReadInteger(account, QStringLiteral("trace"), AccountsStore::DefaultLineColour));
    Chart2->setPlotAreaBackgroundBrush(
        QBrush(ColourFromStored(AccountsFile().ReadInteger(account, QStringLiteral("fond"),
                                                           AccountsStore::DefaultBackgroundColour)),
               Qt::SolidPattern));
    QPen trendPen(line, std::clamp(AccountsFile().ReadInteger(account, QStringLiteral("largeur"), 1), 1, 10));
    m_trend->setPen(trendPen);
    QColor light = line;
    light.setAlpha(160);
    if (m_weights->color() != light) {
        m_weights->setPen(QPen(Qt::NoPen));
        m_weights->setColor(light);
    }

    Chart2->setTitle(QStringLiteral("Bilan %1 - %2 %3")
                         .arg(ComboBox4->currentText(), MonthNames().value(m_journal.month - 1))
                         .arg(m_journal.year));
    // Days as dates: each day at its noon, one day apart, whatever the clock changes.
    const qint64 origin = range.first.toJulianDay();
    const double originMs = double(QDateTime(range.first, QTime(12, 0)).toMSecsSinceEpoch());
    auto x = [&](qint64 day) { return originMs + double(day - origin) * 86400000.0; };
    // A plot a few hundred pixels wide cannot show more than a couple of thousand days apart:
    // beyond that, each run of days keeps its lowest and highest weight and its last trend value,
    // which draws the same picture at a fraction of the cost.
    const size_t n = figures.weights.size();
    const size_t run = std::max<size_t>(1, (n + MaxPlottedDays - 1) / MaxPlottedDays);
    QList<QPointF> weights, trend;
    weights.reserve(qsizetype(2 * (n / run + 1)));
    trend.reserve(qsizetype(n / run + 1));
    for (size_t start = 0; start < n; start += run) {
        const size_t end = std::min(n, start + run);
        size_t lo = start, hi = start;
        for (size_t i = start + 1; i < end; ++i) {
            lo = figures.weights[i].kg < figures.weights[lo].kg ? i : lo;
            hi = figures.weights[i].kg > figures.weights[hi].kg ? i : hi;
        }
        for (size_t i : {std::min(lo, hi), std::max(lo, hi)}) {
            weights << QPointF(x(figures.weights[i].day), figures.weights[i].kg);
            if (lo == hi)
                break;
        }
        trend << QPointF(x(figures.trend[end - 1].day), figures.trend[end - 1].kg);
    }
    // The weight axis holds every weight of the span and the goal.
    double low = goal.value_or(figures.lowest), high = goal.value_or(figures.highest);
    if (!figures.weights.empty()) {
        low = std::min(low, figures.lowest);
        high = std::max(high, figures.highest);
    }
    m_weights->replace(weights);
    m_trend->replace(trend);
    const double first = x(origin), last = x(range.last.toJulianDay());
    m_goal->replace(goal ? QList<QPointF>{{first, *goal}, {last, *goal}} : QList<QPointF>());
    m_dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(first)),
                      QDateTime::fromMSecsSinceEpoch(qint64(last)));
    if (figures.weights.empty() && !goal) {
        low = 60;
        high = 80;
    }
    // Labels on round values, as many as the chart's height lets be read (KeepValueLabelsReadable).
    const AxisScale scale = ScaleFor(low, high);
    m_kilos->setRange(scale.min, scale.max);
    refreshEnergy(range);
}

void SummaryPage::paintOverChart(QPainter* painter) {
    // Every weighed day as a square that shows at a glance, a lone one too, edged so that it stands
    // out on the trend line of the same colour.
    const int side = std::max(6, m_trend->pen().width() + 4);
    PaintPointSquares(painter, Chart2, m_weights, side, m_weights->color(),
                      m_trend->pen().color().darker(150));
    DrawDateLabels(painter, Chart2, m_weights, m_dates, m_kilos->labelsBrush().color());
}

void SummaryPage::ComboBox4Change() {
    RefreshSummary();
}

void SummaryPage::SpeedButton15Click() {
    const std::optional<double> goal = ParseGoal(Edit5->text());
    AccountsFile().WriteString(m_journal.account, GoalKey, goal ? FormatAmount(*goal) : QStringLiteral("0"));
    Edit5->setModified(false);
    RefreshSummary();
}

void SummaryPage::SpeedButton13Click() {
    PrintChart(this, ShownChartView(), PrintDialog2);
}

void SummaryPage::SpeedButton14Click() {
    SaveChart(this, ShownChartView(), SaveDialog2);
}

DateRange SummaryPage::exportRange(const std::vector<DayWeight>& journal) const {
    if (CheckBox3->isChecked())
        return {};
    return SpanRange(Span(), m_journal.month, m_journal.year, QDate::currentDate(), journal);
}

QString SummaryPage::exportTo(const QString& proposed) {
    const QStringList filters{QStringLiteral("Fichier CSV *.csv")};
    QString offered = proposed;
    for (;;) {
        int filter = 0;
        const QString name = Dialogs().SaveFileName(this, QStringLiteral("Exportation du journal..."),
                                                    offered, filters, filter);
        if (name.isEmpty())
            return {};
        const QString path = WithCsvExtension(name);
        if (MayReplaceFile(path))
            return path;
        offered = name;
    }
}

void SummaryPage::SpeedButton16Click() {
    const std::vector<DayWeight> journal = ReadWeightJournal(m_journal.weights->Document());
    const QString path = exportTo(QStringLiteral("Poids ") + m_journal.account);
    if (path.isEmpty())
        return;
    WriteCsvFile(path, WeightsCsv(journal, exportRange(journal)));
}

void SummaryPage::SpeedButton18Click() {
    const std::vector<DayWeight> journal = ReadWeightJournal(m_journal.weights->Document());
    const QString path = exportTo(QStringLiteral("Repas ") + m_journal.account);
    if (path.isEmpty())
        return;
    WriteCsvFile(path, FoodLogCsv(m_journal.foodLog->Document(), m_journal.foodDatabase->Document(),
                                  exportRange(journal)));
}

void SummaryPage::SpeedButton17Click() {
    const QString name =
        Dialogs().OpenFileName(this, QStringLiteral("Importation de poids..."),
                               {QStringLiteral("Fichier CSV *.csv"), QStringLiteral("Fichier texte *.txt"),
                                QStringLiteral("Tous les fichiers *")});
    if (name.isEmpty())
        return;
    ProfileFile& weights = *m_journal.weights;
    const WeightImport plan = PlanWeightImport(ReadImportFile(name), weights.Document());
    const QString summary = ImportSummary(plan);
    if (plan.fresh.empty() && plan.differing.empty()) {
        ShowPlainMessage(summary + QStringLiteral("\n\nRien à importer."));
        return;
    }
    bool replace = false;
    if (!plan.differing.empty()) {
        const QMessageBox::StandardButton answer = AskConfirmation(
            summary + QStringLiteral("\n\nRemplacer les jours différents par les poids du fichier ?\n"
                                     "Oui : les remplacer ; Non : garder ceux enregistrés ; "
                                     "Annuler : ne rien importer."),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No)
            return;
        replace = answer == QMessageBox::Yes;
    } else if (AskConfirmation(
                   summary +
                       (plan.fresh.size() == 1
                            ? QStringLiteral("\n\nImporter le jour nouveau ?")
                            : QStringLiteral("\n\nImporter les %1 jours nouveaux ?").arg(plan.fresh.size())),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes) {
        return;
    }
    const int written = ApplyWeightImport(weights, plan, replace);
    // The grid and the month chart show the month as it now stands in the file.
    Q_EMIT weightsImported();
    RefreshSummary();
    ShowPlainMessage(Counted(written, QStringLiteral("jour importé."), QStringLiteral("jours importés.")));
}

void SummaryPage::SpeedButton19Click() {
    Form7->Open();
}

// --- Expenditure, rate and the energy chart ---

namespace {
// The rates in full in the list ("−0,5 kg par semaine", as a screen reader reads them too), the
// number alone in the closed box, which must fit beside the goal at the window's smallest.
class RateBox final : public QComboBox {
  public:
    using QComboBox::QComboBox;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QSize sizeHint() const override {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QSize text = fontMetrics().size(Qt::TextSingleLine, QStringLiteral("\u22120,75"));
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, text + QSize(4, 0), this);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText = option.currentText.section(QLatin1Char(' '), 0, 0);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};
} // namespace

void SummaryPage::buildEnergyControls(QVBoxLayout* page, QHBoxLayout* top, QHBoxLayout* bottom) {
    QWidget* strip = SpeedButton15->parentWidget();
    Label43 = MakeLabel(strip, "Label43", QStringLiteral("R&ythme :"));
    ComboBox40 = Named(new RateBox(strip), "ComboBox40");
    ComboBox40->setAccessibleName(QStringLiteral("Rythme"));
    for (const double rate : RateChoices)
        ComboBox40->addItem(RateText(rate));
    ComboBox40->setToolTip(QStringLiteral("Le rythme voulu vers l'objectif, en kg par semaine : "
                                          "l'objectif du jour en découle"));
    Label43->setBuddy(ComboBox40);
    const int after = top->indexOf(SpeedButton15) + 1;
    top->insertWidget(after, Label43);
    top->insertWidget(after + 1, ComboBox40);

    Label42 = MakeLabel(this, "Label42", QString());
    Label42->setContentsMargins(4, 0, 4, 2);
    Label42->setWordWrap(true);
    Label42->setTextInteractionFlags(Qt::TextSelectableByMouse);
    page->insertWidget(page->indexOf(Label34) + 1, Label42);

    Chart40 = new EnergyChart;
    ChartView40 = Named(new ZoomChartView(Chart40, this), "ChartView40");
    ChartView40->hide();
    page->insertWidget(page->indexOf(ChartView2) + 1, ChartView40, 1);
    CheckBox40 = Named(new QCheckBox(QStringLiteral("Dép&ense"), CheckBox3->parentWidget()), "CheckBox40");
    CheckBox40->setToolTip(
        QStringLiteral("Montrer la dépense estimée et les calories notées au lieu des poids"));
    bottom->insertWidget(bottom->indexOf(CheckBox3) + 1, CheckBox40);

    // Tab reaches them where they stand, not after every control made before them.
    setTabOrder(SpeedButton15, ComboBox40);
    setTabOrder(CheckBox3, CheckBox40);

    connect(ComboBox40, &QComboBox::activated, this,
            [this](int index) { RunGuarded([&] { ComboBox40Change(index); }); });
    connect(CheckBox40, &QCheckBox::toggled, this, Guard([this] { CheckBox40Click(); }));
}

QChartView* SummaryPage::ShownChartView() const {
    return CheckBox40->isChecked() ? static_cast<QChartView*>(ChartView40) : ChartView2;
}

void SummaryPage::CheckBox40Click() {
    ChartView2->setVisible(!CheckBox40->isChecked());
    ChartView40->setVisible(CheckBox40->isChecked());
    if (CheckBox40->isChecked())
        RefreshSummary();
}

void SummaryPage::refreshEnergy(const DateRange& range) {
    const qint64 last = range.last.toJulianDay();
    const EnergySeries& series =
        m_estimates.For(*m_journal.weights, *m_journal.foodLog, *m_journal.foodDatabase, last);
    const ProfileDocument& accounts = AccountsFile().Document();
    const std::optional<double> goal = StoredGoalOf(accounts, m_journal.account);
    const std::optional<double> stored = StoredRateOf(accounts, m_journal.account);
    const DayTarget target = TargetOfDay(series.At(last), goal, stored);

    // The rate as chosen, or the one it takes by default with the latest trend.
    const double rate = stored.value_or(DefaultRate(goal, series.LatestTrend()));
    for (int i = 0; i < int(std::size(RateChoices)); ++i)
        if (RateChoices[i] == rate)
            ComboBox40->setCurrentIndex(i);

    QStringList lines{ExpenditureLine(target.energy)};
    if (target.Known()) {
        QString line = QStringLiteral("Objectif du %1 à %2 : %3 kcal")
                           .arg(FormatDate(range.last), RateText(target.rate), FormatKcal(target.kcal));
        if (const QString note = TargetNote(target); !note.isEmpty())
            line += QStringLiteral(" (") + note.front().toLower() + note.mid(1) + QLatin1Char(')');
        lines << line;
    }
    Label42->setText(lines.join(QLatin1Char('\n')));

    // The chart is drawn when it shows: over fifty years it costs more than the rest of the page.
    if (!CheckBox40->isChecked())
        return;
    const QColor line = ColourFromStored(AccountsFile().ReadInteger(
        m_journal.account, QStringLiteral("trace"), AccountsStore::DefaultLineColour));
    const QColor background = ColourFromStored(AccountsFile().ReadInteger(
        m_journal.account, QStringLiteral("fond"), AccountsStore::DefaultBackgroundColour));
    Chart40->SetAppearance(line, background,
                           AccountsFile().ReadInteger(m_journal.account, QStringLiteral("largeur"), 1));
    Chart40->Show(QStringLiteral("Dépense et apports %1 - %2 %3")
                      .arg(ComboBox4->currentText(), MonthNames().value(m_journal.month - 1))
                      .arg(m_journal.year),
                  series, range);
}

void SummaryPage::ComboBox40Change(int index) {
    if (index < 0 || index >= int(std::size(RateChoices)))
        return;
    const double rate = RateChoices[index];
    const EnergySeries& series = m_estimates.For(*m_journal.weights, *m_journal.foodLog,
                                                 *m_journal.foodDatabase, std::numeric_limits<qint64>::min());
    if (const QString refusal = RateRefusal(rate, series.LatestTrend()); !refusal.isEmpty()) {
        RefreshSummary(); // the rate as it was
        throw KalimoError(refusal);
    }
    AccountsFile().WriteString(m_journal.account, RateKey, StoredRateText(rate));
    RefreshSummary();
}
