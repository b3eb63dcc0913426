#include "accounts/accountfiles.h"
#include "accounts/tform1.h"
#include "calories/foodlog.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "store/kalimoerror.h"
#include "store/scramble.h"
#include "summary/backups.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/keyboard.h"
#include "testsupport/windowfixture.h"
#include "ui/linklabel.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"
#include "weight/weightrecords.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {
const QString Created = QStringLiteral("Le compte %1 a été créé, vous pouvez maintenant l'utiliser !");
const QString NoSuchAccount = QStringLiteral("Désolé, ce compte n'existe pas !");
const QString WrongPassword =
    QStringLiteral("Désolé, ce n'est pas le bon mot de passe pour accéder à ce compte !");
const QString Forbidden = QStringLiteral("Ce nom de compte est INTERDIT");

void type(const QString& account, const QString& password) {
    Form1->ComboBox1->setEditText(account);
    Form1->Edit2->setText(password);
}

void clickLink(QWidget* link) {
    QTest::mouseClick(link, Qt::LeftButton);
}

QStringList listed() {
    QStringList items;
    for (int i = 0; i < Form1->ComboBox1->count(); ++i)
        items << Form1->ComboBox1->itemText(i);
    return items;
}
} // namespace

class TestLogin : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void firstStartWritesTheFoodDatabaseOnce();
    void creationNeedsBothFields();
    void forbiddenNames_data();
    void forbiddenNames();
    void creationWritesThePasswordAndOpensTheAccount();
    void creationOverAnExistingAccount();
    void loginChecks();
    void loginIgnoresTheCaseOfTheName();
    void typedNameStaysAsTyped();
    void sectionsWithoutPasswordOrKeys();
    void enterInThePasswordBoxLogsIn();
    void linksAndOkAnswerTheKeyboard_data();
    void linksAndOkAnswerTheKeyboard();
    void deletion();
    void interruptedDeletionIsFinishedAtStart();
    void aboutDisablesTheLoginWindowAndHelpDoesNot();
    void failedWriteDoesNotOpenTheAccount();
    void craftedNamesTouchNothingOutside_data();
    void craftedNamesTouchNothingOutside();
    void passwordsAtCreation_data();
    void passwordsAtCreation();
    void loginKeepsItsComparisonAndShowsNoPassword();
};

void TestLogin::firstStartWritesTheFoodDatabaseOnce() {
    ProgramFixture p;
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Création de la Base de Données d'aliments effectuée!")});
    QCOMPARE(p.dialogs.shown.first().title, QStringLiteral("Kalimo"));
    QVERIFY(QFile::exists(p.dir.file(QStringLiteral("calories.ini"))));
    QCOMPARE(Form1->ComboBox1->count(), 0);
    QCOMPARE(Form1->Label5->text(), QStringLiteral("version 2.0"));
    QCOMPARE(Form1->windowTitle(), QStringLiteral("Kalimo - Identification"));
    p.Stop();
    p.dialogs.clear();
    p.Start();
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestLogin::creationNeedsBothFields() {
    ProgramFixture p;
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QString());
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Veuillez remplir les champs avant de créer un nouveau compte !!!")});
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("compte.ini"))));
}

void TestLogin::forbiddenNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QString reserved = QStringLiteral("il est réservé aux fichiers de Kalimo");
    const QString separator = QStringLiteral("il contient une barre oblique ou un crochet");
    const QString blank = QStringLiteral("il commence ou finit par un espace");
    QTest::newRow("compte") << QStringLiteral("compte") << reserved;
    QTest::newRow("Compte") << QStringLiteral("Compte") << reserved;
    QTest::newRow("CALORIES") << QStringLiteral("CALORIES") << reserved;
    QTest::newRow("calsuppr") << QStringLiteral("calsuppr") << reserved;
    QTest::newRow("slash") << QStringLiteral("../Paul") << separator;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << separator;
    QTest::newRow("bracket") << QStringLiteral("a]b") << separator;
    QTest::newRow("opening bracket") << QStringLiteral("[x") << separator;
    QTest::newRow("dots") << QStringLiteral("..") << QStringLiteral("il commence par un point");
    QTest::newRow("control") << QStringLiteral("a\tb")
                             << QStringLiteral("il contient un caractère de contrôle");
    QTest::newRow("leading blank") << QStringLiteral(" Paul") << blank;
    QTest::newRow("trailing blank") << QStringLiteral("Paul ") << blank;
    QTest::newRow("too long") << QString(248, QLatin1Char('p')) << QStringLiteral("il est trop long");
    QTest::newRow("outside the code page")
        << QStringLiteral("Łukasz")
        << QStringLiteral("il contient un caractère que Kalimo ne peut pas enregistrer");
}

