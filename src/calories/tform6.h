#pragma once

#include "store/profilefile.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

// The food database editor: categories and foods added, changed, renamed and deleted.
class TForm6 : public QWidget {
    Q_OBJECT
  public:
    // The database is the calorie page's: it shows the categories anew once the editor closes.
    explicit TForm6(ProfileFile& foodDatabase, QWidget* parent = nullptr);

    QGroupBox* GroupBox5;
    QListWidget* ListBox1;
    QLabel* Label1;
    QLineEdit* Edit6;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton5;
    QGroupBox* GroupBox6;
    QListWidget* ListBox2;
    QLabel* Label11;
    QLineEdit* Edit1;
    QLabel* Label12;
    QLineEdit* Edit2;
    QLabel* Label13;
    QLineEdit* Edit3;
    QLabel* Label14;
    QLineEdit* Edit4;
    QLabel* Label15;
    QLineEdit* Edit5;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;

    // Written only: every food deleted is kept there.
    ProfileFile DeletedFoods{QStringLiteral("./calsuppr.ini")};

    void FormShow();
    void ListBox1Click();
    void ListBox2Click();
    void SaveFood();
    void DeleteFood();
    void AddCategory();
    void RenameCategory();
    void DeleteCategory();
    void CloseFoodEditor();

  Q_SIGNALS:
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void LoadCategoryList();
    void ShowCategoryFoods(const QString& category);
    void clearFoodFields();
    QString chosenCategory() const;

    ProfileFile& m_foodDatabase;
};
