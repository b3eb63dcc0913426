// ui/, the helpers under every window (they include none): the small control builders every window uses.
#pragma once

#include "ui/pictures.h"

#include <QString>

#include <functional>
#include <initializer_list>

class QAbstractItemView;
class QApplication;
class QFrame;
class QKeyEvent;
class QListWidgetItem;
class QGroupBox;
class QListWidget;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// The few kinds of control every window builds the same way.

// Gives a widget its control name, by which tests and the code find it.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// What a screen reader calls a button that shows only a picture: the words of its hint, without
// the trailing dots ("A propos..." -> "A propos").
QString AccessibleNameOfHint(const QString& hint);
// A flat button with a picture and a hint, 27 pixels square, hand cursor, named by its hint.
QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& hint, GlyphKind glyph);
// A flat button with a caption, hand cursor.
QToolButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption);
// A lowered panel grouping controls.
QFrame* MakeLoweredPanel(QWidget* parent, const char* name = nullptr);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text);

// Lays the widgets out in one row inside the panel, from the left.
QHBoxLayout* PutInRow(QWidget* panel, std::initializer_list<QWidget*> widgets, int margin = 1,
                      int spacing = 0);

// A list filling a group box: the category and food lists of the calorie windows.
QListWidget* MakeListIn(QGroupBox* box, const char* name);

// The item the person chose in the list: its current item, when it is selected. Qt makes an item
// current by itself (when the list gets the focus, when the current row is removed); an item
// that is current without being selected was chosen by nobody.
QListWidgetItem* ChosenItem(const QListWidget* list);

// Runs the handler each time the person chooses an item of the view: a click on an item, the
// one chosen already included, or a key that selects one (arrows, Space, typing its first
// letters). Giving the view the focus, emptying or refilling it runs nothing.
void OnChoice(QAbstractItemView* view, std::function<void()> handler);

// Whether the key press types a character that a key filter may judge. Tab, Backtab and Delete
// carry a character in Qt but are keys, not characters typed: they keep their usual effect.
bool IsTypedCharacter(const QKeyEvent& key);

// A window disabled while another one works for it (the editor, the year window, the about
// window) loses the focus of its controls; enabled again, it would give the focus to the first
// control Qt finds, the weight grid, where the next keys would change a weight. From this call
// on, such a window gives the focus back to the control that last had it.
void RestoreFocusAfterDisabling(QApplication& app);

// Makes the field take only the texts that the rule accepts, whatever brings them: keys typed
// with or without Alt, the editing shortcuts, the context menu, a drag, an input method. A
// change the rule refuses leaves the text as it was, so a refused character is simply not
// there; the rule may also change the text (a period into a comma). Texts the program sets are
// not judged.
void SetTextRule(QLineEdit* field, std::function<bool(QString&)> rule);
// The same for a rule that also weighs the text the field showed before the change.
void SetTextRule(QLineEdit* field, std::function<bool(QString&, const QString&)> rule);
