// ui/, the helpers under every window (they include none): Return and Enter on the focused button.
#include "keyboardaccess.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {
class ReturnPresser final : public QObject {
  public:
    explicit ReturnPresser(QApplication& app) : QObject(&app) { app.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        QAbstractButton* button = pressable(watched);
        if (!button)
            return false;
        if (key->isAutoRepeat())
            return true;
        if (event->type() == QEvent::KeyPress) {
            m_pressed = button;
            button->setDown(true);
            return true;
        }
        if (m_pressed != button)
            return true;
        m_pressed = nullptr;
        if (button->isDown()) {
            button->setDown(false);
            button->click();
        }
        return true;
    }

  private:
    static QAbstractButton* pressable(QObject* watched) {
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled() || !button->hasFocus() || qobject_cast<QCheckBox*>(button) ||
            qobject_cast<QRadioButton*>(button))
            return nullptr;
        if (const auto* push = qobject_cast<QPushButton*>(button);
            push && (push->autoDefault() || push->isDefault()))
            return nullptr;
        return button;
    }

    QPointer<QAbstractButton> m_pressed;
};
} // namespace

void PressFocusedButtonOnReturn(QApplication& app) {
    new ReturnPresser(app);
}
