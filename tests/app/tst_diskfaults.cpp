// A full disk and a read-only folder, for real: every write refused ends in the program's own
// message, the program goes on, and no file loses what it held.
#include "accounts/tform1.h"
#include "app/windowset.h"
#include "calories/caloriepage.h"
#include "testsupport/smalldisk.h"
#include "testsupport/tempdir.h"
#include "testsupport/windowfixture.h"
#include "ui/appsetup.h"
#include "ui/linklabel.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
void logIn(const QString& account) {
    Form1->ComboBox1->setEditText(account);
    Form1->Edit2->setText(QStringLiteral("pw"));
    QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
}
} // namespace

class TestDiskFaults : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void firstStartOnAFullDisk();
    void fullDiskWhileWorking();
    void readOnlyFolder();
};

void TestDiskFaults::firstStartOnAFullDisk() {
    SmallDisk disk(48); // less than the food database needs
    if (!disk.Mounted())
        QSKIP("no right to mount a small file system here");
    FakeDialogs dialogs;
    {
        WindowSet windows;
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("Impossible de créer le fichier calories.ini.")});
        QCOMPARE(Form1->ComboBox1->count(), 0); // start-up went on
        Form1->close();
    }
    QVERIFY(!QFile::exists(disk.file(QStringLiteral("calories.ini")))); // never half a database
}

void TestDiskFaults::fullDiskWhileWorking() {
    SmallDisk disk(256);
    if (!disk.Mounted())
        QSKIP("no right to mount a small file system here");
    const QByteArray accounts = "[Paul]\r\npassword=pw\r\n";
    WriteBytes(disk.file(QStringLiteral("calories.ini")),
               "[cat\xE9gories]\r\nviande=\r\n[viande]\r\nAbats=\r\n");
    WriteBytes(disk.file(QStringLiteral("compte.ini")), accounts);
    QByteArray weights;
    for (int d = 1; d <= 31; ++d)
        weights += "v" + QByteArray::number(d) + "=7" + QByteArray::number(d % 10) + "\r\n";
    WriteBytes(disk.file(QStringLiteral("Paul.ini")), "[3/2005]\r\n" + weights);
    FakeDialogs dialogs;
    WindowSet windows;
    logIn(QStringLiteral("Paul"));
    QVERIFY(Form2->isVisible());
    Form2->CSpinEdit1Change();
    const QByteArray weightsBefore = ReadBytes(disk.file(QStringLiteral("Paul.ini")));
    const QByteArray accountsBefore = ReadBytes(disk.file(QStringLiteral("compte.ini")));
    disk.Fill();
    dialogs.clear();

    // A weight typed: the month cannot be saved, the grid keeps what was typed.
    Form2->StringGrid1->SetRow(2);
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_5);
    // (moving to the day already tried to store the height with the index)
    QVERIFY(dialogs.texts().contains(QStringLiteral("Impossible d'écrire dans .\\Paul.ini.")));
    QCOMPARE(ReadBytes(disk.file(QStringLiteral("Paul.ini"))), weightsBefore);

    // A food added: refused the same way, the food log is not created half-way.
    dialogs.clear();
    Form2->TabSheet2->ListBox1->setCurrentRow(0);
    Form2->TabSheet2->ShowCategoryFoods();
    Form2->TabSheet2->ListBox2->setCurrentRow(0);
    Form2->TabSheet2->Edit4->setText(QStringLiteral("2"));
    QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Impossible d'écrire dans .\\Paul.cal.")});
    QVERIFY(!QFile::exists(disk.file(QStringLiteral("Paul.cal"))));

    // Closing the window: the copies cannot be written, the plain files stay whole.
    dialogs.clear();
    Form2->close();
    QCOMPARE(ReadBytes(disk.file(QStringLiteral("Paul.ini"))), weightsBefore);
    QCOMPARE(ReadBytes(disk.file(QStringLiteral("compte.ini"))), accountsBefore);
    QVERIFY(!dialogs.texts().isEmpty());
    QVERIFY(dialogs.texts().constFirst().startsWith(QStringLiteral("Impossible de créer le fichier")));
}

void TestDiskFaults::readOnlyFolder() {
    SmallDisk disk(512);
    if (!disk.Mounted())
        QSKIP("no right to mount a small file system here");
    WriteBytes(disk.file(QStringLiteral("calories.ini")), "[cat\xE9gories]\r\n");
    WriteBytes(disk.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    QVERIFY(disk.MakeReadOnly());
    FakeDialogs dialogs;
    WindowSet windows;
    dialogs.clear();

    // Creating an account: announced, then refused; the account is not opened.
    Form1->ComboBox1->setEditText(QStringLiteral("Marie"));
    Form1->Edit2->setText(QStringLiteral("m"));
    QTest::mouseClick(Form1->Label4, Qt::LeftButton);
    QCOMPARE(dialogs.texts().constLast(), QStringLiteral("Impossible d'écrire dans .\\compte.ini."));
    QVERIFY(!Form2->isVisible());

    // An existing account still opens and reads; its first save is refused.
    dialogs.clear();
    logIn(QStringLiteral("Paul"));
    QVERIFY(Form2->isVisible());
    Form2->StringGrid1->SetRow(3);
    QTest::keyClick(Form2->StringGrid1->Editor(), Qt::Key_7);
    QVERIFY(dialogs.texts().contains(QStringLiteral("Impossible d'écrire dans .\\Paul.ini.")));
    QCOMPARE(ReadBytes(disk.file(QStringLiteral("compte.ini"))), QByteArray("[Paul]\r\npassword=pw\r\n"));
    Form1->close(); // the accounts file cannot be scrambled: it stays plain, whole
    QCOMPARE(ReadBytes(disk.file(QStringLiteral("compte.ini"))), QByteArray("[Paul]\r\npassword=pw\r\n"));
}

QTEST_MAIN(TestDiskFaults)
#include "tst_diskfaults.moc"
