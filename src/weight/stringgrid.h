#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

#include <QSet>

#include <functional>

class QLineEdit;

// A grid addressed as the program has always addressed it: Cells(col, row) with row 0 the fixed
// title row and column 0 the fixed label column; the cell editor of the current cell is always
// open, and its text is selected whenever a cell is entered, so that the first character typed
// replaces it. Every text it takes passes the text rule; every key released is reported, and so
// is a change made without a key.
class StringGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit StringGrid(QWidget* parent = nullptr);

    // Row counts include the title row.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    int Row() const { return currentRow() + 1; }
    void SetRow(int row);

    // The editor of the current cell, open whenever the grid is shown.
    QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(m_editor.data()); }
    void ShowEditor();

    // Judges every text the editor would take, whatever brings it (keys, the clipboard, a drag,
    // an input method), given the text the cell showed before; it may change the text, and a
    // text it refuses is not taken.
    std::function<bool(QString&, const QString&)> textRule;
    // A text that stands for nothing typed yet (the no-weight "0"): the first character typed
    // in a cell holding it replaces it, wherever the caret is.
    QString emptyMarker;

  Q_SIGNALS:
    // The current cell has moved to (col, row), by mouse or keyboard.
    void cellMoved(int col, int row);
    // A key released (0 for a change made without a key of the grid: a paste with the mouse, a
    // drop, an input method).
    void keyReleased(int key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    // Gives the focus to the control after (or before) the grid.
    void leaveForNeighbour(bool next);
    // Set while the editor is opened for a grid that does not hold the focus.
    bool m_openWithoutFocus = false;
    // Set while ShowEditor runs: the focus it moves brings no second opening.
    bool m_showingEditor = false;

  private:
    friend class StringGridDelegate;
    friend class KeyPressRecorder;
    void editorCreated(QLineEdit* editor, const QModelIndex& index);
    // Reports a released key that was pressed here (the key that closes a message box is pressed
    // in the box and only released here). Returns false when the object the event was sent to
    // died meanwhile.
    bool reportRelease(QObject* receiver, QKeyEvent* event);
    // Runs a handler that may open a message box, which closes the editor as it takes the focus:
    // the editor is opened again on its cell, the caret where it was.
    void keepingTheEditor(const std::function<void()>& report);
    QTableWidgetItem* itemAt(int col, int row) const;

    // Null once the view has deleted it; held as a plain object so that events met while it is
    // being destroyed are never taken for the editor's.
    QPointer<QObject> m_editor;
    QPersistentModelIndex m_editorIndex;
    // Keys pressed while the grid or its editor had the focus and not yet released.
    QSet<int> m_pressedKeys;
};
