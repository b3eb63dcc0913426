// ui/, the helpers under every window (they include none): window frames and placing a window over its
// opener.
#pragma once

class QWidget;

// The frames of the program's windows and how a window is put on screen over its opener.

// A window of fixed size with a title bar and a close box only: no minimise or maximise button,
// no resizing. It keeps its task-bar entry (the login window: a desktop may offer nothing else
// to find the program by).
void UseFixedFrame(QWidget* window);

// A tool-window frame: small title bar, close box only, not resizable, no task-bar entry.
void UseToolFrame(QWidget* window);

// A resizable window that belongs to the window opening it (the year window): a full frame, but
// of the kind the window manager keeps with its opener, which ordinary windows are not.
void UseSecondaryFrame(QWidget* window);

// Makes window transient for opener (the window manager keeps it above the opener and minimises
// both together, so a disabled opener is never left alone on screen), then shows it.
void ShowOver(QWidget* window, QWidget* opener);

// Shows the window, raised and active, brought back first if it was minimised: showing a window
// that the window manager has minimised does nothing by itself, and a tool window has no
// task-bar entry to bring it back by.
void Bring(QWidget* window);

// Places the window, frame included, in the middle of its screen's available area when it is
// first shown. The frame is taken to be as large as the last one the window manager drew; as soon
// as the window manager states this window's own, however late, and whenever that changes while
// the window stays shown, the window is placed again for it.
void CentreOnFirstShow(QWidget* window);
