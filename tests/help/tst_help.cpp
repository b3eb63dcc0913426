#include "accounts/tform1.h"
#include "charts/tform5.h"
#include "help/author.h"
#include "help/helptexts.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "testsupport/keyboard.h"
#include "testsupport/windowfixture.h"
#include "ui/linklabel.h"
#include "ui/pictures.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <QUrl>

namespace {
// Takes the addresses the about window hands to the desktop instead of starting a mail program
// or a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        for (const char* scheme : {"mailto", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"mailto", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

  public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

QStringList texts(const QList<QTreeWidgetItem*>& items) {
    QStringList t;
    for (const QTreeWidgetItem* item : items)
        t << item->text(0);
    return t;
}

QList<QTreeWidgetItem*> roots() {
    QList<QTreeWidgetItem*> r;
    for (int i = 0; i < Form4->TreeView1->topLevelItemCount(); ++i)
        r << Form4->TreeView1->topLevelItem(i);
    return r;
}

QList<QTreeWidgetItem*> childrenOf(const QTreeWidgetItem* root) {
    QList<QTreeWidgetItem*> c;
    for (int i = 0; i < root->childCount(); ++i)
        c << root->child(i);
    return c;
}

QTreeWidgetItem* node(const QString& parent, const QString& name) {
    for (QTreeWidgetItem* root : roots()) {
        if (parent.isEmpty() && root->text(0) == name)
            return root;
        if (root->text(0) == parent)
            for (QTreeWidgetItem* child : childrenOf(root))
                if (child->text(0) == name)
                    return child;
    }
    return nullptr;
}

QString topicText(const QString& name) {
    for (const HelpTopic& topic : HelpTopics())
        if (topic.node == name)
            return topic.text;
    return QString();
}

QString frameTitle() {
    return Form4->GroupBox1->isHidden() ? QString() : Form4->GroupBox1->title();
}

// Whether anything at all was drawn.
bool drawn(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 0;
    return opaque > image.width() * image.height() / 10;
}
} // namespace

class TestHelp : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void treeHoldsTheSortedTopics();
    void eachNodeShowsItsTitleAndText();
    void arrowKeysMoveTheFrame();
    void unknownNodeHidesTheFrame();
    void focusShowsNoTopic();
    void quotedTextsAreExact_data();
    void quotedTextsAreExact();
    void writtenTextsBeginAsRequired_data();
    void writtenTextsBeginAsRequired();
    void informationsNamesTheAuthor();
    void aboutWindowShowsVersionAndAuthor();
    void aboutFromTheYearWindowEnablesTheMainWindowToo();
    void everyPictureIsDrawnAtItsSize();
};

void TestHelp::treeHoldsTheSortedTopics() {
    ProgramFixture p;
    QVERIFY(Form4->GroupBox1->isHidden());
    QVERIFY(Form4->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(texts(roots()), (QStringList{"Bilan", "Calorique", "Comptes", "Graphique", "Informations"}));
    QCOMPARE(texts(childrenOf(roots()[0])), QStringList{"Sauvegardes"});
    QCOMPARE(texts(childrenOf(roots()[1])),
             (QStringList{"Calories", "Catégories", "Configurer", "Dépense et objectif du jour", "Glucides",
                          "Lipides", "Protéines", "Saisie rapide"}));
    QCOMPARE(texts(childrenOf(roots()[2])), (QStringList{"Créer", "Installation", "Supprimer"}));
    QCOMPARE(texts(childrenOf(roots()[3])), (QStringList{"2 graphiques", "Détails", "Enregistrer", "IMC",
                                                         "Imprimer", "Rafraîchir", "Tracé / Fond", "Zoom"}));
    QCOMPARE(roots()[4]->childCount(), 0);
}

void TestHelp::eachNodeShowsItsTitleAndText() {
    ProgramFixture p;
    Form1->show();
    QTest::mouseClick(Form1->SpeedButton6, Qt::LeftButton);
    QVERIFY(Form4->isVisible());
    QVERIFY(Form1->isEnabled());

    QCOMPARE(HelpTopics().size(), 25);
    for (const HelpTopic& topic : HelpTopics()) {
        QTreeWidgetItem* item = node(topic.parent, topic.node);
        QVERIFY2(item, qPrintable(topic.node));
        Form4->TreeView1->setCurrentItem(item);
        QCOMPARE(frameTitle(), topic.title);
        const QString shownName =
            topic.node == QStringLiteral("Informations") ? QStringLiteral("A propos de Kalimo")
            : topic.node == QStringLiteral("Calorique")  ? QStringLiteral("Suivi Calorique")
                                                         : topic.node;
        QCOMPARE(topic.title, QLatin1Char(' ') + shownName + QLatin1Char(' '));
        QCOMPARE(Form4->Memo1->toPlainText(), topic.text);
    }

    Form4->TreeView1->setCurrentItem(node(QStringLiteral("Comptes"), QStringLiteral("Supprimer")));
    QCOMPARE(frameTitle(), QStringLiteral(" Supprimer "));
    QVERIFY(Form4->Memo1->toPlainText().startsWith(QStringLiteral("Pour effacer un compte")));
    Form4->TreeView1->setCurrentItem(node(QString(), QStringLiteral("Informations")));
    QCOMPARE(frameTitle(), QStringLiteral(" A propos de Kalimo "));
    QVERIFY(Form4->Memo1->toPlainText().startsWith(QStringLiteral("Kalimo est un logiciel")));
}

void TestHelp::arrowKeysMoveTheFrame() {
    ProgramFixture p;
    Form4->show();
    QTreeWidget* tree = Form4->TreeView1;
    tree->setFocus();
    tree->setCurrentItem(node(QString(), QStringLiteral("Comptes")));
    QCOMPARE(frameTitle(), QStringLiteral(" Comptes "));
    QTest::keyClick(tree, Qt::Key_Right); // opens the node
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(frameTitle(), QStringLiteral(" Créer "));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(frameTitle(), QStringLiteral(" Installation "));
    QCOMPARE(Form4->Memo1->toPlainText(), topicText(QStringLiteral("Installation")));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(frameTitle(), QStringLiteral(" Supprimer "));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(frameTitle(), QStringLiteral(" Graphique "));
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Up);
    QCOMPARE(frameTitle(), QStringLiteral(" Installation "));
    QCOMPARE(Form4->Memo1->toPlainText(), topicText(QStringLiteral("Installation")));
}