void TestLogin::forbiddenNames() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    ProgramFixture p;
    p.dialogs.clear();
    type(name, QStringLiteral("pw"));
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown[0].text, QStringLiteral("%1 : %2.").arg(Forbidden, reason));
    QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Erreur"));
    QCOMPARE(p.dialogs.shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("calories.ini")});
    QVERIFY(Form1->isVisible() || !Form2->isVisible());
}

void TestLogin::creationWritesThePasswordAndOpensTheAccount() {
    ProgramFixture p;
    Form1->show();
    p.dialogs.clear();
    type(QString(240, QLatin1Char('a')), QStringLiteral("pw")); // the longest name allowed
    Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.texts(), QStringList{Created.arg(QStringLiteral("Paul"))});
    QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Confirmation"));
    // The main window's first month load adds the details setting.
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("compte.ini"))),
             QByteArray("[Paul]\r\npassword=pw\r\ndetails=0\r\n"));
    QVERIFY(!Form1->isVisible());
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - Paul"));
}

void TestLogin::creationOverAnExistingAccount() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\ntrace=255\r\n");
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("autre"));
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral(
                 "Désolé, ce compte est déjà existant, vous ne pouvez en créer un nouveau !!!\n"
                 "Pour remettre à 0 ce compte, il vous faut le mot de passe!")});
    QCOMPARE(Form1->Edit2->text(), QStringLiteral("autre"));

    // With the right password the account is "created" again, its settings kept.
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.texts(), QStringList{Created.arg(QStringLiteral("Paul"))});
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("compte.ini"))),
             QByteArray("[Paul]\r\npassword=pw\r\ntrace=255\r\ndetails=0\r\n"));
    QVERIFY(Form2->isVisible());
}

void TestLogin::loginChecks() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    p.dialogs.clear();

    type(QStringLiteral("Paul"), QString());
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QVERIFY(p.dialogs.shown.isEmpty());

    type(QStringLiteral("Marie"), QStringLiteral("pw"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{NoSuchAccount});
    QCOMPARE(p.dialogs.shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes));

    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("PW"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{WrongPassword});
    QVERIFY(!Form2->isVisible());

    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QVERIFY(p.dialogs.shown.isEmpty());
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - Paul"));
}

void TestLogin::loginIgnoresTheCaseOfTheName() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    WriteBytes(p.dir.file(QStringLiteral("Paul.ini.cry")), QByteArray());
    type(QStringLiteral("paul"), QStringLiteral("pw"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - paul"));
    QCOMPARE(CurrentAccountName(), QStringLiteral("paul"));
    // The journal under its own name was restored for the account typed in lower case.
    QVERIFY(QFile::exists(p.dir.file(QStringLiteral("Paul.ini"))));
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.ini.cry"))));
}

// "paul" typed while "Paul" is listed: leaving the box by Tab or by a click keeps "paul".
void TestLogin::typedNameStaysAsTyped() {
    ProgramFixture p(false);
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    p.Start();
    QVERIFY(Activate(Form1));
    Form1->ComboBox1->setFocus();
    TypeKeys(QStringLiteral("paul"));
    PressKey(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Form1->Edit2);
    QCOMPARE(Form1->ComboBox1->currentText(), QStringLiteral("paul"));
    Form1->ComboBox1->setFocus();
    QTest::mouseClick(Form1->Edit2, Qt::LeftButton);
    TypeKeys(QStringLiteral("pw"));
    PressKey(Qt::Key_Return);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - paul"));
}

void TestLogin::sectionsWithoutPasswordOrKeys() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\ntrace=1\r\n[Vide]\r\n");
    Form1->FillAccountList();
    QCOMPARE(listed(), (QStringList{QStringLiteral("Paul"), QStringLiteral("Vide")}));
    p.dialogs.clear();

    type(QStringLiteral("Vide"), QStringLiteral("x"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QCOMPARE(p.dialogs.texts(), QStringList{NoSuchAccount});

    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("x"));
    clickLink(Form1->Label4);
    QVERIFY(p.dialogs.texts().constFirst().startsWith(QStringLiteral("Désolé, ce compte est déjà existant")));

    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("40617395820473916"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QVERIFY(p.dialogs.shown.isEmpty());
    QVERIFY(Form2->isVisible());
}

void TestLogin::enterInThePasswordBoxLogsIn() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    p.dialogs.clear();
    QTest::keyClick(Form1->Edit2, Qt::Key_Return);
    QVERIFY(p.dialogs.shown.isEmpty());
    type(QStringLiteral("Paul"), QStringLiteral("faux"));
    QTest::keyClick(Form1->Edit2, Qt::Key_Return);
    QCOMPARE(p.dialogs.texts(), QStringList{WrongPassword});
    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    QTest::keyClick(Form1->Edit2, Qt::Key_Enter);
    QVERIFY(Form2->isVisible());
}

void TestLogin::linksAndOkAnswerTheKeyboard_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("nouveau compte, Return") << "Label4" << int(Qt::Key_Return);
    QTest::newRow("nouveau compte, Space") << "Label4" << int(Qt::Key_Space);
    QTest::newRow("OK, Return") << "SpeedButton3" << int(Qt::Key_Return);
    QTest::newRow("OK, Enter") << "SpeedButton3" << int(Qt::Key_Enter);
}

