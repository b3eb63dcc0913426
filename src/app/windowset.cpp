#include "windowset.h"

#include "accounts/tform1.h"
#include "calories/caloriepage.h"
#include "calories/tform6.h"
#include "charts/tform5.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "weight/tform2.h"

#include "ui/guard.h"

#include <QComboBox>
#include <QEvent>
#include <QTimer>

#include <utility>

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm6* Form6 = nullptr;

const QString VersionText = QStringLiteral("version 2.0");

QString CurrentAccountName() {
    return Form1 ? Form1->ComboBox1->currentText() : QString();
}

ProfileFile& AccountsFile() {
    return Form1->Accounts.File();
}

namespace {
// Creates the other windows after the login window's first paint, once control is back in the
// event loop.
class AfterFirstPaint final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                RunGuarded(CreateRemainingWindows);
                deleteLater();
            });
        }
        return false;
    }
};
} // namespace

void CreateRemainingWindows() {
    if (!Form2)
        Form2 = new TForm2;
    if (!Form3)
        Form3 = new TForm3;
    if (!Form4)
        Form4 = new TForm4;
    if (!Form5)
        Form5 = new TForm5;
    if (!Form6) {
        CaloriePage* calories = Form2->TabSheet2;
        Form6 = new TForm6(calories->FoodDatabase);
        QObject::connect(Form6, &TForm6::closed, calories,
                         Guard([calories] { calories->FoodEditorClosed(); }));
    }
}

WindowSet::WindowSet(Start start) {
    Form1 = new TForm1;
    if (start == Start::AllWindows)
        CreateRemainingWindows();
    else
        Form1->installEventFilter(new AfterFirstPaint(Form1));
}

WindowSet::~WindowSet() {
    // Each pointer is cleared as its window goes, so that no window met on the way is a dead one.
    delete std::exchange(Form6, nullptr);
    delete std::exchange(Form5, nullptr);
    delete std::exchange(Form4, nullptr);
    delete std::exchange(Form3, nullptr);
    delete std::exchange(Form2, nullptr);
    delete std::exchange(Form1, nullptr);
}
