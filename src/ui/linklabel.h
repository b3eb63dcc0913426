// ui/, the helpers under every window (they include none): the label that acts as a link.
#pragma once

#include <QLabel>

// A label that acts as a link: underlined, hand cursor, emits clicked(). It takes the focus with
// Tab and is followed with Return, Enter or Space, as a button is; screen readers see a link
// named by its text.
class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

  Q_SIGNALS:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_keyDown = false;
};
