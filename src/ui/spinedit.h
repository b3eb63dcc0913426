// ui/, the helpers under every window (they include none): the integer box with arrows.
#pragma once

#include <QAbstractSpinBox>

#include <functional>

// An integer box with up and down arrows that behaves as the program's users know it:
// - a number being typed is used as it stands, even outside the bounds (2, 20, 200, 2005);
// - leaving the box brings the number back within the bounds, which counts as a change;
// - an empty or non-numeric text reads as the minimum;
// - a value set by the program is brought within the bounds; setting the value already shown
//   changes nothing and signals nothing;
// - every change of the text (arrows, typing, program) emits changed().
class CSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit CSpinEdit(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // A text that is not a whole number is replaced by the minimum, in the box too.
    int value() const;
    void setValue(int value);

    // Sees every character typed into the box before it takes effect (Backspace as '\b');
    // returning false discards it.
    void setKeyFilter(std::function<bool(QChar)> filter) { m_keyFilter = std::move(filter); }
    // Judges every text that the box would take, whatever brings it (keys, the clipboard, a drag,
    // an input method): a text it refuses is not taken. Without a rule every text is taken.
    void setTextRule(std::function<bool(QString&)> rule) { m_textRule = std::move(rule); }

    void stepBy(int steps) override;

  Q_SIGNALS:
    void changed();

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int clamp(int value) const;

    int m_minimum = 0;
    int m_maximum = 100;
    std::function<bool(QChar)> m_keyFilter;
    std::function<bool(QString&)> m_textRule;
};
