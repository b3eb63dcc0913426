// ui/, the helpers under every window (they include none): the small control builders every window uses.
#include "controls.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace {
// Watches the presses on a view's items: a click on an item selected before the press changes
// no selection, yet it is a choice too.
class ChoiceWatcher final : public QObject {
  public:
    ChoiceWatcher(QAbstractItemView* view, std::function<void()> handler)
        : QObject(view), m_view(view), m_handler(std::move(handler)) {
        view->viewport()->installEventFilter(this);
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (m_view->selectionModel()->hasSelection())
                m_handler();
        });
        connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
            if (index.isValid() && index == m_pressedSelected && m_view->selectionModel()->isSelected(index))
                m_handler();
        });
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            const QModelIndex index = m_view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            const bool selected = index.isValid() && m_view->selectionModel()->isSelected(index);
            m_pressedSelected = selected ? QPersistentModelIndex(index) : QPersistentModelIndex();
        }
        return false;
    }

  private:
    QAbstractItemView* m_view;
    std::function<void()> m_handler;
    QPersistentModelIndex m_pressedSelected;
};

class TextRule final : public QValidator {
  public:
    TextRule(std::function<bool(QString&, const QString&)> rule, QLineEdit* field)
        : QValidator(field), m_rule(std::move(rule)), m_field(field), m_before(field->text()) {
        connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
    }
    // Never "intermediate": a field holding a text it takes still reports Return and its end
    // of editing. Qt asks the validator about the texts the program sets too, which reset the
    // field's modified flag: those are taken as they stand (a Windows "72.5" read from a file
    // stays "72.5" until the person types in it).
    State validate(QString& input, int&) const override {
        if (!m_field->isModified())
            return Acceptable;
        return m_rule(input, m_before) ? Acceptable : Invalid;
    }

  private:
    std::function<bool(QString&, const QString&)> m_rule;
    QLineEdit* m_field;
    QString m_before; // the text the field showed before the change being judged
};

class FocusKeeper final : public QObject {
  public:
    explicit FocusKeeper(QApplication& app) : QObject(&app) {
        connect(&app, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && !now->isWindow()) {
                // A control that lives only while it is used (the weight grid's cell editor,
                // closed as its window is disabled) is stood in for by the control holding it.
                QWidget* holder = now->parentWidget();
                while (holder && !holder->isWindow() && holder->focusPolicy() == Qt::NoFocus)
                    holder = holder->parentWidget();
                m_lastFocus.insert(now->window(), {now, holder && !holder->isWindow() ? holder : now});
            }
        });
        app.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->isEnabled() && !window->focusWidget()) {
                // Held by guarded pointers: the control may be gone, with its window.
                const auto [control, holder] = m_lastFocus.value(window);
                for (QWidget* last : {control.data(), holder.data()}) {
                    if (last && last->window() == window && last->isEnabled() && last->isVisible()) {
                        last->setFocus(Qt::OtherFocusReason);
                        break;
                    }
                }
            }
        }
        return false;
    }

  private:
    QHash<const QWidget*, std::pair<QPointer<QWidget>, QPointer<QWidget>>> m_lastFocus;
};
} // namespace

QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& hint, GlyphKind glyph) {
    auto* b = Named(new QToolButton(parent), name);
    b->setToolTip(hint);
    // A picture says nothing to a screen reader: the button is named by the words of its hint.
    b->setAccessibleName(AccessibleNameOfHint(hint));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    SetGlyph(b, glyph);
    b->setFixedSize(27, 27);
    return b;
}

QString AccessibleNameOfHint(const QString& hint) {
    QString name = hint;
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

QToolButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = Named(new QToolButton(parent), name);
    b->setText(caption);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QFrame* MakeLoweredPanel(QWidget* parent, const char* name) {
    auto* f = Named(new QFrame(parent), name); // a panel with no name keeps an empty one
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

QListWidgetItem* ChosenItem(const QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

void OnChoice(QAbstractItemView* view, std::function<void()> handler) {
    new ChoiceWatcher(view, std::move(handler));
}

bool IsTypedCharacter(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return key.text().size() == 1;
    }
}

void RestoreFocusAfterDisabling(QApplication& app) {
    new FocusKeeper(app);
}

void SetTextRule(QLineEdit* field, std::function<bool(QString&)> rule) {
    SetTextRule(field, [rule = std::move(rule)](QString& text, const QString&) { return rule(text); });
}

void SetTextRule(QLineEdit* field, std::function<bool(QString&, const QString&)> rule) {
    field->setValidator(new TextRule(std::move(rule), field));
}
