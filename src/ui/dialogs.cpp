// ui/, the helpers under every window (they include none): the seam through which message boxes and dialogs
// are shown.
#include "dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

QString BreakableText(const QString& text) {
    // A message box wraps its text between words only: a long file name would run past its right
    // edge. Invisible break opportunities (zero-width spaces) let such a run wrap anywhere.
    constexpr int LongestRun = 30;
    QString out;
    out.reserve(text.size() + text.size() / 4);
    int run = 0;
    for (const QChar c : text) {
        if (c.isSpace()) {
            run = 0;
        } else if (++run > LongestRun && !c.isLowSurrogate()) {
            out += QChar(0x200B);
        }
        out += c;
    }
    return out;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, title, BreakableText(text), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

namespace {
const QString AppTitle = QStringLiteral("Kalimo");

class RealDialogs final : public DialogSeam {
  public:
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override {
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(parent, icon, title, text, buttons);
        if (defaultButton != QMessageBox::NoButton)
            box->setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box->exec());
    }

    std::optional<QColor> Color(QWidget* parent, const QColor& initial) override {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    }

    QString SaveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                         const QStringList& filters, int& filterIndex) override {
        QFileDialog dialog(parent, caption);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The program adds the extension and asks itself about the file it will really write.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilters(filters);
        if (filterIndex >= 0 && filterIndex < filters.size())
            dialog.selectNameFilter(filters.at(filterIndex));
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        filterIndex = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
        return dialog.selectedFiles().constFirst();
    }

    QString OpenFileName(QWidget* parent, const QString& caption, const QStringList& filters) override {
        QFileDialog dialog(parent, caption);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    bool Print(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

RealDialogs realDialogs;
DialogSeam* current = &realDialogs;

QWidget* parentWindow() {
    return QApplication::activeWindow();
}
} // namespace

DialogSeam& Dialogs() {
    return *current;
}

void SetDialogs(DialogSeam* seam) {
    current = seam ? seam : &realDialogs;
}

void ShowPlainMessage(const QString& text) {
    Dialogs().Message(parentWindow(), QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton ShowErrorMessage(const QString& text, QMessageBox::StandardButtons buttons) {
    return Dialogs().Message(parentWindow(), QMessageBox::Critical, QStringLiteral("Erreur"), text, buttons,
                             QMessageBox::NoButton);
}

QMessageBox::StandardButton AskConfirmation(const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
    return Dialogs().Message(parentWindow(), QMessageBox::Question, QStringLiteral("Confirmation"), text,
                             buttons, defaultButton);
}

bool MayReplaceFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return true;
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(path).fileName());
    return AskConfirmation(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ReportError(const QString& message) {
    Dialogs().Message(parentWindow(), QMessageBox::Critical, AppTitle, WithFullStop(message), QMessageBox::Ok,
                      QMessageBox::Ok);
}
