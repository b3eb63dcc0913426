#include "tform4.h"

TForm4::TForm4(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Aide"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(410, 270);
}
