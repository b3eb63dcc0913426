// ui/, the helpers under every window (they include none): the integer box with arrows.
#include "spinedit.h"

#include "store/numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

CSpinEdit::CSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &CSpinEdit::changed);
}

void CSpinEdit::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
}

int CSpinEdit::clamp(int value) const {
    return std::clamp(value, m_minimum, m_maximum);
}

int CSpinEdit::value() const {
    if (const auto v = ParseInteger(lineEdit()->text()))
        return *v;
    // Shown at once, without counting as a change: the reader goes on with the minimum.
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(QString::number(m_minimum));
    return m_minimum;
}

void CSpinEdit::setValue(int value) {
    const QString text = QString::number(clamp(value));
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

void CSpinEdit::stepBy(int steps) {
    setValue(clamp(value()) + steps);
}

QValidator::State CSpinEdit::validate(QString& input, int&) const {
    // Reading the value copes with any text the rule lets through.
    return !m_textRule || m_textRule(input) ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const {
    // Asked at every repaint: looking must not replace a text being typed ("155,") by the
    // minimum; that happens only when the value is next read.
    StepEnabled enabled = StepNone;
    const int v = ParseInteger(lineEdit()->text()).value_or(m_minimum);
    if (v < m_maximum)
        enabled |= StepUpEnabled;
    if (v > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void CSpinEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // The editing shortcuts (Ctrl+A, Ctrl+V...) are no characters typed; the text rule judges
    // what they bring.
    const bool typed = text.size() == 1 && (text.front().isPrint() || text.front() == QLatin1Char('\b')) &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (typed && m_keyFilter && !m_keyFilter(text.front())) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void CSpinEdit::focusOutEvent(QFocusEvent* event) {
    setValue(value());
    QAbstractSpinBox::focusOutEvent(event);
}
