// One short session of the real program, the same every time, for the crash-point test: start,
// delete Zoé's account, log in to Paul's account, type two weights, add a food and remove another, add a food
// to the database in the editor, copy the day before into the 10th of March, restore the backup of the 1st of
// March 2005 from the "Bilan" page, choose a weekly rate there, close the main window by its close box. Boxes
// are answered as a person would (the first button) and written to standard output. After each step,
// "STEP <n>" is appended to the log named by KALIMO_FAULT_LOG, among the file changes the fault shim logs.
// With the argument "check", the session only logs in, prints what the program then finds in the account's
// files ("FACT name=value") and closes by the close box.
#include "accounts/tform1.h"
#include "app/windowset.h"
#include "calories/caloriepage.h"
#include "calories/quickentry.h"
#include "calories/tform6.h"
#include "store/datafiles.h"
#include "store/instancelock.h"
#include "summary/backupwindow.h"
#include "summary/summarypage.h"
#include "testsupport/fakedialogs.h"
#include "testsupport/sessionfacts.h"
#include "ui/appsetup.h"
#include "ui/guard.h"
#include "ui/linklabel.h"
#include "ui/spinedit.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdio>

namespace {
class PrintingDialogs final : public FakeDialogs {
  public:
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override {
        if (icon != QMessageBox::Question)
            std::printf("BOX %s\n", text.toUtf8().constData());
        std::fflush(stdout);
        return FakeDialogs::Message(parent, icon, title, text, buttons, defaultButton);
    }
};

int step = 0;
void stepDone() {
    const QByteArray log = qgetenv("KALIMO_FAULT_LOG");
    if (!log.isEmpty()) {
        QFile file(QString::fromLocal8Bit(log));
        if (file.open(QIODevice::Append))
            file.write("STEP " + QByteArray::number(step) + "\n");
    }
    ++step;
}

void logIn() {
    // A login refused by a failing disk is tried once more, as a person would.
    for (int attempt = 0; attempt < 2 && !Form2->isVisible(); ++attempt) {
        Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
        Form1->Edit2->setText(QStringLiteral("pw"));
        QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    }
}

void choose(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentItem(found.constFirst());
}

void typeInGrid(Qt::Key key) {
    if (QLineEdit* editor = Form2->StringGrid1->Editor())
        QTest::keyClick(editor, key);
}

QByteArray plain(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetUpApplication(app);
    const bool check = argc > 1 && qstrcmp(argv[1], "check") == 0;
    PrintingDialogs dialogs;
    InstanceLock lock;
    if (!lock.Acquire())
        return 2;
    RemoveInterruptedWrites(QStringLiteral("."));
    WindowSet windows;
    stepDone(); // 0: started

    if (!check) {
        Form1->ComboBox1->setEditText(QStringLiteral("Zoé"));
        Form1->Edit2->setText(QStringLiteral("z"));
        Q_EMIT Form1->Label6->clicked();
        stepDone(); // 1: Zoé's account deleted
    }

    logIn();
    stepDone(); // 2 (1 when checking): logged in
    if (!Form2->isVisible())
        return 3;

    if (check) {
        const SessionFacts facts =
            FactsOf(plain(QStringLiteral("compte.ini")), plain(QStringLiteral("Paul.ini")),
                    plain(QStringLiteral("Paul.cal")), plain(QStringLiteral("calories.ini")));
        for (auto it = facts.cbegin(); it != facts.cend(); ++it)
            std::printf("FACT %s=%s\n", it.key().toUtf8().constData(), it.value().toUtf8().constData());
    } else {
        Form2->CSpinEdit1->setValue(2005);
        Form2->ComboBox1->setCurrentIndex(2);
        Q_EMIT Form2->ComboBox1->activated(2);
        Form2->StringGrid1->SetRow(1);
        if (QLineEdit* editor = Form2->StringGrid1->Editor())
            editor->selectAll();
        typeInGrid(Qt::Key_7);
        stepDone(); // 3: day 1 weighs 7

        typeInGrid(Qt::Key_Down);
        if (QLineEdit* editor = Form2->StringGrid1->Editor())
            editor->selectAll();
        typeInGrid(Qt::Key_8);
        stepDone(); // 4: day 2 weighs 8

        choose(Form2->TabSheet2->ListBox1, QStringLiteral("viande"));
        choose(Form2->TabSheet2->ListBox2, QStringLiteral("Abats"));
        Form2->TabSheet2->Edit4->setText(QStringLiteral("2"));
        QTest::mouseClick(Form2->TabSheet2->SpeedButton9, Qt::LeftButton);
        stepDone(); // 5: "Abats" eaten on day 2

        const QList<QTreeWidgetItem*> pizza =
            Form2->TabSheet2->ListView1->findItems(QStringLiteral("Pizza"), Qt::MatchExactly);
        if (!pizza.isEmpty()) {
            Form2->TabSheet2->ListView1->setCurrentItem(pizza.constFirst());
            pizza.constFirst()->setSelected(true);
            QTest::mouseClick(Form2->TabSheet2->SpeedButton10, Qt::LeftButton);
        }
        stepDone(); // 6: the pizza of day 2 removed

        QTest::mouseClick(Form2->TabSheet2->SpeedButton11, Qt::LeftButton);
        choose(Form6->ListBox1, QStringLiteral("dessert"));
        RunGuarded([] { Form6->ListBox1Click(); });
        Form6->Edit1->setText(QStringLiteral("Tarte maison"));
        Form6->Edit2->setText(QStringLiteral("250"));
        Form6->Edit3->setText(QStringLiteral("3"));
        Form6->Edit4->setText(QStringLiteral("30"));
        Form6->Edit5->setText(QStringLiteral("12"));
        RunGuarded([] { Form6->SaveFood(); });
        Form6->close();
        stepDone(); // 7: a food added to the database

        Form2->StringGrid1->SetRow(10);
        QTest::mouseClick(Form2->TabSheet2->Quick->SpeedButton22, Qt::LeftButton);
        stepDone(); // 8: the two foods of the 9th of March copied to the 10th

        Form2->TabSheet3->SpeedButton19->click();
        BackupWindow* backups = Form2->TabSheet3->Form7;
        const QList<QTreeWidgetItem*> march =
            backups->ListView2->findItems(QStringLiteral("01/03/2005"), Qt::MatchExactly);
        if (!march.isEmpty()) {
            backups->ListView2->setCurrentItem(march.constFirst());
            march.constFirst()->setSelected(true);
            backups->SpeedButton20->click();
        }
        backups->close();
        stepDone(); // 9: the backup of the 1st of March 2005 restored

        Form2->PageControl1->setCurrentWidget(Form2->TabSheet3);
        QComboBox* rate = Form2->TabSheet3->ComboBox40;
        rate->setCurrentIndex(3);
        Q_EMIT rate->activated(3);
        stepDone(); // 10: a rate of -0,25 kg a week chosen
    }

    Form2->close(); // the close box
    stepDone();     // 11 (2 when checking): closed
    std::fflush(stdout);
    return 0;
}
