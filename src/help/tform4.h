#pragma once

#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The help window: the topics in a tree on the left, the text of the chosen one on the right.
class TForm4 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm4(QWidget* parent = nullptr);

    QFrame* Panel1;
    QFrame* Panel2;
    QLabel* Image1;
    QLabel* Label1;
    QTreeWidget* TreeView1;
    QGroupBox* GroupBox1;
    QPlainTextEdit* Memo1;

    // Shows the text of the node now selected, or hides the frame when the node has none.
    void TreeView1Change(QTreeWidgetItem* node);

  private:
    void FillTree();
};
