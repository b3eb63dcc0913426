// ui/, the helpers under every window (they include none): the seam through which message boxes and dialogs
// are shown.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

// Every message box and common dialog of the program goes through this seam, so that tests can
// answer them without a person at the keyboard.
class DialogSeam {
  public:
    virtual ~DialogSeam() = default;

    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                const QString& text, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // Nothing when the user cancels.
    virtual std::optional<QColor> Color(QWidget* parent, const QColor& initial) = 0;
    // The chosen name (empty when cancelled); filterIndex is the type shown first and, on return,
    // the type the user chose.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QStringList& filters, int& filterIndex) = 0;
    // The existing file chosen to be read (empty when cancelled).
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QStringList& filters) = 0;
    // Whether the user confirmed the print dialog.
    virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
};

// The box the real seam shows: its text wraps, long words and file names included.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons);
// The text with invisible break opportunities inside runs too long for one line of a box.
QString BreakableText(const QString& text);

DialogSeam& Dialogs();
// Installs another seam (tests); nullptr brings back the real dialogs.
void SetDialogs(DialogSeam* seam);

// The boxes of the program, with Qt's French buttons:
// plain: title "Kalimo", no icon, "OK".
void ShowPlainMessage(const QString& text);
// error: title "Erreur", error icon.
QMessageBox::StandardButton ShowErrorMessage(const QString& text,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Yes);
// confirmation: title "Confirmation", question icon. Closing the box counts as its escape button.
QMessageBox::StandardButton
AskConfirmation(const QString& text, QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
// Before a file named in a save dialog is written: true when it does not exist yet or the person
// agrees to replace it. The save dialog itself does not ask, since it only knows the name typed,
// not the file that will be written (an extension may be added).
bool MayReplaceFile(const QString& path);
// The standard report of an error that ended an event: title "Kalimo", error icon, "OK".
void ReportError(const QString& message);
// A full stop is added when the message's last character sorts after it.
QString WithFullStop(const QString& message);
