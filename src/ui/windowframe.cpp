// ui/, the helpers under every window (they include none): window frames and placing a window over its
// opener.
#include "windowframe.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
constexpr Qt::WindowFlags CloseBoxOnly =
    Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// The frame the window manager gave the last window framed, as the best guess for the next.
QMargins lastFrame;

// The margins as the window manager states them (_NET_FRAME_EXTENTS on X11). Qt's frame
// geometry is not used: while the window is being framed it may hold the frame's new position
// with the window's old one, and give margins that are no frame at all.
QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// Before the window manager has stated the frame, Qt guesses it from the windows around: such
// a guess can reach out to the screen's corner, and no real frame is that wide.
bool plausible(const QMargins& frame) {
    constexpr int Widest = 100;
    return frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0 &&
           frame.left() <= Widest && frame.top() <= Widest && frame.right() <= Widest &&
           frame.bottom() <= Widest;
}
} // namespace

void UseFixedFrame(QWidget* window) {
    window->setWindowFlags(Qt::Window | CloseBoxOnly | (window->windowFlags() & Qt::WindowStaysOnTopHint));
}

void UseToolFrame(QWidget* window) {
    window->setWindowFlags(Qt::Tool | CloseBoxOnly | (window->windowFlags() & Qt::WindowStaysOnTopHint));
}

void UseSecondaryFrame(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
}

void ShowOver(QWidget* window, QWidget* opener) {
    window->winId(); // the native window, to which the transient parent belongs
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(opener ? opener->window()->windowHandle() : nullptr);
    Bring(window);
}

void Bring(QWidget* window) {
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

namespace {
// Where the frame's top-left corner goes for the window to stand in the middle of its screen.
QPoint centredFrame(const QWidget* window, const QMargins& frame) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QSize outer = window->size().grownBy(frame);
    return {area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2};
}

class Centring final : public QObject {
  public:
    explicit Centring(QWidget* window) : QObject(window), m_window(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show && !m_centred) {
            // Sent before the window is mapped, so that placing it makes no visible jump. Qt
            // knows no frame yet and places the client area: the frame goes round it.
            m_centred = true;
            m_guessed = lastFrame.isNull();
            m_window->move(centredFrame(m_window, lastFrame) + QPoint(lastFrame.left(), lastFrame.top()));
        } else if (m_guessed && m_window->isVisible()) {
            const QMargins frame = frameOf(m_window);
            if (!frame.isNull() && plausible(frame)) {
                // Framed at last: now that Qt knows the frame, move() places the frame.
                m_guessed = false;
                lastFrame = frame;
                m_window->move(centredFrame(m_window, frame));
            }
        }
        return false;
    }

  private:
    QWidget* m_window;
    bool m_centred = false;
    bool m_guessed = false;
};
} // namespace

void CentreOnFirstShow(QWidget* window) {
    new Centring(window);
}
