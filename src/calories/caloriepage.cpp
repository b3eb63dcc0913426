#include "caloriepage.h"

#include "app/windowset.h"
#include "calories/fooddatabase.h"
#include "calories/foodlog.h"
#include "calories/quickentry.h"
#include "calories/tform6.h"
#include "store/numbers.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/windowframe.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The day's list is a grid: every cell drawn with a thin line at its right and bottom edges.
class GridLinesDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

// The totals of the day on one line while they fit, on two when the numbers grow too long for
// one: a total is never cut, nor drawn over the next caption.
class TotalsArrangement final : public QObject {
  public:
    TotalsArrangement(QGroupBox* box, QGridLayout* grid, QList<QLabel*> labels, QWidget* button)
        : QObject(box), m_box(box), m_grid(grid), m_labels(std::move(labels)), m_button(button) {
        arrange(false);
        box->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A total's new text asks its group box for a new layout.
        if (watched == m_box && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize)) {
            const bool twoLines = oneLineWidth() > m_box->contentsRect().width();
            if (twoLines != m_twoLines)
                arrange(twoLines);
        }
        return false;
    }

  private:
    int oneLineWidth() const {
        int width = m_button->sizeHint().width();
        for (const QLabel* label : m_labels)
            width += std::max(label->sizeHint().width(), label->minimumWidth());
        const QMargins margins = m_grid->contentsMargins();
        return width + margins.left() + margins.right() +
               int(m_labels.size()) * std::max(0, m_grid->horizontalSpacing());
    }

    void arrange(bool twoLines) {
        m_twoLines = twoLines;
        for (QWidget* w : m_labels)
            m_grid->removeWidget(w);
        m_grid->removeWidget(m_button);
        const int perLine = twoLines ? 4 : 8;
        for (int k = 0; k < int(m_labels.size()); ++k)
            m_grid->addWidget(m_labels.at(k), k / perLine, k % perLine);
        for (int c = 0; c <= 8; ++c)
            m_grid->setColumnStretch(c, c == perLine ? 1 : 0);
        m_grid->addWidget(m_button, 0, 9, twoLines ? 2 : 1, 1, Qt::AlignVCenter);
    }

    QGroupBox* m_box;
    QGridLayout* m_grid;
    QList<QLabel*> m_labels;
    QWidget* m_button;
    bool m_twoLines = false;
};
} // namespace

