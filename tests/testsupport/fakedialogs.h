#pragma once

#include "ui/dialogs.h"

#include <QList>
#include <QMessageBox>
#include <QPrinter>

#include <optional>

// Stands in for every box and dialog while a test runs: records what was shown and gives the
// answers the test queued (by default the box's first button: Yes, then OK).
class FakeDialogs : public DialogSeam {
  public:
    struct Shown {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    FakeDialogs() { SetDialogs(this); }
    ~FakeDialogs() override { SetDialogs(nullptr); }

    QList<Shown> shown;
    QList<QMessageBox::StandardButton> answers;

    std::optional<QColor> nextColour;
    int colourRequests = 0;
    QColor lastInitialColour;

    QString nextFileName;
    int nextFilterIndex = -1; // -1: keep the type the program offered
    int offeredFilterIndex = -1;
    QString offeredFileName;
    QString offeredCaption;
    QStringList offeredFilters;

    QString nextOpenFileName; // empty: the open dialog is cancelled
    QString offeredOpenCaption;
    QStringList offeredOpenFilters;

    bool acceptPrint = true;
    int printRequests = 0;

    QStringList texts() const {
        QStringList t;
        for (const Shown& s : shown)
            t << s.text;
        return t;
    }
    void clear() { shown.clear(); }

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override {
        shown.append({icon, title, text, buttons, defaultButton});
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (buttons & QMessageBox::Yes)
            return QMessageBox::Yes;
        return QMessageBox::Ok;
    }

    std::optional<QColor> Color(QWidget*, const QColor& initial) override {
        ++colourRequests;
        lastInitialColour = initial;
        return nextColour;
    }

    QString SaveFileName(QWidget*, const QString& caption, const QString& fileName,
                         const QStringList& filters, int& filterIndex) override {
        offeredCaption = caption;
        offeredFileName = fileName;
        offeredFilters = filters;
        offeredFilterIndex = filterIndex;
        if (nextFilterIndex >= 0)
            filterIndex = nextFilterIndex;
        return nextFileName;
    }

    QString OpenFileName(QWidget*, const QString& caption, const QStringList& filters) override {
        offeredOpenCaption = caption;
        offeredOpenFilters = filters;
        return nextOpenFileName;
    }

    bool Print(QWidget*, QPrinter&) override {
        ++printRequests;
        return acceptPrint;
    }
};
