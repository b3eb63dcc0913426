#pragma once

#include "store/profilefile.h"

#include <QWidget>

class CSpinEdit;
class QToolButton;

// The main window of the open account.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    QToolButton* SpeedButton7;
    CSpinEdit* CSpinEdit3;

    // The food database, shared with the editor.
    ProfileFile FoodDatabase{QStringLiteral("./calories.ini")};

    void PrepareForAccount(const QString& account);
    void FormShow();
    void FormClose();
    void SpeedButton7Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
