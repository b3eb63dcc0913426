// ui/, the helpers under every window (they include none): the application's set-up before the first window.
#pragma once

#include <QFont>

class QApplication;

// What every run needs before its first window: the title, Qt's own dialogs in French, and a
// free stand-in for the Comic Sans MS font where it is not installed.
void SetUpApplication(QApplication& app);

// The font family the windows ask for.
inline constexpr char ComicFont[] = "Comic Sans MS";
inline QFont ComicFontOf(int points, bool bold) {
    return QFont(QString::fromLatin1(ComicFont), points, bold ? QFont::Bold : QFont::Normal);
}
