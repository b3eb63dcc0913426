#include "quickentry.h"

#include "calories/caloriepage.h"
#include "calories/foodlog.h"
#include "calories/recentfoods.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <QAbstractListModel>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QToolButton>

namespace {
// Long enough for any food's name; a longer text (a paste gone wrong) is cut, not searched.
constexpr int LongestSearch = 100;

bool isReturn(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QString quoted(const QStringList& names) {
    QStringList parts;
    for (const QString& name : names)
        parts << QStringLiteral("« ") + name + QStringLiteral(" »");
    return parts.join(QStringLiteral(", "));
}
} // namespace

// The foods found, read from the list the search gave when the view asks for a row: tens of
// thousands of foods found by a first letter are listed within the time of a key.
class QuickEntry::FoundFoods final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void Show(const QList<FoodInCategory>* foods) {
        beginResetModel();
        m_foods = foods;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        // With nothing found, one row that says so and cannot be chosen.
        return parent.isValid() || !m_foods ? 0 : std::max<int>(1, int(m_foods->size()));
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!m_foods || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        if (m_foods->isEmpty())
            return QStringLiteral("Aucun aliment ne contient ces mots");
        const FoodInCategory& food = m_foods->at(index.row());
        return food.food + QStringLiteral(" (") + food.category + QLatin1Char(')');
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return m_foods && m_foods->isEmpty() ? Qt::NoItemFlags : QAbstractListModel::flags(index);
    }

  private:
    const QList<FoodInCategory>* m_foods = nullptr;
};

