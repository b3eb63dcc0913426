#include "windowset.h"

#include "accounts/tform1.h"
#include "calories/tform6.h"
#include "charts/tform5.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "weight/tform2.h"

#include <QComboBox>

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

WindowSet::WindowSet() {
    Form1 = new TForm1;
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form6 = new TForm6;
}

WindowSet::~WindowSet() {
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form2;
    delete Form1;
    Form6 = nullptr;
    Form5 = nullptr;
    Form4 = nullptr;
    Form3 = nullptr;
    Form2 = nullptr;
    Form1 = nullptr;
}
