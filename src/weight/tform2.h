#pragma once

#include "charts/chartexport.h"
#include "store/profilefile.h"

#include <QWidget>

#include <optional>

class CaloriePage;
class CSpinEdit;
class ColourSwatch;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;
class StringGrid;
class SummaryPage;
class WeightChart;
class ZoomChartView;

// The main window of the open account: the month grid, the body-mass index, the month chart and
// the calorie journal.
class TForm2 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);

    // Left column.
    QToolButton* SpeedButton7;
    QLabel* Panel6;
    QFrame* Panel5;
    QLabel* Label4;
    QComboBox* ComboBox1;
    QLabel* Label5;
    CSpinEdit* CSpinEdit1;
    StringGrid* StringGrid1;

    // Body-mass index.
    QGroupBox* GroupBox1;
    QLabel* Label6;
    CSpinEdit* CSpinEdit3;
    QLabel* Label7;
    QLabel* Label8;
    QLineEdit* Edit2;
    QLabel* Label9;
    QToolButton* SpeedButton5;
    QLineEdit* Edit1;
    QLineEdit* Edit3;

    // Pages.
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    CaloriePage* TabSheet2; // "Calories"
    SummaryPage* TabSheet3; // "Bilan"

    // "Graphique" page.
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton3;
    WeightChart* Chart1;
    ZoomChartView* ChartView1;
    QFrame* Panel11;
    QLabel* Label2;
    ColourSwatch* Panel1;
    QLabel* Label3;
    ColourSwatch* Panel2;
    QLabel* Label1;
    CSpinEdit* CSpinEdit2;
    QCheckBox* CheckBox1;
    QFrame* Panel13;
    QFrame* Panel12;
    QCheckBox* CheckBox2;
    QComboBox* ComboBox3;
    QLabel* Label10;
    CSpinEdit* CSpinEdit4;
    ChartSaveDialog SaveDialog1;
    ChartPrintDialog PrintDialog1;

    // Frame and grid.
    void PrepareForAccount(const QString& account);
    void FormCreate();
    void FormShow();
    void FormClose();
    void ShowSelectedMonth();
    void SetDayRows(int dayCount);
    void LoadMonthWeights(int month, int year);
    void SaveMonthWeights(int month, int year);
    void ComboBox1Change();
    void CSpinEdit1Change();
    // What a weight cell takes, whatever brings the text: digits and at most one comma (never a
    // lone one), a period becoming a comma, the no-weight "0" giving way to the digits typed
    // after it. Judged on the whole text, so a paste or an Alt key cannot slip past it.
    static bool StringGrid1KeyPress(QString& text, const QString& before);
    void StringGrid1KeyUp();
    void StringGrid1SelectCell(int col, int row);
    void StringGrid1Click();
    void SpeedButton7Click();
    void SpeedButton3Click();
    void SpeedButton6Click();

    // Month chart.
    void RefreshMonthChart();
    void SpeedButton1Click();
    void CheckBox2Click();

    // Month chart files and the year window.
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton8Click();

    // Chart appearance.
    void ApplyStoredAppearance();
    void Panel1Click();
    void Panel2Click();
    void CSpinEdit2Change();
    void CheckBox1Click();

    // Body-mass index.
    void SpeedButton5Click();
    bool CSpinEdit3KeyPress(QChar key);
    void CSpinEdit3Change();
    void StoreHeight();

    // The month and year shown, and the day of the grid's current row in them.
    int ShownMonth() const;
    int ShownYear() const;
    QString CurrentDayKey() const;

    // The files of the account open now.
    ProfileFile& WeightFile();
    ProfileFile& FoodLogFile();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLeftColumn();
    void buildChartPage();
    QStringList weightCells() const;
    // Tells the pages the account, the month and the day the grid shows.
    void tellPages();
    // The files changed under the window (an import, a restored backup): shown as they now are.
    void showJournalAnew(bool foodsToo);

    bool m_loadingHeight = false; // the height box is being set from the accounts file
    std::optional<ProfileFile> m_weightFile;
    std::optional<ProfileFile> m_foodLogFile;
};
