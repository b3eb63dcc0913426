#include "accounts/tform1.h"
#include "calories/caloriepage.h"
#include "calories/tform6.h"
#include "charts/tform5.h"
#include "help/tform3.h"
#include "help/tform4.h"
#include "store/instancelock.h"
#include "store/kalimoerror.h"
#include "store/scramble.h"
#include "testsupport/keyboard.h"
#include "testsupport/noaccessoverride.h"
#include "testsupport/windowfixture.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/linklabel.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <QWindow>

namespace {
QByteArray scrambled(QByteArray bytes, const char* key) {
    TransformBytes(bytes, QByteArrayView(key, qstrlen(key)), ScrambleDirection::Scramble);
    return bytes;
}

const QByteArray Accounts = "[Paul]\r\npassword=pw\r\n";
const QByteArray Weights = "[3/2005]\r\nv1=70\r\n";
const QByteArray FoodLog = "[1/3/2005]\r\nAbats=2\r\n";

// The data folder as a previous run left it: only scrambled copies.
void leaveScrambledFiles(const WorkingDir& dir) {
    WriteBytes(dir.file(QStringLiteral("compte.ini.cry")), scrambled(Accounts, AccountsFileKey));
    WriteBytes(dir.file(QStringLiteral("Paul.ini.cry")), scrambled(Weights, AccountFilesKey));
    WriteBytes(dir.file(QStringLiteral("Paul.cal.cry")), scrambled(FoodLog, AccountFilesKey));
}

void logIn() {
    Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
    Form1->Edit2->setText(QStringLiteral("pw"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
}

const QStringList PlainAccountFiles = {QStringLiteral("Paul.cal"), QStringLiteral("Paul.ini"),
                                       QStringLiteral("calories.ini"), QStringLiteral("compte.ini")};
} // namespace

class TestStartup : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void windowsAreCreatedOnceWithTheirCaptions();
    void accountsFileIsPlainOnlyWhileTheLoginWindowLives();
    void closingTheLoginWindowWithoutAccountsWritesNothing();
    void closingTheMainWindowScramblesEverything();
    void quitButtonLeavesTheAccountFilesPlain();
    void plainFilesLeftByQuitAreUsedAsTheyAre();
    void errorsAreReportedAndTheEventAbandoned_data();
    void errorsAreReportedAndTheEventAbandoned();
    void secondRunInTheSameFolderIsRefused();
    void longMessagesWrapInsideTheirBox();
    void framesAndOwners();
    void swatchesAndButtonsAnswerTheKeyboard_data();
    void swatchesAndButtonsAnswerTheKeyboard();
    void unreadableAccountFileKeepsTheAccountClosed_data();
    void unreadableAccountFileKeepsTheAccountClosed();
    void unreadableAccountsFileStopsCreationAndDeletion();
    void failedScramblingAtTheCloseBoxStillEnds();
    void otherWindowsFollowTheLoginWindow();
};

void TestStartup::unreadableAccountFileKeepsTheAccountClosed_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("folder"); // a folder stands where the copy should be
    QTest::newRow("weights") << "Paul.ini.cry" << false;
    QTest::newRow("food log") << "Paul.cal.cry" << false;
    QTest::newRow("folder for the weights") << "Paul.ini.cry" << true;
    QTest::newRow("folder for the food log") << "Paul.cal.cry" << true;
}

void TestStartup::unreadableAccountFileKeepsTheAccountClosed() {
    QFETCH(QString, file);
    QFETCH(bool, folder);
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    const QByteArray copy = ReadBytes(p.dir.file(file));
    if (folder)
        QVERIFY(QFile::remove(p.dir.file(file)) && QDir().mkdir(p.dir.file(file)));
    else
        QFile(p.dir.file(file)).setPermissions({});
    NoAccessOverride noOverride;
    p.Start();
    p.dialogs.clear();
    logIn();
    QCOMPARE(p.dialogs.texts(),
             QStringList{QStringLiteral("Impossible de lire le fichier %1 : le compte Paul ne "
                                        "peut pas être ouvert.")
                             .arg(file)});
    QVERIFY(!Form2->isVisible());
    Form1->close();
    // Nothing of the account was touched.
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral("Paul.cal.cry"), QStringLiteral("Paul.ini.cry"),
                          QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));
    if (folder)
        return;
    QFile(p.dir.file(file)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(ReadBytes(p.dir.file(file)), copy);
}

