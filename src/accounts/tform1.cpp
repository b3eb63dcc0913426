#include "tform1.h"

#include "accounts/accountdeletion.h"
#include "accounts/accountfiles.h"
#include "app/windowset.h"
#include "calories/defaultfooddatabase.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "summary/backups.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/linklabel.h"
#include "ui/pictures.h"
#include "ui/windowframe.h"
#include "weight/tform2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QToolButton>

namespace {
// The password box shows a star for every character, whatever the desktop style would use.
class StarPasswordStyle final : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kalimo - Identification"));
    setFixedSize(341, 128);

    Image1 = Named(new QLabel(this), "Image1");
    Image1->setGeometry(0, 0, 340, 128);
    Image1->setScaledContents(true);
    Image1->setPixmap(Picture(PictureKind::LoginBackground));

    Label1 = Named(new QLabel(QStringLiteral("Bienvenue sur Kalimo"), this), "Label1");
    Label1->setGeometry(0, 0, 341, 30);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(ComicFontOf(18, true));

    Label5 = Named(new QLabel(QStringLiteral("version 0.1"), this), "Label5");
    Label5->setGeometry(218, 100, 117, 24); // clear of the help and about glyphs
    Label5->setFont(ComicFontOf(14, true));
    Label5->setStyleSheet(QStringLiteral("color: #B95C00;")); // 23737 as 0x00BBGGRR

    Label2 = Named(new QLabel(QStringLiteral("Compte :"), this), "Label2");
    Label2->setGeometry(10, 38, 110, 22);
    Label2->setFont(ComicFontOf(10, true));

