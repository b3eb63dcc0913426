#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Runs a test inside a fresh empty folder made the working directory, as the program runs in
// its data folder, and goes back when done.
class WorkingDir {
  public:
    WorkingDir() : m_previous(QDir::currentPath()) {
        QVERIFY2(m_dir.isValid(), "cannot create a temporary folder");
        QDir::setCurrent(m_dir.path());
    }
    ~WorkingDir() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

  private:
    QTemporaryDir m_dir;
    QString m_previous;
};

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The names of the files in the working directory, sorted.
inline QStringList FilesHere() {
    return QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
