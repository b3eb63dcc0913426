#include "accounts/tform1.h"
#include "calories/caloriepage.h"
#include "calories/tform6.h"
#include "testsupport/keyboard.h"
#include "testsupport/windowfixture.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Paul's account open on 5 March 2004, with the default food database.
struct PaulsDay : OpenAccount {
    PaulsDay() {
        ShowMonth(3, 2004);
        Form2->StringGrid1->SetRow(5);
        dialogs.clear();
    }
    QByteArray foodLog() const { return ReadBytes(dir.file(QStringLiteral("Paul.cal"))); }
    QByteArray database() const { return ReadBytes(dir.file(QStringLiteral("calories.ini"))); }
    QByteArray deletedFoods() const { return ReadBytes(dir.file(QStringLiteral("calsuppr.ini"))); }
};

void choose(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
    Q_EMIT list->itemClicked(found.first());
}

void chooseFood(const QString& category, const QString& food) {
    choose(Form2->TabSheet2->ListBox1, category);
    choose(Form2->TabSheet2->ListBox2, food);
}

QStringList row(int r) {
    QStringList texts;
    const QTreeWidgetItem* item = Form2->TabSheet2->ListView1->topLevelItem(r);
    for (int c = 0; item && c < 6; ++c)
        texts << item->text(c);
    return texts;
}

QStringList totals() {
    return {Form2->TabSheet2->Label26->text(), Form2->TabSheet2->Label27->text(),
            Form2->TabSheet2->Label28->text(), Form2->TabSheet2->Label29->text()};
}

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void add(const QString& quantity) {
    Form2->TabSheet2->Edit4->setText(quantity);
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
}
} // namespace

class TestCaloriePage : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void categoriesAreListedAlphabetically();
    void choosingAFoodShowsItsValues();
    void addingFoodsToTheDay();
    void badQuantitiesWriteNothing();
    void largeTotalsFitTheirBar();
    void removingNeedsAPlainYes();
    void sortingByAColumnTitle();
    void pageFollowsTheGridsDay();
    void editorFillsAndFiltersItsFields();
    void editorSavesAndDeletesFoods();
    void editorRenamesAndDeletesCategories();
    void editedFoodChangesEveryDayListingIt();
    void focusChoosesNothing();
    void choosingTheChosenFoodAgainResetsTheQuantity();
    void valueFieldsKeepDeleteAndTab();
    void closingTheEditorGivesTheFocusBack();
};

void TestCaloriePage::categoriesAreListedAlphabetically() {
    PaulsDay p;
    QCOMPARE(items(Form2->TabSheet2->ListBox1).first(), QStringLiteral("boisson"));
    QCOMPARE(items(Form2->TabSheet2->ListBox1).last(), QStringLiteral("viande"));
    QCOMPARE(items(Form2->TabSheet2->ListBox1).size(), 16);
    QCOMPARE(Form2->TabSheet2->ListBox1->currentRow(), -1);
    QCOMPARE(Form2->TabSheet2->GroupBox3->title(),
             QStringLiteral(" Liste des aliments consommés durant la journée : 0 "));
    QCOMPARE(totals(), (QStringList{"0", "0", "0", "0"}));
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Aucun"));
}

void TestCaloriePage::choosingAFoodShowsItsValues() {
    PaulsDay p;
    choose(Form2->TabSheet2->ListBox1, QStringLiteral("viande"));
    QCOMPARE(items(Form2->TabSheet2->ListBox2).mid(0, 3), (QStringList{"Abats", "Abats en sauce", "Agneau"}));
    QCOMPARE(Form2->TabSheet2->ListBox2->count(), 244);
    choose(Form2->TabSheet2->ListBox2, QStringLiteral("Abats"));
    QCOMPARE((QStringList{Form2->TabSheet2->Label21->text(), Form2->TabSheet2->Label22->text(),
                          Form2->TabSheet2->Label23->text(), Form2->TabSheet2->Label24->text(),
                          Form2->TabSheet2->Label25->text()}),
             (QStringList{"Abats", "120", "17", "0", "6"}));
    QCOMPARE(Form2->TabSheet2->Edit4->text(), QStringLiteral("1"));
    // Another category keeps the values shown; the stored text shows as it is.
    choose(Form2->TabSheet2->ListBox1, QStringLiteral("dessert"));
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Abats"));
    choose(Form2->TabSheet2->ListBox2, QStringLiteral("Confitures (1 c. à soupe)"));
    QCOMPARE(Form2->TabSheet2->Label24->text(), QStringLiteral("17.50"));
}