void TestHelp::unknownNodeHidesTheFrame() {
    ProgramFixture p;
    Form4->TreeView1->setCurrentItem(node(QString(), QStringLiteral("Graphique")));
    QVERIFY(Form4->GroupBox1->isVisibleTo(Form4));
    auto* stray = new QTreeWidgetItem(QStringList{QStringLiteral("Inconnu")});
    Form4->TreeView1->addTopLevelItem(stray);
    Form4->TreeView1->setCurrentItem(stray);
    QVERIFY(Form4->GroupBox1->isHidden());
    QVERIFY(Form4->Memo1->toPlainText().isEmpty());
}

// The tree taking the focus makes a node current; until the person selects one, only the tree
// shows.
void TestHelp::focusShowsNoTopic() {
    ProgramFixture p;
    QVERIFY(Activate(Form4));
    Form4->TreeView1->setFocus(Qt::TabFocusReason);
    QVERIFY(Form4->TreeView1->currentItem());
    QVERIFY(Form4->GroupBox1->isHidden());
    PressKey(Qt::Key_Space);
    QCOMPARE(frameTitle(), QStringLiteral(" Bilan "));
    PressKey(Qt::Key_Down);
    QCOMPARE(frameTitle(), QStringLiteral(" Suivi Calorique "));
    ClickItem(Form4->TreeView1, node(QString(), QStringLiteral("Graphique")));
    QCOMPARE(frameTitle(), QStringLiteral(" Graphique "));
}

// The texts given word for word, their spelling included.
void TestHelp::quotedTextsAreExact_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("text");
    QTest::newRow("T1") << "Calorique"
                        << "Aide sur la gestion du suivi calorique, avec le détail de l'utilisation et des "
                           "définitions des thermes utilisés.";
    QTest::newRow("T11")
        << "Supprimer"
        << "Pour effacer un compte, il vous suffit de sélectionner le compte à supprimer, et "
           "d'entrer le bon mot de passe puis de sélectionner : \n\"détruire compte\". ";
    QTest::newRow("T12") << "Graphique"
                         << "Aide concernant l'onglet \"Graphique\", avec ses différentes options. Vous "
                            "trouverez ainsi comment accéder à toutes les fonctionnalités de Kalimo. ";
    QTest::newRow("T14")
        << "Détails"
        << "Lorsque votre courbe est représentez, alors seulement la courbe est affichée, par "
           "les valeurs ne le sont pas. En cochant la case \"Détails\", vous verrez chaque "
           "valeur au dessus de chaque points. ";
    QTest::newRow("T17")
        << "Imprimer"
        << "Kalimo permet d'imprimer très facilement vos courbes, pour cela, il vous suffit de "
           "cliquez sur la petite imprimante, puis de sélectionner l'imprimante que vous "
           "souhaitez utilise. ";
    QTest::newRow("T18")
        << "Rafraîchir"
        << "En cas de problème de rafraîchissement de votre graphique, vous pouvez cliquer sur "
           "le bouton représentant une flêche en cercle, ainsi, le graphique se redessinera. ";
    QTest::newRow("T19")
        << "Tracé / Fond"
        << "Pour personnaliser votre Kalimo, vous pouvez modifier la couleur du tracé, ainsi "
           "que l'épaisseur du trait du mois en cours. ";
}

