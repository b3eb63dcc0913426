#include "accounts/tform1.h"
#include "calories/caloriepage.h"
#include "calories/quickentry.h"
#include "calories/tform6.h"
#include "store/numbers.h"
#include "summary/energybalance.h"
#include "testsupport/keyboard.h"
#include "testsupport/windowfixture.h"
#include "ui/controls.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
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
    void targetOfTheDayAndWhatIsLeft();
    void searchingAtTheKeyboard();
    void badSearchesWriteNothing_data();
    void badSearchesWriteNothing();
    void recentFoodsAndTheDayBefore();
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
    // Typed, a decimal stays as it is, never turned into another whole number.
    Form2->TabSheet2->Edit4->selectAll();
    QTest::keyClicks(Form2->TabSheet2->Edit4, QStringLiteral("1,5"));
    QCOMPARE(Form2->TabSheet2->Edit4->text(), QStringLiteral("1,5"));
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
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
    Form2->TabSheet2->Edit4->insert(QStringLiteral("1g"));
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

// Four weeks of meals and weighings up to the 28th of March 2004: the target line of a day is the
// core's, against the day's total, from the journals up to that day; what is left follows each
// food added or removed, and a weight typed in the grid.
void TestCaloriePage::targetOfTheDayAndWhatIsLeft() {
    QByteArray weights, log;
    for (int month = 2; month <= 3; ++month) {
        weights += "[" + QByteArray::number(month) + "/2004]\r\n";
        for (int d = 1; d <= 28; ++d) {
            if (d % 3 != 0)
                weights += "v" + QByteArray::number(d) + "=" +
                           QByteArray::number(90 - month * 2 - d * 0.07, 'f', 1) + "\r\n";
            if (month == 3 && d < 28 && d % 5 != 0)
                log += "[" + QByteArray::number(d) + "/3/2004]\r\nAbats=" + QByteArray::number(16 + d % 4) +
                       "\r\n";
        }
    }
    weights.replace('.', ',');
    OpenAccount p("[Paul]\r\npassword=pw\r\nobjectif=70\r\n", weights);
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")), log);
    Form2->PageControl1->setCurrentWidget(Form2->TabSheet2);
    const ProfileDocument db = ProfileDocument::Parse(ReadBytes(p.dir.file(QStringLiteral("calories.ini"))));
    const auto expected = [&](int month, int day, double eaten) {
        const EnergySeries series = EstimateEnergy(
            ReadEnergyJournal(ReadWeightJournal(ProfileDocument::Parse(p.weightFile())),
                              ProfileDocument::Parse(ReadBytes(p.dir.file(QStringLiteral("Paul.cal")))), db));
        return TargetLine(TargetOfDay(series.At(QDate(2004, month, day).toJulianDay()), 70, std::nullopt),
                          eaten);
    };
    ShowMonth(3, 2004);
    Form2->StringGrid1->SetRow(28);
    QVERIFY(Form2->TabSheet2->Label40->text().contains(QStringLiteral(" kcal ; reste ")));
    QCOMPARE(Form2->TabSheet2->Label40->text(), expected(3, 28, 0));
    chooseFood(QStringLiteral("viande"), QStringLiteral("Abats"));
    add(QStringLiteral("3"));
    QCOMPARE(Form2->TabSheet2->Label40->text(), expected(3, 28, 360));
    add(QStringLiteral("30"));
    QVERIFY(Form2->TabSheet2->Label40->text().contains(QStringLiteral(" kcal ; dépassé de ")));
    QCOMPARE(Form2->TabSheet2->Label40->text(), expected(3, 28, 3960));
    // A past day: its target from the journals up to it, its own meals against it.
    Form2->StringGrid1->SetRow(26);
    QCOMPARE(Form2->TabSheet2->Label40->text(), expected(3, 26, 2160));
    Form2->StringGrid1->SetRow(3);
    QCOMPARE(Form2->TabSheet2->Label40->text(), QStringLiteral("Objectif : encore 12 jours de repas"));
    // A weight typed for the day shown moves its target.
    Form2->StringGrid1->SetRow(27);
    const QString before = Form2->TabSheet2->Label40->text();
    Form2->StringGrid1->Editor()->selectAll();
    QTest::keyClicks(Form2->StringGrid1->Editor(), QStringLiteral("84"));
    QTRY_COMPARE(Form2->TabSheet2->Label40->text(), expected(3, 27, 2280));
    QVERIFY(Form2->TabSheet2->Label40->text() != before);
    QVERIFY(p.dialogs.shown.isEmpty());
}

