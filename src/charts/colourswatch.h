#pragma once

#include <QAbstractButton>

class CSpinEdit;
class QHBoxLayout;
class QFrame;
class QLabel;

// A small panel showing a colour; a click on it, or Space or Return when it has the focus, asks
// for another. It is a button to the keyboard and to screen readers, named by its hint.
class ColourSwatch : public QAbstractButton {
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_colour;
};

// The appearance controls of a chart window, in one row of their panel: "Tracé :" and the line
// colour, "Fond :" and the background colour, "Epaisseur :" and the line thickness (1 to 10).
struct AppearanceControls {
    QLabel* lineLabel;
    ColourSwatch* line;
    QLabel* backgroundLabel;
    ColourSwatch* background;
    QLabel* thicknessLabel;
    CSpinEdit* thickness;
    QHBoxLayout* row;
};
AppearanceControls MakeAppearanceControls(QFrame* panel, const char* lineName, const char* backgroundName);