void TestCaloriePage::addingFoodsToTheDay() {
    PaulsDay p;
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Veuillez saisir une catégorie et un aliment")});
    chooseFood(QStringLiteral("viande"), QStringLiteral("Abats"));
    p.dialogs.clear();
    add(QString());
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Veuillez saisir une quantité !!!")});
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.cal"))));

    add(QStringLiteral("2"));
    QCOMPARE(row(0), (QStringList{"Abats", "2", "240", "34", "0", "12"}));
    QCOMPARE(totals(), (QStringList{"240", "34", "0", "12"}));
    QCOMPARE(p.foodLog(), QByteArray("[5/3/2004]\r\nAbats=2\r\n"));
    add(QStringLiteral("3"));
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 1);
    QCOMPARE(row(0).at(1), QStringLiteral("5"));
    // The choice stays after an addition: another click adds the same quantity again.
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
    QCOMPARE(row(0).at(1), QStringLiteral("8"));
    add(QStringLiteral("-10"));
    QCOMPARE(row(0).mid(0, 3), (QStringList{"Abats", "-2", "-240"}));

    chooseFood(QStringLiteral("dessert"), QStringLiteral("Confitures (1 c, à soupe)"));
    add(QStringLiteral("0"));
    QCOMPARE(row(1), (QStringList{"Confitures (1 c, à soupe)", "0", "0", "0", "0", "0"}));
    QCOMPARE(Form2->TabSheet2->GroupBox3->title(),
             QStringLiteral(" Liste des aliments consommés durant la journée : 2 "));
}

void TestCaloriePage::largeTotalsFitTheirBar() {
    PaulsDay p;
    Form2->PageControl1->setCurrentIndex(1);
    const QList<QWidget*> bar = {
        Form2->TabSheet2->Label17, Form2->TabSheet2->Label26, Form2->TabSheet2->Label18,
        Form2->TabSheet2->Label27, Form2->TabSheet2->Label19, Form2->TabSheet2->Label28,
        Form2->TabSheet2->Label20, Form2->TabSheet2->Label29, Form2->TabSheet2->SpeedButton10};
    // Every text whole, none over the next, all inside the bar.
    const auto fits = [&bar] {
        for (qsizetype k = 0; k < bar.size(); ++k) {
            const QRect r = bar.at(k)->geometry();
            if (r.width() < bar.at(k)->sizeHint().width() ||
                !Form2->TabSheet2->GroupBox7->contentsRect().contains(r))
                return false;
            for (qsizetype j = k + 1; j < bar.size(); ++j)
                if (r.intersects(bar.at(j)->geometry()))
                    return false;
        }
        return true;
    };
    const auto lines = [&bar] {
        QSet<int> tops;
        for (const QWidget* w : bar.mid(0, 8))
            tops << w->y();
        return tops.size();
    };
    chooseFood(QStringLiteral("viande"), QStringLiteral("Abats"));
    add(QStringLiteral("2"));
    QTRY_VERIFY(fits());
    QCOMPARE(lines(), 1);
    add(QStringLiteral("999999999"));
    QCOMPARE(totals(), (QStringList{"120000000120", "17000000017", "0", "6000000006"}));
    QTRY_VERIFY(fits());
    QCOMPARE(lines(), 2);
    add(QStringLiteral("-1000000000"));
    QTRY_COMPARE(lines(), 1);
    QVERIFY(fits());
}

void TestCaloriePage::badQuantitiesWriteNothing() {
    PaulsDay p;
    chooseFood(QStringLiteral("viande"), QStringLiteral("Abats"));
    add(QStringLiteral("1,5"));
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("'1,5' n'est pas une valeur entière correcte.")});
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.cal"))));
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 0);
}

void TestCaloriePage::removingNeedsAPlainYes() {
    PaulsDay p;
    chooseFood(QStringLiteral("viande"), QStringLiteral("Abats"));
    add(QStringLiteral("2"));
    QTest::mouseClick(Form2->TabSheet2->SpeedButton10, Qt::LeftButton); // nothing selected: nothing asked
    QVERIFY(p.dialogs.shown.isEmpty());

    Form2->TabSheet2->ListView1->topLevelItem(0)->setSelected(true);
    p.dialogs.answers = {QMessageBox::No};
    QTest::mouseClick(Form2->TabSheet2->SpeedButton10, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Voulez-vous vraiment supprimer la sélection ?")});
    QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Confirmation"));
    p.dialogs.answers = {QMessageBox::Escape};
    QTest::mouseClick(Form2->TabSheet2->SpeedButton10, Qt::LeftButton); // closing the box counts as "no"
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 1);

    Form2->TabSheet2->ListView1->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(Form2->TabSheet2->SpeedButton10, Qt::LeftButton);
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 0);
    QCOMPARE(totals(), (QStringList{"0", "0", "0", "0"}));
    QCOMPARE(p.foodLog(), QByteArray("[5/3/2004]\r\n"));
}