// Found by part of its name typed without accents, added with Return twice; the arrows move in
// the results while typing; Escape brings the categories back, with the food chosen.
void TestCaloriePage::searchingAtTheKeyboard() {
    PaulsDay p;
    QuickEntry* quick = Form2->TabSheet2->Quick;
    QVERIFY(Activate(Form2));
    Form2->PageControl1->setCurrentIndex(1);
    PressKey(Qt::Key_R, Qt::AltModifier);
    TypeKeys(QStringLiteral("cafe lait"));
    QVERIFY(quick->GroupBox8->isVisible() && !Form2->TabSheet2->GroupBox5->isVisible());
    QCOMPARE(quick->ListBox3->model()->rowCount(), 1);
    QCOMPARE(quick->ListBox3->currentIndex().data().toString(), QStringLiteral("Café au lait (boisson)"));
    PressKey(Qt::Key_Tab); // the flow: search, results, quantity, "Ajouter"
    QCOMPARE(QApplication::focusWidget(), quick->ListBox3);
    PressKey(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), Form2->TabSheet2->Edit4);
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Café au lait"));
    TypeKeys(QStringLiteral("2")); // replaces the quantity 1, selected
    PressKey(Qt::Key_Return);
    QCOMPARE(p.foodLog(), QByteArray("[5/3/2004]\r\nCaf\xE9 au lait=2\r\n"));
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Form2->TabSheet2->SpeedButton9);

    PressKey(Qt::Key_R, Qt::AltModifier);
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeKeys(QStringLiteral("oeuf"));
    PressKey(Qt::Key_Down);
    PressKey(Qt::Key_Down);
    PressKey(Qt::Key_Up);
    QCOMPARE(quick->ListBox3->currentIndex().data().toString(), QStringLiteral("Œuf au plat (divers)"));
    PressKey(Qt::Key_Return);
    PressKey(Qt::Key_Return);
    QCOMPARE(row(1).mid(0, 2), (QStringList{"Œuf au plat", "1"}));
    QCOMPARE(p.dialogs.shown.size(), 0);

    Form2->TabSheet2->Quick->Edit6->setFocus();
    PressKey(Qt::Key_Escape);
    QVERIFY(!quick->GroupBox8->isVisible() && Form2->TabSheet2->GroupBox6->isVisible());
    QCOMPARE(quick->Edit6->text(), QString());
    QCOMPARE(ChosenItem(Form2->TabSheet2->ListBox2)->text(), QStringLiteral("Œuf au plat"));
    PressKey(Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), Form2->TabSheet2->SpeedButton10);
    Form2->TabSheet2->SpeedButton12->setFocus();
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), quick->ListBox4);
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), quick->SpeedButton22);
    for (QWidget* w : std::initializer_list<QWidget*>{quick->Edit6, quick->ListBox3, quick->ListBox4})
        QVERIFY(!w->accessibleName().isEmpty());
}

void TestCaloriePage::badSearchesWriteNothing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("resultsShown");
    QTest::newRow("blanks") << QStringLiteral("    ") << false;
    QTest::newRow("punctuation") << QStringLiteral("(?!.;,)") << false;
    QTest::newRow("1000 characters") << QString(1000, QLatin1Char('z')) << true;
    QTest::newRow("outside Windows-1252") << QStringLiteral("日本 \U0001F35E") << true;
}

// No error, nothing chosen, nothing written: the categories, or results that say none match.
void TestCaloriePage::badSearchesWriteNothing() {
    QFETCH(QString, typed);
    QFETCH(bool, resultsShown);
    PaulsDay p;
    QuickEntry* quick = Form2->TabSheet2->Quick;
    Form2->PageControl1->setCurrentIndex(1);
    quick->Edit6->setFocus();
    quick->Edit6->insert(typed); // as a paste brings it
    QVERIFY(quick->Edit6->text().size() <= 100);
    QCOMPARE(quick->GroupBox8->isVisible(), resultsShown);
    QTest::keyClick(quick->Edit6, Qt::Key_Return);
    QTest::keyClick(Form2->TabSheet2->Edit4, Qt::Key_Return);
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Veuillez saisir une catégorie et un aliment")});
    QCOMPARE(Form2->TabSheet2->Label21->text(), QStringLiteral("Aucun"));
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.cal"))));
}

