#pragma once

#include "summary/backups.h"

#include <QWidget>

class QLabel;
class QToolButton;
class QTreeWidget;
class TForm2;

// The window of the "Bilan" page that lists the account's backups and puts one back. The main
// window waits, disabled, while it is open: a restore replaces the files its pages show.
class BackupWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BackupWindow(TForm2* form);

    QLabel* Label35;
    QTreeWidget* ListView2;
    QToolButton* SpeedButton20; // restore
    QToolButton* SpeedButton21; // close

    // Shows the window over the main window, with the list of the account open now.
    void Open();
    void FillList();
    // Restores the backup of the chosen row, after the person's confirmation.
    void SpeedButton20Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    TForm2* m_form;
    QList<BackupInfo> m_backups;
};