// Reached by Tab, each is followed with its keys: a first account needs no mouse.
void TestLogin::linksAndOkAnswerTheKeyboard() {
    QFETCH(QString, control);
    QFETCH(int, key);
    ProgramFixture p;
    Form1->show();
    Form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    const bool creating = control == QLatin1String("Label4");
    if (!creating)
        WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    Form1->ComboBox1->setFocus(Qt::TabFocusReason);
    auto* target = Form1->findChild<QWidget*>(control);
    for (int tabs = 0; tabs < 10 && QApplication::focusWidget() != target; ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(p.dialogs.texts(), creating ? QStringList{Created.arg(QStringLiteral("Paul"))} : QStringList{});
    QVERIFY(Form2->isVisible());
}

// A deleted account takes its journals and backups with it: a new account of the same name,
// whatever its password, starts from nothing. The other accounts keep everything.
void TestLogin::deletion() {
    ProgramFixture p(false);
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")),
               "[Paul]\r\npassword=pw\r\n[Marie]\r\npassword=m\r\n");
    const QStringList paulsFiles = {"Paul.ini",
                                    "paul.cal",
                                    "PAUL.ini.cry",
                                    "Paul.cal.cry",
                                    "sauvegardes/2005-03-01/Paul.ini.cry",
                                    "sauvegardes/2005-03-01/calories.ini",
                                    "sauvegardes/2005-03-02/Paul.cal.cry",
                                    "sauvegardes/.restauration/Paul.ini"};
    const QStringList othersFiles = {"Marie.ini", "sauvegardes/2005-03-02/Marie.ini.cry",
                                     "sauvegardes/2005-03-02/compte.ini.cry", "Paul.ini.bak"};
    for (const QString& name : paulsFiles + othersFiles) {
        QDir(p.dir.path()).mkpath(QFileInfo(p.dir.file(name)).path());
        WriteBytes(p.dir.file(name), "[3/2005]\r\nv1=70\r\n");
    }
    p.Start();
    p.dialogs.clear();

    type(QStringLiteral("Paul"), QStringLiteral("faux"));
    clickLink(Form1->Label6);
    QVERIFY(p.dialogs.shown.isEmpty());

    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    p.dialogs.answers = {QMessageBox::No};
    clickLink(Form1->Label6);
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Supprimer le compte Paul ? Son journal des poids, son "
                                        "journal des calories et ses sauvegardes seront effacés.")});
    QCOMPARE(p.dialogs.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(p.dialogs.shown[0].defaultButton, QMessageBox::No);
    QCOMPARE(listed().size(), 2);
    for (const QString& name : paulsFiles)
        QVERIFY2(QFile::exists(p.dir.file(name)), qPrintable(name));

    p.dialogs.answers = {QMessageBox::Yes};
    clickLink(Form1->Label6);
    QCOMPARE(listed(), QStringList{QStringLiteral("Marie")});
    QCOMPARE(Form1->ComboBox1->currentText(), QString());
    QCOMPARE(Form1->Edit2->text(), QString());
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("compte.ini"))), QByteArray("[Marie]\r\npassword=m\r\n"));
    for (const QString& name : paulsFiles)
        QVERIFY2(!QFile::exists(p.dir.file(name)), qPrintable(name));
    for (const QString& name : othersFiles)
        QVERIFY2(QFile::exists(p.dir.file(name)), qPrintable(name));
    QCOMPARE(QDir(p.dir.file(QStringLiteral("sauvegardes")))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("2005-03-02")});

    // Created again, the account starts from nothing.
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("neuf"));
    clickLink(Form1->Label4);
    QCOMPARE(p.dialogs.texts(), QStringList{Created.arg(QStringLiteral("Paul"))});
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->StringGrid1->Cells(1, 1), QStringLiteral("0"));
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("Paul.ini"))));
    QVERIFY(ListBackups(QStringLiteral("Paul")).isEmpty());
}