CaloriePage::CaloriePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(2, 2, 2, 2);
    page->setSpacing(2);

    GroupBox3 =
        Named(new QGroupBox(QStringLiteral(" Liste des aliments consommés durant la journée : 0 "), this),
              "GroupBox3");
    auto* listLayout = new QVBoxLayout(GroupBox3);
    listLayout->setContentsMargins(4, 4, 4, 4);
    ListView1 = Named(new QTreeWidget(GroupBox3), "ListView1");
    ListView1->setAccessibleName(QStringLiteral("Aliments consommés durant la journée"));
    ListView1->setColumnCount(6);
    ListView1->setHeaderLabels({QStringLiteral("Aliments"), QStringLiteral("Quantités"),
                                QStringLiteral("Calories"), QStringLiteral("Protéines (g)"),
                                QStringLiteral("Glucides (g)"), QStringLiteral("Lipides (g)")});
    const int widths[] = {156, 65, 55, 78, 73, 66};
    for (int c = 0; c < 6; ++c)
        ListView1->setColumnWidth(c, widths[c]);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAlternatingRowColors(true);
    ListView1->setItemDelegate(new GridLinesDelegate(ListView1));
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(false);
    listLayout->addWidget(ListView1);
    page->addWidget(GroupBox3, 1);

    GroupBox7 =
        Named(new QGroupBox(QStringLiteral(" Quantités consommées durant la journée"), this), "GroupBox7");
    auto* totals = new QGridLayout(GroupBox7);
    totals->setContentsMargins(4, 2, 4, 2);
    totals->setVerticalSpacing(1);
    Label17 = MakeLabel(GroupBox7, "Label17", QStringLiteral("Calories :"));
    Label26 = MakeLabel(GroupBox7, "Label26", QStringLiteral("0"));
    Label18 = MakeLabel(GroupBox7, "Label18", QStringLiteral("Protéines (g) :"));
    Label27 = MakeLabel(GroupBox7, "Label27", QStringLiteral("0"));
    Label19 = MakeLabel(GroupBox7, "Label19", QStringLiteral("Glucides (g) :"));
    Label28 = MakeLabel(GroupBox7, "Label28", QStringLiteral("0"));
    Label20 = MakeLabel(GroupBox7, "Label20", QStringLiteral("Lipides (g) :"));
    Label29 = MakeLabel(GroupBox7, "Label29", QStringLiteral("0"));
    for (QLabel* value : {Label26, Label27, Label28, Label29})
        value->setMinimumWidth(40);
    SpeedButton10 = MakeTextButton(GroupBox7, "SpeedButton10", QStringLiteral("&Supprimer"));
    new TotalsArrangement(GroupBox7, totals,
                          {Label17, Label26, Label18, Label27, Label19, Label28, Label20, Label29},
                          SpeedButton10);
    page->addWidget(GroupBox7);
    buildTargetLine(page);

    GroupBox4 = Named(new QGroupBox(QStringLiteral(" Liste des aliments disponibles "), this), "GroupBox4");
    GroupBox4->setFixedHeight(197);
    auto* available = new QVBoxLayout(GroupBox4);
    available->setContentsMargins(4, 2, 4, 4);
    auto* choose = new QHBoxLayout;
    available->addLayout(choose, 1);
    GroupBox5 = Named(new QGroupBox(QStringLiteral(" Catégories "), GroupBox4), "GroupBox5");
    ListBox1 = MakeListIn(GroupBox5, "ListBox1");
    ListBox1->setAccessibleName(QStringLiteral("Catégories"));
    GroupBox5->setFixedWidth(120);
    choose->addWidget(GroupBox5);
    GroupBox6 = Named(new QGroupBox(QStringLiteral(" Aliments "), GroupBox4), "GroupBox6");
    ListBox2 = MakeListIn(GroupBox6, "ListBox2");
    ListBox2->setAccessibleName(QStringLiteral("Aliments"));
    choose->addWidget(GroupBox6, 1);

    auto* values = new QWidget(GroupBox4);
    values->setFixedWidth(190);
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(2, 0, 0, 0);
    grid->setVerticalSpacing(1);
    Label11 = MakeLabel(values, "Label11", QStringLiteral("Nom :"));
    Label21 = MakeLabel(values, "Label21", QStringLiteral("Aucun"));
    Label21->setWordWrap(true);
    Label12 = MakeLabel(values, "Label12", QStringLiteral("Calories :"));
    Label22 = MakeLabel(values, "Label22", QStringLiteral("0"));
    Label13 = MakeLabel(values, "Label13", QStringLiteral("Protéines (g) :"));
    Label23 = MakeLabel(values, "Label23", QStringLiteral("0"));
    Label14 = MakeLabel(values, "Label14", QStringLiteral("Glucides (g) :"));
    Label24 = MakeLabel(values, "Label24", QStringLiteral("0"));
    Label15 = MakeLabel(values, "Label15", QStringLiteral("Lipides (g) :"));
    Label25 = MakeLabel(values, "Label25", QStringLiteral("0"));
    Label16 = MakeLabel(values, "Label16", QStringLiteral("Quantité (g) :"));
    Edit4 = Named(new QLineEdit(values), "Edit4");
    Label16->setBuddy(Edit4);
    SetTextRule(Edit4, [](QString& text) { return TakesQuantityText(text); });
    const std::pair<QWidget*, QWidget*> rows[] = {{Label11, Label21}, {Label12, Label22}, {Label13, Label23},
                                                  {Label14, Label24}, {Label15, Label25}, {Label16, Edit4}};
    int r = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(caption, r, 0);
        grid->addWidget(value, r, 1);
        ++r;
    }
    auto* buttons = new QHBoxLayout;
    SpeedButton9 = MakeTextButton(values, "SpeedButton9", QStringLiteral("&Ajouter"));
    SpeedButton11 = MakeTextButton(values, "SpeedButton11", QStringLiteral("&Configurer"));
    SpeedButton12 =
        MakeGlyphButton(values, "SpeedButton12", QStringLiteral("Afficher l'aide"), GlyphKind::Help);
    buttons->addWidget(SpeedButton9);
    buttons->addWidget(SpeedButton11);
    buttons->addWidget(SpeedButton12);
    grid->addLayout(buttons, r, 0, 1, 2);
    choose->addWidget(values);
    page->addWidget(GroupBox4);

    connect(SpeedButton10, &QToolButton::clicked, this, Guard([this] { RemoveFoodFromDay(); }));
    connect(SpeedButton9, &QToolButton::clicked, this, Guard([this] { AddFoodToDay(); }));
    connect(SpeedButton11, &QToolButton::clicked, this, Guard([this] { OpenFoodEditor(); }));
    OnChoice(ListBox1, Guard([this] { ShowCategoryFoods(); }));
    OnChoice(ListBox2, Guard([this] { ShowFoodValues(); }));
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunGuarded([&] { ListView1ColumnClick(column); }); });

    Quick = new QuickEntry(this, available, choose);
}

