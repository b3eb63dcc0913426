#include "tform2.h"

#include "accounts/tform1.h"
#include "app/guard.h"
#include "app/spinedit.h"
#include "app/windowset.h"
#include "store/scramble.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kalimo - "));
    resize(681, 477);
    setMinimumSize(681, 477);

    SpeedButton7 = new QToolButton(this);
    SpeedButton7->setObjectName(QStringLiteral("SpeedButton7"));
    SpeedButton7->setText(QStringLiteral("&Quitter"));
    SpeedButton7->setAutoRaise(true);
    SpeedButton7->setCursor(Qt::PointingHandCursor);
    SpeedButton7->setGeometry(0, 0, 153, 32);

    CSpinEdit3 = new CSpinEdit(this);
    CSpinEdit3->setObjectName(QStringLiteral("CSpinEdit3"));
    CSpinEdit3->setRange(100, 300);
    CSpinEdit3->setValue(155);
    CSpinEdit3->setGeometry(40, 400, 60, 22);

    connect(SpeedButton7, &QToolButton::clicked, this, Guard([this] { SpeedButton7Click(); }));

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm2::PrepareForAccount(const QString& account) { setWindowTitle(QStringLiteral("Kalimo - ") + account); }

void TForm2::FormShow() { UnscrambleAccountFiles(CurrentAccountName()); }

void TForm2::FormClose() {
    ScrambleAccountFiles(CurrentAccountName());
    Form1->close();
}

void TForm2::SpeedButton7Click() {
    Form1->Accounts.File().WriteInteger(CurrentAccountName(), QStringLiteral("taille"), CSpinEdit3->value());
    Form1->close();
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunGuarded([this] { FormShow(); });
}

void TForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    RunGuarded([this] { FormClose(); });
}
