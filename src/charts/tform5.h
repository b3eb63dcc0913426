#pragma once

#include "charts/chartexport.h"

#include <QWidget>

class CSpinEdit;
class ColourSwatch;
class QFrame;
class QLabel;
class QToolButton;
class WeightChart;
class ZoomChartView;

// The one-year chart window: the days weighed in the year chosen in the main window, on one line
// over 12 months of 31 day slots. Its colours and thickness start from the account's settings and
// are changed here for this window only.
class TForm5 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm5(QWidget* parent = nullptr);

    // 12 months of 31 day slots each, whatever the length of the month: day d of month m stands at
    // (m - 1) * 31 + d - 1.
    static constexpr int DaySlots = 31;
    static constexpr int SlotCount = 12 * DaySlots;

    // Top strip.
    QFrame* Panel1;
    QFrame* Panel8;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton7;
    QFrame* Panel9;
    QToolButton* SpeedButton10;
    QToolButton* SpeedButton9;

    WeightChart* Chart1;
    ZoomChartView* ChartView1;

    // Bottom strip.
    QFrame* Panel2;
    QFrame* Panel11;
    QLabel* Label2;
    ColourSwatch* Panel3;
    QLabel* Label3;
    ColourSwatch* Panel4;
    QLabel* Label1;
    CSpinEdit* CSpinEdit2;

    ChartSaveDialog SaveDialog1;
    ChartPrintDialog PrintDialog1;

    void FormShow();
    void FormClose();
    void Panel3Click();
    void Panel4Click();
    void CSpinEdit2Change();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton4Click();
    void SpeedButton7Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadYear(int year);
};
