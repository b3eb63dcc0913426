#pragma once

#include "accounts/accountsstore.h"

#include <QWidget>

class LinkLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The login window: choose, create or delete an account and open it. Closing it ends the program.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label2;
    QComboBox* ComboBox1;
    QLabel* Label3;
    QLineEdit* Edit2;
    QToolButton* SpeedButton3;
    LinkLabel* Label4;
    LinkLabel* Label6;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton1;

    AccountsStore Accounts;

    void FormCreate();
    void Label4Click();
    void SpeedButton3Click();
    void Edit2KeyPress(QChar key);
    void Label6Click();
    void SpeedButton1Click();
    void SpeedButton6Click();
    void FormClose();
    // The backup of the account opened in this run, made once its files are scrambled.
    void BackUpAtClose();
    // Lists the accounts of the accounts file in the account box, in file order.
    void FillAccountList();

  Q_SIGNALS:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void OpenAccount(const QString& account);
    // Raises an error naming the accounts file when it cannot be read.
    void RequireReadableAccountsFile();
    QString m_openedAccount;
};
