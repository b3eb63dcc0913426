#pragma once

#include "calories/foodsearch.h"

#include <QObject>

class CaloriePage;
class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QToolButton;
class QWidget;

// The short ways of the "Calories" page to a food: a search over the foods of every category,
// the foods eaten most often lately, and the day before copied whole. A food found here is
// chosen in the page's category and food lists, as a click there would choose it, so that
// "Ajouter" adds it as it adds any other; the day before goes through the same addition.
class QuickEntry : public QObject {
    Q_OBJECT
  public:
    // Builds its rows above the lists of `available` and its results beside them in `lists`.
    QuickEntry(CaloriePage* page, QBoxLayout* available, QBoxLayout* lists);

    QLabel* Label37;            // "Récents :"
    QListWidget* ListBox4;      // the foods eaten most often lately
    QToolButton* SpeedButton22; // "Copier la veille"
    QLabel* Label36;            // "Rechercher :"
    QLineEdit* Edit6;           // the words searched
    QGroupBox* GroupBox8;       // " Résultats ", in place of the category and food lists
    QListView* ListBox3;        // the foods found, as "aliment (catégorie)"

    // The food database may have changed (shown, edited): the search and the recent foods
    // follow it, foods renamed or deleted gone from both.
    void DatabaseChanged();
    // The food log or the day shown changed: the foods eaten most often in the 30 days that end
    // today, or that end with the day shown when it is later.
    void ShowRecentFoods();

    void Edit6Change();
    void ListBox3Pick();
    void ListBox4Pick();
    void SpeedButton22Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class FoundFoods;

    void choose(const FoodInCategory& chosen);
    void showCategoryView();
    // Keeps the page's lists where they were, whatever the height of the rows above them.
    void keepListsHeight();

    CaloriePage* m_page;
    QWidget* m_rows;
    int m_listsAreaHeight;
    FoodCatalogue m_catalogue;
    QList<FoodInCategory> m_results; // a row of ListBox3 each
    FoundFoods* m_found;
    QList<FoodInCategory> m_recent; // a row of ListBox4 each
};
