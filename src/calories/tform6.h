#pragma once

#include "store/profilefile.h"

#include <QWidget>

// The food database editor.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    ProfileFile DeletedFoods{QStringLiteral("./calsuppr.ini")};
};
