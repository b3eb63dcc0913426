// store/, with the other file helpers: the data folder a run works in, from its start options.
#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

StartOptions ParseStartOptions(const QStringList& arguments) {
    static const QString FolderOption = QStringLiteral("--dossier");
    StartOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString folder;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (argument == QLatin1String("--version")) {
            options.version = true;
            continue;
        }
        if (argument == FolderOption) {
            if (i + 1 == arguments.size() || arguments.at(i + 1).isEmpty()) {
                options.error = QStringLiteral("Il manque le dossier après --dossier.\n") + StartUsage;
                return options;
            }
            folder = arguments.at(++i);
        } else if (argument.startsWith(FolderOption + QLatin1Char('='))) {
            folder = argument.mid(FolderOption.size() + 1);
            if (folder.isEmpty()) {
                options.error = QStringLiteral("Il manque le dossier après --dossier.\n") + StartUsage;
                return options;
            }
        } else {
            options.error = QStringLiteral("Option inconnue : %1\n").arg(argument) + StartUsage;
            return options;
        }
        if (!options.folder.isEmpty()) {
            options.error = QStringLiteral("Un seul dossier peut être donné.\n") + StartUsage;
            return options;
        }
        options.folder = folder;
    }
    return options;
}

QString ExpandHome(const QString& path) {
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

namespace {

// The journals are nobody else's business: a folder made here is open to its owner alone, even
// in a home folder that others may list. The folders above it are made as any other would be.
bool MakeOwnFolder(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (!QDir().mkpath(QFileInfo(clean).absolutePath()))
        return false;
    return QDir().mkdir(clean, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
           QFileInfo(clean).isDir(); // made meanwhile by another run
}

} // namespace

QString EnterDataFolder(const QString& folder) {
    const QString path = QFileInfo(ExpandHome(folder)).absoluteFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    // A folder that exists keeps the mode its owner gave it.
    if (!QFileInfo(path).isDir() && !MakeOwnFolder(path))
        return QStringLiteral("Impossible de créer le dossier %1").arg(shown);
    if (!QDir::setCurrent(path))
        return QStringLiteral("Impossible d'ouvrir le dossier %1").arg(shown);
    // Permission bits do not tell the whole story (read-only mounts, access lists, root): only a
    // file really written proves that the journals can be kept here.
    QTemporaryFile probe(QStringLiteral("./.kalimo-XXXXXX"));
    if (!probe.open() || probe.write("Kalimo", 6) != 6 || !probe.flush())
        return QStringLiteral("Impossible d'écrire dans le dossier %1").arg(shown);
    return {};
}
