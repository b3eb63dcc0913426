#include "stringgrid.h"

#include "ui/controls.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

class StringGridDelegate final : public QStyledItemDelegate {
  public:
    explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            m_grid->editorCreated(edit, index);
        return w;
    }

  protected:
    // Tab and Shift+Tab leave the grid for the next or previous control, as they leave every
    // other control; Qt's delegate would take them to another cell. Escape and Return, which
    // would close the editor and leave the grid without a visible place to type, select the
    // cell's text instead: the cell keeps its weight and the next character typed replaces it.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                m_grid->leaveForNeighbour(key == Qt::Key_Tab);
                return true;
            }
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (auto* editor = qobject_cast<QLineEdit*>(watched))
                    editor->selectAll();
                return true;
            }
            // A click in the cell put the caret beside the marker: it is replaced all the same.
            auto* editor = qobject_cast<QLineEdit*>(watched);
            const auto* press = static_cast<QKeyEvent*>(event);
            if (editor && !m_grid->emptyMarker.isEmpty() && editor->text() == m_grid->emptyMarker &&
                IsTypedCharacter(*press) && press->text().front().isPrint() &&
                !(press->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
                editor->selectAll();
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

  private:
    StringGrid* m_grid;
};

// Sees every key pressed in the grid or its editor before anyone else, the item view's own
// handling of Return, Tab and Escape included.
class KeyPressRecorder final : public QObject {
  public:
    explicit KeyPressRecorder(StringGrid* grid) : QObject(grid), m_grid(grid) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == m_grid || m_grid->isAncestorOf(widget))
                m_grid->m_pressedKeys.insert(static_cast<QKeyEvent*>(event)->key());
        }
        return false;
    }

  private:
    StringGrid* m_grid;
};

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {
    new KeyPressRecorder(this);
    setColumnCount(2);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setMinimumSectionSize(18);
    horizontalHeader()->setDefaultSectionSize(67);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The editor follows the current cell through ShowEditor, which keeps the focus where the
    // person put it; Qt's own opening on a change of the current cell would take the focus.
    setEditTriggers(QAbstractItemView::EditTriggers(QAbstractItemView::AllEditTriggers) &
                    ~QAbstractItemView::EditTriggers(QAbstractItemView::CurrentChanged));
    setTabKeyNavigation(false);
    setItemDelegate(new StringGridDelegate(this));
    setHorizontalHeaderItem(0, new QTableWidgetItem);
    setHorizontalHeaderItem(1, new QTableWidgetItem);

    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (row < 0)
            return;
        ShowEditor();
        keepingTheEditor([&] { Q_EMIT cellMoved(col, row + 1); });
    });
    // A key pressed here and released elsewhere (Tab leaving the grid) is never released here:
    // forgotten as the focus leaves, it cannot pass for the release of the same key pressed in
    // another control when that key brings the focus back.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != this && !isAncestorOf(now))
            m_pressedKeys.clear();
    });
}

QTableWidgetItem* StringGrid::itemAt(int col, int row) const {
    if (row == 0)
        return horizontalHeaderItem(col);
    return item(row - 1, col);
}

void StringGrid::SetRowCount(int rows) {
    const int old = rowCount();
    const int wanted = std::max(0, rows - 1);
    if (wanted == old)
        return;
    setRowCount(wanted);
    for (int r = old; r < wanted; ++r) {
        // The label column is fixed: drawn like the titles, never selected nor edited.
        auto* label = new QTableWidgetItem;
        label->setFlags(Qt::NoItemFlags);
        label->setBackground(palette().button());
        label->setForeground(palette().buttonText());
        setItem(r, 0, label);
        setItem(r, 1, new QTableWidgetItem);
    }
    if (currentRow() < 0 && wanted > 0)
        setCurrentCell(0, 1);
    ShowEditor();
}

QString StringGrid::Cells(int col, int row) const {
    const QTableWidgetItem* it = itemAt(col, row);
    return it ? it->text() : QString();
}

void StringGrid::SetCells(int col, int row, const QString& text) {
    QTableWidgetItem* it = itemAt(col, row);
    if (!it || it->text() == text)
        return;
    it->setText(text);
    // A text the program puts into the cell being edited (the "0" of an emptied cell, a month
    // loaded) is selected, so that the first character typed replaces it.
    if (QLineEdit* editor = Editor(); editor && row > 0 && m_editorIndex == indexFromItem(it))
        editor->selectAll();
}

void StringGrid::SetRow(int row) {
    setCurrentCell(row - 1, 1);
}