    ComboBox1 = Named(new QComboBox(this), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The account name is the text as typed: "paul" names paul's files and caption even when
    // "Paul" is listed. Qt's completer matches without regard to case and, on leaving the box,
    // would put the listed name in place of the typed one.
    ComboBox1->completer()->setCaseSensitivity(Qt::CaseSensitive);
    ComboBox1->setGeometry(125, 36, 145, 24);
    ComboBox1->setFont(ComicFontOf(10, true));

    Label3 = Named(new QLabel(QStringLiteral("Mot de passe :"), this), "Label3");
    Label3->setGeometry(10, 68, 115, 22);
    Label3->setFont(ComicFontOf(10, true));

    Edit2 = Named(new QLineEdit(this), "Edit2");
    Edit2->setEchoMode(QLineEdit::Password);
    auto* starStyle = new StarPasswordStyle;
    starStyle->setParent(Edit2);
    Edit2->setStyle(starStyle);
    Edit2->setGeometry(125, 66, 145, 24);
    Edit2->setFont(ComicFontOf(10, true));

    SpeedButton3 = Named(new QToolButton(this), "SpeedButton3");
    SpeedButton3->setText(QStringLiteral("&OK"));
    SpeedButton3->setAutoRaise(true);
    SpeedButton3->setCursor(Qt::PointingHandCursor);
    SpeedButton3->setGeometry(278, 50, 56, 28);
    SpeedButton3->setFont(ComicFontOf(10, true));

    Label4 = Named(new LinkLabel(QStringLiteral("nouveau compte"), this), "Label4");
    Label4->setGeometry(10, 96, 70, 28);
    Label6 = Named(new LinkLabel(QStringLiteral("détruire compte"), this), "Label6");
    Label6->setGeometry(85, 96, 70, 28);
    for (LinkLabel* link : {Label4, Label6}) {
        link->setAlignment(Qt::AlignCenter);
        link->setWordWrap(true);
        // A link label keeps the link look whatever font it is given.
        QFont f = ComicFontOf(8, false);
        f.setUnderline(true);
        link->setFont(f);
    }

    SpeedButton6 = MakeGlyphButton(this, "SpeedButton6", QStringLiteral("Afficher l'aide"), GlyphKind::Help);
    SpeedButton1 = MakeGlyphButton(this, "SpeedButton1", QStringLiteral("A propos..."), GlyphKind::About);
    SpeedButton6->setFixedSize(24, 24);
    SpeedButton1->setFixedSize(24, 24);
    SpeedButton6->move(160, 98);
    SpeedButton1->move(188, 98);

    // Screen readers name the two boxes by their labels.
    Label2->setBuddy(ComboBox1);
    Label3->setBuddy(Edit2);
    setTabOrder(ComboBox1, Edit2);

    connect(Label4, &LinkLabel::clicked, this, Guard([this] { Label4Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Guard([this] { SpeedButton3Click(); }));
    connect(Edit2, &QLineEdit::returnPressed, this, Guard([this] { Edit2KeyPress(QChar(13)); }));
    connect(Label6, &LinkLabel::clicked, this, Guard([this] { Label6Click(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guard([this] { SpeedButton1Click(); }));
    connect(SpeedButton6, &QToolButton::clicked, this, Guard([this] { SpeedButton6Click(); }));

    UseFixedFrame(this);
    CentreOnFirstShow(this);

    FormCreate();
}

void TForm1::FormCreate() {
    // Each step on its own: a failure is reported and start-up goes on with the next one.
    RunGuarded([] {
        if (CreateDefaultFoodDatabase() == DefaultDatabaseOutcome::Created)
            ShowPlainMessage(QStringLiteral("Création de la Base de Données d'aliments effectuée!"));
    });
    RunGuarded([] { UnscrambleAccountsFile(); });
    RunGuarded([this] { FinishInterruptedDeletion(Accounts); });
    Label5->setText(VersionText);
    FillAccountList();
}

void TForm1::FillAccountList() {
    ComboBox1->clear();
    ComboBox1->addItems(Accounts.AccountNames());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
}

void TForm1::Label4Click() {
    const QString account = ComboBox1->currentText();
    const QString password = Edit2->text();
    if (account.isEmpty() || password.isEmpty()) {
        ShowPlainMessage(QStringLiteral("Veuillez remplir les champs avant de créer un nouveau compte !!!"));
        return;
    }
    RequireReadableAccountsFile();
    // The reason is said, as at login: a blank at the end of a name cannot be seen.
    if (const QString problem = AccountsStore::NameProblem(account); !problem.isEmpty()) {
        ShowErrorMessage(QStringLiteral("Ce nom de compte est INTERDIT : %1.").arg(problem),
                         QMessageBox::Yes);
        return;
    }
    // Refused before the account is announced as created; the message names the field, never
    // the password.
    if (const QString problem = AccountsStore::PasswordProblem(password); !problem.isEmpty()) {
        ShowPlainMessage(problem);
        return;
    }
    const QString stored = Accounts.Password(account, QString());
    if (stored != password && Accounts.Exists(account)) {
        ShowPlainMessage(
            QStringLiteral("Désolé, ce compte est déjà existant, vous ne pouvez en créer un nouveau !!!\n"
                           "Pour remettre à 0 ce compte, il vous faut le mot de passe!"));
        return;
    }
    AskConfirmation(
        QStringLiteral("Le compte %1 a été créé, vous pouvez maintenant l'utiliser !").arg(account),
        QMessageBox::Yes);
    Accounts.SetPassword(account, password);
    OpenAccount(account);
}

void TForm1::RequireReadableAccountsFile() {
    // Written from the empty text an unreadable file reads as, it would lose every other account.
    if (const QString unreadable = UnreadableAccountsFile(); !unreadable.isEmpty())
        throw KalimoError(
            QStringLiteral("Impossible de lire le fichier %1 : aucun compte ne peut être ouvert, "
                           "créé ni supprimé tant qu'il ne peut pas être lu.")
                .arg(unreadable));
    // A copy that could not be restored at start-up and can be read now is restored first, and
    // a deletion stopped half-way is finished: no account of that name may see its files.
    const bool restored = DataFileExists(QStringLiteral("compte.ini.cry"));
    if (restored)
        UnscrambleAccountsFile();
    if (!FinishInterruptedDeletion(Accounts).isEmpty() || restored) {
        const QString typed = ComboBox1->currentText();
        FillAccountList();
        ComboBox1->setEditText(typed);
    }
}

void TForm1::OpenAccount(const QString& account) {
    // Checked before the window hides: a refusal leaves the person at the login window.
    AccountsStore::CheckAccountName(account);
    // Opened empty, the account would start its journal again and write it over the copy at close.
    if (const QString unreadable = FirstUnreadableAccountFile(account); !unreadable.isEmpty())
        throw KalimoError(
            QStringLiteral("Impossible de lire le fichier %1 : le compte %2 ne peut pas être ouvert.")
                .arg(unreadable, account));
    // Restored before the account is shown: when that fails (a full disk), the account stays
    // closed rather than opening on an empty journal, and the next attempt restores it.
    // A restore that a crash stopped half-way is finished before the journal is read.
    FinishInterruptedRestore();
    UnscrambleAccountFiles(account);
    CreateRemainingWindows();
    m_openedAccount = account;
    hide();
    Form2->PrepareForAccount(account);
    Form2->show();
}

void TForm1::SpeedButton3Click() {
    const QString account = ComboBox1->currentText();
    const QString password = Edit2->text();
    if (account.isEmpty() || password.isEmpty())
        return;
    RequireReadableAccountsFile();
    if (!Accounts.Exists(account)) {
        ShowErrorMessage(QStringLiteral("Désolé, ce compte n'existe pas !"), QMessageBox::Yes);
        return;
    }
    // The accounts file may come from anywhere: a name that creation would have refused never
    // names a file.
    if (const QString problem = AccountsStore::NameProblem(account); !problem.isEmpty()) {
        ShowErrorMessage(
            QStringLiteral("Ce nom de compte est INTERDIT : %1.\nCe compte ne peut pas être ouvert.")
                .arg(problem),
            QMessageBox::Yes);
        return;
    }
    if (Accounts.Password(account, AccountsStore::MissingPassword) != password) {
        ShowErrorMessage(
            QStringLiteral("Désolé, ce n'est pas le bon mot de passe pour accéder à ce compte !"),
            QMessageBox::Yes);
        return;
    }
    OpenAccount(account);
}

void TForm1::Edit2KeyPress(QChar key) {
    if (key == QChar(13))
        SpeedButton3Click();
}

void TForm1::Label6Click() {
    const QString account = ComboBox1->currentText();
    const QString password = Edit2->text();
    if (account.isEmpty() || password.isEmpty())
        return;
    RequireReadableAccountsFile();
    if (Accounts.Password(account, AccountsStore::MissingPassword) != password)
        return;
    // The journals go with the account: a new account of the same name must not find them. An
    // account whose name is refused for its files is only taken off the list.
    if (AskConfirmation(
            QStringLiteral("Supprimer le compte %1 ? Son journal des poids, son journal des calories "
                           "et ses sauvegardes seront effacés.")
                .arg(account),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        DeleteAccount(Accounts, account);
    } catch (const KalimoError&) {
        FillAccountList(); // the account is off the list whether or not its files are gone yet
        throw;
    }
    ComboBox1->clear();
    ComboBox1->setEditText(QString());
    Edit2->clear();
    FillAccountList();
}

void TForm1::SpeedButton1Click() {
    CreateRemainingWindows();
    setEnabled(false);
    ShowOver(Form3, this);
}

void TForm1::SpeedButton6Click() {
    CreateRemainingWindows();
    Bring(Form4);
}

void TForm1::FormClose() {
    ScrambleAccountsFile();
}

void TForm1::BackUpAtClose() {
    if (m_openedAccount.isEmpty())
        return;
    const QDate today = QDate::currentDate();
    // Old backups are removed at every close, whether one was made today or not: what a kill
    // left of a removal is finished then too.
    BackupAtClose(m_openedAccount, today);
    RemoveOldBackups(m_openedAccount, today);
}

void TForm1::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); });
    RunGuarded([this] { BackUpAtClose(); });
    event->accept();
    Q_EMIT closed();
}
