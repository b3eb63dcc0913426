#pragma once

#include "store/profilefile.h"
#include "summary/energybalance.h"

#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QuickEntry;
class QToolButton;
class QTreeWidget;
class QVBoxLayout;

// The "Calories" page of the main window: the foods eaten on the day the main window tells it,
// with their values and the day's totals, and the food database to choose from.
class CaloriePage : public QWidget {
    Q_OBJECT
  public:
    explicit CaloriePage(QWidget* parent = nullptr);

    QGroupBox* GroupBox3;
    QTreeWidget* ListView1;
    QGroupBox* GroupBox7;
    QLabel* Label17;
    QLabel* Label26;
    QLabel* Label18;
    QLabel* Label27;
    QLabel* Label19;
    QLabel* Label28;
    QLabel* Label20;
    QLabel* Label29;
    QToolButton* SpeedButton10;
    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    QListWidget* ListBox1;
    QGroupBox* GroupBox6;
    QListWidget* ListBox2;
    QLabel* Label11;
    QLabel* Label21;
    QLabel* Label12;
    QLabel* Label22;
    QLabel* Label13;
    QLabel* Label23;
    QLabel* Label14;
    QLabel* Label24;
    QLabel* Label15;
    QLabel* Label25;
    QLabel* Label16;
    QLineEdit* Edit4;
    QToolButton* SpeedButton9;
    QToolButton* SpeedButton11;
    QToolButton* SpeedButton12; // help, answered by the main window

    // The food database, shared with the editor.
    ProfileFile FoodDatabase{QStringLiteral("./calories.ini")};

    // The food log of the account open and the day ("5/3/2004") whose foods are shown, added and
    // removed; told by the main window whenever the account, the month or the grid's day changes.
    void ShowDay(ProfileFile& foodLog, const QString& day);
    ProfileFile* FoodLog() const { return m_foodLog; } // none before an account is open
    const QString& Day() const { return m_day; }

    // The search over every food, the recent foods and the day before.
    QuickEntry* Quick;

    void ShowDayFoods();
    void LoadCategoryList();
    void ShowCategoryFoods();
    void ShowFoodValues();
    void AddFoodToDay();
    void RemoveFoodFromDay();
    void OpenFoodEditor();
    // The editor has closed: the categories as it left them, and the main window usable again.
    void FoodEditorClosed();
    void ListView1ColumnClick(int column);

    // The target of the day, under the totals: what the estimated expenditure and the rate
    // chosen on the "Bilan" page leave to eat on the day shown.
    QLabel* Label40; // "Objectif : 1 850 kcal ; reste 430"
    QLabel* Label41; // why the target is what it is, when that needs saying
    // The account's weight file and name; told by the main window with the day.
    void ShowWeights(ProfileFile& weights, const QString& account);
    // The target line for the day whose foods are shown, against its total as shown.
    void ShowDayTarget();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildTargetLine(QVBoxLayout* page);
    // A food added to or removed from the day shown, the estimates kept (see MealsChanged).
    void changeMealsOfDay(const std::function<void()>& change);
    ProfileFile* m_weights = nullptr;
    QString m_account;
    QString m_shownDay; // the day ShowDayFoods last showed
    EnergyEstimates m_estimates;

    ProfileFile* m_foodLog = nullptr;
    QString m_day;
    // One sort direction for every column, reversed at each click on a column title.
    int m_sortColumn = 0;
    bool m_sortAscending = false;
};