void CaloriePage::ShowDay(ProfileFile& foodLog, const QString& day) {
    m_foodLog = &foodLog;
    m_day = day;
    // The recent foods follow the day that additions go to, even before its list is shown.
    Quick->ShowRecentFoods();
}

void CaloriePage::ShowDayFoods() {
    const DayFoods day = ReadDayFoods(m_foodLog->Document(), FoodDatabase.Document(), m_day);
    ListView1->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(day.rows.size());
    for (const DayFoodRow& row : day.rows)
        items << new QTreeWidgetItem(
            QStringList{row.name, row.quantity, row.calories, row.proteins, row.glucides, row.lipides});
    ListView1->addTopLevelItems(items);
    // How many foods the day lists, where a fixed 0 said none whatever the list held.
    GroupBox3->setTitle(
        QStringLiteral(" Liste des aliments consommés durant la journée : %1 ").arg(day.rows.size()));
    Label26->setText(day.calories);
    Label27->setText(day.proteins);
    Label28->setText(day.glucides);
    Label29->setText(day.lipides);
    m_shownDay = m_day;
    ShowDayTarget();
    Quick->ShowRecentFoods();
}

void CaloriePage::LoadCategoryList() {
    QStringList names = CategoryNames(FoodDatabase.Document());
    SortForDisplay(names);
    ListBox1->clear();
    ListBox1->addItems(names);
    ListBox1->setCurrentRow(-1);
    Quick->DatabaseChanged();
}

void CaloriePage::ShowCategoryFoods() {
    ListBox2->clear();
    if (const QListWidgetItem* category = ChosenItem(ListBox1))
        ListBox2->addItems(CategoryFoods(FoodDatabase.Document(), category->text()));
}

void CaloriePage::ShowFoodValues() {
    const QListWidgetItem* food = ChosenItem(ListBox2);
    if (!food)
        return;
    const ProfileDocument& db = FoodDatabase.Document();
    const QString name = food->text();
    Label21->setText(FoodValueText(db, name, QStringLiteral("a")));
    Label22->setText(FoodValueText(db, name, QStringLiteral("c")));
    Label23->setText(FoodValueText(db, name, QStringLiteral("p")));
    Label24->setText(FoodValueText(db, name, QStringLiteral("g")));
    Label25->setText(FoodValueText(db, name, QStringLiteral("l")));
    Edit4->setText(QStringLiteral("1"));
}

void CaloriePage::AddFoodToDay() {
    const QListWidgetItem* food = ChosenItem(ListBox2);
    if (!ChosenItem(ListBox1) || !food) {
        ShowPlainMessage(QStringLiteral("Veuillez saisir une catégorie et un aliment"));
        return;
    }
    if (Edit4->text().isEmpty()) {
        ShowPlainMessage(QStringLiteral("Veuillez saisir une quantité !!!"));
        return;
    }
    changeMealsOfDay([&] { ::AddFoodToDay(*m_foodLog, m_day, food->text(), Edit4->text()); });
    ShowDayFoods();
}

