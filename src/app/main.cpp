#include "accounts/tform1.h"
#include "app/appsetup.h"
#include "app/dialogs.h"
#include "app/guard.h"
#include "app/instancelock.h"
#include "app/windowset.h"
#include "store/datafiles.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplication(app);

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
        WindowSet windows;
        QObject::connect(Form1, &TForm1::closed, &app, [] { QCoreApplication::exit(0); });
        Form1->show();
        QApplication::exec();
    });
    return 0;
}
