#pragma once

#include "app/pictures.h"

#include <QString>

#include <initializer_list>

class QFrame;
class QGroupBox;
class QListWidget;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QWidget;

// The few kinds of control every window builds the same way.

// Gives a widget its control name, by which tests and the code find it.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A flat button with a picture and a hint, 27 pixels square, hand cursor.
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
