#pragma once

#include "charts/chartexport.h"
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
class TForm2;
class ZoomChartView;

// The "Bilan" page of the main window: the trend of the weights over a span ending with the
// month shown, the goal and when the trend reaches it, the span's figures, and the journal in
// and out as CSV. It reads the account's files through the main window and keeps nothing of
// its own between two refreshes.
class SummaryPage : public QWidget {
    Q_OBJECT
  public:
    explicit SummaryPage(TForm2* form);

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

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    DateRange exportRange(const std::vector<DayWeight>& journal) const;
    QString exportTo(const QString& proposed);
    void refreshIfShown();
    // The dates under the chart, as many as fit side by side.
    void paintDates(QPainter* painter);

    TForm2* m_form;
    QLineSeries* m_weights = nullptr;
    QLineSeries* m_trend = nullptr;
    QLineSeries* m_goal = nullptr;
    QDateTimeAxis* m_dates = nullptr;
    QValueAxis* m_kilos = nullptr;
};