QuickEntry::QuickEntry(CaloriePage* page, QBoxLayout* available, QBoxLayout* lists)
    : QObject(page), m_page(page), m_listsAreaHeight(page->GroupBox4->maximumHeight()) {
    m_rows = new QWidget(page->GroupBox4);
    auto* grid = new QGridLayout(m_rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);

    Label37 = MakeLabel(m_rows, "Label37", QStringLiteral("Réce&nts :"));
    ListBox4 = Named(new QListWidget(m_rows), "ListBox4");
    ListBox4->setAccessibleName(QStringLiteral("Aliments récents"));
    // Names side by side on two lines, the most frequent first: the page has no room for
    // another column of names.
    ListBox4->setFlow(QListView::LeftToRight);
    ListBox4->setWrapping(true);
    ListBox4->setResizeMode(QListView::Adjust);
    ListBox4->setSpacing(1);
    ListBox4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Label37->setBuddy(ListBox4);
    SpeedButton22 = MakeTextButton(m_rows, "SpeedButton22", QStringLiteral("Copier la &veille"));
    SpeedButton22->setToolTip(QStringLiteral("Ajouter à ce jour les aliments notés la veille"));
    grid->addWidget(Label37, 0, 0);
    grid->addWidget(ListBox4, 0, 1);
    grid->addWidget(SpeedButton22, 0, 2);

    Label36 = MakeLabel(m_rows, "Label36", QStringLiteral("&Rechercher :"));
    Edit6 = Named(new QLineEdit(m_rows), "Edit6");
    Edit6->setAccessibleName(QStringLiteral("Rechercher un aliment"));
    Edit6->setPlaceholderText(QStringLiteral("une partie du nom, accents ou non"));
    Edit6->setMaxLength(LongestSearch);
    Label36->setBuddy(Edit6);
    grid->addWidget(Label36, 1, 0);
    grid->addWidget(Edit6, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    available->insertWidget(0, m_rows);

    GroupBox8 = Named(new QGroupBox(QStringLiteral(" Résu&ltats "), page->GroupBox4), "GroupBox8");
    auto* resultsLayout = new QVBoxLayout(GroupBox8);
    resultsLayout->setContentsMargins(3, 3, 3, 3);
    ListBox3 = Named(new QListView(GroupBox8), "ListBox3");
    m_found = new FoundFoods(this);
    ListBox3->setModel(m_found);
    ListBox3->setUniformItemSizes(true);
    ListBox3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox3->setAccessibleName(QStringLiteral("Résultats de la recherche"));
    resultsLayout->addWidget(ListBox3);
    GroupBox8->hide();
    lists->insertWidget(lists->indexOf(page->GroupBox6) + 1, GroupBox8, 1);

    // The flow of a search at the keyboard: the words, the results, then the quantity and
    // "Ajouter". The recent foods and the day before come after the page's buttons, reached
    // at once by their keys; the rest of the page keeps its order.
    QWidget::setTabOrder(page->SpeedButton10, Edit6);
    QWidget::setTabOrder(Edit6, ListBox3);
    QWidget::setTabOrder(page->SpeedButton12, ListBox4);
    QWidget::setTabOrder(ListBox4, SpeedButton22);

    connect(Edit6, &QLineEdit::textChanged, this, Guard([this] { Edit6Change(); }));
    connect(ListBox3, &QListView::clicked, this, Guard([this] { ListBox3Pick(); }));
    connect(ListBox4, &QListWidget::itemClicked, this, Guard([this] { ListBox4Pick(); }));
    connect(SpeedButton22, &QToolButton::clicked, this, Guard([this] { SpeedButton22Click(); }));
    for (QObject* watched : std::initializer_list<QObject*>{Edit6, ListBox3, ListBox4, page->Edit4})
        watched->installEventFilter(this);
    page->GroupBox4->installEventFilter(this);
    keepListsHeight();
}

void QuickEntry::keepListsHeight() {
    // Two whole lines of the recent foods, each name with its spacing above and below.
    const int line =
        std::max(ListBox4->fontMetrics().height(), ListBox4->sizeHintForRow(0)) + 2 * ListBox4->spacing();
    ListBox4->setFixedHeight(2 * line + ListBox4->spacing() + 2 * ListBox4->frameWidth());
    auto* layout = static_cast<QBoxLayout*>(m_page->GroupBox4->layout());
    const int height = m_listsAreaHeight + m_rows->sizeHint().height() + std::max(0, layout->spacing());
    if (m_page->GroupBox4->maximumHeight() != height)
        m_page->GroupBox4->setFixedHeight(height);
}

bool QuickEntry::eventFilter(QObject* watched, QEvent* event) {
    // While the page is destroyed its controls still send events (a layout to do, a child
    // removed): the page is no longer a calorie page then, nor are its controls to be touched.
    if (!qobject_cast<CaloriePage*>(parent()))
        return false;
    if (watched == m_page->GroupBox4) {
        // The rows' height follows the font, which the page takes from its window.
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange)
            keepListsHeight();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Edit6) {
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // The arrows move in the results while the words are being typed.
            if (GroupBox8->isHidden())
                return false;
            QCoreApplication::sendEvent(ListBox3, event);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!GroupBox8->isHidden())
                RunGuarded([this] { ListBox3Pick(); });
            return true;
        case Qt::Key_Escape:
            if (Edit6->text().isEmpty())
                return false;
            Edit6->clear();
            return true;
        default:
            return false;
        }
    }
    if (watched == ListBox3 && key->key() == Qt::Key_Escape) {
        Edit6->setFocus(Qt::OtherFocusReason);
        Edit6->clear();
        return true;
    }
    if (!isReturn(key) || key->isAutoRepeat())
        return false;
    if (watched == ListBox3)
        RunGuarded([this] { ListBox3Pick(); });
    else if (watched == ListBox4)
        RunGuarded([this] { ListBox4Pick(); });
    else if (watched == m_page->Edit4)
        m_page->SpeedButton9->click(); // "Ajouter", with its own error boundary
    return watched == ListBox3 || watched == ListBox4 || watched == m_page->Edit4;
}

void QuickEntry::DatabaseChanged() {
    m_catalogue = FoodCatalogue(m_page->FoodDatabase.Document());
    if (!Edit6->text().isEmpty())
        Edit6Change();
    ShowRecentFoods();
}

void QuickEntry::ShowRecentFoods() {
    ListBox4->clear();
    m_recent.clear();
    if (!m_page->FoodLog())
        return;
    // Recent as people mean it: up to today, or up to the day shown when meals are planned ahead.
    const QDate lastDay = std::max(QDate::currentDate(), DateOfDayKey(m_page->Day()));
    m_recent = RecentFoods(m_page->FoodLog()->Document(), m_catalogue, lastDay);
    for (const FoodInCategory& food : std::as_const(m_recent)) {
        auto* item = new QListWidgetItem(food.food, ListBox4);
        item->setToolTip(food.food + QStringLiteral(" (") + food.category + QLatin1Char(')'));
    }
}

