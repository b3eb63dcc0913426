#include "tform3.h"

#include "accounts/tform1.h"
#include "app/guard.h"
#include "app/windowset.h"
#include "charts/tform5.h"
#include "weight/tform2.h"

#include <QCloseEvent>

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("A propos"));
    setFixedSize(326, 267);
}

void TForm3::FormClose() {
    // Whichever window opened it, all three that can are usable again.
    Form1->setEnabled(true);
    Form2->setEnabled(true);
    Form5->setEnabled(true);
}

void TForm3::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); });
    event->accept();
}
