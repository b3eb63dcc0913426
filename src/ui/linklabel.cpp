// ui/, the helpers under every window (they include none): the label that acts as a link.
#include "linklabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {
bool isActivationKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
}

// What a screen reader is told of a link label: a link, named by its text, that can be pressed.
class LinkAccessible final : public QAccessibleWidget {
  public:
    explicit LinkAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            Q_EMIT static_cast<LinkLabel*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* linkFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("LinkLabel") && object && object->isWidgetType())
        return new LinkAccessible(static_cast<QWidget*>(object));
    return nullptr;
}
} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool factoryInstalled = (QAccessible::installFactory(linkFactory), true);
    Q_UNUSED(factoryInstalled);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128)); // navy
    setPalette(p);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

// Followed when the key is released, as a button is: the key's release then never reaches the
// window that the link opens.
void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        m_keyDown = true;
    event->accept();
}

void LinkLabel::keyReleaseEvent(QKeyEvent* event) {
    if (!isActivationKey(event) || event->isAutoRepeat()) {
        QLabel::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!m_keyDown)
        return;
    m_keyDown = false;
    Q_EMIT clicked();
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
    m_keyDown = false;
    QLabel::focusOutEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