void TestHelp::quotedTextsAreExact() {
    QFETCH(QString, node);
    QFETCH(QString, text);
    QCOMPARE(topicText(node), text);
}

// The other texts are our own wording: they begin with the given sentence and keep about the
// given length (a line break counting as one character).
void TestHelp::writtenTextsBeginAsRequired_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("beginning");
    QTest::addColumn<int>("length");
    QTest::newRow("T2") << "Calories"
                        << "Une kilocalorie (en langage courant une Calorie) est la quantité de chaleur "
                           "nécessaire pour élever la température de 1 kg d'eau de 14,5 °C à 15,5 °C."
                        << 344;
    QTest::newRow("T3") << "Catégories"
                        << "Cette liste contient l'ensemble des catégories d'aliments disponibles." << 271;
    QTest::newRow("T4") << "Configurer"
                        << "Ce boutton permet d'accéder à la gestion de la liste d'aliments." << 258;
    QTest::newRow("T5")
        << "Glucides"
        << "Les glucides (ou sucres) sont des nutriments qui fournissent surtout de l'énergie, "
           "car ils sont entièrement brûlés dans l'organisme."
        << 240;
    QTest::newRow("T6")
        << "Lipides"
        << "Les lipides (ou graisses) sont des nutriments formés de glycérol et d'acides gras "
           "(dont 3 sont indispensables)."
        << 377;
    QTest::newRow("T7")
        << "Protéines"
        << "Les protides (ou protéines) sont des nutriments formés d'acides aminés (il en existe "
           "30 dans la nature, dont 8 sont indispensables)."
        << 291;
    QTest::newRow("T8") << "Comptes"
                        << "Aide concernant la création, l'installation et la suppression d'un compte afin "
                           "d'utiliser pleinement le logiciel Kalimo."
                        << 287;
    QTest::newRow("T9") << "Installation"
                        << "Il est conseillé pour une installation correcte de copier le fichier :" << 292;
    QTest::newRow("T10")
        << "Créer"
        << "Pour créer un compte, il vous suffit de taper un nom de compte inexistant, ainsi "
           "qu'un mot de passe, puis de cliquer sur"
        << 245;
    QTest::newRow("T13") << "2 graphiques"
                         << "Kalimo gère un système de comparaison des courbes, il vous est donc possible de "
                            "superposer 2 mois simultanément."
                         << 319;
    QTest::newRow("T15")
        << "Enregistrer"
        << "Kalimo vous permet d'exporter très facilement votre courbe de poids, il vous suffit "
           "pour cela de cliquer sur la disquette"
        << 307;
    QTest::newRow("T16") << "IMC"
                         << "Ce module vous permet de calculer rapidement et facilement votre" << 346;
    QTest::newRow("T20") << "Zoom"
                         << "Kalimo peut réaliser un zoom sur votre graphique." << 455;
}

void TestHelp::writtenTextsBeginAsRequired() {
    QFETCH(QString, node);
    QFETCH(QString, beginning);
    QFETCH(int, length);
    const QString text = topicText(node);
    QVERIFY2(text.startsWith(beginning), qPrintable(text));
    QVERIFY2(qAbs(text.size() - length) <= length / 4, qPrintable(QString::number(text.size())));
    QVERIFY(!text.contains(QLatin1String("  ")));
}

void TestHelp::informationsNamesTheAuthor() {
    const QString text = topicText(QStringLiteral("Informations"));
    const QString authorLines = QStringLiteral("\n\n\nAuteur : %1 \nE-mail : %2 \nSite Web : %3 ")
                                    .arg(AuthorName, AuthorMail, AuthorWebAddress);
    QVERIFY(text.endsWith(authorLines));
    QCOMPARE(text.count(QLatin1Char('\n')), 6); // two paragraphs, two empty lines, three author lines
    // The licence's word, not a ban on passing it on.
    QVERIFY(text.startsWith(QStringLiteral("Kalimo est un logiciel libre")));
    QVERIFY(text.contains(QStringLiteral("GPL), version 3 ou toute version ultérieure")));
    QVERIFY(!text.contains(QStringLiteral("vendu")));
    QVERIFY(text.contains(QStringLiteral("L'auteur décline toute responsabilité")));
    QVERIFY(AuthorMail.endsWith(QLatin1String("example.org")));
    QVERIFY(AuthorWebAddress.endsWith(QLatin1String("example.org")));
}

