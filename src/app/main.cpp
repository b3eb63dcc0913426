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
#include <cstdlib>

namespace {
// The options QGuiApplication and QApplication take for themselves (those followed by a value,
// then those alone), with one dash or two: they are theirs, not unknown options.
const QStringList ToolkitOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
    QStringLiteral("display"),         QStringLiteral("name"),
    QStringLiteral("title"),           QStringLiteral("visual"),
    QStringLiteral("geometry"),        QStringLiteral("style"),
    QStringLiteral("stylesheet")};
const QStringList ToolkitOptionsAlone = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                         QStringLiteral("nograb"), QStringLiteral("dograb"),
                                         QStringLiteral("sync")};

QStringList withoutToolkitOptions(const QStringList& arguments) {
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
                       : argument.startsWith(QLatin1Char('-'))  ? argument.mid(1)
                                                                : QString();
        const bool valueJoined = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (ToolkitOptionsWithValue.contains(name)) {
            if (!valueJoined)
                ++i;
            continue;
        }
        if (ToolkitOptionsAlone.contains(name) || name.startsWith(QLatin1String("qmljsdebugger")))
            continue;
        ours << argument;
    }
    return ours;
}

// While the application object is being made, what Qt says is held back: when no window system
// can be reached, Qt ends the process (abort) after a few lines in English; a person who started
// Kalimo from a terminal without a graphical session is told so in French instead, and the process
// ends with an error code.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler qtHandler = nullptr;
QList<HeldMessage> heldMessages;
void holdStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("Kalimo ne trouve pas d'écran où ouvrir ses fenêtres : il se lance depuis une "
                   "session graphique.\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages.append({type, QByteArray(context.category), message});
}
} // namespace

int main(int argc, char** argv) {
    // The arguments are read before the window system is asked for: "--help" and "--version" need
    // no display, and a mistyped option is answered in the terminal it was typed in.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const StartOptions options = ParseStartOptions(withoutToolkitOptions(arguments));
    if (options.help) {
        std::puts(qPrintable(StartHelp));
        return 0;
    }
    if (options.version) {
        std::puts(qPrintable(QStringLiteral("Kalimo ") + VersionText));
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }

    qtHandler = qInstallMessageHandler(holdStartMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage& held : std::as_const(heldMessages))
        qt_message_output(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()),
                          held.text);
    heldMessages.clear();
    SetUpApplication(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kalimo"));

    // Nobody may be watching a terminal (started from the menu): a folder Kalimo cannot use is
    // said in a box rather than ending without a word.
    QString problem;
    if (!options.folder.isEmpty())
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