void TestStartup::unreadableAccountsFileStopsCreationAndDeletion() {
    ProgramFixture p(false);
    const QByteArray accounts =
        scrambled("[Marie]\r\npassword=m\r\n[Paul]\r\npassword=pw\r\n", AccountsFileKey);
    WriteBytes(p.dir.file(QStringLiteral("compte.ini.cry")), accounts);
    QFile(p.dir.file(QStringLiteral("compte.ini.cry"))).setPermissions({});
    NoAccessOverride noOverride;
    p.Start();
    const QString refused =
        QStringLiteral("Impossible de lire le fichier compte.ini.cry : aucun compte ne peut être "
                       "ouvert, créé ni supprimé tant qu'il ne peut pas être lu.");
    QCOMPARE(p.dialogs.texts().constLast(), QStringLiteral("Impossible de lire le fichier compte.ini.cry."));
    p.dialogs.clear();
    for (QWidget* link : {static_cast<QWidget*>(Form1->Label4), static_cast<QWidget*>(Form1->Label6)}) {
        Form1->ComboBox1->setEditText(QStringLiteral("Marie"));
        Form1->Edit2->setText(QStringLiteral("m"));
        QTest::mouseClick(link, Qt::LeftButton);
    }
    QCOMPARE(p.dialogs.texts(), (QStringList{refused, refused}));
    QVERIFY(!Form2->isVisible());
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));

    // Readable again: restored at the next attempt, every account still there.
    QFile(p.dir.file(QStringLiteral("compte.ini.cry")))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    p.dialogs.clear();
    logIn();
    QVERIFY(Form2->isVisible());
    QVERIFY(p.dialogs.texts().isEmpty());
    QVERIFY(ReadBytes(p.dir.file(QStringLiteral("compte.ini")))
                .startsWith("[Marie]\r\npassword=m\r\n[Paul]\r\n"));
}

void TestStartup::failedScramblingAtTheCloseBoxStillEnds() {
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    p.Start();
    logIn();
    QVERIFY(Form2->isVisible());
    // A folder stands where the weight file's copy should go.
    QVERIFY(QDir(p.dir.path()).mkdir(QStringLiteral("Paul.ini.cry")));
    p.dialogs.clear();
    QSignalSpy ended(Form1, &TForm1::closed);
    Form2->close();
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Impossible de créer le fichier Paul.ini.cry.")});
    QCOMPARE(ended.count(), 1);
    // The plain journal stays, and is what the next run uses.
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.ini"))), Weights);
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.cal"))), FoodLog);
    p.Stop();
    QDir(p.dir.path()).rmdir(QStringLiteral("Paul.ini.cry"));
    p.Start();
    logIn();
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->StringGrid1->RowCount() > 0, true);
    Form2->close();
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal.cry"), QStringLiteral("Paul.ini.cry"),
                                       QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.ini.cry"))), scrambled(Weights, AccountFilesKey));
}

void TestStartup::otherWindowsFollowTheLoginWindow() {
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    p.windows = std::make_unique<WindowSet>(WindowSet::Start::LoginFirst);
    QVERIFY(Form1 && !Form2 && !Form3 && !Form4 && !Form5 && !Form6);
    // Logged in before they came: they are made there and then.
    logIn();
    QVERIFY(Form2 && Form2->isVisible() && Form6);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - Paul"));
    p.Stop();
    p.windows = std::make_unique<WindowSet>(WindowSet::Start::LoginFirst);
    Form1->show();
    QTRY_VERIFY(Form6 != nullptr); // once the login window is painted
    QVERIFY(Form2 && !Form2->isVisible());
}

void TestStartup::windowsAreCreatedOnceWithTheirCaptions() {
    ProgramFixture p;
    QCOMPARE(Form1->windowTitle(), QStringLiteral("Kalimo - Identification"));
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Kalimo - "));
    QVERIFY(!Form2->isVisible());
    QCOMPARE(Form1->size(), QSize(341, 128));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Kalimo"));
}

void TestStartup::accountsFileIsPlainOnlyWhileTheLoginWindowLives() {
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    p.Start();
    QVERIFY(QFile::exists(p.dir.file(QStringLiteral("compte.ini"))));
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("compte.ini.cry"))));
    QCOMPARE(Form1->ComboBox1->count(), 1);
    QCOMPARE(Form1->ComboBox1->currentText(), QString());

    QSignalSpy ended(Form1, &TForm1::closed);
    Form1->close();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("compte.ini.cry"))), scrambled(Accounts, AccountsFileKey));
    QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("compte.ini"))));
    QVERIFY(QFile::exists(p.dir.file(QStringLiteral("Paul.ini.cry")))); // not the account's business
}