void StringGrid::ShowEditor() {
    if (m_showingEditor)
        return;
    const QScopedValueRollback showing(m_showingEditor, true);
    QTableWidgetItem* current = item(currentRow(), 1);
    if (!current || currentColumn() != 1)
        return;
    const QModelIndex wanted = indexFromItem(current);
    // Qt hides an editor it releases itself (its cell left or removed), and after a removal it
    // leaves the grid in the editing state, where no editor can be opened.
    const bool open = Editor() && Editor()->isVisibleTo(viewport());
    if (open && m_editorIndex == wanted && state() == QAbstractItemView::EditingState) {
        Editor()->selectAll();
        return;
    }
    if (QLineEdit* old = Editor()) {
        // The editor of the cell left behind: its text is already in the cell.
        m_editor = nullptr;
        if (open)
            closeEditor(old, QAbstractItemDelegate::NoHint);
        else if (state() == QAbstractItemView::EditingState)
            setState(QAbstractItemView::NoState);
    }
    // Qt gives an editor it opens the focus. The grid takes the focus only when the person puts
    // it there: while a month or a year is being picked, the keys typed next must not land in a
    // weight cell. A disabled widget cannot take the focus, so the editor is opened disabled.
    const QWidget* focused = window()->focusWidget();
    m_openWithoutFocus = focused && focused != this && !isAncestorOf(focused);
    editItem(current);
    m_openWithoutFocus = false;
    if (QLineEdit* editor = Editor()) {
        editor->setEnabled(true);
        editor->selectAll();
    }
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // The grid is typed into through the editor of its current cell (not through one that Qt
    // is closing, which gives the grid the focus first), its text selected. An editor closed
    // meanwhile (its window disabled while another one was open) is opened again.
    QLineEdit* editor = Editor();
    if (editor && editor->isVisible() && state() == QAbstractItemView::EditingState &&
        m_editorIndex == currentIndex()) {
        editor->setFocus(event->reason());
        editor->selectAll();
    } else if (!m_showingEditor && (!editor || !editor->isVisible()) && isVisible())
        ShowEditor();
}

void StringGrid::leaveForNeighbour(bool next) {
    // The widgets of the window in focus order, from the grid on; the grid's own editor and
    // the inner parts of composite controls (those with a focus proxy) are passed over.
    QWidget* w = this;
    do {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() && w->isVisible() &&
            w->isEnabled() && w->window() == window() && !isAncestorOf(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w != this);
}

void StringGrid::editorCreated(QLineEdit* editor, const QModelIndex& index) {
    if (m_openWithoutFocus)
        editor->setEnabled(false);
    m_editor = editor;
    m_editorIndex = index;
    // A screen reader names the field typed in by its day ("Poids du 5").
    if (const QTableWidgetItem* day = item(index.row(), 0))
        editor->setAccessibleName(QStringLiteral("Poids du %1").arg(day->text()));
    editor->installEventFilter(this);
    if (textRule)
        SetTextRule(editor, textRule);
    // The cell follows the editor at every key, as the program reads the cells at every key.
    connect(editor, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (QTableWidgetItem* it = item(currentRow(), 1)) {
            const QSignalBlocker quiet(model()); // leave the editor's cursor where it is
            it->setText(text);
        }
        // A change made without a key of the grid (pasted with the middle button or the context
        // menu, dropped, composed by an input method) is reported like a key released, once the
        // editor has finished with it.
        if (m_pressedKeys.isEmpty())
            QMetaObject::invokeMethod(
                this, [this] { keepingTheEditor([this] { Q_EMIT keyReleased(0); }); }, Qt::QueuedConnection);
    });
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
    // A key that moved the current cell is released over the editor it left.
    if (event->type() == QEvent::KeyRelease && watched->parent() == viewport() &&
        qobject_cast<QLineEdit*>(watched)) {
        // The handler may open a box, during which the editor can be destroyed: the event must
        // then go no further.
        if (!reportRelease(watched, static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

bool StringGrid::reportRelease(QObject* receiver, QKeyEvent* event) {
    if (event->isAutoRepeat() || !m_pressedKeys.remove(event->key()))
        return true;
    const QPointer<QObject> alive(receiver);
    keepingTheEditor([&] { Q_EMIT keyReleased(event->key()); });
    return !alive.isNull();
}

void StringGrid::keepingTheEditor(const std::function<void()>& report) {
    const QPersistentModelIndex cell(currentIndex());
    const QLineEdit* before = Editor() && m_editorIndex == cell ? Editor() : nullptr;
    const QPointer<const QLineEdit> stillOpen(before);
    const int caret = before ? before->cursorPosition() : -1;
    const int selectionStart = before ? before->selectionStart() : -1;
    const int selectionLength = before ? int(before->selectedText().size()) : 0;
    report();
    if (caret < 0 || !isVisible() || currentIndex() != cell)
        return;
    const bool editing = Editor() && m_editorIndex == cell && state() == QAbstractItemView::EditingState;
    if (editing && Editor() == stillOpen)
        return;
    // Opened again, by the focus coming back or here: the caret goes back where it was.
    if (!editing)
        ShowEditor();
    if (QLineEdit* editor = Editor()) {
        if (selectionStart >= 0)
            editor->setSelection(selectionStart, selectionLength);
        else {
            editor->deselect();
            editor->setCursorPosition(caret);
        }
        editor->setFocus();
    }
}

void StringGrid::keyReleaseEvent(QKeyEvent* event) {
    QTableWidget::keyReleaseEvent(event);
    reportRelease(this, event);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    // A click on a day label leaves the current cell where it is.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}
