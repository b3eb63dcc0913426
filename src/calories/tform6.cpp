#include "tform6.h"

#include "calories/fooddatabase.h"
#include "calories/foodeditor.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/windowframe.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>
#include <QToolButton>

namespace {
QToolButton* textButton(QWidget* parent, const char* name, const QString& text, const QRect& at) {
    QToolButton* b = MakeTextButton(parent, name, text);
    b->setGeometry(at);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& at) {
    QLabel* l = MakeLabel(parent, name, text);
    l->setGeometry(at);
    return l;
}

QLineEdit* field(QWidget* parent, const char* name, const QRect& at) {
    auto* e = Named(new QLineEdit(parent), name);
    e->setGeometry(at);
    return e;
}

QString chosenText(const QListWidget* list) {
    const QListWidgetItem* item = ChosenItem(list);
    return item ? item->text() : QString();
}
} // namespace

TForm6::TForm6(ProfileFile& foodDatabase, QWidget* parent) : QWidget(parent), m_foodDatabase(foodDatabase) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Configuration de la Base de Données des calories"));
    setFont(QFont(QString::fromLatin1(ComicFont), 8));
    setFixedSize(539, 262);

    GroupBox5 = Named(new QGroupBox(QStringLiteral(" Catégories "), this), "GroupBox5");
    GroupBox5->setGeometry(6, 4, 150, 176);
    ListBox1 = MakeListIn(GroupBox5, "ListBox1");
    ListBox1->setAccessibleName(QStringLiteral("Catégories"));
    Label1 = label(this, "Label1", QStringLiteral("Nom :"), QRect(8, 184, 40, 22));
    Edit6 = field(this, "Edit6", QRect(48, 184, 108, 22));
    Edit6->setAccessibleName(QStringLiteral("Nom de la catégorie"));
    SpeedButton4 = textButton(this, "SpeedButton4", QStringLiteral("&Ajouter"), QRect(6, 212, 75, 22));
    SpeedButton6 = textButton(this, "SpeedButton6", QStringLiteral("&Modifier"), QRect(81, 212, 75, 22));
    SpeedButton5 = textButton(this, "SpeedButton5", QStringLiteral("&Supprimer"), QRect(6, 236, 150, 22));

    GroupBox6 = Named(new QGroupBox(QStringLiteral(" Aliments "), this), "GroupBox6");
    GroupBox6->setGeometry(162, 4, 180, 254);
    ListBox2 = MakeListIn(GroupBox6, "ListBox2");
    ListBox2->setAccessibleName(QStringLiteral("Aliments"));

    const int x = 350;
    Label11 = label(this, "Label11", QStringLiteral("Nom :"), QRect(x, 10, 85, 22));
    Edit1 = field(this, "Edit1", QRect(x, 32, 182, 22));
    Edit1->setAccessibleName(QStringLiteral("Nom de l'aliment"));
    Label12 = label(this, "Label12", QStringLiteral("Calories :"), QRect(x, 62, 90, 22));
    Edit2 = field(this, "Edit2", QRect(x + 92, 62, 90, 22));
    Label12->setBuddy(Edit2);
    Label13 = label(this, "Label13", QStringLiteral("Protéines (g) :"), QRect(x, 88, 90, 22));
    Edit3 = field(this, "Edit3", QRect(x + 92, 88, 90, 22));
    Label13->setBuddy(Edit3);
    Label14 = label(this, "Label14", QStringLiteral("Glucides (g) :"), QRect(x, 114, 90, 22));
    Edit4 = field(this, "Edit4", QRect(x + 92, 114, 90, 22));
    Label14->setBuddy(Edit4);
    Label15 = label(this, "Label15", QStringLiteral("Lipides (g) :"), QRect(x, 140, 90, 22));
    Edit5 = field(this, "Edit5", QRect(x + 92, 140, 90, 22));
    Label15->setBuddy(Edit5);
    SpeedButton1 =
        textButton(this, "SpeedButton1", QStringLiteral("&Ajouter / Modifier"), QRect(x, 172, 182, 24));
    SpeedButton2 = textButton(this, "SpeedButton2", QStringLiteral("&Supprimer"), QRect(x, 198, 182, 24));
    SpeedButton3 = textButton(this, "SpeedButton3", QStringLiteral("&Quitter"), QRect(x, 234, 182, 24));

    for (QLineEdit* value : {Edit2, Edit3, Edit4, Edit5})
        SetTextRule(value, TakesFoodValueText);

    OnChoice(ListBox1, Guard([this] { ListBox1Click(); }));
    OnChoice(ListBox2, Guard([this] { ListBox2Click(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guard([this] { SaveFood(); }));
    connect(SpeedButton2, &QToolButton::clicked, this, Guard([this] { DeleteFood(); }));
    connect(SpeedButton4, &QToolButton::clicked, this, Guard([this] { AddCategory(); }));
    connect(SpeedButton6, &QToolButton::clicked, this, Guard([this] { RenameCategory(); }));
    connect(SpeedButton5, &QToolButton::clicked, this, Guard([this] { DeleteCategory(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { close(); });

    UseToolFrame(this);
    CentreOnFirstShow(this);
}

QString TForm6::chosenCategory() const {
    return chosenText(ListBox1);
}

void TForm6::LoadCategoryList() {
    QStringList names = CategoryNames(m_foodDatabase.Document());
    SortForDisplay(names);
    ListBox1->clear();
    ListBox1->addItems(names);
    ListBox1->setCurrentRow(-1);
}

void TForm6::ShowCategoryFoods(const QString& category) {
    ListBox2->clear();
    ListBox2->addItems(CategoryFoods(m_foodDatabase.Document(), category));
}

void TForm6::clearFoodFields() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5})
        e->clear();
}

void TForm6::FormShow() {
    LoadCategoryList();
}

void TForm6::ListBox1Click() {
    const QString category = chosenCategory();
    ShowCategoryFoods(category);
    Edit6->setText(category);
}

void TForm6::ListBox2Click() {
    const QString food = chosenText(ListBox2);
    const ProfileDocument& db = m_foodDatabase.Document();
    Edit1->setText(food);
    Edit2->setText(FoodValueText(db, food, QStringLiteral("c")));
    Edit3->setText(FoodValueText(db, food, QStringLiteral("p")));
    Edit4->setText(FoodValueText(db, food, QStringLiteral("g")));
    Edit5->setText(FoodValueText(db, food, QStringLiteral("l")));
}

void TForm6::SaveFood() {
    const QString category = chosenCategory();
    if (category.isEmpty())
        throw KalimoError(Messages::ListIndexOutOfBounds(-1));
    const QString name = Edit1->text();
    if (const auto problem = NameRefusal(m_foodDatabase.Document(), name, false)) {
        ShowPlainMessage(*problem);
        return;
    }
    ::SaveFood(m_foodDatabase, category, name, Edit2->text(), Edit3->text(), Edit4->text(), Edit5->text());
    LoadCategoryList();
    ShowCategoryFoods(category);
    clearFoodFields();
}

void TForm6::DeleteFood() {
    const QString food = chosenText(ListBox2);
    if (food.isEmpty())
        throw KalimoError(Messages::ListIndexOutOfBounds(-1));
    const QString category = chosenCategory();
    ::DeleteFood(m_foodDatabase, DeletedFoods, category, food);
    ShowCategoryFoods(category);
    clearFoodFields();
}

void TForm6::AddCategory() {
    if (const auto problem = NameRefusal(m_foodDatabase.Document(), Edit6->text(), true)) {
        ShowPlainMessage(*problem);
        return;
    }
    ::AddCategory(m_foodDatabase, Edit6->text());
    LoadCategoryList();
    ListBox2->clear();
    clearFoodFields();
    Edit6->clear();
}

void TForm6::RenameCategory() {
    const QString oldName = chosenCategory();
    if (oldName.isEmpty()) {
        ShowErrorMessage(QStringLiteral("Désolé, il faut d'abord sélectionner une catégorie."),
                         QMessageBox::Yes);
        return;
    }
    const QString newName = Edit6->text();
    if (newName.isEmpty()) {
        ShowErrorMessage(QStringLiteral("Désolé, il vous faut taper un nouveau nom de catégorie."),
                         QMessageBox::Yes);
        return;
    }
    if (const auto problem = NameRefusal(m_foodDatabase.Document(), newName, true)) {
        ShowPlainMessage(*problem);
        return;
    }
    ::RenameCategory(m_foodDatabase, oldName, newName);
    LoadCategoryList();
    ListBox2->clear();
    clearFoodFields();
    Edit6->clear();
}

void TForm6::DeleteCategory() {
    // The name box may hold a name typed (to rename the category) or left by an earlier
    // deletion: only the category the person chose in the list, and named in the box, is
    // deleted, or another category's foods would be filed under the chosen one's name.
    const QString chosen = chosenCategory();
    if (chosen.isEmpty() || Edit6->text().compare(chosen, Qt::CaseInsensitive) != 0)
        return;
    // Only a plain "yes" deletes: closing the question counts as "no".
    if (AskConfirmation(
            QStringLiteral("Voulez-vous vraiment supprimer cette catégorie\net tout ce qu'elle contient ?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    ::DeleteCategory(m_foodDatabase, DeletedFoods, Edit6->text(), chosen);
    LoadCategoryList();
    ListBox2->clear();
    clearFoodFields();
}

void TForm6::CloseFoodEditor() {
    Q_EMIT closed();
}

void TForm6::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunGuarded([this] { FormShow(); });
}

void TForm6::closeEvent(QCloseEvent* event) {
    event->accept();
    RunGuarded([this] { CloseFoodEditor(); });
}