// A deletion stopped after its mark was put down is finished at the next start, before the list
// of accounts is shown.
void TestLogin::interruptedDeletionIsFinishedAtStart() {
    ProgramFixture p(false);
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")),
               "[Paul]\r\npassword=pw\r\n[Marie]\r\npassword=m\r\n");
    WriteBytes(p.dir.file(QStringLiteral("Paul.ini.cry")), "x");
    WriteBytes(p.dir.file(QStringLiteral(".kalimo-suppression")), "Paul");
    p.Start();
    QCOMPARE(listed(), QStringList{QStringLiteral("Marie")});
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("calories.ini"), QStringLiteral("compte.ini")}));
}

void TestLogin::aboutDisablesTheLoginWindowAndHelpDoesNot() {
    ProgramFixture p;
    Form1->show();
    QTest::mouseClick(Form1->SpeedButton1, Qt::LeftButton);
    QVERIFY(Form3->isVisible());
    QVERIFY(!Form1->isEnabled());
    Form3->close();
    QVERIFY(Form1->isEnabled());
    QTest::mouseClick(Form1->SpeedButton6, Qt::LeftButton);
    QVERIFY(Form4->isVisible());
    QVERIFY(Form1->isEnabled());
}

void TestLogin::failedWriteDoesNotOpenTheAccount() {
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Marie]\r\npassword=m\r\n");
    p.dialogs.clear();
    type(QStringLiteral("Paul"), QStringLiteral("pw"));
    {
        FileSizeLimit full(20);
        clickLink(Form1->Label4);
    }
    QCOMPARE(p.dialogs.texts(), (QStringList{Created.arg(QStringLiteral("Paul")),
                                             QStringLiteral("Impossible d'écrire dans .\\compte.ini.")}));
    QCOMPARE(p.dialogs.shown[1].title, QStringLiteral("Kalimo"));
    QCOMPARE(p.dialogs.shown[1].icon, QMessageBox::Critical);
    QVERIFY(!Form2->isVisible());
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("compte.ini"))), QByteArray("[Marie]\r\npassword=m\r\n"));
}

// Every file and folder under root with its bytes, but for the folder skipped.
QMap<QString, QByteArray> snapshot(const QString& root, const QString& skipped) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path == skipped || path.startsWith(skipped + QLatin1Char('/')))
            continue;
        entries.insert(path, it.fileInfo().isDir() ? QByteArray("<dossier>") : ReadBytes(path));
    }
    return entries;
}

void TestLogin::craftedNamesTouchNothingOutside_data() {
    // What stands between the brackets of the section line; ROOT is the folder around the data.
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("..") << QByteArray("..");
    QTest::newRow("../x") << QByteArray("../x");
    QTest::newRow("absolute") << QByteArray("ROOT/abs/x");
    QTest::newRow("backslash") << QByteArray("a\\b");
    QTest::newRow("calories") << QByteArray("calories");
    QTest::newRow("compte") << QByteArray("compte");
    QTest::newRow("control") << QByteArray("a\x01b");
    QTest::newRow("300 characters") << QByteArray(300, 'p');
    QTest::newRow("[x]") << QByteArray("[x]");
}

