#include "tform6.h"

TForm6::TForm6(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Configuration de la Base de Données des calories"));
    setFixedSize(539, 262);
}
