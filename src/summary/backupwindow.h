#pragma once

#include "summary/backups.h"

#include <QWidget>

class QLabel;
class QToolButton;
class QTreeWidget;

// The window of the "Bilan" page that lists the account's backups and puts one back. The main
// window waits, disabled, while it is open: a restore replaces the files its pages show.
class BackupWindow : public QWidget {
    Q_OBJECT
  public:
    // mainWindow: the window that waits while this one is open, and goes with it.
    explicit BackupWindow(QWidget* mainWindow);

    QLabel* Label35;
    QTreeWidget* ListView2;
    QToolButton* SpeedButton20; // restore
    QToolButton* SpeedButton21; // close

    // Shows the window over the main window, with the list of the account open now.
    void Open();
    void FillList();
    // Restores the backup of the chosen row, after the person's confirmation.
    void SpeedButton20Click();

  Q_SIGNALS:
    // A restore was attempted: the files the main window shows may have changed.
    void restored();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* m_mainWindow;
    QList<BackupInfo> m_backups;
};
