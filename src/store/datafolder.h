// store/, with the other file helpers: the data folder a run works in, from its start options.
#pragma once

#include <QString>
#include <QStringList>

// Where this run keeps its files. Started from a terminal without options, Kalimo uses the
// working directory, as it always has. "--dossier DOSSIER" names another folder instead: the
// menu entry uses it to give every person a folder of their own, "~/Kalimo".
struct StartOptions {
    QString folder; // empty: the working directory
    bool help = false;
    bool version = false;
    QString error; // French text when the arguments cannot be understood, the usage at its end
};

inline const QString StartUsage =
    QStringLiteral("Usage : kalimo [--dossier DOSSIER]\n        kalimo --help | --version");

// What "kalimo --help" prints.
inline const QString StartHelp =
    QStringLiteral("Kalimo, journal de poids et de calories.\n\n") + StartUsage +
    QStringLiteral("\n\n"
                   "  --dossier DOSSIER  garde les fichiers dans DOSSIER, créé s'il manque,\n"
                   "                     plutôt que dans le dossier de travail\n"
                   "  -h, --help         affiche cette aide et s'arrête\n"
                   "  --version          affiche la version et s'arrête");

// The arguments after the program's name, once Qt has taken its own.
StartOptions ParseStartOptions(const QStringList& arguments);

// A leading "~" is the person's home folder. Launchers that read desktop entries run no shell,
// so the menu entry's "~/Kalimo" reaches the program as it is written.
QString ExpandHome(const QString& path);

// Creates the folder when it is missing (for its owner only, mode 0700), makes it the working
// directory and makes sure a file can be written in it. Returns the French message to show when
// one of these fails, else empty.
QString EnterDataFolder(const QString& folder);
