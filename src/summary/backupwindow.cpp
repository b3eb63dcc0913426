#include "backupwindow.h"

#include "app/windowset.h"
#include "store/numbers.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/windowframe.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString shortDate(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}
} // namespace

BackupWindow::BackupWindow(QWidget* mainWindow) : m_mainWindow(mainWindow) {
    // A window of its own rather than a child of the main window: it must stay enabled while the
    // main window waits, and goes with it.
    connect(mainWindow, &QObject::destroyed, [self = this] { delete self; });
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Sauvegardes"));
    setFont(QFont(QString::fromLatin1(ComicFont), 8));
    UseToolFrame(this);
    resize(470, 300);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    Label35 = MakeLabel(this, "Label35", QString());
    Label35->setWordWrap(true);
    page->addWidget(Label35);
    ListView2 = Named(new QTreeWidget(this), "ListView2");
    ListView2->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Jours pesés"),
                                QStringLiteral("Dernier poids"), QStringLiteral("Pesé le"),
                                QStringLiteral("Jours avec repas")});
    ListView2->setRootIsDecorated(false);
    ListView2->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView2->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView2->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListView2->setAccessibleName(QStringLiteral("Sauvegardes"));
    Label35->setBuddy(ListView2);
    page->addWidget(ListView2, 1);
    auto* buttons = new QHBoxLayout;
    SpeedButton20 = MakeTextButton(this, "SpeedButton20", QStringLiteral("&Restaurer"));
    SpeedButton20->setToolTip(QStringLiteral("Remettre le journal dans l'état de la sauvegarde choisie"));
    SpeedButton21 = MakeTextButton(this, "SpeedButton21", QStringLiteral("&Fermer"));
    for (QToolButton* button : {SpeedButton20, SpeedButton21}) {
        button->setFocusPolicy(Qt::StrongFocus);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    page->addLayout(buttons);

    connect(SpeedButton20, &QToolButton::clicked, this, Guard([this] { SpeedButton20Click(); }));
    connect(ListView2, &QTreeWidget::itemActivated, this, Guard([this] { SpeedButton20Click(); }));
    connect(SpeedButton21, &QToolButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    CentreOnFirstShow(this);
}

void BackupWindow::Open() {
    FillList();
    m_mainWindow->setEnabled(false);
    ShowOver(this, m_mainWindow);
    ListView2->setFocus();
}

void BackupWindow::FillList() {
    const QString account = CurrentAccountName();
    m_backups = ListBackups(account);
    Label35->setText(
        QStringLiteral(
            "&Sauvegardes du compte %1, les plus récentes d'abord. Kalimo les range dans le dossier "
            "« %2 » de ses données, à la fermeture, une fois par jour au plus.")
            .arg(account, BackupsFolder));
    ListView2->clear();
    for (const BackupInfo& backup : m_backups) {
        QStringList cells{shortDate(backup.date)};
        if (!backup.readable)
            cells << QStringLiteral("illisible");
        else
            cells << QString::number(backup.weighedDays)
                  << (backup.lastWeight ? FormatDecimal(*backup.lastWeight, 2) : QString())
                  << (backup.lastWeight ? shortDate(backup.lastWeightDate) : QString())
                  << QString::number(backup.mealDays);
        auto* item = new QTreeWidgetItem(ListView2, cells);
        if (!backup.readable)
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    }
    SpeedButton20->setEnabled(!m_backups.isEmpty());
}

void BackupWindow::SpeedButton20Click() {
    QTreeWidgetItem* item = ListView2->currentItem();
    const int row = item && item->isSelected() ? ListView2->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= m_backups.size()) {
        ShowPlainMessage(QStringLiteral("Choisissez d'abord une sauvegarde dans la liste."));
        return;
    }
    const BackupInfo backup = m_backups.at(row);
    if (!backup.readable) {
        ShowPlainMessage(
            QStringLiteral("La sauvegarde du %1 est illisible : elle ne peut pas être restaurée.")
                .arg(shortDate(backup.date)));
        return;
    }
    const QString account = CurrentAccountName();
    const QString question =
        QStringLiteral(
            "Restaurer la sauvegarde du %1 ?\n\nLe fichier des poids et le journal des repas du compte "
            "%2 seront remplacés par ceux de cette sauvegarde (jours pesés : %3, jours avec repas : %4).\n"
            "Leur état présent sera d'abord sauvegardé à la date d'aujourd'hui.")
            .arg(shortDate(backup.date), account)
            .arg(backup.weighedDays)
            .arg(backup.mealDays);
    if (AskConfirmation(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The pages follow whatever became of the files, a failure half-way included.
    const auto reload = [this] {
        // Back to this window once the box has gone, whatever had the focus before.
        activateWindow();
        ListView2->setFocus();
        RunGuarded([this] { FillList(); });
        Q_EMIT restored();
    };
    try {
        RestoreBackup(account, backup.date, QDate::currentDate());
    } catch (...) {
        reload();
        throw;
    }
    reload();
}

void BackupWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    m_mainWindow->setEnabled(true);
}
