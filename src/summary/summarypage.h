#pragma once

#include "charts/chartexport.h"
#include "summary/energybalance.h"
#include "summary/weighttrend.h"

#include <QWidget>

#include <optional>

class QChart;
class QCheckBox;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPainter;
class QToolButton;
class QValueAxis;
class BackupWindow;
class EnergyChart;
class QChartView;
class QHBoxLayout;
class QVBoxLayout;
class ProfileFile;
class ZoomChartView;

// What the main window tells the "Bilan" page: the account open and its files, and the month
// shown, with which the page's span ends.
struct ShownJournal {
    QString account;
    int month = 1;
    int year = 2004;
    ProfileFile* weights = nullptr;
    ProfileFile* foodLog = nullptr;
    const ProfileFile* foodDatabase = nullptr;
};

// The "Bilan" page of the main window: the trend of the weights over a span ending with the
// month shown, the goal and when the trend reaches it, the span's figures, and the journal in
// and out as CSV. It keeps nothing of the files between two refreshes.
class SummaryPage : public QWidget {
    Q_OBJECT
  public:
    // mainWindow: the window that holds the page, over which the backups window opens.
    explicit SummaryPage(QWidget* mainWindow);

    // Top strip.
    QToolButton* SpeedButton13; // print
    QToolButton* SpeedButton14; // save
    QLabel* Label30;
    QComboBox* ComboBox4; // span
    QLabel* Label31;
    QLineEdit* Edit5; // goal
    QLabel* Label32;
    QToolButton* SpeedButton15; // store the goal
    // Chart and figures.
    QChart* Chart2;
    ZoomChartView* ChartView2;
    QLabel* Label33; // the figures
    QLabel* Label34; // the goal's outlook
    // Bottom strip.
    QToolButton* SpeedButton16; // export the weights
    QToolButton* SpeedButton18; // export the food log
    QCheckBox* CheckBox3;       // the whole journal rather than the span
    QToolButton* SpeedButton17; // import weights
    QToolButton* SpeedButton19; // the backups
    BackupWindow* Form7;
    ChartSaveDialog SaveDialog2;
    ChartPrintDialog PrintDialog2;

    // Told by the main window at every change; nothing is redrawn until the next refresh.
    void ShowJournal(const ShownJournal& journal) { m_journal = journal; }
    SummarySpan Span() const;
    // Rebuilds the chart and the figures from the account's files.
    void RefreshSummary();
    void ComboBox4Change();
    // The goal typed in Edit5, stored under "objectif" in the account's section of the accounts
    // file ("0": none).
    void SpeedButton15Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    void SpeedButton16Click();
    void SpeedButton18Click();
    void SpeedButton17Click();
    void SpeedButton19Click();
    // The goal stored for the account; nothing when none or unreadable.
    std::optional<double> StoredGoal() const;
    // After the main window has changed the month or a weight.
    void RefreshIfShown();

    // The expenditure estimated from the journals, the weekly rate chosen, and the chart of
    // expenditure and intake that takes the weight chart's place when asked.
    QLabel* Label43;       // "Rythme :"
    QComboBox* ComboBox40; // the weekly rate
    QLabel* Label42;       // "Dépense estimée : …" and the target of the day with that rate
    QCheckBox* CheckBox40; // the chart of expenditure and intake instead of the weights
    EnergyChart* Chart40;
    ZoomChartView* ChartView40;
    // A rate chosen: refused with the reason when faster than 1 % of the trend weight a week,
    // otherwise stored under "rythme" in the account's section of the accounts file.
    void ComboBox40Change(int index);
    void CheckBox40Click();
    // The chart the page shows, which its print and save buttons take.
    QChartView* ShownChartView() const;

  Q_SIGNALS:
    // Weights were imported into the weight file the main window shows.
    void weightsImported();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    DateRange exportRange(const std::vector<DayWeight>& journal) const;
    QString exportTo(const QString& proposed);
    // The weighed days and the dates under the chart, over what Qt draws.
    void paintOverChart(QPainter* painter);
    // The dates under the chart, as many as fit side by side.

    void buildEnergyControls(QVBoxLayout* page, QHBoxLayout* top, QHBoxLayout* bottom);
    // The expenditure, the rate and the energy chart for the span.
    void refreshEnergy(const DateRange& range);
    EnergyEstimates m_estimates;

    ShownJournal m_journal;
    QLineSeries* m_weights = nullptr;
    QLineSeries* m_trend = nullptr;
    QLineSeries* m_goal = nullptr;
    QDateTimeAxis* m_dates = nullptr;
    QValueAxis* m_kilos = nullptr;
};
