#include "tform5.h"

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Affichage du graphique pour 1 année"));
    resize(688, 446);
}
