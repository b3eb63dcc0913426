#pragma once

#include <QWidget>

// The about window.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
};
