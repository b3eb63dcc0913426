#pragma once

#include <QAbstractButton>

class CSpinEdit;
class ProfileFile;
class WeightChart;
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

// The appearance controls of a chart window, in one row of their panel (the row returned):
// "Tracé :" and the line colour, "Fond :" and the background colour, "Epaisseur :" and the line
// thickness (1 to 10).
QHBoxLayout* MakeAppearanceControls(QFrame* panel, const char* lineName, const char* backgroundName,
                                    QLabel*& lineLabel, ColourSwatch*& line, QLabel*& backgroundLabel,
                                    ColourSwatch*& background, QLabel*& thicknessLabel,
                                    CSpinEdit*& thickness);

// The account's stored appearance on the chart's first line and background, and on the controls.
void ShowStoredAppearance(const ProfileFile& accounts, const QString& account, WeightChart* chart,
                          ColourSwatch* line, ColourSwatch* background, CSpinEdit* thickness);
// Asks for another colour for the swatch; false when the person keeps the one it has.
bool ChooseColour(QWidget* window, ColourSwatch* swatch);