// A journal folder inside a folder of its own: a name read from a crafted accounts file opens
// nothing, and no file around the data folder is read into, written or deleted.
void TestLogin::craftedNamesTouchNothingOutside() {
    QFETCH(QByteArray, section);
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("data"));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("data")) &&
            QDir(root.path()).mkpath(QStringLiteral("abs")));
    const QByteArray weights = "[3/2005]\r\nv1=70\r\n";
    for (const QString& stem : {QStringLiteral("x"), QStringLiteral("abs/x")}) {
        WriteBytes(root.filePath(stem + QStringLiteral(".ini")), weights);
        WriteBytes(root.filePath(stem + QStringLiteral(".ini.cry")), "copie");
        WriteBytes(root.filePath(stem + QStringLiteral(".cal.cry")), "copie");
    }
    section.replace("ROOT", QFile::encodeName(root.path()));
    WriteBytes(root.filePath(QStringLiteral("data/compte.ini")), "[" + section + "]\r\npassword=pw\r\n");
    const QMap<QString, QByteArray> around = snapshot(root.path(), data);

    const QString previous = QDir::currentPath();
    QDir::setCurrent(data);
    {
        FakeDialogs dialogs;
        WindowSet windows;
        QCOMPARE(Form1->ComboBox1->count(), 1);
        const QString name = Form1->ComboBox1->itemText(0);
        dialogs.clear();
        type(name, QStringLiteral("pw"));
        QCOMPARE(Form1->ComboBox1->currentText(), name);
        QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Erreur"));
        QVERIFY2(dialogs.shown[0].text.startsWith(Forbidden + QStringLiteral(" : ")),
                 qPrintable(dialogs.shown[0].text));
        QVERIFY(dialogs.shown[0].text.endsWith(QStringLiteral("Ce compte ne peut pas être ouvert.")));
        clickLink(Form1->Label4);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(dialogs.shown[1].text.startsWith(Forbidden + QStringLiteral(" : ")));
        QVERIFY(!Form2->isVisible());
        // The main window and the file routines refuse the name as well.
        QVERIFY_THROWS_EXCEPTION(KalimoError, Form2->PrepareForAccount(name));
        QVERIFY_THROWS_EXCEPTION(KalimoError, UnscrambleAccountFiles(name));
        QVERIFY_THROWS_EXCEPTION(KalimoError, ScrambleAccountFiles(name));
        QVERIFY_THROWS_EXCEPTION(KalimoError, WeightFileName(name));
        QVERIFY_THROWS_EXCEPTION(KalimoError, FoodLogFileName(name));
        // Deletion touches the accounts file only: such an account can be taken off the list.
        type(name, QStringLiteral("pw"));
        clickLink(Form1->Label6);
        QCOMPARE(listed(), QStringList());
        Form1->close();
    }
    QDir::setCurrent(previous);
    QCOMPARE(snapshot(root.path(), data), around);
    QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));
}

void TestLogin::passwordsAtCreation_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refusal"); // empty when the password is taken
    const QString blank = QStringLiteral("Le mot de passe ne peut pas commencer ni finir par un espace.");
    const QString quotes =
        QStringLiteral("Le mot de passe ne peut pas être entouré de guillemets ni d'apostrophes.");
    const QString unfit =
        QStringLiteral("Le mot de passe contient un caractère que Kalimo ne peut pas enregistrer.");
    QTest::newRow("blank before") << QStringLiteral(" Zq9") << blank;
    QTest::newRow("blank after") << QStringLiteral("Zq9 ") << blank;
    QTest::newRow("double quotes") << QStringLiteral("\"Zq9\"") << quotes;
    QTest::newRow("single quotes") << QStringLiteral("'Zq9'") << quotes;
    QTest::newRow("outside the code page") << QStringLiteral("Łódź") << unfit;
    QTest::newRow("control character") << QStringLiteral("Zq\x01"
                                                         "9")
                                       << unfit;
    QTest::newRow("one quote") << QStringLiteral("'Zq9") << QString();
    QTest::newRow("mixed quotes") << QStringLiteral("\"Zq9'") << QString();
    QTest::newRow("inner blank") << QStringLiteral("Zq 9") << QString();
}

// A password is taken only when the accounts file gives it back as typed, so that its owner
// gets in again at the next run; a refusal names the field, never the password.
void TestLogin::passwordsAtCreation() {
    QFETCH(QString, password);
    QFETCH(QString, refusal);
    ProgramFixture p;
    p.dialogs.clear();
    type(QStringLiteral("Paul"), password);
    clickLink(Form1->Label4);
    if (!refusal.isEmpty()) {
        QCOMPARE(p.dialogs.texts(), QStringList{refusal});
        QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Kalimo"));
        QCOMPARE(FilesHere(), QStringList{QStringLiteral("calories.ini")});
        QVERIFY(!Form2->isVisible());
        QCOMPARE(Form1->Edit2->text(), password);
        return;
    }
    QVERIFY(Form2->isVisible());
    p.Stop();
    p.Start();
    p.dialogs.clear();
    type(QStringLiteral("Paul"), password);
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QVERIFY(p.dialogs.shown.isEmpty());
    QVERIFY(Form2->isVisible());
}

void TestLogin::loginKeepsItsComparisonAndShowsNoPassword() {
    // As the Windows program wrote it: the blanks and the quotes are not part of the password.
    ProgramFixture p;
    WriteBytes(p.dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword= 'Zq9' \r\n");
    for (const QString& refused : {QStringLiteral(" 'Zq9' "), QStringLiteral("Łódź")}) {
        p.dialogs.clear();
        type(QStringLiteral("Paul"), refused);
        QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
        QCOMPARE(p.dialogs.texts(), QStringList{WrongPassword});
    }
    type(QStringLiteral("Paul"), QStringLiteral("Zq9"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    QVERIFY(Form2->isVisible());
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
