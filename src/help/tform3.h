#pragma once

#include <QWidget>

class LinkLabel;
class QLabel;
class QToolButton;

// The about window.
class TForm3 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm3(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    LinkLabel* Label4;
    QLabel* Label5;
    LinkLabel* Label6;
    QToolButton* SpeedButton1;
    QLabel* Image2;

    void FormCreate();
    void Label4Click();
    void Label6Click();
    void SpeedButton1Click();
    void FormClose();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void placeVersion();
};
