#include "tform4.h"

#include "help/helptexts.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/guard.h"
#include "ui/pictures.h"
#include "ui/windowframe.h"

#include <QCollator>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Topics stand in French alphabetical order: "Détails" before "Enregistrer", accents or not.
class TopicItem final : public QTreeWidgetItem {
  public:
    explicit TopicItem(const QString& text) { setText(0, text); }

    bool operator<(const QTreeWidgetItem& other) const override {
        static const QCollator collator(QLocale(QLocale::French, QLocale::France));
        return collator.compare(text(0), other.text(0)) < 0;
    }
};
} // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Aide"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(410, 270);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setGeometry(0, 0, 129, 270);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Panel2 = Named(new QFrame(Panel1), "Panel2");
    Panel2->setGeometry(0, 0, 129, 48);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Image1 = Named(new QLabel(Panel2), "Image1");
    Image1->setGeometry(10, 8, 32, 32);
    Image1->setPixmap(Picture(PictureKind::HelpHeading));

    Label1 = Named(new QLabel(QStringLiteral("Aide"), Panel2), "Label1");
    Label1->setGeometry(50, 4, 76, 40);
    Label1->setFont(ComicFontOf(18, true));

    TreeView1 = Named(new QTreeWidget(Panel1), "TreeView1");
    TreeView1->setAccessibleName(QStringLiteral("Sujets de l'aide"));
    TreeView1->setGeometry(0, 48, 129, 222);
    TreeView1->setFrameShape(QFrame::NoFrame);
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setAllColumnsShowFocus(true);
    TreeView1->setMouseTracking(true);
    TreeView1->viewport()->setAttribute(Qt::WA_Hover);
    TreeView1->setIndentation(19);
    // Names are never cut short: the column is as wide as the longest one shown, and a scroll
    // bar appears when that is wider than the panel.
    TreeView1->setTextElideMode(Qt::ElideNone);
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    TreeView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TreeView1->setSortingEnabled(true);
    TreeView1->sortByColumn(0, Qt::AscendingOrder);

    GroupBox1 = Named(new QGroupBox(QStringLiteral(" Titre "), this), "GroupBox1");
    GroupBox1->setGeometry(133, 2, 273, 264);
    GroupBox1->setFont(ComicFontOf(10, false));
    GroupBox1->hide();

    Memo1 = Named(new QPlainTextEdit(GroupBox1), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFont(ComicFontOf(8, false));
    auto* frame = new QVBoxLayout(GroupBox1);
    frame->setContentsMargins(6, 4, 6, 6);
    frame->addWidget(Memo1);

    FillTree();

    // A topic is shown once the person selects it: the tree taking the focus makes a node
    // current, which selects nothing and shows nothing.
    OnChoice(TreeView1, Guard([this] {
                 QTreeWidgetItem* node = TreeView1->currentItem();
                 if (node && node->isSelected())
                     TreeView1Change(node);
             }));

    UseToolFrame(this);
    CentreOnFirstShow(this);
}

void TForm4::FillTree() {
    QHash<QString, QTreeWidgetItem*> roots;
    const QList<HelpTopic>& topics = HelpTopics();
    for (const HelpTopic& topic : topics) {
        if (topic.parent.isEmpty()) {
            auto* root = new TopicItem(topic.node);
            TreeView1->addTopLevelItem(root);
            roots.insert(topic.node, root);
        }
    }
    for (const HelpTopic& topic : topics) {
        if (QTreeWidgetItem* root = topic.parent.isEmpty() ? nullptr : roots.value(topic.parent))
            root->addChild(new TopicItem(topic.node));
    }
    TreeView1->sortItems(0, Qt::AscendingOrder);
}

void TForm4::TreeView1Change(QTreeWidgetItem* node) {
    GroupBox1->show();
    GroupBox1->setTitle(QString());
    Memo1->clear();
    const QString name = node ? node->text(0) : QString();
    for (const HelpTopic& topic : HelpTopics()) {
        if (topic.node == name) {
            GroupBox1->setTitle(topic.title);
            Memo1->setPlainText(topic.text);
            Memo1->verticalScrollBar()->setValue(0);
            return;
        }
    }
    GroupBox1->hide();
}