void QuickEntry::Edit6Change() {
    if (SearchWords(Edit6->text()).isEmpty()) {
        showCategoryView();
        return;
    }
    m_results = m_catalogue.Search(Edit6->text());
    m_found->Show(&m_results);
    if (!m_results.isEmpty())
        ListBox3->setCurrentIndex(m_found->index(0)); // the best match, taken by Return
    if (GroupBox8->isHidden()) {
        m_page->GroupBox5->hide();
        m_page->GroupBox6->hide();
        GroupBox8->show();
    }
}

void QuickEntry::showCategoryView() {
    if (GroupBox8->isHidden())
        return;
    if (ListBox3->hasFocus())
        Edit6->setFocus(Qt::OtherFocusReason);
    GroupBox8->hide();
    m_found->Show(nullptr);
    m_results.clear();
    m_page->GroupBox5->show();
    m_page->GroupBox6->show();
}

void QuickEntry::ListBox3Pick() {
    const int row = ListBox3->currentIndex().row();
    if (row >= 0 && row < m_results.size())
        choose(m_results.at(row));
}

void QuickEntry::ListBox4Pick() {
    const int row = ListBox4->currentRow();
    if (row >= 0 && row < m_recent.size())
        choose(m_recent.at(row));
}

void QuickEntry::choose(const FoodInCategory& chosen) {
    const QString& food = chosen.food;
    const QString& category = chosen.category;
    const QList<QListWidgetItem*> categories = m_page->ListBox1->findItems(category, Qt::MatchExactly);
    if (categories.isEmpty())
        return;
    // As a click in each list: the category's foods listed, then the food's values shown and
    // the quantity set to 1.
    m_page->ListBox1->setCurrentItem(categories.constFirst());
    m_page->ListBox1->scrollToItem(categories.constFirst());
    m_page->ShowCategoryFoods();
    const QList<QListWidgetItem*> foods = m_page->ListBox2->findItems(food, Qt::MatchExactly);
    if (foods.isEmpty())
        return;
    m_page->ListBox2->setCurrentItem(foods.constFirst());
    m_page->ListBox2->scrollToItem(foods.constFirst());
    m_page->Edit4->setFocus(Qt::OtherFocusReason);
    m_page->Edit4->selectAll();
}

void QuickEntry::SpeedButton22Click() {
    ProfileFile* log = m_page->FoodLog();
    if (!log)
        return;
    const DayBeforeEntries before = EntriesOfDayBefore(log->Document(), m_catalogue, m_page->Day());
    if (!before.date.isValid())
        return;
    const QString date = before.date.toString(QStringLiteral("dd/MM/yyyy"));
    const qsizetype gone = before.notInDatabase.size();
    if (before.entries.isEmpty()) {
        ShowPlainMessage(
            gone == 0 ? QStringLiteral("Aucun aliment n'a été noté la veille (%1) : il n'y a rien à copier.")
                            .arg(date)
                      : QStringLiteral("Les aliments notés la veille (%1) ne sont plus dans la base des "
                                       "aliments : il n'y a rien à copier.")
                            .arg(date));
        return;
    }
    const qsizetype count = before.entries.size();
    QString question = count == 1
                           ? QStringLiteral("Copier dans ce jour l'aliment noté la veille (%1) ?").arg(date)
                           : QStringLiteral("Copier dans ce jour les %1 aliments notés la veille (%2) ?")
                                 .arg(count)
                                 .arg(date);
    qsizetype already = 0;
    for (const FoodQuantity& entry : before.entries)
        already += log->Document().ValueExists(m_page->Day(), entry.food) ? 1 : 0;
    if (already == count)
        question += count == 1 ? QStringLiteral("\nIl est déjà noté ce jour : sa quantité augmentera.")
                               : QStringLiteral("\nTous sont déjà notés ce jour : leur quantité augmentera.");
    else if (already > 0)
        question += already == 1
                        ? QStringLiteral("\nL'un d'eux est déjà noté ce jour : sa quantité augmentera.")
                        : QStringLiteral("\n%1 d'entre eux sont déjà notés ce jour : leur quantité "
                                         "augmentera.")
                              .arg(already);
    if (gone > 0)
        question +=
            (gone == 1 ? QStringLiteral("\n%1 n'est plus dans la base des aliments : il ne sera pas copié.")
                       : QStringLiteral("\n%1 ne sont plus dans la base des aliments : ils ne seront pas "
                                        "copiés."))
                .arg(quoted(before.notInDatabase));
    if (AskConfirmation(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    AddFoodsToDay(*log, m_page->Day(), before.entries);
    m_page->ShowDayFoods();
}
