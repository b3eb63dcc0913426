#pragma once

#include "app/windowset.h"
#include "testsupport/fakedialogs.h"
#include "testsupport/tempdir.h"
#include "ui/appsetup.h"

#include <QApplication>

#include <memory>

// A whole program in an empty data folder: the six windows, with boxes answered by the test.
struct ProgramFixture {
    WorkingDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<WindowSet> windows;

    explicit ProgramFixture(bool start = true) {
        if (start)
            Start();
    }
    void Start() { windows = std::make_unique<WindowSet>(); }
    void Stop() { windows.reset(); }
};

inline void SetUpTestApplication() {
    SetUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
}

#include "accounts/tform1.h"
#include "ui/spinedit.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// A program with Paul's account (password "pw") open, his files as given; the boxes shown so
// far are forgotten.
struct OpenAccount : ProgramFixture {
    explicit OpenAccount(const QByteArray& accounts = "[Paul]\r\npassword=pw\r\n",
                         const QByteArray& weights = {})
        : ProgramFixture(false) {
        WriteBytes(dir.file(QStringLiteral("compte.ini")), accounts);
        if (!weights.isEmpty())
            WriteBytes(dir.file(QStringLiteral("Paul.ini")), weights);
        Start();
        Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
        Form1->Edit2->setText(QStringLiteral("pw"));
        QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
        dialogs.clear();
    }
    QByteArray accountsFile() const { return ReadBytes(dir.file(QStringLiteral("compte.ini"))); }
    QByteArray weightFile() const { return ReadBytes(dir.file(QStringLiteral("Paul.ini"))); }
};

// Picks a month and a year in the main window as a person would.
inline void ShowMonth(int month, int year) {
    Form2->CSpinEdit1->setValue(year);
    Form2->ComboBox1->setCurrentIndex(month - 1);
    Q_EMIT Form2->ComboBox1->activated(month - 1);
}
