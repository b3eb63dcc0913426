// ui/, the helpers under every window (they include none): window frames and placing a window over its
// opener.
#include "windowframe.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QTimer>
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

// Puts the window's client area where it must stand for a frame of these margins to be centred.
// The client's position is given, not the frame's: Qt places a frame by the frame margins it has
// last heard of, which may lag behind the window manager's, and the frame would then land one
// title bar too high.
void placeCentred(QWidget* window, const QMargins& frame) {
    const QPoint client = centredFrame(window, frame) + QPoint(frame.left(), frame.top());
    window->setGeometry(QRect(client, window->size()));
}

class Centring final : public QObject {
  public:
    explicit Centring(QWidget* window) : QObject(window), m_window(window) {
        window->installEventFilter(this);
        // The window manager may state the frame after the last event the window gets (on a busy
        // machine, long after): until it has, the window looks for it at intervals.
        m_lookForFrame.setInterval(50);
        connect(&m_lookForFrame, &QTimer::timeout, this, [this] { followFrame(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show && !m_shown) {
            // Sent before the window is mapped, so that placing it makes no visible jump. Its frame
            // is not known yet: the one the last window got is the best guess (none for the
            // first window of all).
            m_shown = true;
            m_following = true;
            m_placedFor = lastFrame;
            placeCentred(m_window, lastFrame);
            m_lookForFrame.start();
        } else if (event->type() == QEvent::Hide) {
            // Shown again later, the window stands where it was left.
            m_following = false;
            m_lookForFrame.stop();
        } else if (m_following) {
            followFrame();
        }
        return false;
    }

  private:
    // Whenever the frame the window manager states differs from the one the window was placed
    // for, however late it comes, the window is placed again for it. A person moving the window
    // changes no frame.
    void followFrame() {
        if (!m_following || !m_window->isVisible())
            return;
        const QMargins frame = frameOf(m_window);
        if (frame.isNull() || !plausible(frame))
            return;
        m_lookForFrame.stop(); // from now on, a change of frame comes with an event of the window
        lastFrame = frame;
        if (frame == m_placedFor)
            return;
        m_placedFor = frame;
        placeCentred(m_window, frame);
    }

    QWidget* m_window;
    QTimer m_lookForFrame;
    bool m_shown = false;
    bool m_following = false;
    QMargins m_placedFor;
};
} // namespace

void CentreOnFirstShow(QWidget* window) {
    new Centring(window);
}