void TestHelp::aboutWindowShowsVersionAndAuthor() {
    ProgramFixture p;
    UrlCatcher urls;
    QCOMPARE(Form3->Label2->text(), QStringLiteral("version 2.0"));
    QCOMPARE(Form3->Label4->text(), AuthorName);
    QCOMPARE(Form3->Label6->text(), AuthorWebAddress);
    QCOMPARE(Form3->SpeedButton1->text(), QStringLiteral("&Fermer"));

    Form1->show();
    QTest::mouseClick(Form1->SpeedButton1, Qt::LeftButton);
    QVERIFY(Form3->isVisible());
    QVERIFY(!Form1->isEnabled());
    QTest::mouseClick(Form3->Label4, Qt::LeftButton);
    QTest::mouseClick(Form3->Label6, Qt::LeftButton);
    QCOMPARE(urls.opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:") + AuthorMail),
                                       QUrl(QStringLiteral("http://") + AuthorWebAddress)}));
    QVERIFY(Form3->isVisible());
    QTest::mouseClick(Form3->SpeedButton1, Qt::LeftButton);
    QVERIFY(!Form3->isVisible());
    QVERIFY(Form1->isEnabled());

    // At the keyboard: the focus starts on "Fermer", not on the mail link; Escape closes.
    QTest::mouseClick(Form1->SpeedButton1, Qt::LeftButton);
    Form3->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form3));
    QCOMPARE(QApplication::focusWidget(), Form3->SpeedButton1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!Form3->isVisible());
    QVERIFY(Form1->isEnabled());
    QCOMPARE(urls.opened.size(), 2);
}

void TestHelp::aboutFromTheYearWindowEnablesTheMainWindowToo() {
    OpenAccount p;
    QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
    QVERIFY(Form5->isVisible());
    QVERIFY(!Form2->isEnabled());
    QTest::mouseClick(Form5->SpeedButton9, Qt::LeftButton);
    QVERIFY(Form3->isVisible());
    QVERIFY(!Form5->isEnabled());
    Form3->close(); // the title-bar close box
    QVERIFY(Form5->isEnabled());
    QVERIFY(Form2->isEnabled());
    QVERIFY(Form5->isVisible());

    // From the main window, the help leaves it usable; the about window does not.
    QTest::mouseClick(Form2->SpeedButton6, Qt::LeftButton);
    QVERIFY(Form4->isVisible());
    QVERIFY(Form2->isEnabled());
    QTest::mouseClick(Form2->SpeedButton3, Qt::LeftButton);
    QVERIFY(!Form2->isEnabled());
    QTest::mouseClick(Form3->SpeedButton1, Qt::LeftButton);
    QVERIFY(Form2->isEnabled());
}

void TestHelp::everyPictureIsDrawnAtItsSize() {
    QVERIFY(!QApplication::windowIcon().isNull());
    for (GlyphKind kind : {GlyphKind::Print, GlyphKind::Save, GlyphKind::Refresh, GlyphKind::Year,
                           GlyphKind::Help, GlyphKind::About, GlyphKind::Quit}) {
        const QPixmap glyph = Glyph(kind).pixmap(GlyphSize);
        QCOMPARE(glyph.deviceIndependentSize().toSize(), QSize(GlyphSize, GlyphSize));
        QVERIFY2(drawn(glyph), qPrintable(QString::number(int(kind))));
    }
    const QList<std::pair<PictureKind, QSize>> pictures{{PictureKind::LoginBackground, {340, 128}},
                                                        {PictureKind::AboutBackground, {326, 267}},
                                                        {PictureKind::HelpHeading, {32, 32}},
                                                        {PictureKind::AboutIcon, {32, 32}}};
    for (const auto& [kind, size] : pictures) {
        const QPixmap picture = Picture(kind);
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QVERIFY2(drawn(picture), qPrintable(QString::number(int(kind))));
    }

    ProgramFixture p;
    QVERIFY(!Form1->Image1->pixmap().isNull());
    QVERIFY(!Form1->SpeedButton6->icon().isNull());
    QVERIFY(!Form1->SpeedButton1->icon().isNull());
    QVERIFY(!Form3->Image1->pixmap().isNull());
    QVERIFY(!Form3->Image2->pixmap().isNull());
    QVERIFY(!Form4->Image1->pixmap().isNull());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