void CaloriePage::RemoveFoodFromDay() {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    // Only a plain "yes" removes: closing the question counts as "no".
    if (AskConfirmation(QStringLiteral("Voulez-vous vraiment supprimer la sélection ?"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    changeMealsOfDay([&] { ::RemoveFoodFromDay(*m_foodLog, m_day, selected.constFirst()->text(0)); });
    ShowDayFoods();
}

void CaloriePage::OpenFoodEditor() {
    window()->setEnabled(false);
    ShowOver(Form6, window());
}

void CaloriePage::FoodEditorClosed() {
    LoadCategoryList();
    window()->setEnabled(true);
    ListBox2->clear();
}

void CaloriePage::ListView1ColumnClick(int column) {
    m_sortColumn = column;
    m_sortAscending = !m_sortAscending;
    QList<QTreeWidgetItem*> rows;
    while (ListView1->topLevelItemCount() > 0)
        rows << ListView1->takeTopLevelItem(0);
    std::stable_sort(rows.begin(), rows.end(), [this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        const int order = CompareForDisplay(a->text(m_sortColumn), b->text(m_sortColumn));
        return m_sortAscending ? order < 0 : order > 0;
    });
    ListView1->addTopLevelItems(rows);
}

// --- The target of the day ---

void CaloriePage::buildTargetLine(QVBoxLayout* page) {
    // Right under the totals, on lines of their own: the totals' box arranges its numbers on one
    // or two lines by their widths alone.
    auto* row = new QWidget(this);
    auto* lines = new QVBoxLayout(row);
    lines->setContentsMargins(6, 0, 6, 0);
    lines->setSpacing(0);
    Label40 = MakeLabel(row, "Label40", QString());
    Label41 = MakeLabel(row, "Label41", QString());
    for (QLabel* label : {Label40, Label41}) {
        label->setWordWrap(true);
        lines->addWidget(label);
    }
    Label41->hide();
    page->insertWidget(page->indexOf(GroupBox7) + 1, row);
}

void CaloriePage::ShowWeights(ProfileFile& weights, const QString& account) {
    m_weights = &weights;
    m_account = account;
}

void CaloriePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A weight typed, a goal or a rate set while the page was hidden.
    RunGuarded([this] { ShowDayTarget(); });
}

void CaloriePage::changeMealsOfDay(const std::function<void()>& change) {
    const std::optional<qint64> day = DayOfKey(m_day);
    const quint64 before = m_foodLog->Generation();
    change();
    if (day)
        m_estimates.MealsChanged(*day, before, m_foodLog->Generation());
}

void CaloriePage::ShowDayTarget() {
    // The day whose foods and totals the page shows, which may lag the grid's (a month changed
    // without a move in the grid).
    const std::optional<qint64> day = DayOfKey(m_shownDay);
    if (!m_weights || !m_foodLog || !day) {
        Label40->clear();
        Label41->hide();
        return;
    }
    const EnergySeries& series = m_estimates.For(*m_weights, *m_foodLog, FoodDatabase, *day);
    const ProfileDocument& accounts = AccountsFile().Document();
    const DayTarget target =
        TargetOfDay(series.At(*day), StoredGoalOf(accounts, m_account), StoredRateOf(accounts, m_account));
    Label40->setText(TargetLine(target, ParseDecimal(Label26->text()).value_or(0)));
    Label40->setToolTip(
        target.Known() ? ExpenditureLine(target.energy) + QStringLiteral(" ; rythme ") + RateText(target.rate)
                       : QStringLiteral("L'objectif du jour vient de la dépense estimée "
                                        "d'après vos repas et vos pesées des 28 derniers jours"));
    const QString note = TargetNote(target);
    Label41->setText(note);
    Label41->setVisible(!note.isEmpty());
}