void TestStartup::closingTheLoginWindowWithoutAccountsWritesNothing() {
    ProgramFixture p;
    Form1->close();
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("calories.ini")});
}

void TestStartup::closingTheMainWindowScramblesEverything() {
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    p.Start();
    logIn();
    QVERIFY(Form2->isVisible());
    QCOMPARE(FilesHere(), PlainAccountFiles);
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.cal"))), FoodLog);
    // A height still being typed is stored as the box would show it, never as "17".
    QVERIFY(Activate(Form2));
    Form2->CSpinEdit3->setFocus();
    Form2->CSpinEdit3->selectAll();
    TypeKeys(QStringLiteral("17"));

    QSignalSpy ended(Form1, &TForm1::closed);
    Form2->close();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal.cry"), QStringLiteral("Paul.ini.cry"),
                                       QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.ini.cry"))), scrambled(Weights, AccountFilesKey));
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.cal.cry"))), scrambled(FoodLog, AccountFilesKey));
    QByteArray accounts = ReadBytes(p.dir.file(QStringLiteral("compte.ini.cry")));
    TransformBytes(accounts, AccountsFileKey, ScrambleDirection::Unscramble);
    QVERIFY2(accounts.contains("taille=100\r\n"), accounts.constData());
}

void TestStartup::quitButtonLeavesTheAccountFilesPlain() {
    ProgramFixture p(false);
    leaveScrambledFiles(p.dir);
    p.Start();
    logIn();
    Form2->CSpinEdit3->setValue(182);
    QSignalSpy ended(Form1, &TForm1::closed);
    QTest::mouseClick(Form2->SpeedButton7, Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(FilesHere(), (QStringList{QStringLiteral("Paul.cal"), QStringLiteral("Paul.ini"),
                                       QStringLiteral("calories.ini"), QStringLiteral("compte.ini.cry")}));
    QByteArray accounts = ReadBytes(p.dir.file(QStringLiteral("compte.ini.cry")));
    TransformBytes(accounts, AccountsFileKey, ScrambleDirection::Unscramble);
    QVERIFY2(accounts.contains("taille=182\r\n"), accounts.constData());
}

void TestStartup::plainFilesLeftByQuitAreUsedAsTheyAre() {
    ProgramFixture p(false);
    WriteBytes(p.dir.file(QStringLiteral("compte.ini.cry")), scrambled(Accounts, AccountsFileKey));
    WriteBytes(p.dir.file(QStringLiteral("Paul.ini")), Weights);
    p.Start();
    logIn();
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.ini"))), Weights);
    Form2->close();
    QCOMPARE(ReadBytes(p.dir.file(QStringLiteral("Paul.ini.cry"))), scrambled(Weights, AccountFilesKey));
}

void TestStartup::errorsAreReportedAndTheEventAbandoned_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reported");
    QTest::newRow("ends with a letter") << QStringLiteral("Impossible d'écrire dans .\\compte.ini")
                                        << QStringLiteral("Impossible d'écrire dans .\\compte.ini.");
    QTest::newRow("ends with a quote")
        << QStringLiteral("'7,2,5' n'est pas une valeur en virgule flottante correcte")
        << QStringLiteral("'7,2,5' n'est pas une valeur en virgule flottante correcte.");
    QTest::newRow("ends with a bracket, which sorts before the full stop")
        << QStringLiteral("Indice de liste hors limites (-1)")
        << QStringLiteral("Indice de liste hors limites (-1)");
    QTest::newRow("ends with a full stop") << QStringLiteral("Fini.") << QStringLiteral("Fini.");
    QTest::newRow("ends with an exclamation mark") << QStringLiteral("Oups !") << QStringLiteral("Oups !");
}

void TestStartup::errorsAreReportedAndTheEventAbandoned() {
    QFETCH(QString, message);
    QFETCH(QString, reported);
    FakeDialogs dialogs;
    bool reachedTheEnd = false;
    QVERIFY(!RunGuarded([&] {
        throw KalimoError(message);
        reachedTheEnd = true;
    }));
    QVERIFY(!reachedTheEnd);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("Kalimo"));
    QCOMPARE(dialogs.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.shown[0].text, reported);
    QVERIFY(RunGuarded([] {}));
}

