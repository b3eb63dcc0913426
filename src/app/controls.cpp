#include "controls.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& hint, GlyphKind glyph) {
    auto* b = Named(new QToolButton(parent), name);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    SetGlyph(b, glyph);
    b->setFixedSize(27, 27);
    return b;
}

QToolButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = Named(new QToolButton(parent), name);
    b->setText(caption);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QFrame* MakeLoweredPanel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    if (name)
        f->setObjectName(QString::fromLatin1(name));
    f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    return Named(new QLabel(text, parent), name);
}

QHBoxLayout* PutInRow(QWidget* panel, std::initializer_list<QWidget*> widgets, int margin, int spacing) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(margin, 0, margin, 0);
    row->setSpacing(spacing);
    for (QWidget* w : widgets)
        row->addWidget(w);
    return row;
}

QListWidget* MakeListIn(QGroupBox* box, const char* name) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(3, 3, 3, 3);
    auto* list = Named(new QListWidget(box), name);
    layout->addWidget(list);
    return list;
}
