// ui/, the helpers under every window (they include none): Return and Enter on the focused button.
#pragma once

class QApplication;

// Return and Enter press the focused button, as on Windows, wherever it is: Qt's buttons outside
// a dialog ignore them. The button is pressed when the key is released, as Space does, so that
// the release never reaches the window the button opens. Check boxes and option buttons keep
// their own keys, and a dialog's buttons that already take Return are left to it.
void PressFocusedButtonOnReturn(QApplication& app);