void TestStartup::secondRunInTheSameFolderIsRefused() {
    WorkingDir dir;
    InstanceLock first;
    QVERIFY(first.Acquire());
    InstanceLock second;
    QVERIFY(!second.Acquire());
    WorkingDir other;
    InstanceLock elsewhere;
    QVERIFY(elsewhere.Acquire());
}

QTEST_MAIN(TestStartup)
void TestStartup::longMessagesWrapInsideTheirBox() {
    // A file name of 253 characters, as a failed write reports it: the box wraps it instead of
    // running it past its right edge.
    const QString text = QStringLiteral("Impossible de créer le fichier ./") +
                         QString(253, QLatin1Char('n')) + QStringLiteral(".ini.");
    const std::unique_ptr<QMessageBox> box =
        MakeMessageBox(nullptr, QMessageBox::Critical, QStringLiteral("Kalimo"), text, QMessageBox::Ok);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QString shown = label->text();
    QCOMPARE(shown.remove(QChar(0x200B)), text); // nothing visible added
    QVERIFY(box->width() <= box->screen()->availableGeometry().width());
    QVERIFY2(label->minimumSizeHint().width() <= label->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(label->minimumSizeHint().width()).arg(label->width())));
    QVERIFY(label->geometry().right() < box->width());
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
}

void TestStartup::swatchesAndButtonsAnswerTheKeyboard_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("main, line, Space") << "Form2"
                                       << "Panel1" << int(Qt::Key_Space);
    QTest::newRow("main, background, Return") << "Form2"
                                              << "Panel2" << int(Qt::Key_Return);
    QTest::newRow("year, line, Return") << "Form5"
                                        << "Panel3" << int(Qt::Key_Return);
    QTest::newRow("year, background, Space") << "Form5"
                                             << "Panel4" << int(Qt::Key_Space);
    QTest::newRow("about, Fermer, Return") << "Form3"
                                           << "SpeedButton1" << int(Qt::Key_Return);
}

void TestStartup::swatchesAndButtonsAnswerTheKeyboard() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, key);
    OpenAccount p;
    if (window == QLatin1String("Form5"))
        QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
    if (window == QLatin1String("Form3"))
        QTest::mouseClick(Form2->SpeedButton3, Qt::LeftButton);
    QWidget* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == window)
            w = top;
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* target = w->findChild<QWidget*>(control);
    QVERIFY(target->focusPolicy() & Qt::TabFocus);
    target->setFocus(Qt::TabFocusReason);
    p.dialogs.nextColour.reset();
    QTest::keyClick(target, Qt::Key(key));
    if (window == QLatin1String("Form3"))
        QVERIFY(!Form3->isVisible() && Form2->isEnabled());
    else
        QCOMPARE(p.dialogs.colourRequests, 1);
}

void TestStartup::framesAndOwners() {
    OpenAccount p;
    // The login window keeps its task-bar entry; the small windows are tool windows. None of
    // them offers minimise or maximise.
    QCOMPARE(Form1->windowType(), Qt::Window);
    for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form3, Form4, Form6}) {
        QVERIFY(w->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(w->minimumSize(), w->maximumSize());
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Form3, Form4, Form6})
        QCOMPARE(w->windowType(), Qt::Tool);
    QVERIFY(Form4->windowFlags() & Qt::WindowStaysOnTopHint);

    // A window that disables the main window belongs to it, so that it is never left alone.
    QTest::mouseClick(Form2->SpeedButton3, Qt::LeftButton); // about
    QVERIFY(Form3->isVisible());
    QCOMPARE(Form3->windowHandle()->transientParent(), Form2->windowHandle());
    Form3->close();
    QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton); // year window
    QCOMPARE(Form5->windowType(), Qt::Dialog);
    QCOMPARE(Form5->windowHandle()->transientParent(), Form2->windowHandle());
    QTest::mouseClick(Form5->SpeedButton9, Qt::LeftButton); // about, from the year window
    QCOMPARE(Form3->windowHandle()->transientParent(), Form5->windowHandle());
    Form3->close();
    Form5->close();
    QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton); // food editor
    QVERIFY(Form6->isVisible());
    QCOMPARE(Form6->windowHandle()->transientParent(), Form2->windowHandle());
    Form6->close();
}

#include "tst_startup.moc"