void TestCaloriePage::sortingByAColumnTitle() {
    PaulsDay p;
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")),
               "[5/3/2004]\r\nAbats=2\r\nArachide (huile)=1\r\nPizza=100\r\n");
    Form2->TabSheet2->ShowDayFoods();
    const QString pizzaCalories = row(2).at(2);
    QHeaderView* header = Form2->TabSheet2->ListView1->header();
    Q_EMIT header->sectionClicked(2);
    QStringList calories;
    for (int r = 0; r < 3; ++r)
        calories << row(r).at(2);
    QStringList expected{QStringLiteral("240"), QStringLiteral("900"), pizzaCalories};
    std::sort(expected.begin(), expected.end()); // compared as text: "1000" before "240" before "35"
    QCOMPARE(calories, expected);
    // The next click, on any column, reverses.
    Q_EMIT header->sectionClicked(0);
    QCOMPARE(row(0).at(0), QStringLiteral("Pizza"));
    Form2->TabSheet2->ShowDayFoods(); // back to the order of the file
    QCOMPARE(row(0).at(0), QStringLiteral("Abats"));
}

void TestCaloriePage::pageFollowsTheGridsDay() {
    PaulsDay p;
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")), "[7/3/2004]\r\nAbats=1\r\n");
    Form2->StringGrid1->SetRow(7);
    QCOMPARE(row(0).at(0), QStringLiteral("Abats"));
    Form2->StringGrid1->SetRow(8);
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 0);
}

void TestCaloriePage::editorFillsAndFiltersItsFields() {
    PaulsDay p;
    QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton);
    QVERIFY(Form6->isVisible());
    QVERIFY(!Form2->isEnabled());
    choose(Form6->ListBox1, QStringLiteral("viande"));
    QCOMPARE(Form6->Edit6->text(), QStringLiteral("viande"));
    choose(Form6->ListBox2, QStringLiteral("Abats"));
    QCOMPARE((QStringList{Form6->Edit1->text(), Form6->Edit2->text(), Form6->Edit3->text(),
                          Form6->Edit4->text(), Form6->Edit5->text()}),
             (QStringList{"Abats", "120", "17", "0", "6"}));
    Form6->Edit3->clear();
    QTest::keyClicks(Form6->Edit3, QStringLiteral("12.5x-"));
    QCOMPARE(Form6->Edit3->text(), QStringLiteral("12,5"));

    Form2->TabSheet2->ListBox2->addItem(QStringLiteral("reste"));
    Form6->close();
    QVERIFY(Form2->isEnabled());
    QCOMPARE(Form2->TabSheet2->ListBox2->count(), 0);
}

