#include "accounts/tform1.h"
#include "app/windowset.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/instancelock.h"
#include "ui/appsetup.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplication(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kalimo"));

    // QApplication has taken out the arguments it understands itself.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const StartOptions options = ParseStartOptions(arguments);
    if (options.help) {
        std::puts(qPrintable(StartUsage));
        return 0;
    }
    // Nobody may be watching a terminal (started from the menu): a folder Kalimo cannot use is
    // said in a box rather than ending without a word.
    QString problem = options.error;
    if (problem.isEmpty() && !options.folder.isEmpty())
        problem = EnterDataFolder(options.folder);
    if (!problem.isEmpty()) {
        ReportError(problem);
        return 0;
    }

    InstanceLock lock;
    if (!lock.Acquire()) {
        ShowPlainMessage(QStringLiteral("Kalimo est déjà ouvert dans ce dossier.\n"
                                        "Fermez l'autre fenêtre de Kalimo avant d'en ouvrir une nouvelle."));
        return 0;
    }
    // Only now that no other run can be writing here: what a run stopped in the middle of a
    // write left behind goes (the files it was writing are whole, old or new).
    RemoveInterruptedWrites(QStringLiteral("."));

    // The program ends when the login window closes, even while it is hidden behind the main
    // window; exit() rather than quit(), which would close (and so scramble) the other windows.
    QApplication::setQuitOnLastWindowClosed(false);
    RunGuarded([&app] {
        WindowSet windows(WindowSet::Start::LoginFirst);
        QObject::connect(Form1, &TForm1::closed, &app, [] { QCoreApplication::exit(0); });
        Form1->show();
        QApplication::exec();
    });
    return 0;
}
