#pragma once

#include <QFrame>

class CSpinEdit;
class QHBoxLayout;
class QLabel;

// A small panel showing a colour; a click on it asks for another.
class ColourSwatch : public QFrame {
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

  Q_SIGNALS:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

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
