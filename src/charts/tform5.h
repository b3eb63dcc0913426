#pragma once

#include <QWidget>

// The one-year chart window.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};
