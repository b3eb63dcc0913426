// ui/, the helpers under every window (they include none): the buttons' pictures.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QAbstractButton;

// The pictures of the buttons, the same in every window.
enum class GlyphKind {
    Print,   // a small printer
    Save,    // a diskette
    Refresh, // an arrow in a circle
    Year,    // a calendar with a curve: the year window
    Help,
    About,
    Quit,
};

// The other pictures of the windows.
enum class PictureKind {
    LoginBackground, // behind the login window
    AboutBackground, // behind the about window
    HelpHeading,     // heading of the help window
    AboutIcon,       // beside the version in the about window
};

// Size at which the windows show a glyph.
inline constexpr int GlyphSize = 20;

QIcon Glyph(GlyphKind kind);

// Gives a flat button its glyph, drawn at GlyphSize.
void SetGlyph(QAbstractButton* button, GlyphKind kind);

// A picture drawn at its size on screen.
QPixmap Picture(PictureKind kind);
QSize PictureSize(PictureKind kind);

// The program's icon, for its windows and the task bar.
QIcon ProgramIcon();
