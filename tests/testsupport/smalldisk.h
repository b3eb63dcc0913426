#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs), made the working directory: it fills up for real,
// and it can be turned read-only. Needs the right to mount (root); Mounted() says whether it
// could be made.
class SmallDisk {
  public:
    explicit SmallDisk(int kilobytes) : m_previous(QDir::currentPath()) {
        m_mounted = run({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), m_dir.path()});
        if (m_mounted)
            QDir::setCurrent(m_dir.path());
    }
    ~SmallDisk() {
        QDir::setCurrent(m_previous);
        if (m_mounted)
            run({QStringLiteral("-l"), m_dir.path()}, QStringLiteral("umount"));
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    bool MakeReadOnly() { return run({QStringLiteral("-o"), QStringLiteral("remount,ro"), m_dir.path()}); }
    // Takes all the room left with a file of its own.
    void Fill() {
        QFile filler(file(QStringLiteral("remplissage")));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1 && filler.flush()) {
        }
    }

  private:
    static bool run(const QStringList& args, const QString& program = QStringLiteral("mount")) {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    QString m_previous;
    bool m_mounted = false;
};