// Yesterday's food again in three keys; the recent foods follow the log and the editor at once;
// the day before copied after a question naming how many foods, or a word when there are none.
void TestCaloriePage::recentFoodsAndTheDayBefore() {
    PaulsDay p;
    const QDate today = QDate::currentDate();
    const auto key = [&today](int back) {
        const QDate d = today.addDays(-back);
        return QByteArray::number(d.day()) + '/' + QByteArray::number(d.month()) + '/' +
               QByteArray::number(d.year());
    };
    const QByteArray earlier = "[" + key(2) + "]\r\nPizza=1\r\nAbats en sauce=1\r\n[" + key(1) +
                               "]\r\nAbats=2\r\nPizza=1\r\nTarte disparue=1\r\n";
    WriteBytes(p.dir.file(QStringLiteral("Paul.cal")), earlier);
    ShowMonth(today.month(), today.year());
    Form2->StringGrid1->SetRow(today.day());
    QuickEntry* quick = Form2->TabSheet2->Quick;
    QCOMPARE(items(quick->ListBox4), (QStringList{"Pizza", "Abats", "Abats en sauce"}));

    QVERIFY(Activate(Form2));
    Form2->PageControl1->setCurrentIndex(1);
    Form2->TabSheet2->ListView1->setFocus();
    PressKey(Qt::Key_N, Qt::AltModifier);
    PressKey(Qt::Key_Return);
    PressKey(Qt::Key_Return);
    QCOMPARE(p.foodLog(), earlier + "[" + key(0) + "]\r\nPizza=1\r\n");

    // The day before: two foods, one of them already there, one gone from the database.
    p.dialogs.answers = {QMessageBox::No};
    PressKey(Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(p.dialogs.texts(),
                 QStringList{QStringLiteral("Copier dans ce jour les 2 aliments notés la veille (%1) ?\n"
                                            "L'un d'eux est déjà noté ce jour : sa quantité augmentera.\n"
                                            "« Tarte disparue » n'est plus dans la base des aliments : il ne "
                                            "sera pas copié.")
                                 .arg(today.addDays(-1).toString(QStringLiteral("dd/MM/yyyy")))});
    QCOMPARE(p.foodLog(), earlier + "[" + key(0) + "]\r\nPizza=1\r\n");
    QTest::mouseClick(quick->SpeedButton22, Qt::LeftButton);
    QCOMPARE(p.foodLog(), earlier + "[" + key(0) + "]\r\nPizza=2\r\nAbats=2\r\n");
    QCOMPARE(Form2->TabSheet2->ListView1->topLevelItemCount(), 2);

    p.dialogs.clear();
    Form2->StringGrid1->SetRow(today.day() == 1 ? 2 : 1); // a day with nothing the day before
    const QByteArray copied = p.foodLog();
    QTest::mouseClick(quick->SpeedButton22, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY(p.dialogs.texts().constFirst().contains(QStringLiteral("il n'y a rien à copier")));
    QCOMPARE(p.foodLog(), copied);

    // Deleted in the editor: gone from the recent foods and from the search at once.
    Form2->StringGrid1->SetRow(today.day());
    Form6->show();
    choose(Form6->ListBox1, QStringLiteral("plat"));
    choose(Form6->ListBox2, QStringLiteral("Pizza"));
    QTest::mouseClick(Form6->SpeedButton2, Qt::LeftButton);
    Form6->close();
    QCOMPARE(items(quick->ListBox4), (QStringList{"Abats", "Abats en sauce"}));
    quick->Edit6->setText(QStringLiteral("pizza"));
    QCOMPARE(quick->ListBox3->model()->rowCount(), 1);
    QCOMPARE(quick->ListBox3->model()->index(0, 0).flags(), Qt::NoItemFlags);
}

QTEST_MAIN(TestCaloriePage)
#include "tst_caloriepage.moc"