void TestCaloriePage::editorSavesAndDeletesFoods() {
    PaulsDay p;
    Form6->show();
    Form6->Edit1->setText(QStringLiteral("Tofu fumé"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton); // no category chosen
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Indice de liste hors limites (-1)")});

    choose(Form6->ListBox1, QStringLiteral("divers"));
    Form6->Edit1->setText(QStringLiteral("Tofu fumé"));
    Form6->Edit2->setText(QStringLiteral("100"));
    Form6->Edit3->setText(QStringLiteral("10"));
    Form6->Edit4->setText(QStringLiteral("20"));
    Form6->Edit5->setText(QStringLiteral("5"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton);
    QVERIFY(p.database().endsWith("[Tofu fum\xE9]\r\na=Tofu fum\xE9\r\nc=100\r\np=10\r\ng=20\r\nl=5\r\n"));
    QCOMPARE(items(Form6->ListBox2).constLast(), QStringLiteral("Tofu fumé"));
    QCOMPARE(Form6->ListBox1->currentRow(), -1);
    QCOMPARE(Form6->Edit1->text(), QString());
    QCOMPARE(Form6->Edit6->text(), QStringLiteral("divers"));

    // A name the file cannot hold is refused with a message.
    p.dialogs.clear();
    choose(Form6->ListBox1, QStringLiteral("divers"));
    const QByteArray before = p.database();
    Form6->Edit1->setText(QStringLiteral("a=b"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.database(), before);

    p.dialogs.clear();
    QTest::mouseClick(Form6->SpeedButton2, Qt::LeftButton); // no food chosen
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Indice de liste hors limites (-1)")});
    choose(Form6->ListBox1, QStringLiteral("viande"));
    choose(Form6->ListBox2, QStringLiteral("Abats"));
    QTest::mouseClick(Form6->SpeedButton2, Qt::LeftButton);
    QVERIFY(!p.database().contains("[Abats]"));
    QCOMPARE(p.deletedFoods(),
             QByteArray("[Abats]\r\na=Abats\r\nc=120\r\np=17\r\nl=6\r\ng=0\r\n[viande]\r\nAbats=\r\n"));
    QCOMPARE(items(Form6->ListBox2).first(), QStringLiteral("Abats en sauce"));
}

void TestCaloriePage::editorRenamesAndDeletesCategories() {
    PaulsDay p;
    Form6->show();
    QTest::mouseClick(Form6->SpeedButton6, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Désolé, il faut d'abord sélectionner une catégorie.")});
    QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Erreur"));
    p.dialogs.clear();
    choose(Form6->ListBox1, QStringLiteral("plat"));
    Form6->Edit6->clear();
    QTest::mouseClick(Form6->SpeedButton6, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Désolé, il vous faut taper un nouveau nom de catégorie.")});

    Form6->Edit6->setText(QStringLiteral("plats"));
    QTest::mouseClick(Form6->SpeedButton6, Qt::LeftButton);
    QVERIFY(items(Form6->ListBox1).contains(QStringLiteral("plats")));
    QVERIFY(!items(Form6->ListBox1).contains(QStringLiteral("plat")));
    QVERIFY(p.database().contains("[plats]\r\nPizza=\r\nQuiche (unit\xE9)=\r\n"));

    // "Non", or closing the question, deletes nothing.
    choose(Form6->ListBox1, QStringLiteral("plats"));
    const QByteArray before = p.database();
    p.dialogs.clear();
    p.dialogs.answers = {QMessageBox::No, QMessageBox::Escape};
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts().constFirst(),
             QStringLiteral("Voulez-vous vraiment supprimer cette catégorie\net tout ce qu'elle contient ?"));
    QCOMPARE(p.database(), before);
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    QVERIFY(!p.database().contains("[Pizza]"));
    QVERIFY(!items(Form6->ListBox1).contains(QStringLiteral("plats")));
    QVERIFY(p.deletedFoods().contains("[plats]\r\nPizza=\r\n"));

    Form6->close();
    QVERIFY(!items(Form2->TabSheet2->ListBox1).contains(QStringLiteral("plat")));
}

void TestCaloriePage::editedFoodChangesEveryDayListingIt() {
    PaulsDay p;
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")), "[5/3/2004]\r\nPizza=2\r\n[6/3/2004]\r\nPizza=1\r\n");
    Form6->show();
    choose(Form6->ListBox1, QStringLiteral("plat"));
    choose(Form6->ListBox2, QStringLiteral("Pizza"));
    Form6->Edit2->setText(QStringLiteral("250"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton);
    Form6->close();
    Form2->StringGrid1->SetRow(6);
    QCOMPARE(row(0).at(2), QStringLiteral("250"));
    Form2->StringGrid1->SetRow(5);
    QCOMPARE(row(0).at(2), QStringLiteral("500"));
}

// A list given the focus makes an item current by itself: nobody chose it, so nothing is shown,
// added, saved or deleted on its account.
void TestCaloriePage::focusChoosesNothing() {
    PaulsDay p;
    QVERIFY(Activate(Form2));
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->ListBox1->setFocus(Qt::TabFocusReason);
    QCOMPARE(Form2->TabSheet2->ListBox1->currentRow(), 0);
    QCOMPARE(Form2->TabSheet2->ListBox2->count(), 0);
    choose(Form2->TabSheet2->ListBox1, QStringLiteral("viande"));
    Form2->TabSheet2->ListBox2->setFocus(Qt::TabFocusReason);
    QCOMPARE(Form2->TabSheet2->ListBox2->currentRow(), 0);
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Aucun"));
    Form2->TabSheet2->Edit4->setText(QStringLiteral("2"));
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Veuillez saisir une catégorie et un aliment")});
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.cal"))));

    QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton);
    QVERIFY(Activate(Form6));
    const QByteArray database = p.database();
    Form6->ListBox1->setFocus(Qt::TabFocusReason);
    QCOMPARE(Form6->ListBox1->currentRow(), 0); // "boisson", current but not chosen
    QCOMPARE(Form6->Edit6->text(), QString());
    QCOMPARE(Form6->ListBox2->count(), 0);
    p.dialogs.clear();
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton); // nothing chosen: nothing asked, nothing deleted
    Form6->Edit1->setText(QStringLiteral("Tofu"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Indice de liste hors limites (-1)")});
    QCOMPARE(p.database(), database);
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("calsuppr.ini"))));

    // A category chosen, another name typed in the box (to rename it): neither is deleted.
    choose(Form6->ListBox1, QStringLiteral("viande"));
    Form6->Edit6->setText(QStringLiteral("plat"));
    p.dialogs.clear();
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(p.database(), database);

    // After a deletion the focus comes back to the list, which makes the next category current.
    choose(Form6->ListBox1, QStringLiteral("boisson"));
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    QVERIFY(!p.database().contains("[boisson]"));
    const QByteArray afterDeletion = p.database();
    Form6->Edit1->setFocus();
    Form6->ListBox1->setFocus(Qt::ActiveWindowFocusReason);
    QVERIFY(Form6->ListBox1->currentRow() >= 0);
    QCOMPARE(Form6->Edit6->text(), QStringLiteral("boisson"));
    p.dialogs.clear();
    QTest::mouseClick(Form6->SpeedButton5, Qt::LeftButton);
    Form6->Edit1->setText(QStringLiteral("Tofu"));
    QTest::mouseClick(Form6->SpeedButton1, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Indice de liste hors limites (-1)")});
    QCOMPARE(p.database(), afterDeletion);
}

void TestCaloriePage::choosingTheChosenFoodAgainResetsTheQuantity() {
    PaulsDay p;
    QVERIFY(Activate(Form2));
    Form2->PageControl1->setCurrentIndex(1);
    ClickItem(Form2->TabSheet2->ListBox1,
              Form2->TabSheet2->ListBox1->findItems(QStringLiteral("viande"), Qt::MatchExactly)[0]);
    QListWidgetItem* abats = Form2->TabSheet2->ListBox2->item(0);
    ClickItem(Form2->TabSheet2->ListBox2, abats);
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Abats"));
    Form2->TabSheet2->Edit4->setText(QStringLiteral("3"));
    ClickItem(Form2->TabSheet2->ListBox2, abats);
    QCOMPARE(Form2->TabSheet2->Edit4->text(), QStringLiteral("1"));
    // With the keyboard: the next food is chosen at once.
    Form2->TabSheet2->Edit4->setText(QStringLiteral("3"));
    Form2->TabSheet2->ListBox2->setFocus();
    PressKey(Qt::Key_Down);
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Abats en sauce"));
    QCOMPARE(Form2->TabSheet2->Edit4->text(), QStringLiteral("1"));
}

// Digits, the comma and Backspace are the characters typed; Delete and Tab are keys.
void TestCaloriePage::valueFieldsKeepDeleteAndTab() {
    PaulsDay p;
    QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton);
    QVERIFY(Activate(Form6));
    Form6->Edit2->setText(QStringLiteral("12,53"));
    Form6->Edit2->setFocus();
    PressKey(Qt::Key_Home);
    PressKey(Qt::Key_Delete);
    QCOMPARE(Form6->Edit2->text(), QStringLiteral("2,53"));
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Form6->Edit3);
    TypeKeys(QStringLiteral("7"));
    QCOMPARE(Form6->Edit3->text(), QStringLiteral("7"));
    QCOMPARE(Form6->Edit2->text(), QStringLiteral("2,53"));
    // Pasted or inserted, only what the field takes reaches it: here and in the quantity.
    QGuiApplication::clipboard()->setText(QStringLiteral("1.5g"));
    PressKey(Qt::Key_V, Qt::ControlModifier);
    Form2->TabSheet2->Edit4->insert(QStringLiteral("1,5"));
    QCOMPARE(Form6->Edit3->text() + Form2->TabSheet2->Edit4->text(), QStringLiteral("7"));
}

// Disabled while the editor is open, the main window gets back the focus where the person left
// it, not in the weight grid.
void TestCaloriePage::closingTheEditorGivesTheFocusBack() {
    PaulsDay p;
    QVERIFY(Activate(Form2));
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->ListBox1->setFocus();
    QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton);
    QVERIFY(Activate(Form6));
    QTest::mouseClick(Form6->SpeedButton3, Qt::LeftButton);
    QVERIFY(Activate(Form2));
    QCOMPARE(QApplication::focusWidget(), Form2->TabSheet2->ListBox1);
}

QTEST_MAIN(TestCaloriePage)
#include "tst_caloriepage.moc"
